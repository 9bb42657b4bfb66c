#include "layout/restore_dialog.h"

#include <gtest/gtest.h>

#include "core/icon_table.h"
#include "layout/layout_file.h"
#include "layout/saved_layouts.h"
#include "recording_views.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;
using test::RecordingRestoreView;
using test::Utf8;

// A layout file as the writer makes it, from (text, x, y) triples.
std::string LayoutBytes(const std::vector<std::tuple<std::u16string, int32_t, int32_t>>& icons) {
  IconTable table;
  for (const auto& [text, x, y] : icons) {
    table.texts.push_back(PadIconText(text));
    table.positions.push_back({x, y});
  }
  table.itemCount = static_cast<int32_t>(icons.size());
  return EncodeLayout(table);
}

struct RestoreFixture {
  FakePlatform p;
  RecordingRestoreView view;
  RestoreDialog dialog{view, p.state, p.services};

  RestoreFixture() {
    p.desktop.Add(u"ごみ箱", 20, 10);
    p.desktop.Add(u"メモ", 100, 10);
    // The dialog works on the caller's last snapshot.
    SnapshotDesktop(p.state.table, p.services);
    p.desktop.ResetCounters();
    p.files.Put(u"C:\\Norv\\b.ppx", LayoutBytes({{u"ごみ箱", 500, 500}}));
    p.files.Put(u"C:\\Norv\\a.b.ppx",
                LayoutBytes({{u"ごみ箱", 1025, 30}, {u"メモ", -5, 768}, {u"消えた", 0, 0}}));
    p.files.Put(u"C:\\Norv\\a.ppx", LayoutBytes({{u"メモ", 1, 2}}));
    p.files.files[u"C:\\Norv\\a.ppx"].lastWriteText = u"26/12/07 9:05";
    p.files.Put(u"C:\\Norv\\C.ppx", "", kAttrReadOnly);
    p.files.Put(u"C:\\Norv\\locked.ppx", "", kAttrReadOnly | kAttrArchive);
  }
  void Open() { dialog.Load(); }
  int RowOf(std::u16string_view path) const {
    const auto& paths = dialog.savedLayoutPaths();
    return static_cast<int>(std::find(paths.begin(), paths.end(), path) - paths.begin());
  }
};

TEST(RestoreDialogTest, LoadListsSortedLayoutsWithDatesAndWaitsForASelection) {
  RestoreFixture f;
  f.Open();
  EXPECT_EQ(f.dialog.savedLayoutPaths(),
            (std::vector<std::u16string>{u"C:\\Norv\\C.ppx", u"C:\\Norv\\a.b.ppx",
                                         u"C:\\Norv\\a.ppx", u"C:\\Norv\\b.ppx"}));
  EXPECT_EQ(f.view.layoutRows, (std::vector<std::u16string>{u"C\t2026/12/07", u"a\t2026/12/07",
                                                            u"a\t26/12/07", u"b\t2026/12/07"}));
  EXPECT_FALSE(f.view.enabled[kDeleteButton]);
  EXPECT_FALSE(f.view.enabled[kRestoreButton]);
  EXPECT_TRUE(f.view.enabled[kRestoreCancelButton]);
  EXPECT_EQ(f.view.calls, (std::vector<std::string>{"prepare", "layouts", "open"}));
  EXPECT_EQ(f.view.openedFrom->x, 300);
  EXPECT_EQ(f.view.openedFrom->y, 200);
  // The dialog takes no snapshot and shows no message.
  EXPECT_EQ(f.p.desktop.CrossProcessRequests(), 0);
  EXPECT_TRUE(f.p.messages.shown.empty());
}

TEST(RestoreDialogTest, SelectionShowsThePathAndRecordsJudgedAgainstTheLastSnapshot) {
  RestoreFixture f;
  f.Open();
  // The desktop has grown since the snapshot; the snapshot's rectangle still decides.
  f.p.desktop.rect = {2048, 2048};
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\a.b.ppx"));
  EXPECT_EQ(f.view.selectedPath, u"C:\\Norv\\a.b.ppx");
  EXPECT_TRUE(f.view.enabled[kDeleteButton]);
  EXPECT_TRUE(f.view.enabled[kRestoreButton]);
  ASSERT_EQ(f.view.recordRows.size(), 3u);
  EXPECT_EQ(f.view.recordRows[0], u"非表示\t\t" + PadIconText(u"ごみ箱"));
  EXPECT_EQ(f.view.recordRows[1], u"-5\t 768\t" + PadIconText(u"メモ"));
  EXPECT_EQ(f.view.recordRows[2], u" 0\t 0\t" + PadIconText(u"消えた"));

  // A further selection replaces path and records; an empty file lists none.
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\a.ppx"));
  EXPECT_EQ(f.view.selectedPath, u"C:\\Norv\\a.ppx");
  EXPECT_EQ(f.view.recordRows, (std::vector<std::u16string>{u" 1\t 2\t" + PadIconText(u"メモ")}));
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\C.ppx"));
  EXPECT_TRUE(f.view.recordRows.empty());
  // Losing the selection changes nothing.
  f.dialog.SelectionChanged(std::nullopt);
  EXPECT_EQ(f.view.selectedPath, u"C:\\Norv\\C.ppx");
  EXPECT_EQ(f.p.desktop.CrossProcessRequests(), 0);
}

TEST(RestoreDialogTest, WithoutASelectionDeleteAndRestoreDoNothing) {
  RestoreFixture f;
  f.Open();
  const size_t filesBefore = f.p.files.files.size();
  f.dialog.RunCommand(kDeleteButton);
  f.dialog.RunCommand(kRestoreButton);
  f.dialog.SelectionChanged(99);
  f.dialog.RunCommand(kDeleteButton);
  EXPECT_EQ(f.p.files.files.size(), filesBefore);
  EXPECT_EQ(f.p.desktop.moves, 0);
  EXPECT_FALSE(f.dialog.closed());
  EXPECT_FALSE(f.view.unloaded);
}

TEST(RestoreDialogTest, DeleteRemovesTheFileWithoutAQuestionAndTheNextOpeningDropsIt) {
  RestoreFixture f;
  f.Open();
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\b.ppx"));
  f.dialog.RunCommand(kDeleteButton);
  EXPECT_FALSE(f.p.files.Has(u"C:\\Norv\\b.ppx"));
  EXPECT_TRUE(f.p.messages.shown.empty());
  EXPECT_TRUE(f.dialog.closed());
  EXPECT_EQ(f.view.calls.back(), "unload");
  EXPECT_EQ(f.p.desktop.moves, 0);

  RecordingRestoreView next;
  RestoreDialog reopened(next, f.p.state, f.p.services);
  reopened.Load();
  EXPECT_EQ(reopened.savedLayoutPaths().size(), 3u);
  for (const auto& row : next.layoutRows) EXPECT_NE(row.substr(0, 2), u"b\t") << Utf8(row);
}

TEST(RestoreDialogTest, ADeleteThatFailsKeepsTheFileSaysSoAndStillCloses) {
  RestoreFixture f;
  f.Open();
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\C.ppx"));  // read-only
  f.dialog.RunCommand(kDeleteButton);
  EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\C.ppx"));
  ASSERT_EQ(f.p.messages.shown.size(), 1u);
  EXPECT_EQ(f.p.messages.shown[0].text, kDeleteFailedMessage);
  EXPECT_EQ(f.p.messages.shown[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(f.p.messages.shown[0].title, u"Norvane");
  EXPECT_TRUE(f.dialog.closed());
}

TEST(RestoreDialogTest, DeletingAFileAlreadyGoneIsNotAFailure) {
  RestoreFixture f;
  f.Open();
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\b.ppx"));
  f.p.files.files.erase(u"C:\\Norv\\b.ppx");
  std::erase(f.p.files.creationOrder, u"C:\\Norv\\b.ppx");
  f.dialog.RunCommand(kDeleteButton);
  EXPECT_TRUE(f.p.messages.shown.empty());
  EXPECT_TRUE(f.dialog.closed());
}

TEST(RestoreDialogTest, RestoreAppliesTheSelectedFileThenCloses) {
  RestoreFixture f;
  f.Open();
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\a.b.ppx"));
  f.dialog.RunCommand(kRestoreButton);
  // Its own records, not those of a.ppx; the record of a vanished icon is skipped.
  EXPECT_EQ(f.p.desktop.items[0].position, (Point{1025, 30}));
  EXPECT_EQ(f.p.desktop.items[1].position, (Point{-5, 768}));
  EXPECT_EQ(f.p.desktop.moves, 2);
  EXPECT_TRUE(f.dialog.closed());
  EXPECT_EQ(f.view.closedInto->x, 300);
  // The caller takes the snapshot: the table is still the one from before.
  EXPECT_EQ(f.p.state.table.positions[0], (Point{20, 10}));
  EXPECT_EQ(f.p.desktop.positionReads, 0);
  EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\a.b.ppx"));
}

TEST(RestoreDialogTest, CancelClosesIntoTheOpeningPointWithoutTouchingAnything) {
  RestoreFixture f;
  f.Open();
  f.dialog.SelectionChanged(f.RowOf(u"C:\\Norv\\b.ppx"));
  f.dialog.RunCommand(kRestoreCancelButton);
  EXPECT_TRUE(f.dialog.closed());
  EXPECT_EQ(f.view.closedInto->x, 300);
  EXPECT_EQ(f.view.closedInto->y, 200);
  EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\b.ppx"));
  EXPECT_EQ(f.p.desktop.moves, 0);
  // Events arriving after the close (a second click, the close box) run nothing.
  f.dialog.RunCommand(kDeleteButton);
  f.dialog.Close();
  EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\b.ppx"));
  EXPECT_EQ(std::count(f.view.calls.begin(), f.view.calls.end(), "unload"), 1);
}

TEST(RestoreDialogTest, NoSavedLayoutsLeaveOnlyCancel) {
  FakePlatform p;
  RecordingRestoreView view;
  view.cursor = std::nullopt;
  RestoreDialog dialog(view, p.state, p.services);
  dialog.Load();
  EXPECT_TRUE(view.layoutRows.empty());
  EXPECT_FALSE(view.enabled[kDeleteButton]);
  EXPECT_FALSE(view.enabled[kRestoreButton]);
  EXPECT_EQ(view.openedFrom->x, 0);
  EXPECT_EQ(view.openedFrom->y, 0);
  dialog.RunCommand(kRestoreCancelButton);
  EXPECT_TRUE(dialog.closed());
}

}  // namespace
}  // namespace norv
