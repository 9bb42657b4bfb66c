#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "desk_items.h"
#include "request_counter.h"

namespace norv::testdesk {

enum class DeskHost { kProgman, kWorkerW, kWorkerWUnderProgman };

// The windows a shell desktop is made of: Progman "Program Manager" > SHELLDLL_DefView >
// SysListView32 (large icons, no auto-arrange), or the view under a WorkerW window. The view
// (SHELLDLL_DefView and its list view) comes and goes with the shell; the top-level windows are
// made once and stay, empty while there is no view: made anew they would lie above every other
// window for the mouse under Wine, where no window manager puts them beneath.
class DesktopWindows {
 public:
  DesktopWindows(HINSTANCE instance, DeskHost host, SIZE size, RequestCounter& counter);
  ~DesktopWindows() { DestroyHosts(); }
  DesktopWindows(const DesktopWindows&) = delete;
  DesktopWindows& operator=(const DesktopWindows&) = delete;

  // Makes the view anew with these items.
  bool Create(const std::vector<DeskItem>& items);
  // The view goes, as when the shell ends.
  void Destroy();
  // Replaces every item; false when the windows do not exist.
  bool Fill(const std::vector<DeskItem>& items);
  bool DeleteItem(int index);
  // Gives the windows this size, now and when they are created again.
  void Resize(SIZE size);

  bool present() const { return listView_ != nullptr; }
  HWND listView() const { return listView_; }
  HWND viewWindow() const { return defView_; }
  std::vector<DeskItem> ReadItems() const;

  // What the shell's folder view works on. Every item has a serial number of its own for as long
  // as it stays, and a kept position: where the shell would put it back at the next refresh.
  // Positions set here are kept; positions set by list-view messages only show until Refresh.
  int ItemCount() const;
  std::wstring ItemText(int index) const;
  std::optional<uint32_t> ItemSerial(int index) const;
  std::optional<int> IndexOfSerial(uint32_t serial) const;
  std::optional<POINT> ItemPosition(int index) const;
  std::vector<int> SelectedIndexes() const;
  // Moves the item at `index`, whose serial number is `serial`, and keeps it there.
  void PlaceKept(int index, uint32_t serial, POINT position);
  void Select(int index, bool selected);
  // Lays the items out in the list view's own order and keeps the result.
  void ArrangeKept();
  // Puts every item back where it is kept.
  void Refresh();

 private:
  bool CreateHosts();
  void DestroyHosts();

  HINSTANCE instance_;
  DeskHost host_;
  SIZE size_;
  RequestCounter& counter_;
  HWND progman_ = nullptr;
  HWND workerW_ = nullptr;
  HWND viewParent_ = nullptr;
  HWND defView_ = nullptr;
  HWND listView_ = nullptr;
  uint32_t nextSerial_ = 1;
  std::map<uint32_t, POINT> kept_;
  // Where an item was last seen, by serial number: items keep their order, so a search is needed
  // only after an item before it was deleted.
  mutable std::map<uint32_t, int> lastIndex_;
};

// Registers the window classes of the desktop windows; once per process.
bool RegisterDesktopClasses(HINSTANCE instance);

}  // namespace norv::testdesk
