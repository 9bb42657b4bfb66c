// A command forwarded to the tray window, on the way Windows 10 and 11 take: Explorer's folder
// view.
#include "resident/win32/command_server.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "commands/command_message.h"
#include "commands/command_output.h"
#include "commands/win32/command_client.h"
#include "core/desktop_view_selector.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "folderview/fake_explorer.h"
#include "resident/resident_sequences.h"
#include "resident/win32/tray_window.h"
#include "support/fake_services.h"

namespace norv {
namespace {

// The folder view as COM lets a thread use it on Windows: not at all while that thread handles a
// message another thread sent it (every call out of the process fails then, by design).
class RefusedInsideSentMessages final : public DesktopListView {
 public:
  explicit RefusedInsideSentMessages(DesktopListView& folderView) : folderView_(folderView) {}
  int refused = 0;

  bool FindDesktopListView() override { return !Refused() && folderView_.FindDesktopListView(); }
  DesktopRect GetDesktopRect() override {
    return Refused() ? DesktopRect{} : folderView_.GetDesktopRect();
  }
  std::optional<int32_t> GetItemCount() override {
    return Refused() ? std::nullopt : folderView_.GetItemCount();
  }
  std::optional<std::vector<DesktopItem>> ReadItems(int32_t count) override {
    return Refused() ? std::nullopt : folderView_.ReadItems(count);
  }
  size_t MoveItems(std::span<const IconMove> moves) override {
    return Refused() ? 0 : folderView_.MoveItems(moves);
  }
  void BeginMoveBatch() override { folderView_.BeginMoveBatch(); }
  void EndMoveBatch() override { folderView_.EndMoveBatch(); }
  bool ArrangeIcons() override { return !Refused() && folderView_.ArrangeIcons(); }
  bool ViewStillExists() override { return folderView_.ViewStillExists(); }

 private:
  bool Refused() {
    if (!InSendMessage()) return false;
    ++refused;
    return true;
  }
  DesktopListView& folderView_;
};

// The resident program's desktop on the in-process Explorer, with the host fakes for the rest.
struct ResidentOnExplorer {
  test::FakeExplorer explorer;
  BoundedFolderView folderView{explorer.Shell()};
  RefusedInsideSentMessages refusing{folderView};
  ListViewDesktop listView;
  Win32DesktopWindows windows{folderView, [this] { return listView.handle(); }};
  DesktopViewSelector selector{refusing, listView, windows};
  test::FakePlatform p;
  Services services{selector, p.files, p.profile, p.messages, p.programEnd, p.pause};

  ResidentOnExplorer() {
    explorer.Add(u"ごみ箱", 10, 10);
    explorer.Add(u"メモ", 10, 90);
    explorer.Add(u"仕事", 10, 170);
  }
};

struct Answer {
  std::optional<ExitCode> code;
  CollectedOutput out;
};

TEST(CommandServerTest, AForwardedCommandMovesTheIconsThroughTheFolderView) {
  ResidentOnExplorer r;
  ASSERT_TRUE(BeginStartup(r.p.state, r.services, u"C:\\Norv"));
  ASSERT_EQ(r.selector.path(), DesktopPath::kFolderView);

  // A command process: waits for the tray window, sends /hide-all, then ends the resident.
  Answer answer;
  const DWORD residentThread = GetCurrentThreadId();
  std::thread commandProcess([&] {
    answer.code = SendToResident(CommandRequest{CommandKind::kHideAll, {}, false}, answer.out,
                                 [] { return true; });
    PostThreadMessageW(residentThread, WM_QUIT, 0, 0);
  });
  EXPECT_EQ(RunTrayWindow(GetModuleHandleW(nullptr), r.p.state, r.services), 0);
  commandProcess.join();

  EXPECT_EQ(answer.code, ExitCode::kDone);
  ASSERT_EQ(answer.out.lines.size(), 1u);
  EXPECT_EQ(r.refusing.refused, 0);
  EXPECT_EQ(r.selector.path(), DesktopPath::kFolderView);
  // Every icon went through the folder view, where Explorer keeps what it is told.
  EXPECT_EQ(r.explorer.moves.size(), 3u);
  for (int i = 0; i < r.explorer.Count(); ++i) {
    EXPECT_GE(r.explorer.PositionOf(i).x, 1024) << i;
  }
}

}  // namespace
}  // namespace norv
