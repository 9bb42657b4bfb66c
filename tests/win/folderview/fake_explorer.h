#pragma once

#include <windows.h>
// The shell's interfaces need the COM basics first.
#include <exdisp.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <map>
#include <string>
#include <vector>

#include "core/win32/folder_view/folder_view_desktop.h"

namespace norv::test {

// Explorer's side of the desktop, played in our own process. Its icons are the items of a real
// list view of the test (Progman > SHELLDLL_DefView > SysListView32, never shown), so the
// list-view way and the folder view read the very same desktop. The folder view's objects
// behave as the shell documents them, count every call that would cross into Explorer's
// process, and fail on demand at any step of the way to the view.
class FakeExplorer {
 public:
  enum class Step {
    kNone,
    kOpenShellWindows,
    kFindWindow,       // "no such window" (S_FALSE and no object)
    kServiceProvider,  // the desktop object offers no services
    kTopLevelBrowser,
    kActiveShellView,
    kFolderView2,
    kViewWindow,
    kItemCount,
    kItems,
    kEnumNext,
    kMoreIdsThanCounted,
    kGetFolder,
    kCurrentFolder,
    kBindFolder,
  };
  static const std::vector<Step>& AllSteps();
  static const char* Name(Step step);

  struct Move {
    int index;
    POINT point;
    DWORD flags;
  };

  FakeExplorer();
  ~FakeExplorer();
  FakeExplorer(const FakeExplorer&) = delete;
  FakeExplorer& operator=(const FakeExplorer&) = delete;

  // Adds an icon at the end of the view.
  void Add(const std::u16string& name, int x, int y, int image = 0);
  // Explorer ends and starts again: new windows with the same icons at the same places; every
  // object of the old one answers as a dead server's proxy does.
  void Restart();
  // From now on every call into Explorer waits until Wake, as a hung Explorer's calls do.
  void Hang() { ResetEvent(awake_); }
  void Wake() { SetEvent(awake_); }
  HANDLE awake() const { return awake_; }

  FolderViewShell Shell();

  HWND progman() const { return progman_; }
  HWND defView() const { return defView_; }
  HWND listView() const { return listView_; }

  // Reading the list view directly, as a test checks what Explorer shows.
  int Count() const;
  POINT PositionOf(int index) const;
  bool IsSelected(int index) const;
  void Select(int index, bool selected);

  // Called by the fake objects.
  bool Alive(int generation) const { return generation == generation_; }
  int generation() const { return generation_; }
  int IndexOfId(uint32_t id) const;
  uint32_t IdAt(int index) const;
  const std::u16string& NameOf(uint32_t id) const { return names_.at(id); }
  int ImageOf(uint32_t id) const { return images_.at(id); }

  Step failAt = Step::kNone;
  // When set, the view reports this window as its own instead of the desktop's view window.
  HWND reportedViewWindow = nullptr;
  DWORD folderFlags = 0;
  int requests = 0;         // calls that would cross into Explorer's process
  int lookups = 0;          // times the shell's windows were asked for: a find from nothing
  int liveObjects = 0;      // objects not yet released, of every generation
  int nameRequests = 0;     // display names asked of our own process's folder
  std::vector<Move> moves;  // every item moved by SelectAndPositionItems
  std::vector<DWORD> folderFlagChanges;

 private:
  void CreateWindows();
  void DestroyWindows();
  void Insert(uint32_t id, POINT position);

  HANDLE awake_ = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  HWND progman_ = nullptr;
  HWND defView_ = nullptr;
  HWND listView_ = nullptr;
  int generation_ = 1;
  uint32_t nextId_ = 1;
  std::map<uint32_t, std::u16string> names_;
  std::map<uint32_t, int> images_;
};

// An item id list of one fake item id, as the fake folder hands them out.
Pidl FakeItemId(uint32_t id);
// The id of a fake item id list's last item; 0 for anything else.
uint32_t FakeIdOf(PCUIDLIST_RELATIVE pidl);

}  // namespace norv::test
