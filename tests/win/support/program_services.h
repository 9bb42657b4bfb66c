#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/win32/file_system.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "core/win32/platform_services.h"
#include "support/fake_services.h"
#include "support/test_desk.h"
#include "support/test_folder.h"

namespace norv::wintest {

// Waits as the program does (it really sleeps) and keeps the total, so a test can bound it.
class MeasuredPause : public Pause {
 public:
  void Wait(int milliseconds) override;
  int total() const { return total_; }
  int count() const { return count_; }

 private:
  int total_ = 0;
  int count_ = 0;
};

// The Windows half that Norv.exe runs on (desktop bridge, files, profile functions), with message
// boxes recorded and the program's end thrown as test::ProgramEnded instead of carried out.
struct ProgramServices {
  explicit ProgramServices(Pause& waits) : pause(waits) {}
  ProgramServices() : pause(ownPause) {}

  ListViewDesktop listView;
  DesktopBridge bridge{listView, [this] { return listView.handle(); }};
  Win32FileSystem files;
  Win32ProfileFile profile;
  test::RecordingMessages messages;
  test::ThrowingProgramEnd programEnd;
  MeasuredPause ownPause;
  Pause& pause;
  Services services{bridge.desktop(), files, profile, messages, programEnd, pause};
};

// The test desktop for a test of the program's Windows half; nullptr, and a failure of the test,
// when it does not come up.
std::unique_ptr<TestDesk> StartDesk(const TestDeskOptions& options);
// The desktop's icons now; empty when it does not answer.
std::vector<DeskItem> ItemsNow(TestDesk& desk);

bool Exists(const std::u16string& path);

// One record of a layout file, for writing test files by hand.
std::string LayoutRecordBytes(std::string_view cp932Text, int16_t x, int16_t y);

}  // namespace norv::wintest
