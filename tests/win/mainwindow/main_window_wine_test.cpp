// The main window in a process of its own against the test desktop, driven by mouse and keyboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <functional>

#include "chrome/win32/chrome_window.h"
#include "core/app_state.h"
#include "core/desktop_list_view.h"
#include "core/icon_table.h"
#include "core/win32/platform.h"
#include "core/win32/wide_text.h"
#include "layout/win32/layout_dialogs.h"
#include "main_window_driver.h"
#include "mainwindow/icon_row.h"
#include "mainwindow/win32/main_window.h"
#include "support/build_paths.h"
#include "support/test_desk.h"
#include "support/test_folder.h"
#include "support/wait.h"
#include "support/window_finder.h"
#include "support/window_picture.h"

namespace norv {
namespace {

using wintest::ClickAt;
using wintest::ClickCentreOf;
using wintest::DeskItem;
using wintest::DeskReport;
using wintest::MainWindowDriver;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::WaitUntil;

constexpr uint32_t kSetItemPosition = 0x100F;

std::string Utf8(std::u16string_view text) { return wintest::U16ToUtf8(text); }

// The window works in another process, and its state changes step by step while a command runs:
// a check waits (bounded) for the state it expects instead of reading it once.
bool Eventually(const std::function<bool()>& condition) { return WaitUntil(condition, 10000); }

class MainWindowWineTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (main_) main_->process().Terminate();
    main_.reset();
    desk_.reset();
  }

  void StartDesk(const TestDeskOptions& options) {
    std::string error;
    desk_ = TestDesk::Start(options, &error);
    ASSERT_TRUE(desk_) << error;
  }
  void OpenMainWindow(const std::wstring& extraArguments = {}) {
    std::string error;
    main_ = MainWindowDriver::Start(Wide(folder_.path()), extraArguments, &error);
    ASSERT_TRUE(main_) << error;
  }

  // The desktop as this process reads it, for the rows the window should show.
  IconTable Snapshot() {
    IconTable table;
    EXPECT_TRUE(SnapshotDesktop(table, platform_.services()));
    return table;
  }
  std::vector<std::u16string> RowsOf(const IconTable& table) {
    std::vector<std::u16string> rows;
    for (int32_t i = 0; i < table.itemCount; ++i) rows.push_back(IconRow(table, i));
    return rows;
  }
  std::vector<DeskItem> Items() {
    const std::optional<DeskReport> report = desk_->Report();
    return report ? report->items : std::vector<DeskItem>{};
  }
  Point ItemPosition(size_t index) {
    const std::vector<DeskItem> items = Items();
    return index < items.size() ? Point{items[index].x, items[index].y} : Point{-1, -1};
  }
  bool Enabled(Command button) { return IsWindowEnabled(main_->Button(button)) != FALSE; }
  bool Disabled(Command button) { return !Enabled(button); }
  void Click(Command button) {
    HWND label = main_->Button(button);
    ASSERT_TRUE(label) << "no label for button " << static_cast<int>(button);
    ClickCentreOf(label);
  }
  void SelectRow(int row) {
    const POINT point = main_->RowPoint(row);
    ASSERT_TRUE(wintest::ClickListRow(main_->list(), row))
        << "at " << point.x << "," << point.y << " lies "
        << Utf8(wintest::ClassNameOf(WindowFromPoint(point))) << " selected "
        << main_->SelectedRow() << " responsive " << main_->Settle();
    main_->Settle();
  }
  void SavePicture(const wchar_t* name) {
    main_->Settle();
    // Paints still pending are done before the screen is read.
    RedrawWindow(main_->window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(
        wintest::SaveWindowPicture(main_->window(), wintest::TestProgramFolder() + L"\\" + name));
  }

  Win32Platform platform_;
  wintest::TestFolder folder_;
  std::unique_ptr<TestDesk> desk_;
  std::unique_ptr<MainWindowDriver> main_;
};

std::vector<DeskItem> OneShownOneHidden() {
  return {{20, 2, 0, u"ごみ箱"}, {5000, 5000, 3, u"メモ"}, {95, 2, 2, u"写真"}};
}

TEST_F(MainWindowWineTest, OpensCentredWithTheCaptionTheClientAreaAndTheIconRows) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Sample()));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow(L"--desktop-files"));
  HWND window = main_->window();

  EXPECT_EQ(wintest::WindowText(window),
            u"Norvane (ﾃﾞｽｸﾄｯﾌﾟ ｱｲｺﾝﾂｰﾙ)  Designed by r-Vemo  Version 2.0.0");
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 537);
  EXPECT_EQ(client.bottom, 385);
  RECT outer;
  GetWindowRect(window, &outer);
  EXPECT_NEAR(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2, 1);
  EXPECT_NEAR(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2, 1);

  EXPECT_EQ(main_->Rows(), RowsOf(Snapshot()));
  EXPECT_EQ(main_->SelectedRow(), -1);
  EXPECT_FALSE(Enabled(Command::kHideSelected));
  EXPECT_FALSE(Enabled(Command::kShowSelected));
  EXPECT_TRUE(Enabled(Command::kHideAll));
  EXPECT_FALSE(Enabled(Command::kShowAll));
  EXPECT_FALSE(Enabled(Command::kRestore));
  EXPECT_TRUE(Enabled(Command::kAutoArrange));

  // A section caption is drawn over its plate: the plate's dark blue shows around the letters.
  main_->Settle();
  const POINT plate = main_->ScreenPoint(18, 30);
  HDC screen = GetDC(nullptr);
  const COLORREF behindCaption = GetPixel(screen, plate.x, plate.y);
  ReleaseDC(nullptr, screen);
  const int red = GetRValue(behindCaption);
  const int blue = GetBValue(behindCaption);
  EXPECT_LT(red + 30, blue) << "red " << red << ", blue " << blue;
  EXPECT_LT(red, 140) << "red " << red << ", blue " << blue;

  ASSERT_NO_FATAL_FAILURE(SelectRow(0));
  SavePicture(L"main_window.bmp");
}

TEST_F(MainWindowWineTest, SelectingARowByMouseOrArrowKeyEnablesTheFittingButton) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());

  ASSERT_NO_FATAL_FAILURE(SelectRow(1));
  EXPECT_FALSE(Enabled(Command::kHideSelected));
  EXPECT_TRUE(Enabled(Command::kShowSelected));

  wintest::PressKey(VK_UP);
  ASSERT_TRUE(WaitUntil([&] { return main_->SelectedRow() == 0; }));
  main_->Settle();
  EXPECT_TRUE(Enabled(Command::kHideSelected));
  EXPECT_FALSE(Enabled(Command::kShowSelected));
}

// The window of the main window's thread that has the keyboard focus.
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// Tabs until `target` has the focus; false when a whole round of the window did not reach it.
bool TabTo(HWND window, HWND target) {
  for (int presses = 0; presses < 30; ++presses) {
    if (FocusOf(window) == target) return true;
    const HWND before = FocusOf(window);
    wintest::PressKey(VK_TAB);
    WaitUntil([&] { return FocusOf(window) != before; }, 3000);
  }
  return FocusOf(window) == target;
}

TEST_F(MainWindowWineTest, ButtonsAndCheckBoxesWorkFromTheKeyboard) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(
      TestDeskOptions::Items({{300, 410, 0, u"a"}, {710, 33, 1, u"b"}, {5, 600, 2, u"c"}})));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));
  const std::vector<std::u16string> before = main_->Rows();

  ASSERT_TRUE(TabTo(main_->window(), main_->Button(Command::kAutoArrange)));
  wintest::PressKey(VK_SPACE);
  EXPECT_TRUE(Eventually([&] { return main_->Rows() != before; }));
  EXPECT_NE(ItemPosition(0), (Point{300, 410}));

  const HWND option = main_->OptionLabel(0);
  ASSERT_TRUE(TabTo(main_->window(), option));
  wintest::PressKey(VK_RETURN);
  // A posted close overtakes queued keys; the focus leaving the label shows the Enter was handled.
  wintest::PressKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(main_->window()) != option; }));
  PostMessageW(main_->window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(main_->process().WaitForExit(), std::optional<DWORD>(0));
  const std::wstring ini = Wide(folder_ / u"Norv.ini");
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_0", -1, ini.c_str()), 1);
}

TEST_F(MainWindowWineTest, AutoArrangeMovesTheIconsAndListsTheirNewPlaces) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(
      TestDeskOptions::Items({{300, 410, 0, u"a"}, {710, 33, 1, u"b"}, {5, 600, 2, u"c"}})));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  const std::vector<std::u16string> before = main_->Rows();
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));

  Click(Command::kAutoArrange);
  ASSERT_TRUE(Eventually([&] { return main_->Rows() != before; }));
  EXPECT_TRUE(Eventually([&] { return main_->Rows() == RowsOf(Snapshot()); }));
  EXPECT_NE(ItemPosition(0), (Point{300, 410}));
  EXPECT_EQ(main_->SelectedRow(), -1);
  EXPECT_TRUE(Eventually(
      [&] { return Disabled(Command::kHideSelected) && Disabled(Command::kShowSelected); }));
}

TEST_F(MainWindowWineTest, HidingAndShowingTheSelectedIconMovesItAndBack) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Sample()));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow(L"--desktop-files"));
  const IconTable start = Snapshot();
  const Point hidingPoint{start.desktopRight + 50, start.desktopBottom + 50};
  const Point home = ItemPosition(7);

  ASSERT_NO_FATAL_FAILURE(SelectRow(7));
  Click(Command::kHideSelected);
  ASSERT_TRUE(WaitUntil([&] { return ItemPosition(7) == hidingPoint; }));
  // The all-icons buttons are set last, after the row was selected again.
  ASSERT_TRUE(Eventually([&] { return Enabled(Command::kShowAll); }));
  const std::u16string hiddenRow = main_->Rows().at(7);
  EXPECT_EQ(hiddenRow.substr(0, 6), u" 8\t\t\t ") << Utf8(hiddenRow);
  EXPECT_NE(hiddenRow.find(u"\t非表示\t"), std::u16string::npos);
  EXPECT_EQ(main_->SelectedRow(), 7);
  EXPECT_TRUE(Enabled(Command::kShowSelected));
  EXPECT_FALSE(Enabled(Command::kHideSelected));
  SavePicture(L"main_window_hidden.bmp");

  Click(Command::kShowSelected);
  ASSERT_TRUE(WaitUntil([&] { return ItemPosition(7) == home; }));
  ASSERT_TRUE(Eventually([&] { return Disabled(Command::kShowAll); }));
  EXPECT_EQ(main_->Rows(), RowsOf(Snapshot()));
  EXPECT_EQ(main_->SelectedRow(), 7);
}

TEST_F(MainWindowWineTest, HideAllAndShowAllMoveEveryIconAwayAndHome) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  const IconTable start = Snapshot();
  const std::vector<DeskItem> home = Items();

  Click(Command::kHideAll);
  ASSERT_TRUE(Eventually([&] { return Disabled(Command::kHideAll); }));
  for (const DeskItem& item : Items()) {
    EXPECT_EQ((Point{item.x, item.y}), (Point{start.desktopRight + 50, start.desktopBottom + 50}));
  }
  EXPECT_EQ(main_->SelectedRow(), 0);
  // Row 0 stays selected, yet the dispatcher turns both selected-icon buttons off.
  EXPECT_TRUE(Eventually(
      [&] { return Disabled(Command::kHideSelected) && Disabled(Command::kShowSelected); }));

  Click(Command::kShowAll);
  ASSERT_TRUE(Eventually([&] { return Enabled(Command::kHideAll); }));
  EXPECT_EQ(Items(), home);
  EXPECT_EQ(main_->SelectedRow(), -1);
  EXPECT_TRUE(Enabled(Command::kShowAll)) << "the icon hidden at start-up is hidden again";
}

TEST_F(MainWindowWineTest, ToTrayIsRefusedWhileAKeptHiddenIconRemainsThenAllowed) {
  const std::wstring ini = Wide(folder_ / u"Norv.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(L"Section", L"ReCover_1", L" 1", ini.c_str()));
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());

  Click(Command::kToTray);
  const auto box = wintest::WaitForMessageBox(main_->process().id());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, u"Norvane Error");
  EXPECT_EQ(box->text, u"非表示ｱｲｺﾝが含まれています。");
  EXPECT_TRUE(wintest::PressButton(box->hwnd, IDOK));
  main_->Settle();
  EXPECT_TRUE(IsWindow(main_->window()));

  ClickCentreOf(main_->OptionLabel(1));
  main_->Settle();
  Click(Command::kToTray);
  EXPECT_EQ(main_->process().WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_1", -1, ini.c_str()), 0)
      << wintest::ReadFileBytes(ini);
}

std::wstring StartupShortcut() {
  PWSTR folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder))) {
    path = std::wstring(folder) + L"\\Norv.lnk";
  }
  CoTaskMemFree(folder);
  return path;
}

TEST_F(MainWindowWineTest, RegistrationOptionsAndTheCloseBoxWorkFromTheWindow) {
  const std::wstring shortcut = StartupShortcut();
  ASSERT_FALSE(shortcut.empty());
  DeleteFileW(shortcut.c_str());
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());

  ClickCentreOf(wintest::FindChildWithText(main_->window(), u"ｽﾀｰﾄｱｯﾌﾟに登録"));
  EXPECT_TRUE(
      Eventually([&] { return GetFileAttributesW(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES; }));

  // The check picture of option 0 toggles it like its caption; the close box writes both.
  ClickAt(main_->ScreenPoint(16 + 6, 356 + 6));
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));
  PostMessageW(main_->window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_EQ(main_->process().WaitForExit(), std::optional<DWORD>(0));
  const std::wstring ini = Wide(folder_ / u"Norv.ini");
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_0", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_1", -1, ini.c_str()), 0);
  DeleteFileW(shortcut.c_str());
}

// The program ending with the window open frees the window's object first: its unload still runs
// in the whole object and writes the options.
TEST_F(MainWindowWineTest, FreeingTheOpenWindowStillWritesTheOptions) {
  ASSERT_TRUE(InitCommonControlsForChrome());
  AppState state;
  state.appDirectory = folder_.path();
  state.options = {1, -3};
  LayoutDialogs dialogs(state, platform_.services());
  {
    MainWindowSlot slot(GetModuleHandleW(nullptr), nullptr, state, platform_.services(), dialogs);
    slot.Open({});
    ASSERT_TRUE(slot.IsOpen());
  }
  const std::wstring ini = Wide(folder_ / u"Norv.ini");
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_0", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Section", L"ReCover_1", 0, ini.c_str()), -3);
}

TEST_F(MainWindowWineTest, SaveAndRestoreOpenTheirDialogsAndTheRestoreButtonFollowsTheCount) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  const DWORD host = main_->process().id();
  EXPECT_FALSE(Enabled(Command::kRestore));
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));

  Click(Command::kSave);
  HWND save = wintest::WaitForTopWindow(L"Norv_A1", nullptr, host);
  ASSERT_TRUE(save);
  HWND name = nullptr;
  ASSERT_TRUE(Eventually([&] {
    name = wintest::FindDescendant(save, L"Edit");
    return name && IsWindowVisible(save);
  }));
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"机の上"));
  ClickCentreOf(wintest::FindChildWithText(save, u"保存"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(save); }));
  EXPECT_TRUE(Eventually([&] { return Enabled(Command::kRestore); }));
  EXPECT_NE(GetFileAttributesW(Wide(folder_ / u"机の上.ppx")), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Eventually([&] { return Disabled(Command::kHideSelected); }));

  Click(Command::kRestore);
  HWND restore = wintest::WaitForTopWindow(L"Norv_A2", nullptr, host);
  ASSERT_TRUE(restore);
  std::vector<HWND> lists;
  ASSERT_TRUE(Eventually([&] {
    lists = wintest::ListBoxesOf(restore);
    return !lists.empty() && IsWindowVisible(restore);
  }));
  ASSERT_TRUE(wintest::ClickListRow(lists.front(), 0));
  ClickCentreOf(wintest::FindChildWithText(restore, u"削除"));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(restore); }));
  EXPECT_EQ(GetFileAttributesW(Wide(folder_ / u"机の上.ppx")), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(Eventually([&] { return Disabled(Command::kRestore); }))
      << "the last layout was deleted";
}

TEST_F(MainWindowWineTest, AClickOnTheTopStripOfAFaceDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Items(OneShownOneHidden())));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  ASSERT_TRUE(desk_->ResetCounts());

  // One pixel below the top of "全て 非表示"'s face, above its caption label.
  ClickAt(main_->ScreenPoint(176 + 8 + 40, 280 + 8 + 1));
  // A row selected by a later click shows that the host has handled the click before it.
  ASSERT_NO_FATAL_FAILURE(SelectRow(0));
  EXPECT_EQ(desk_->Report()->TotalRequests(), 0u);
  EXPECT_TRUE(Enabled(Command::kHideAll));

  Click(Command::kHideAll);
  EXPECT_TRUE(WaitUntil([&] { return desk_->Report()->TotalRequests() > 0; }));
}

TEST_F(MainWindowWineTest,
       WithAThousandIconsHideAllAndShowAllMoveEachOnceInOneBatchAndSnapshotOnce) {
  ASSERT_NO_FATAL_FAILURE(StartDesk(TestDeskOptions::Generated(1000)));
  ASSERT_NO_FATAL_FAILURE(OpenMainWindow());
  ASSERT_TRUE(desk_->ResetCounts());
  Snapshot();
  const uint32_t snapshotRequests = desk_->Report()->TotalRequests();
  ASSERT_GT(snapshotRequests, 2000u);

  ASSERT_TRUE(desk_->ResetCounts());
  Click(Command::kHideAll);
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(Command::kHideAll); }, 60000));
  main_->Settle();
  DeskReport report = *desk_->Report();
  EXPECT_EQ(report.RequestCount(kSetItemPosition), 1000u);
  EXPECT_EQ(report.TotalRequests(), 1000u + snapshotRequests);
  // With the view's redraw off around the moves, and on again after them.
  EXPECT_EQ(report.redrawOffs, 1u);
  EXPECT_TRUE(report.redrawOn);
  for (const DeskItem& item : report.items) ASSERT_GT(item.x, report.clientWidth);

  ASSERT_TRUE(desk_->ResetCounts());
  Click(Command::kShowAll);
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(Command::kShowAll); }, 60000));
  main_->Settle();
  report = *desk_->Report();
  EXPECT_EQ(report.RequestCount(kSetItemPosition), 1000u);
  EXPECT_EQ(report.TotalRequests(), 1000u + snapshotRequests);
  EXPECT_EQ(report.redrawOffs, 1u);
  EXPECT_TRUE(report.redrawOn);
}

}  // namespace
}  // namespace norv
