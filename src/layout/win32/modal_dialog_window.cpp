#include "layout/win32/modal_dialog_window.h"

#include <utility>

#include "core/win32/wide_text.h"

namespace norv {

ModalDialogWindow::ModalDialogWindow(HWND owner, const wchar_t* className, std::u16string caption)
    : owner_(owner), className_(className), caption_(std::move(caption)) {}

bool ModalDialogWindow::Create() {
  const WindowClass windowClass{.name = className_,
                                .cursor = LoadCursorW(nullptr, IDC_ARROW),
                                .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)};
  // A fixed frame with a close box and the window icon; no sizing, no minimise or maximise.
  return WindowBase::Create(windowClass,
                            {.text = Wide(caption_),
                             .style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                             .exStyle = WS_EX_CONTROLPARENT,
                             .x = CW_USEDEFAULT,
                             .y = CW_USEDEFAULT,
                             .width = 100,
                             .height = 100,
                             .parent = owner_});
}

void ModalDialogWindow::Run(HWND firstFocus) {
  const HWND window = hwnd();
  if (!window || unloaded_) return;
  if (owner_ && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
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
  const HWND window = hwnd();
  if (!window || (message.hwnd != window && !IsChild(window, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    RequestClose();
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN && OnEnter(message.hwnd)) {
    return true;
  }
  return TranslateChromeKeyboard(message) || IsDialogMessageW(window, &message);
}

void ModalDialogWindow::MarkUnloaded() {
  unloaded_ = true;
  // Input goes back to the owner before the window disappears, so activation returns to it.
  if (ownerDisabled_) {
    EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
  }
  if (hwnd()) ShowWindow(hwnd(), SW_HIDE);
}

void ModalDialogWindow::PrepareChrome(DesignSize client, ScopedIcon (*loadIcon)(HINSTANCE, int)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const int dpi = MakeChrome(instance, client).dpi();
  SetIcons(loadIcon(instance, GetSystemMetricsForDpi(SM_CXICON, dpi)),
           loadIcon(instance, GetSystemMetricsForDpi(SM_CXSMICON, dpi)));
}

void ModalDialogWindow::SetIcons(ScopedIcon big, ScopedIcon small) {
  // The window lets go of the old icons before they are freed.
  SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(small);
}

std::optional<LRESULT> ModalDialogWindow::OnMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }

LRESULT ModalDialogWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_NCDESTROY:
      // Also reached when the owner is destroyed first and takes this window with it.
      unloaded_ = true;
      return ChromedWindow::HandleMessage(message, wParam, lParam);
    default:
      break;
  }
  if (const std::optional<LRESULT> handled = OnMessage(message, wParam, lParam)) return *handled;
  return ChromedWindow::HandleMessage(message, wParam, lParam);
}

}  // namespace norv
