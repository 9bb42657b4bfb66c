// The whole road as a user takes it: Norv.exe resident on the test desktop, the main window opened
// from the tray, every command button used with real input, and the exit from the tray.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main_window_driver.h"
#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/program_folder.h"
#include "support/resident_norv.h"
#include "support/stand_in_notification_area.h"
#include "support/test_desk.h"
#include "support/tray_menu_driver.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv {
namespace {

using wintest::ChildProcess;
using wintest::DeskItem;
using wintest::MainWindowDriver;
using wintest::WaitUntil;

constexpr DWORD kStepMs = 10000;
constexpr int kSettingsEntry = 1;
constexpr int kExitEntry = 4;
constexpr size_t kRecordSize = 124;

// Off the arrangement grid, so "自動整列" has to move them.
const std::vector<DeskItem> kIcons = {
    {13, 17, 0, u"ごみ箱"}, {210, 95, 1, u"メモ"}, {57, 333, 2, u"Work"}, {420, 180, 3, u"写真"}};

using Spot = wintest::DeskSpot;

class EndToEndTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.ready()) << "could not prepare a program folder";
    std::string error;
    desk_ = wintest::TestDesk::Start(wintest::TestDeskOptions::Items(kIcons), &error);
    ASSERT_TRUE(desk_) << error;
    const std::optional<Spot> hidingPoint = desk_->HidingPoint();
    ASSERT_TRUE(hidingPoint);
    hidingPoint_ = *hidingPoint;
    std::optional<wintest::ResidentNorv> resident =
        wintest::StartResidentNorv(folder_.path(), area_, &error);
    ASSERT_TRUE(resident) << error;
    norv_ = std::move(resident->process);
    tray_ = resident->tray;
  }

  void TearDown() override {
    main_.reset();
    if (norv_) norv_->Terminate();
  }

  void OpenSettings() {
    ASSERT_TRUE(wintest::ChooseTrayEntry(tray_, kSettingsEntry, kStepMs)) << "no tray menu";
    HWND window = wintest::WaitForTopWindow(L"Norv_M", nullptr, norv_->id(), kStepMs);
    std::string error;
    main_ = MainWindowDriver::Attach(window, norv_->handle(), &error);
    ASSERT_TRUE(main_) << error;
    // Shown before its load has filled the list and set up the buttons.
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (int button = 0; button < kCommandCount; ++button)
            if (!main_->Button(static_cast<Command>(button))) return false;
          return main_->Rows().size() == kIcons.size() &&
                 IsWindowEnabled(main_->Button(Command::kHideAll)) != FALSE;
        },
        kStepMs))
        << "the main window did not finish loading";
    main_->Settle();
  }

  // "ﾀｽｸﾄﾚｲへ" let through: the window goes, the program stays in the tray.
  void ToTrayAllowed() {
    HWND window = main_->window();
    Click(Command::kToTray);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(window); }, kStepMs)) << "the window stayed";
    main_.reset();
    EXPECT_TRUE(norv_->running());
  }

  void ToTrayRefused() {
    Click(Command::kToTray);
    const std::optional<wintest::MessageBoxView> box =
        wintest::WaitForMessageBox(norv_->id(), kStepMs);
    ASSERT_TRUE(box) << "no refusal; the main window "
                     << (IsWindow(main_->window()) ? "stays" : "went");
    EXPECT_EQ(box->title, u"Norvane Error");
    EXPECT_EQ(box->text, u"非表示ｱｲｺﾝが含まれています。");
    EXPECT_EQ(box->buttons.size(), 1u);
    ASSERT_TRUE(wintest::PressButton(box->hwnd, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }, kStepMs));
    main_->Settle();
    EXPECT_TRUE(IsWindowVisible(main_->window())) << "the window went despite the refusal";
  }

  std::optional<DWORD> ExitFromTheTray() {
    if (!wintest::ChooseTrayEntry(tray_, kExitEntry, kStepMs)) return std::nullopt;
    return wintest::WaitForNorvEnd(*norv_, kStepMs);
  }

  void Click(Command button) {
    HWND label = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (label = main_->Button(button)) != nullptr; }, kStepMs))
        << "no button " << static_cast<int>(button);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(label) != FALSE; }, kStepMs))
        << "button " << static_cast<int>(button) << " stays disabled";
    wintest::ClickCentreOf(label);
  }

  void SelectRow(int row) {
    ASSERT_TRUE(wintest::ClickListRow(main_->list(), row));
    main_->Settle();
  }

  void TickKeepOnExit() {
    HWND label = main_->OptionLabel(1);
    ASSERT_NE(label, nullptr) << "no option label";
    wintest::ClickCentreOf(label);
    main_->Settle();
  }

  std::vector<Spot> Spots() { return desk_->Spots(); }
  static std::vector<Spot> StartSpots() { return wintest::SpotsOf(kIcons); }
  Spot SpotOf(size_t index) {
    const std::vector<Spot> spots = Spots();
    return index < spots.size() ? spots[index] : Spot{-1, -1};
  }
  // Waits until the desktop shows `expected`, and says what it showed otherwise.
  testing::AssertionResult DeskBecomes(const std::vector<Spot>& expected) {
    if (WaitUntil([&] { return Spots() == expected; }, kStepMs)) return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "the desktop shows";
    for (const Spot& spot : Spots()) failure << " " << spot;
    return failure;
  }
  bool RowReads(size_t row, const std::u16string& expected) {
    return WaitUntil(
        [&] {
          std::vector<std::u16string> rows = main_->Rows();
          if (row >= rows.size()) return false;
          // The icon's text fills a fixed-width field.
          rows[row].erase(rows[row].find_last_not_of(u' ') + 1);
          return rows[row] == expected;
        },
        kStepMs);
  }
  std::string RowText(size_t row) {
    const std::vector<std::u16string> rows = main_->Rows();
    return row < rows.size() ? wintest::U16ToUtf8(rows[row]) : "(no row)";
  }
  // The settings file as Wine writes it (it drops the value's leading space, Windows keeps it).
  int Setting(const wchar_t* key) {
    return static_cast<int>(
        GetPrivateProfileIntW(L"Section", key, -1, folder_.File(L"Norv.ini").c_str()));
  }

  wintest::ProgramFolder folder_;
  wintest::StandInNotificationArea area_;
  std::unique_ptr<wintest::TestDesk> desk_;
  std::optional<ChildProcess> norv_;
  HWND tray_ = nullptr;
  std::unique_ptr<MainWindowDriver> main_;
  Spot hidingPoint_{};
};

TEST_F(EndToEndTest, EveryCommandFromTheTrayAndTheExitPutsEveryIconBack) {
  ASSERT_NO_FATAL_FAILURE(OpenSettings());
  const std::vector<Spot> home = StartSpots();

  {
    SCOPED_TRACE("one icon hidden and shown");
    ASSERT_NO_FATAL_FAILURE(SelectRow(1));
    Click(Command::kHideSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(1) == hidingPoint_; }, kStepMs)) << SpotOf(1);
    EXPECT_TRUE(RowReads(1, u" 2\t\t\t 1\t非表示\tメモ")) << RowText(1);
    EXPECT_EQ(Spots()[0], home[0]) << "another icon moved";

    Click(Command::kShowSelected);
    ASSERT_TRUE(WaitUntil([&] { return SpotOf(1) == home[1]; }, kStepMs)) << SpotOf(1);
    EXPECT_TRUE(RowReads(1, u" 2\t 210\t 95\t 1\t表示\tメモ")) << RowText(1);
  }
  {
    SCOPED_TRACE("all icons hidden and shown");
    Click(Command::kHideAll);
    EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size(), hidingPoint_)));
    EXPECT_TRUE(RowReads(3, u" 4\t\t\t 3\t非表示\t写真")) << RowText(3);
    Click(Command::kShowAll);
    EXPECT_TRUE(DeskBecomes(home));
    EXPECT_TRUE(RowReads(3, u" 4\t 420\t 180\t 3\t表示\t写真")) << RowText(3);
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
    EXPECT_TRUE(RowReads(2, u" 3\t\t\t 2\t非表示\tWork")) << RowText(2);
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

}  // namespace
}  // namespace norv
