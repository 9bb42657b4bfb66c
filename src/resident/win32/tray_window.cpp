#include "resident/win32/tray_window.h"

#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <string>

#include "chrome/win32/chrome_window.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "core/win32/wide_text.h"
#include "layout/win32/layout_dialogs.h"
#include "mainwindow/win32/main_window.h"
#include "resident/tray_window.h"
#include "resident/tray_window_view.h"
#include "resident/win32/tray_menu.h"

namespace norv {
namespace {

constexpr wchar_t kTipText[] = L"Norvane";
constexpr UINT_PTR kIconRetryTimer = 1;

class Win32TrayWindow final : public TrayWindowView {
 public:
  Win32TrayWindow(HINSTANCE instance, AppState& state, Services& services)
      : instance_(instance),
        smallIcon_(LoadProgramIcon(instance, GetSystemMetrics(SM_CXSMICON))),
        bigIcon_(LoadProgramIcon(instance, GetSystemMetrics(SM_CXICON))),
        state_(state),
        services_(services),
        taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}
  ~Win32TrayWindow() override {
    if (menu_) DestroyMenu(menu_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    if (bigIcon_) DestroyIcon(bigIcon_);
  }
  Win32TrayWindow(const Win32TrayWindow&) = delete;
  Win32TrayWindow& operator=(const Win32TrayWindow&) = delete;

  bool Create();
  TrayWindow& behaviour() { return tray_; }

  bool AddTrayIcon() override {
    NOTIFYICONDATAW data = IconData();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = smallIcon_;
    wcsncpy(data.szTip, kTipText, std::size(data.szTip) - 1);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  }

  void StartIconRetryTimer(int milliseconds) override {
    SetTimer(hwnd_, kIconRetryTimer, static_cast<UINT>(milliseconds), nullptr);
  }
  void StopIconRetryTimer() override { KillTimer(hwnd_, kIconRetryTimer); }

  void RemoveTrayIcon() override {
    NOTIFYICONDATAW data = IconData();
    Shell_NotifyIconW(NIM_DELETE, &data);
  }

  TrayCommand ChooseFromMenu() override {
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would stay open after a click elsewhere.
    SetForegroundWindow(hwnd_);
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu_, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, hwnd_, nullptr));
    // Lets the menu close properly when it is shown again.
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    switch (chosen) {
      case kMenuSettings:
        return TrayCommand::kSettings;
      case kMenuRestore:
        return TrayCommand::kRestore;
      case kMenuHelp:
        return TrayCommand::kHelp;
      case kMenuExit:
        return TrayCommand::kExit;
      default:
        return TrayCommand::kNone;
    }
  }

  std::optional<Point> CursorPosition() override {
    POINT at{};
    if (!GetCursorPos(&at)) return std::nullopt;
    return Point{at.x, at.y};
  }

  void OpenMainWindow() override { norv::OpenMainWindow(instance_, bigIcon_, state_, services_); }

  void RunRestoreDialog() override { norv::RunRestoreDialog(hwnd_, state_, services_); }

  bool OpenDocument(const std::u16string& path) override {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        hwnd_, L"open", Wide(path), nullptr, Wide(state_.appDirectory), SW_SHOWNORMAL));
    return result > 32;
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

  NOTIFYICONDATAW IconData() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd_;
    data.uID = kTrayIconId;
    return data;
  }

  HINSTANCE instance_;
  // The notification area shows the small picture; windows take the large one.
  HICON smallIcon_;
  HICON bigIcon_;
  AppState& state_;
  Services& services_;
  const UINT taskbarCreated_;
  HWND hwnd_ = nullptr;
  HMENU menu_ = nullptr;
  TrayWindow tray_{state_, services_, *this};
};

bool Win32TrayWindow::Create() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = instance_;
  windowClass.hIcon = bigIcon_;
  windowClass.hIconSm = smallIcon_;
  windowClass.lpszClassName = kTrayWindowClass;
  if (!RegisterClassExW(&windowClass)) return false;
  menu_ = CreateTrayMenu();
  // A top-level window, never shown: message-only windows miss the shell's broadcasts.
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"Norvane", WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  // An elevated program would otherwise not hear a restarted shell.
  ChangeWindowMessageFilterEx(hwnd_, taskbarCreated_, MSGFLT_ALLOW, nullptr);
  return menu_ != nullptr;
}

LRESULT CALLBACK Win32TrayWindow::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self =
        static_cast<Win32TrayWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32TrayWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->Handle(message, wParam, lParam)
              : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32TrayWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    tray_.OnTrayMouse(LOWORD(lParam));
    return 0;
  }
  if (message == taskbarCreated_) {
    tray_.OnShellRestarted();
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kIconRetryTimer) tray_.OnIconRetryTimer();
      return 0;
    case WM_ENDSESSION:
      if (wParam) tray_.Unload();
      return 0;
    case WM_CLOSE:
      tray_.Unload();
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

}  // namespace

int RunTrayWindow(HINSTANCE instance, AppState& state, Services& services) {
  Win32TrayWindow window(instance, state, services);
  if (!window.Create()) return 1;
  window.behaviour().Start();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab, Space, Enter and Esc of the main window go to its buttons and boxes.
    if (TranslateChromeKeyboard(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace norv
