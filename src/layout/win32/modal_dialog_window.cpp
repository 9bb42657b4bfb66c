#include "layout/win32/modal_dialog_window.h"

#include "core/win32/wide_text.h"

namespace norv {
namespace {

void RegisterDialogClass(const wchar_t* className, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &windowClass)) return;
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  RegisterClassExW(&windowClass);
}

}  // namespace

ModalDialogWindow::ModalDialogWindow(HWND owner, const wchar_t* className,
                                     const std::u16string& caption)
    : owner_(owner) {
  RegisterDialogClass(className, &ModalDialogWindow::WindowProc);
  // A fixed frame with a close box and the window icon; no sizing, no minimise or maximise.
  CreateWindowExW(WS_EX_CONTROLPARENT, className, Wide(caption),
                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, CW_USEDEFAULT,
                  CW_USEDEFAULT, 100, 100, owner, nullptr, GetModuleHandleW(nullptr), this);
}

ModalDialogWindow::~ModalDialogWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  if (bigIcon_) DestroyIcon(bigIcon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
}

void ModalDialogWindow::Run(HWND firstFocus) {
  if (!hwnd_ || unloaded_) return;
  if (owner_ && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  if (firstFocus) SetFocus(firstFocus);
  MSG message;
  while (!unloaded_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    if (TranslateKeyboard(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  MarkUnloaded();
}

bool ModalDialogWindow::TranslateKeyboard(MSG& message) {
  if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    RequestClose();
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && OnEnter(message.hwnd)) {
    return true;
  }
  return TranslateChromeKeyboard(message) || IsDialogMessageW(hwnd_, &message);
}

void ModalDialogWindow::MarkUnloaded() {
  unloaded_ = true;
  // Input goes back to the owner before the window disappears, so activation returns to it.
  if (ownerDisabled_) {
    EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
  }
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void ModalDialogWindow::PrepareChrome(DesignSize client, HICON (*loadIcon)(HINSTANCE, int)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  chrome_ = std::make_unique<ChromeWindow>(hwnd_, instance);
  chrome_->SizeToClientAndCentre(client);
  const int dpi = chrome_->dpi();
  SetIcons(loadIcon(instance, GetSystemMetricsForDpi(SM_CXICON, dpi)),
           loadIcon(instance, GetSystemMetricsForDpi(SM_CXSMICON, dpi)));
}

void ModalDialogWindow::SetIcons(HICON big, HICON small) {
  bigIcon_ = big;
  smallIcon_ = small;
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

std::optional<LRESULT> ModalDialogWindow::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

LRESULT CALLBACK ModalDialogWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<ModalDialogWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<ModalDialogWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT ModalDialogWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND hwnd = hwnd_;
  switch (message) {
    case WM_CLOSE:
      RequestClose();
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL) {
        RequestClose();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      // Keep the focused control across a switch to another window and back.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED:
      if (chrome_) chrome_->OnDpiChanged(wParam, lParam);
      return 0;
    case WM_NCDESTROY:
      // Also reached when the owner is destroyed first and takes this window with it.
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      unloaded_ = true;
      return DefWindowProcW(hwnd, message, wParam, lParam);
    default:
      break;
  }
  if (const std::optional<LRESULT> handled = OnMessage(message, wParam, lParam)) return *handled;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace norv
