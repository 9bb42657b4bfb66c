#include "mainwindow/win32/icon_preview_box.h"

#include <memory>
#include <utility>

#include "core/win32/scoped_handles.h"
#include "core/win32/window_base.h"

namespace norv {
namespace {

constexpr wchar_t kClassName[] = L"NorvIconPreview";

class IconPreviewBox final : public WindowBase {
 public:
  void SetIcon(ScopedIcon icon) {
    icon_ = std::move(icon);
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
    }
    return WindowBase::HandleMessage(message, wParam, lParam);
  }

  void Paint() const {
    const ScopedPaint paint(hwnd());
    RECT area;
    GetClientRect(hwnd(), &area);
    FillRect(paint.dc(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (icon_) {
      DrawIconEx(paint.dc(), 0, 0, icon_.get(), area.right, area.bottom, 0, nullptr, DI_NORMAL);
    }
  }

  ScopedIcon icon_;
};

}  // namespace

HWND CreateIconPreviewBox(HWND parent) {
  return WindowBase::CreateOwnedByWindow(
      std::make_unique<IconPreviewBox>(),
      {.name = kClassName, .cursor = LoadCursorW(nullptr, IDC_ARROW)},
      {.style = WS_CHILD | WS_VISIBLE, .width = 32, .height = 32, .parent = parent});
}

void SetPreviewIcon(HWND box, ScopedIcon icon) {
  if (auto* preview = dynamic_cast<IconPreviewBox*>(WindowBase::FromHandle(box))) {
    preview->SetIcon(std::move(icon));
  }
}

}  // namespace norv
