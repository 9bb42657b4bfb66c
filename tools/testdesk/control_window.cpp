#include "control_window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "testdesk_protocol.h"
#include "whole_file.h"

namespace norv::testdesk {
namespace {

constexpr UINT kDying = WM_APP + 1;
constexpr UINT kQuitLater = WM_APP + 2;
constexpr UINT_PTR kExitTimer = 1;
constexpr UINT_PTR kAppearTimer = 2;
constexpr UINT_PTR kResizeTimer = 3;

std::wstring PathArgument(const COPYDATASTRUCT& data) {
  std::wstring path(static_cast<const wchar_t*>(data.lpData), data.cbData / sizeof(wchar_t));
  while (!path.empty() && path.back() == L'\0') path.pop_back();
  return path;
}

// The n-th uint32_t of the data; 0 when the data is shorter.
uint32_t NumberArgument(const COPYDATASTRUCT& data, size_t n = 0) {
  uint32_t value = 0;
  if (data.lpData && data.cbData >= (n + 1) * sizeof value) {
    std::memcpy(&value, static_cast<const char*>(data.lpData) + n * sizeof value, sizeof value);
  }
  return value;
}

}  // namespace

ControlWindow::ControlWindow(HINSTANCE instance, DesktopWindows& desktop, RequestCounter& counter,
                             FolderViewServer* folderView, std::vector<DeskItem> items)
    : instance_(instance),
      desktop_(desktop),
      counter_(counter),
      folderView_(folderView),
      keptItems_(std::move(items)) {}

ControlWindow::~ControlWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool ControlWindow::Create(UINT exitAfterMs) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &ControlWindow::Proc;
  wc.hInstance = instance_;
  wc.lpszClassName = kControlClass;
  if (!RegisterClassExW(&wc)) return false;
  if (!desktop_.Create(keptItems_)) return false;
  counter_.Reset();
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kControlClass, L"Norvane test desktop", WS_POPUP, 0, 0,
                          0, 0, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  if (exitAfterMs > 0) SetTimer(hwnd_, kExitTimer, exitAfterMs, nullptr);
  return true;
}

LRESULT CALLBACK ControlWindow::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<ControlWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_COPYDATA:
      return self->OnCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kDying:
      // An appear handled in between has already taken the death into account.
      if (self->counter_.dead()) {
        self->Vanish();
        self->ComeBackAsBefore();
      }
      return 0;
    case kQuitLater:
      PostQuitMessage(0);
      return 0;
    case WM_TIMER:
      KillTimer(hwnd, wParam);
      if (wParam == kExitTimer) PostQuitMessage(0);
      if (wParam == kAppearTimer) self->Appear();
      if (wParam == kResizeTimer) self->desktop_.Resize(self->pendingSize_);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

LRESULT ControlWindow::OnCommand(const COPYDATASTRUCT& data) {
  switch (static_cast<Command>(data.dwData)) {
    case Command::kReport:
      return WriteReport(PathArgument(data));
    case Command::kResetCounts:
      counter_.Reset();
      return TRUE;
    case Command::kVanish:
      Vanish();
      return TRUE;
    case Command::kAppear:
      return Appear();
    case Command::kRestart: {
      Vanish();
      // A timer, not an immediate call, so the caller sees the desktop gone before it returns.
      SetTimer(hwnd_, kAppearTimer, std::max<UINT>(NumberArgument(data), USER_TIMER_MINIMUM),
               nullptr);
      return TRUE;
    }
    case Command::kVanishAfterRequests:
      if (!desktop_.present()) return FALSE;
      counter_.DieAfter(NumberArgument(data), hwnd_, kDying);
      return TRUE;
    case Command::kLoadDescription: {
      std::string bytes;
      std::wstring error;
      if (!ReadWholeFile(PathArgument(data), bytes)) return FALSE;
      auto items = ParseDescription(bytes, error);
      if (!items) return FALSE;
      keptItems_ = std::move(*items);
      return desktop_.present() ? desktop_.Fill(keptItems_) : TRUE;
    }
    case Command::kQuit:
      PostMessageW(hwnd_, kQuitLater, 0, 0);
      return TRUE;
    case Command::kDeleteItem:
      return desktop_.DeleteItem(static_cast<int>(NumberArgument(data)));
    case Command::kHang: {
      const DWORD milliseconds = NumberArgument(data);
      // The caller goes on while this thread does nothing: hanging is what is asked for.
      ReplyMessage(TRUE);
      Sleep(milliseconds);
      return TRUE;
    }
    case Command::kHangAtRequest:
      if (!desktop_.present() || NumberArgument(data, 0) == 0) return FALSE;
      counter_.HangAt(NumberArgument(data, 0), NumberArgument(data, 1));
      return TRUE;
    case Command::kRestartAfterRequests:
      if (!desktop_.present()) return FALSE;
      itemsBeforeRestart_ = desktop_.ReadItems();
      restartDelayMs_ = NumberArgument(data, 1);
      counter_.DieAfter(NumberArgument(data, 0), hwnd_, kDying);
      return TRUE;
    case Command::kResize: {
      pendingSize_ = {static_cast<LONG>(NumberArgument(data, 0)),
                      static_cast<LONG>(NumberArgument(data, 1))};
      if (pendingSize_.cx <= 0 || pendingSize_.cy <= 0) return FALSE;
      PostMessageW(HWND_BROADCAST, WM_DISPLAYCHANGE, 32,
                   MAKELPARAM(pendingSize_.cx, pendingSize_.cy));
      SetTimer(hwnd_, kResizeTimer, std::max<UINT>(NumberArgument(data, 2), USER_TIMER_MINIMUM),
               nullptr);
      return TRUE;
    }
    case Command::kRefresh:
      if (!desktop_.present()) return FALSE;
      desktop_.Refresh();
      return TRUE;
  }
  return FALSE;
}

bool ControlWindow::WriteReport(const std::wstring& path) const {
  std::string report = desktop_.present() ? "present 1\n" : "present 0\n";
  RECT client{};
  if (desktop_.present()) GetClientRect(desktop_.listView(), &client);
  report += "client " + std::to_string(client.right) + " " + std::to_string(client.bottom) + "\n";
  const auto items = desktop_.ReadItems();
  for (size_t i = 0; i < items.size(); ++i) {
    report += "item " + std::to_string(i) + " " + std::to_string(items[i].x) + " " +
              std::to_string(items[i].y) + " " + std::to_string(items[i].image) + " " +
              WideToUtf8(items[i].text) + "\n";
  }
  for (const auto& [msg, count] : counter_.counts()) {
    char line[64];
    std::snprintf(line, sizeof line, "request 0x%04X %u\n", msg, count);
    report += line;
  }
  report += "folderview " + std::to_string(counter_.folderViewCalls()) + "\n";
  report += "redraw " + std::to_string(counter_.redrawOn() ? 1 : 0) + " " +
            std::to_string(counter_.redrawOffs()) + " " + std::to_string(counter_.redrawOns()) +
            "\n";
  report += "late-into-freed " + std::to_string(counter_.lateAnswersIntoFreedMemory()) + "\n";
  report += "end\n";
  return WriteWholeFile(path, report);
}

void ControlWindow::Vanish() {
  KillTimer(hwnd_, kAppearTimer);
  if (desktop_.present()) keptItems_ = desktop_.ReadItems();
  desktop_.Destroy();
  if (folderView_) folderView_->ViewGone();
}

void ControlWindow::ComeBackAsBefore() {
  if (!itemsBeforeRestart_) return;
  // A restarted shell shows the positions it last kept, not the moves made since.
  keptItems_ = std::move(*itemsBeforeRestart_);
  itemsBeforeRestart_.reset();
  SetTimer(hwnd_, kAppearTimer, std::max<UINT>(restartDelayMs_, USER_TIMER_MINIMUM), nullptr);
}

bool ControlWindow::Appear() {
  // A death still waiting in the queue happens first, so "appear" always ends with a live desktop.
  if (counter_.dead()) Vanish();
  if (desktop_.present()) return true;
  counter_.Revive();
  if (!desktop_.Create(keptItems_)) return false;
  // What a restarted shell does so that notification icons are added again.
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  return true;
}

}  // namespace norv::testdesk
