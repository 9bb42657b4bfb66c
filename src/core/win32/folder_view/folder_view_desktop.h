#pragma once

#include <windows.h>
// Windows headers in this order: the shell's interfaces need the COM basics first.
#include <exdisp.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/desktop_list_view.h"
#include "core/win32/com_scope.h"

namespace norv {

struct PidlFree {
  void operator()(ITEMIDLIST* pidl) const { CoTaskMemFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// What the folder view needs from our own process's shell. The program uses SystemFolderViewShell;
// tests put in-process doubles of Explorer's objects behind it.
struct FolderViewShell {
  // The collection of the shell's windows; the desktop's objects are reached through it.
  std::function<HRESULT(IShellWindows**)> openShellWindows;
  // The view's folder bound in our own process, so that names need no request to Explorer.
  std::function<HRESULT(PCIDLIST_ABSOLUTE, IShellFolder**)> bindFolder;
  // The item's index in our own process's system image list; negative when there is none.
  std::function<int(PCIDLIST_ABSOLUTE)> systemImageIndex;
};

FolderViewShell SystemFolderViewShell();

// The desktop reached through the shell's folder view, whose positions Explorer keeps (positions
// set with list-view messages are lost at the next refresh on current Windows).
//
// Requests to Explorer: a fixed number per find (the view, its window, the count and every item
// id at once, the view's folder), then one per icon for its position. Names and image indexes are
// answered in our own process from the item ids. The moves of one MoveItems go out together: the
// selection is asked once (its count, and its ids when there are any), then one call positions the
// selected icons and one the others, so every icon keeps its selection. Moves and arranging use the
// items of the last find; they count as delivered unless COM could not carry a call to Explorer,
// whatever Explorer answered. What a find reached is kept while the view's window lives, so a
// later find asks only for the items again.
class FolderViewDesktop : public DesktopListView {
 public:
  // callStarts is asked before every call to Explorer; once it says no, the operation under way
  // makes no further calls and fails as one Explorer did not answer.
  explicit FolderViewDesktop(FolderViewShell shell = SystemFolderViewShell(),
                             std::function<bool()> callStarts = {});
  FolderViewDesktop(const FolderViewDesktop&) = delete;
  FolderViewDesktop& operator=(const FolderViewDesktop&) = delete;

  // The view's window as of the last find (the shell's view window holding the icon list view);
  // nullptr when the last find failed.
  HWND ViewWindow() const { return viewWindow_; }

  bool FindDesktopListView() override;
  DesktopRect GetDesktopRect() override;
  std::optional<int32_t> GetItemCount() override { return static_cast<int32_t>(items_.size()); }
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override;
  size_t MoveItems(std::span<const IconMove> moves) override;
  // Nothing to do: a batch's moves reach the view in one call, which it repaints once for.
  void BeginMoveBatch() override {}
  void EndMoveBatch() override {}
  bool ArrangeIcons() override;
  bool ViewStillExists() override { return viewWindow_ && IsWindow(viewWindow_); }

 private:
  // Icons positioned by one call, with the selection state that call gives them all.
  struct PlacedItems {
    std::vector<PCUITEMID_CHILD> items;
    std::vector<POINT> points;
  };

  bool Reach();
  bool ReadItemIds();
  // The enumerator's Next, as one call to Explorer each time.
  std::function<HRESULT(ULONG, PITEMID_CHILD*, ULONG*)> NextOf(IEnumIDList& enumerator);
  void Release();
  PCUITEMID_CHILD Item(int32_t index) const;
  std::optional<std::set<std::string>> SelectedIds();
  bool Place(PlacedItems& placed, DWORD flags);
  // Makes one call to Explorer unless the operation was given up.
  template <class Call>
  HRESULT Ask(Call call) {
    return !callStarts_ || callStarts_() ? call() : RPC_E_CALL_CANCELED;
  }

  // First, so that every COM object below is released before COM stops.
  ComScope com_;
  FolderViewShell shell_;
  std::function<bool()> callStarts_;
  Microsoft::WRL::ComPtr<IFolderView2> view_;
  HWND viewWindow_ = nullptr;
  Pidl folder_;
  Microsoft::WRL::ComPtr<IShellFolder> names_;
  std::vector<Pidl> items_;
};

}  // namespace norv
