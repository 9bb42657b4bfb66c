// The whole road as a user takes it: Norv.exe resident on the test desktop, the main window opened
// from the tray, every command button used with real input, and the exit from the tray.
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include "norv_on_test_desk.h"

namespace norv::wintest {
namespace {

class EndToEndTest : public NorvOnTestDesk {};
class EndToEndPathTest : public OnDeskPath<NorvOnTestDesk> {};

TEST_P(EndToEndPathTest, EveryCommandFromTheTrayAndTheExitPutsEveryIconBack) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings());
  const std::vector<Spot> home = StartSpots();

  {
    SCOPED_TRACE("one icon hidden and shown");
    ASSERT_NO_FATAL_FAILURE(SelectRow(1));
    Click(Command::kHideSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(1) == hidingPoint_; }, kStepMs)) << SpotOf(1);
    EXPECT_TRUE(RowReads(1, Row(1, std::nullopt))) << RowText(1);
    EXPECT_EQ(Spots()[0], home[0]) << "another icon moved";

    Click(Command::kShowSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(1) == home[1]; }, kStepMs)) << SpotOf(1);
    EXPECT_TRUE(RowReads(1, Row(1, home[1]))) << RowText(1);
  }
  {
    SCOPED_TRACE("all icons hidden and shown");
    Click(Command::kHideAll);
    const std::vector<Spot> hidden(kIcons.size(), hidingPoint_);
    EXPECT_TRUE(DeskBecomes(hidden));
    EXPECT_TRUE(RowReads(3, Row(3, std::nullopt))) << RowText(3);
    // The shell keeps what was moved through its folder view, and forgets list-view moves.
    ASSERT_TRUE(desk_->Refresh());
    EXPECT_EQ(Spots(), Path() == DeskPath::kFolderView ? hidden : home);
    Click(Command::kShowAll);
    EXPECT_TRUE(DeskBecomes(home));
    EXPECT_TRUE(RowReads(3, Row(3, home[3]))) << RowText(3);
  }

  // Saved with one icon hidden, so the restore has to hide it again, not only place it.
  std::vector<Spot> saved = home;
  saved[2] = hidingPoint_;
  {
    SCOPED_TRACE("saved under a name");
    ASSERT_NO_FATAL_FAILURE(SelectRow(2));
    Click(Command::kHideSelected);
    ASSERT_TRUE(DeskBecomes(saved));
    Click(Command::kSave);
    HWND save = wintest::WaitForTopWindow(L"Norv_A1", nullptr, norv_->id(), kStepMs);
    ASSERT_NE(save, nullptr) << "no save dialog";
    HWND name = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (name = wintest::FindDescendant(save, L"Edit")) && IsWindowVisible(save); },
        kStepMs));
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"机の上"));
    wintest::ClickCentreOf(wintest::FindChildWithText(save, u"保存"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(save); }, kStepMs)) << "the dialog stayed";
    EXPECT_NE(GetFileAttributesW(folder_.File(L"机の上.ppx").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  {
    SCOPED_TRACE("arranged");
    const std::vector<std::u16string> before = main_->Rows();
    Click(Command::kAutoArrange);
    ASSERT_TRUE(
        WaitUntil([&] { return Spots()[0] != saved[0] && main_->Rows() != before; }, kStepMs))
        << "nothing was arranged";
    // The rows follow the desktop's new places.
    main_->Settle();
    const std::vector<Spot> arranged = Spots();
    for (size_t i = 0; i < arranged.size(); ++i) {
      if (arranged[i] == hidingPoint_) continue;
      EXPECT_NE(main_->Rows()[i].find(
                    u"\t" + wintest::Utf8ToU16(" " + std::to_string(arranged[i].x)) + u"\t"),
                std::u16string::npos)
          << RowText(i);
    }
  }
  {
    SCOPED_TRACE("restored by name");
    Click(Command::kRestore);
    HWND restore = wintest::WaitForTopWindow(L"Norv_A2", nullptr, norv_->id(), kStepMs);
    ASSERT_NE(restore, nullptr) << "no restore dialog";
    std::vector<HWND> lists;
    ASSERT_TRUE(WaitUntil(
        [&] {
          lists = wintest::ListBoxesOf(restore);
          return !lists.empty() && IsWindowVisible(restore) &&
                 SendMessageW(lists.front(), LB_GETCOUNT, 0, 0) == 1;
        },
        kStepMs));
    ASSERT_TRUE(wintest::ClickListRow(lists.front(), 0));
    wintest::ClickCentreOf(wintest::FindChildWithText(restore, u"復帰"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(restore); }, kStepMs)) << "the dialog stayed";
    EXPECT_TRUE(DeskBecomes(saved));
    EXPECT_TRUE(RowReads(2, Row(2, std::nullopt))) << RowText(2);
  }
  {
    SCOPED_TRACE("back to the tray and the exit");
    // Nothing keeps the hidden icon at the exit, so the way back is open.
    ASSERT_NO_FATAL_FAILURE(ToTrayAllowed());
    EXPECT_EQ(Setting(L"ReCover_1"), 0);
    ASSERT_EQ(ExitFromTheTray(), std::optional<DWORD>(0));
    EXPECT_TRUE(DeskBecomes(home));
    // The exit's record is the desktop as it was left, hidden icon and all.
    const std::string record = wintest::ReadFileBytes(folder_.File(L"Norv.e01"));
    ASSERT_EQ(record.size(), kIcons.size() * kRecordSize);
    const auto at = [&](size_t offset) {
      return static_cast<int16_t>(static_cast<uint8_t>(record[offset]) |
                                  (static_cast<uint8_t>(record[offset + 1]) << 8));
    };
    EXPECT_EQ((Spot{at(2 * kRecordSize + 120), at(2 * kRecordSize + 122)}), hidingPoint_);
    EXPECT_EQ(record.substr(2 * kRecordSize, 4), "Work");
  }
}

TEST_F(EndToEndTest, BackToTheTrayIsRefusedWhileAKeptHiddenIconRemains) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings());
  const std::vector<Spot> home = StartSpots();
  {
    SCOPED_TRACE("refused, then let through after hiding, which stops keeping icons");
    ASSERT_NO_FATAL_FAILURE(SelectRow(0));
    Click(Command::kHideSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(0) == hidingPoint_; }, kStepMs));
    // The hiding ends by enabling "全て 表示"; a tick before that end would be switched off again.
    ASSERT_TRUE(WaitUntil(
        [&] { return IsWindowEnabled(main_->Button(Command::kShowAll)) != FALSE; }, kStepMs));
    ASSERT_NO_FATAL_FAILURE(TickKeepOnExit());
    ASSERT_NO_FATAL_FAILURE(ToTrayRefused());

    ASSERT_NO_FATAL_FAILURE(SelectRow(3));
    Click(Command::kHideSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(3) == hidingPoint_; }, kStepMs));
    ASSERT_NO_FATAL_FAILURE(ToTrayAllowed());
    EXPECT_EQ(Setting(L"ReCover_1"), 0) << "hiding did not stop keeping icons at the exit";
  }
  {
    SCOPED_TRACE("refused, then let through once every icon shows");
    ASSERT_NO_FATAL_FAILURE(OpenSettings());
    ASSERT_NO_FATAL_FAILURE(TickKeepOnExit());
    ASSERT_NO_FATAL_FAILURE(ToTrayRefused());
    Click(Command::kShowAll);
    ASSERT_TRUE(DeskBecomes(home));
    ASSERT_NO_FATAL_FAILURE(ToTrayAllowed());
    EXPECT_EQ(Setting(L"ReCover_1"), 1);
  }
  {
    SCOPED_TRACE("the exit keeps what the user arranged");
    ASSERT_EQ(Spots().size(), kIcons.size());
    SendMessageW(desk_->ListView(), LVM_SETITEMPOSITION, 1,
                 MAKELPARAM(hidingPoint_.x, hidingPoint_.y));
    ASSERT_EQ(ExitFromTheTray(), std::optional<DWORD>(0));
    EXPECT_EQ(SpotOf(1), hidingPoint_) << "an icon kept hidden at the exit came back";
    EXPECT_EQ(wintest::ReadFileBytes(folder_.File(L"Norv.e01")).size(),
              kIcons.size() * kRecordSize);
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, EndToEndPathTest, kBothDeskPaths, DeskPathName);

}  // namespace
}  // namespace norv::wintest
