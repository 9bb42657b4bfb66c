#include "mainwindow/win32/icon_preview_box.h"

namespace norv {
namespace {

constexpr wchar_t kClassName[] = L"NorvIconPreview";

HICON IconOf(HWND box) { return reinterpret_cast<HICON>(GetWindowLongPtrW(box, GWLP_USERDATA)); }

void Paint(HWND box) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(box, &ps);
  RECT area;
  GetClientRect(box, &area);
  FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (HICON icon = IconOf(box)) {
    DrawIconEx(dc, 0, 0, icon, area.right, area.bottom, 0, nullptr, DI_NORMAL);
  }
  EndPaint(box, &ps);
}

LRESULT CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(box);
      return 0;
    case WM_NCDESTROY:
      SetPreviewIcon(box, nullptr);
      break;
  }
  return DefWindowProcW(box, message, wParam, lParam);
}

}  // namespace

HWND CreateIconPreviewBox(HWND parent) {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, 0, 0, 32, 32, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void SetPreviewIcon(HWND box, HICON icon) {
  if (HICON old = IconOf(box)) DestroyIcon(old);
  SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(icon));
  InvalidateRect(box, nullptr, FALSE);
}

}  // namespace norv
