#include "support/stand_in_notification_area.h"

#include <shellapi.h>

#include <cwchar>

namespace norv::wintest {
namespace {

constexpr wchar_t kClassName[] = L"Shell_TrayWnd";

// The leading fields of Wine's notification record.
struct WineNotifyRecord {
  LONG window;
  UINT id;
  UINT flags;
  UINT callbackMessage;
  WCHAR tip[128];
};

}  // namespace

StandInNotificationArea::StandInNotificationArea() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = &Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassW(&windowClass);
  // Topmost, so it comes before any notification area of the Wine desktop in the search.
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kClassName, L"", WS_POPUP, 0, 0, 0, 0,
                          nullptr, nullptr, windowClass.hInstance, nullptr);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

StandInNotificationArea::~StandInNotificationArea() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool StandInNotificationArea::IsTheOneFound() const {
  return hwnd_ && FindWindowExW(nullptr, nullptr, kClassName, nullptr) == hwnd_;
}

int StandInNotificationArea::Count(DWORD message, HWND window) const {
  int count = 0;
  for (const Notice& notice : notices_)
    count += notice.message == message && notice.window == window;
  return count;
}

int StandInNotificationArea::Accepted(DWORD message, HWND window) const {
  int count = 0;
  for (const Notice& notice : notices_)
    count += notice.message == message && notice.window == window && notice.accepted;
  return count;
}

LRESULT CALLBACK StandInNotificationArea::Procedure(HWND hwnd, UINT message, WPARAM wParam,
                                                    LPARAM lParam) {
  auto* self = reinterpret_cast<StandInNotificationArea*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message != WM_COPYDATA || !self) return DefWindowProcW(hwnd, message, wParam, lParam);
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  Notice notice;
  notice.message = static_cast<DWORD>(copy->dwData);
  if (copy->cbData >= sizeof(WineNotifyRecord)) {
    const auto* record = static_cast<const WineNotifyRecord*>(copy->lpData);
    notice.window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(record->window));
    notice.id = record->id;
    notice.flags = record->flags;
    notice.callbackMessage = record->callbackMessage;
    notice.tip.assign(record->tip, wcsnlen(record->tip, std::size(record->tip)));
  }
  notice.accepted = !(self->refuseAdds && notice.message == NIM_ADD);
  self->notices_.push_back(notice);
  return notice.accepted;
}

}  // namespace norv::wintest
