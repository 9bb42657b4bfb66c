#include "request_counter.h"

#include <commctrl.h>

namespace norv::testdesk {
namespace {

constexpr UINT_PTR kSubclassId = 1;

bool IsListViewRequest(UINT msg) { return msg >= LVM_FIRST && msg < LVM_FIRST + 0x100; }

// The requests whose lParam points at memory the list view writes its answer into.
bool CarriesPointer(UINT msg) {
  return msg == LVM_GETITEMPOSITION || msg == LVM_GETITEMW || msg == LVM_GETITEMTEXTW;
}

}  // namespace

void RequestCounter::Attach(HWND listView) {
  redrawOn_ = true;
  SetWindowSubclass(listView, &RequestCounter::Proc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
}

void RequestCounter::DieAfter(uint32_t allowed, HWND notify, UINT dying) {
  allowedBeforeDeath_ = allowed;
  notify_ = notify;
  dying_ = dying;
  if (allowed == 0) {
    dead_ = true;
    PostMessageW(notify_, dying_, 0, 0);
  }
}

void RequestCounter::HangAt(uint32_t allowed, DWORD milliseconds) {
  requestsBeforeHang_ = allowed;
  hangMs_ = milliseconds;
}

void RequestCounter::Revive() {
  allowedBeforeDeath_.reset();
  dead_ = false;
}

LRESULT CALLBACK RequestCounter::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  auto& c = *reinterpret_cast<RequestCounter*>(self);
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &RequestCounter::Proc, kSubclassId);
  if (msg == WM_SETREDRAW) {
    c.redrawOn_ = wParam != FALSE;
    ++(c.redrawOn_ ? c.redrawOns_ : c.redrawOffs_);
  }
  if (IsListViewRequest(msg) && c.ownDepth_ == 0) {
    // A window that is going away answers nothing, as a failed SendMessage would.
    if (c.dead_) return 0;
    ++c.counts_[msg];
    // The caller may have given up while the request hung: an answer into memory it freed is
    // counted, not written (it would bring this stand-in down, as it would a real shell).
    MEMORY_BASIC_INFORMATION memory{};
    if (c.Request() && CarriesPointer(msg) &&
        (!VirtualQuery(reinterpret_cast<void*>(lParam), &memory, sizeof memory) ||
         memory.State != MEM_COMMIT)) {
      ++c.lateAnswersIntoFreedMemory_;
      return 0;
    }
  }
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

bool RequestCounter::FolderViewCall() {
  if (dead_) return false;
  ++folderViewCalls_;
  Request();
  return true;
}

bool RequestCounter::Request() {
  if (allowedBeforeDeath_ && --*allowedBeforeDeath_ == 0) {
    dead_ = true;
    PostMessageW(notify_, dying_, 0, 0);
  }
  if (requestsBeforeHang_ && --*requestsBeforeHang_ == 0) {
    requestsBeforeHang_.reset();
    Sleep(hangMs_);
    return true;
  }
  return false;
}

}  // namespace norv::testdesk
