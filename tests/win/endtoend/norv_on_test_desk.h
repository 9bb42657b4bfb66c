#pragma once

// Norv.exe resident on the test desktop, its main window opened from the tray and used with real
// input: the set-up the tests of this folder share.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <shellapi.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "main_window_driver.h"
#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/desk_paths.h"
#include "support/program_folder.h"
#include "support/resident_norv.h"
#include "support/stand_in_notification_area.h"
#include "support/test_desk.h"
#include "support/tray_menu_driver.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {

inline constexpr DWORD kStepMs = 10000;
inline constexpr int kSettingsEntry = 1;
inline constexpr int kExitEntry = 4;
inline constexpr size_t kRecordSize = 124;

// Off the arrangement grid, so "自動整列" has to move them.
const std::vector<DeskItem> kIcons = {
    {13, 17, 0, u"ごみ箱"}, {210, 95, 1, u"メモ"}, {57, 333, 2, u"Work"}, {420, 180, 3, u"写真"}};

using Spot = DeskSpot;

// Four icons off the arrangement grid, Norv.exe started in a program folder of its own and
// resident.
class NorvOnTestDesk : public testing::Test {
 protected:
  // The way to the desktop's icons that the test desktop offers.
  virtual DeskPath Path() const { return DeskPath::kListView; }

  void SetUp() override {
    ASSERT_TRUE(folder_.ready()) << "could not prepare a program folder";
    std::string error;
    desk_ = TestDesk::Start(TestDeskOptions::Items(kIcons).On(Path()), &error);
    ASSERT_TRUE(desk_) << error;
    const std::optional<Spot> hidingPoint = desk_->HidingPoint();
    ASSERT_TRUE(hidingPoint);
    hidingPoint_ = *hidingPoint;
    std::optional<ResidentNorv> resident = StartResidentNorv(folder_.path(), area_, &error);
    ASSERT_TRUE(resident) << error;
    norv_ = std::move(resident->process);
    tray_ = resident->tray;
  }

  void TearDown() override {
    main_.reset();
    if (norv_) norv_->Terminate();
  }

  void OpenSettings() {
    ASSERT_TRUE(ChooseTrayEntry(tray_, kSettingsEntry, kStepMs)) << "no tray menu";
    HWND window = WaitForTopWindow(L"Norv_M", nullptr, norv_->id(), kStepMs);
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
    const std::optional<MessageBoxView> box = WaitForMessageBox(norv_->id(), kStepMs);
    ASSERT_TRUE(box) << "no refusal; the main window "
                     << (IsWindow(main_->window()) ? "stays" : "went");
    EXPECT_EQ(box->title, u"Norvane Error");
    EXPECT_EQ(box->text, u"非表示ｱｲｺﾝが含まれています。");
    EXPECT_EQ(box->buttons.size(), 1u);
    ASSERT_TRUE(PressButton(box->hwnd, IDOK));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box->hwnd); }, kStepMs));
    main_->Settle();
    EXPECT_TRUE(IsWindowVisible(main_->window())) << "the window went despite the refusal";
  }

  std::optional<DWORD> ExitFromTheTray() {
    if (!ChooseTrayEntry(tray_, kExitEntry, kStepMs)) return std::nullopt;
    return WaitForNorvEnd(*norv_, kStepMs);
  }

  void Click(Command button) {
    HWND label = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (label = main_->Button(button)) != nullptr; }, kStepMs))
        << "no button " << static_cast<int>(button);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(label) != FALSE; }, kStepMs))
        << "button " << static_cast<int>(button) << " stays disabled";
    ClickCentreOf(label);
  }

  void SelectRow(int row) {
    ASSERT_TRUE(ClickListRow(main_->list(), row));
    main_->Settle();
  }

  void TickKeepOnExit() {
    HWND label = main_->OptionLabel(1);
    ASSERT_NE(label, nullptr) << "no option label";
    ClickCentreOf(label);
    main_->Settle();
  }

  std::vector<Spot> Spots() { return desk_->Spots(); }
  static std::vector<Spot> StartSpots() { return SpotsOf(kIcons); }
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
  // The main window's row of icon `i`: at `at`, or hidden.
  std::u16string Row(size_t i, std::optional<Spot> at) const {
    const auto number = [](int64_t n) { return Utf8ToU16(" " + std::to_string(n)); };
    std::u16string row = number(static_cast<int64_t>(i) + 1) + u"\t";
    row += at ? number(at->x) + u"\t" + number(at->y) + u"\t" : u"\t\t";
    return row + number(ImageOf(i)) + u"\t" + (at ? u"表示" : u"非表示") + u"\t" + kIcons[i].text;
  }
  // The image index the program lists for icon `i`: the list view's own, or on the folder view
  // the system image list's for a file of its name, as the shell of this process gives it.
  int ImageOf(size_t i) const {
    if (Path() == DeskPath::kListView) return kIcons[i].image;
    SHFILEINFOW info{};
    SHGetFileInfoW(reinterpret_cast<const wchar_t*>(kIcons[i].text.c_str()), FILE_ATTRIBUTE_NORMAL,
                   &info, sizeof info, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX);
    return info.iIcon;
  }
  std::string RowText(size_t row) {
    const std::vector<std::u16string> rows = main_->Rows();
    return row < rows.size() ? U16ToUtf8(rows[row]) : "(no row)";
  }
  // The settings file as Wine writes it (it drops the value's leading space, Windows keeps it).
  int Setting(const wchar_t* key) {
    return static_cast<int>(
        GetPrivateProfileIntW(L"Section", key, -1, folder_.File(L"Norv.ini").c_str()));
  }

  ProgramFolder folder_;
  StandInNotificationArea area_;
  std::unique_ptr<TestDesk> desk_;
  std::optional<ChildProcess> norv_;
  HWND tray_ = nullptr;
  std::unique_ptr<MainWindowDriver> main_;
  Spot hidingPoint_{};
};

}  // namespace norv::wintest
