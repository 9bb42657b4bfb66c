#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>

namespace norv::testdesk {

// Counts the list-view requests (LVM_* messages) the desktop list view receives, by message, and
// watches its redraw switch (WM_SETREDRAW). testdesk's own requests run inside an OwnRequests
// scope and are not counted.
class RequestCounter {
 public:
  // Wraps the list view's window procedure; the wrap goes away with the window. A new view draws.
  void Attach(HWND listView);

  const std::map<UINT, uint32_t>& counts() const { return counts_; }
  bool redrawOn() const { return redrawOn_; }
  uint32_t redrawOffs() const { return redrawOffs_; }
  uint32_t redrawOns() const { return redrawOns_; }
  uint32_t lateAnswersIntoFreedMemory() const { return lateAnswersIntoFreedMemory_; }
  uint32_t folderViewCalls() const { return folderViewCalls_; }
  void Reset() {
    counts_.clear();
    redrawOffs_ = redrawOns_ = 0;
    folderViewCalls_ = 0;
  }
  // Counts a call through the shell's folder view, which dies and hangs as list-view requests
  // do; false when the view answers nothing any more.
  bool FolderViewCall();

  // After `allowed` more requests the view answers nothing, and `dying` is posted to `notify`
  // so the windows can be destroyed outside the list view's own message handling.
  void DieAfter(uint32_t allowed, HWND notify, UINT dying);
  void Revive();
  bool dead() const { return dead_; }
  // The `allowed`-th request from now waits `milliseconds` before the view handles it: a shell
  // that turns busy in the middle of a caller's work.
  void HangAt(uint32_t allowed, DWORD milliseconds);

  class OwnRequests {
   public:
    explicit OwnRequests(RequestCounter& c) : c_(c) { ++c_.ownDepth_; }
    ~OwnRequests() { --c_.ownDepth_; }
    OwnRequests(const OwnRequests&) = delete;
    OwnRequests& operator=(const OwnRequests&) = delete;

   private:
    RequestCounter& c_;
  };

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR self);
  // A request from outside, answered: it may be the last before death or the one that hangs
  // (true: it hung, and its caller may have given up meanwhile).
  bool Request();

  std::map<UINT, uint32_t> counts_;
  int ownDepth_ = 0;
  std::optional<uint32_t> allowedBeforeDeath_;
  bool dead_ = false;
  HWND notify_ = nullptr;
  UINT dying_ = 0;
  std::optional<uint32_t> requestsBeforeHang_;
  DWORD hangMs_ = 0;
  bool redrawOn_ = true;
  uint32_t redrawOffs_ = 0;
  uint32_t redrawOns_ = 0;
  uint32_t lateAnswersIntoFreedMemory_ = 0;
  uint32_t folderViewCalls_ = 0;
};

}  // namespace norv::testdesk
