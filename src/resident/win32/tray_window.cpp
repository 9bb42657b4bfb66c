#include "resident/win32/tray_window.h"

#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <string>

#include "chrome/win32/chrome_window.h"
#include "commands/command_message.h"
#include "core/app_state.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "core/win32/diagnostics.h"
#include "core/win32/wide_text.h"
#include "core/win32/window_base.h"
#include "layout/win32/layout_dialogs.h"
#include "mainwindow/win32/main_window.h"
#include "resident/tray_window.h"
#include "resident/tray_window_view.h"
#include "resident/win32/command_server.h"
#include "resident/win32/tray_menu.h"

namespace norv {
namespace {

constexpr wchar_t kTipText[] = L"Norvane";

UINT_PTR TimerId(TrayTimer timer) { return static_cast<UINT_PTR>(timer) + 1; }

class Win32TrayWindow final : public WindowBase, public TrayWindowView {
 public:
  Win32TrayWindow(HINSTANCE instance, AppState& state, Services& services)
      : instance_(instance),
        smallIcon_(LoadProgramIcon(instance, GetSystemMetrics(SM_CXSMICON))),
        bigIcon_(LoadProgramIcon(instance, GetSystemMetrics(SM_CXICON))),
        state_(state),
        services_(services),
        dialogs_(state, services),
        mainWindow_(instance, bigIcon_, state, services, dialogs_),
        taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}
  ~Win32TrayWindow() override {
    if (menu_) DestroyMenu(menu_);
    if (smallIcon_) DestroyIcon(smallIcon_);
    if (bigIcon_) DestroyIcon(bigIcon_);
  }

  // Creates the window and its menu; false, with a diagnostic line, when either fails.
  bool Create();
  // The start-up steps in the window; commands are taken once they are done.
  void Start() {
    tray_.Start();
    commands_.StartTaking();
  }

  bool AddTrayIcon() override {
    NOTIFYICONDATAW data = IconData();
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = smallIcon_;
    wcsncpy(data.szTip, kTipText, std::size(data.szTip) - 1);
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
  }

  void StartTimer(TrayTimer timer, int milliseconds) override {
    SetTimer(hwnd(), TimerId(timer), static_cast<UINT>(milliseconds), nullptr);
  }
  void StopTimer(TrayTimer timer) override { KillTimer(hwnd(), TimerId(timer)); }

  void RemoveTrayIcon() override {
    NOTIFYICONDATAW data = IconData();
    Shell_NotifyIconW(NIM_DELETE, &data);
  }

  TrayCommand ChooseFromMenu() override {
    POINT at{};
    GetCursorPos(&at);
    // Without the foreground the menu would stay open after a click elsewhere.
    SetForegroundWindow(hwnd());
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(
        menu_, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, hwnd(), nullptr));
    // Lets the menu close properly when it is shown again.
    PostMessageW(hwnd(), WM_NULL, 0, 0);
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

  void OpenMainWindow(ScreenPoint from) override { mainWindow_.Open(from); }
  bool MainWindowOpen() override { return mainWindow_.IsOpen(); }
  void ShowChangeInMainWindow() override { mainWindow_.ShowOutsideChange(); }
  // Every menu, dialog and message box of ours, and every request to the shell, runs inside the
  // handler of a message to one of our windows.
  bool InsideOtherWork() override { return WindowBase::MessagesInProgress() > 1; }

  void RunRestoreDialog() override { dialogs_.RunRestore(hwnd()); }

  bool OpenDocument(const std::u16string& path) override {
    const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
        hwnd(), L"open", Wide(path), nullptr, Wide(state_.appDirectory), SW_SHOWNORMAL));
    return result > 32;
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  NOTIFYICONDATAW IconData() const {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd();
    data.uID = kTrayIconId;
    return data;
  }

  HINSTANCE instance_;
  // The notification area shows the small picture; windows take the large one.
  HICON smallIcon_;
  HICON bigIcon_;
  AppState& state_;
  Services& services_;
  // One dialog at a time, whether the tray or the main window asked for it.
  LayoutDialogs dialogs_;
  MainWindowSlot mainWindow_;
  const UINT taskbarCreated_;
  HMENU menu_ = nullptr;
  TrayWindow tray_{state_, services_, *this};
  CommandServer commands_{state_, services_, tray_, *this};
};

bool Win32TrayWindow::Create() {
  menu_ = CreateTrayMenu();
  if (!menu_) {
    ReportFailure(L"CreatePopupMenu", L"the tray menu", GetLastError());
    return false;
  }
  const WindowClass windowClass{
      .name = kTrayWindowClass, .icon = bigIcon_, .smallIcon = smallIcon_, .instance = instance_};
  // A top-level window, never shown: message-only windows miss the shell's broadcasts.
  if (!WindowBase::Create(windowClass,
                          {.text = L"Norvane", .style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW})) {
    return false;
  }
  // An elevated program would otherwise not hear a restarted shell.
  ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  return true;
}

LRESULT Win32TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTrayCallbackMessage) {
    tray_.OnTrayMouse(LOWORD(lParam));
    return 0;
  }
  if (message == taskbarCreated_) {
    tray_.OnShellRestarted();
    return 0;
  }
  if (message == WM_COPYDATA) {
    return commands_.Answer(hwnd(), reinterpret_cast<HWND>(wParam),
                            *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  }
  switch (message) {
    case kRunTakenCommandMessage:
      commands_.RunTaken(hwnd());
      return 0;
    case WM_TIMER:
      for (const TrayTimer timer : {TrayTimer::kIconRetry, TrayTimer::kDisplayCheck}) {
        if (wParam == TimerId(timer)) tray_.OnTimer(timer);
      }
      return 0;
    case WM_DISPLAYCHANGE:
      tray_.OnDisplayChanged();
      return 0;
    case WM_ENDSESSION:
      if (wParam) tray_.Unload();
      return 0;
    case WM_CLOSE:
      tray_.Unload();
      return 0;
    default:
      return WindowBase::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace

int RunTrayWindow(HINSTANCE instance, AppState& state, Services& services) {
  Win32TrayWindow window(instance, state, services);
  if (!window.Create()) {
    // Without the tray window nothing of the program could be reached; it must not just vanish.
    services.messages.Show(kNoTrayWindowMessage, MessageStyle::kExclamation, kMessageTitle);
    return 1;
  }
  window.Start();
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
