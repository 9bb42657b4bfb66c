#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace norv::wintest {

// One icon of the test desktop.
struct DeskItem {
  int32_t x = 0;
  int32_t y = 0;
  int32_t image = 0;
  std::u16string text;
  friend bool operator==(const DeskItem&, const DeskItem&) = default;
};

// Where an icon stands.
struct DeskSpot {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const DeskSpot&, const DeskSpot&) = default;
};
std::ostream& operator<<(std::ostream& out, const DeskSpot& spot);
// The spots of `items`, in order.
std::vector<DeskSpot> SpotsOf(const std::vector<DeskItem>& items);

// What the test desktop reports about itself.
struct DeskReport {
  bool present = false;  // the desktop windows exist
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  std::vector<DeskItem> items;
  std::map<uint32_t, uint32_t> requests;  // LVM_* message -> count since the last reset
  bool redrawOn = true;                   // the list view's redraw, as WM_SETREDRAW left it
  uint32_t redrawOffs = 0;                // WM_SETREDRAW that switched it off since the reset
  uint32_t redrawOns = 0;                 // and on
  uint32_t lateIntoFreed = 0;             // late answers that met memory the caller had freed
  uint32_t folderViewCalls = 0;           // calls through the folder view since the reset

  uint32_t RequestCount(uint32_t message) const;
  uint32_t TotalRequests() const;
};

enum class DeskHost { kProgman, kWorkerW, kWorkerWUnderProgman };

// The way a program on the test desktop reaches its icons: list-view messages alone, or the
// shell's folder view that testdesk also serves (its list view stays behind it).
enum class DeskPath { kListView, kFolderView };
const char* NameOf(DeskPath path);

struct TestDeskOptions {
  enum class Content { kSample, kEmpty, kGenerated, kItems };
  Content content = Content::kSample;
  std::vector<DeskItem> items;  // kItems
  int generated = 0;            // kGenerated
  DeskHost host = DeskHost::kProgman;
  SIZE size{};  // 0 x 0: the whole screen
  uint32_t exitAfterMs = 0;
  DeskPath path = DeskPath::kListView;

  TestDeskOptions& On(DeskPath deskPath) {
    path = deskPath;
    return *this;
  }
  static TestDeskOptions Sample() { return {}; }
  static TestDeskOptions Empty() { return With(Content::kEmpty); }
  static TestDeskOptions Generated(int count) {
    TestDeskOptions options = With(Content::kGenerated);
    options.generated = count;
    return options;
  }
  static TestDeskOptions Items(std::vector<DeskItem> items) {
    TestDeskOptions options = With(Content::kItems);
    options.items = std::move(items);
    return options;
  }

 private:
  static TestDeskOptions With(Content content) {
    TestDeskOptions options;
    options.content = content;
    return options;
  }
};

// testdesk.exe, the stand-in shell desktop, driven by a test. Ends it (and waits) when it goes.
class TestDesk {
 public:
  // Ends any test desktop left from an earlier test, starts a new one and waits (bounded) until
  // its desktop is complete. nullptr, with the reason in `error`, when that fails.
  static std::unique_ptr<TestDesk> Start(const TestDeskOptions& options = {},
                                         std::string* error = nullptr);
  ~TestDesk();

  DWORD processId() const { return process_.id(); }
  ChildProcess& process() { return process_; }

  // The desktop list view as a shell finder would see it right now; nullptr while it is gone.
  HWND ListView() const;

  std::optional<DeskReport> Report();
  // The icons' spots now, in item order; none when the desktop does not answer.
  std::vector<DeskSpot> Spots();
  // Where Norvane hides icons on this desktop: just past its lower-right corner.
  std::optional<DeskSpot> HidingPoint();
  bool ResetCounts();
  bool Vanish();
  bool Appear();
  // Vanishes now and comes back after `delayMs`; use WaitForListView to wait for it.
  bool Restart(uint32_t delayMs);
  // The view answers `requests` more list-view requests, then nothing, and vanishes.
  bool VanishAfterRequests(uint32_t requests);
  // As VanishAfterRequests, then the view comes back after `delayMs` with the positions the icons
  // had when this was called.
  bool RestartAfterRequests(uint32_t requests, uint32_t delayMs);
  bool Load(const std::vector<DeskItem>& items);
  // The item at `index` goes, as a file deleted from the desktop; those after it move up.
  bool DeleteItem(uint32_t index);
  // The desktop answers nothing for `milliseconds`, starting right after this returns.
  bool Hang(uint32_t milliseconds);
  // The `requests`-th list-view request from now is handled only after `milliseconds`.
  bool HangAtRequest(uint32_t requests, uint32_t milliseconds);
  // Announces a display of this size, then after `delayMs` gives the desktop that size.
  bool Resize(SIZE size, uint32_t delayMs);
  // The shell's refresh (F5): icons go back to the positions it keeps, losing those set by
  // list-view messages from another process.
  bool Refresh();
  // Asks the desktop to end and waits for its exit code.
  std::optional<DWORD> Quit(DWORD timeoutMs = 10000);

  // Waits until the desktop list view exists (true) or `timeoutMs` passed (false).
  bool WaitForListView(DWORD timeoutMs = 10000) const;

 private:
  TestDesk(ChildProcess process, HWND control) : process_(std::move(process)), control_(control) {}

  ChildProcess process_;
  HWND control_;
};

// Ends every running test desktop and waits until they are gone.
void EndLeftoverTestDesks();

// Writes `items` as a test desktop description file (format in testdesk_protocol.h).
bool WriteDescription(const std::wstring& path, const std::vector<DeskItem>& items);

}  // namespace norv::wintest
