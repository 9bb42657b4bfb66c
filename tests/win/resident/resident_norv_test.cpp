// Norv.exe as a user meets it: resident in the notification area, driven through its tray icon,
// against the test desktop.
#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>
// After windows.h:
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "commands/command_message.h"
#include "html_association.h"
#include "resident/tray_window.h"
#include "resident/win32/tray_window.h"
#include "startup_link_reader.h"
#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/program_folder.h"
#include "support/resident_norv.h"
#include "support/stand_in_notification_area.h"
#include "support/test_desk.h"
#include "support/tray_menu_driver.h"
#include "support/user_input.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv {
namespace {

using wintest::ChildProcess;
using wintest::DeskItem;
using wintest::HtmlAssociation;
using wintest::ProgramFolder;
using wintest::StandInNotificationArea;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::WaitUntil;

constexpr DWORD kStepMs = 10000;
constexpr uint32_t kRecordSize = 124;

const std::vector<DeskItem> kIcons = {
    {10, 10, 0, u"ごみ箱"}, {10, 90, 1, u"メモ"}, {10, 170, 2, u"Work"}};

std::u16string RecordText(const std::string& bytes, size_t record) {
  std::string text = bytes.substr(record * kRecordSize, 120);
  text.erase(text.find_last_not_of(' ') + 1);
  return wintest::Utf8ToU16(text);  // ASCII texts only are compared this way
}

int16_t RecordInt(const std::string& bytes, size_t record, size_t offset) {
  const size_t at = record * kRecordSize + offset;
  return static_cast<int16_t>(static_cast<uint8_t>(bytes[at]) |
                              (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

class ResidentNorvTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.ready()) << "could not prepare a program folder"; }

  void StartDesk(const std::vector<DeskItem>& items = kIcons) {
    std::string error;
    desk_ = TestDesk::Start(TestDeskOptions::Items(items), &error);
    ASSERT_TRUE(desk_) << error;
  }

  void StartNorv() {
    std::string error;
    std::optional<wintest::ResidentNorv> resident =
        wintest::StartResidentNorv(folder_.path(), area_, &error);
    ASSERT_TRUE(resident) << error;
    norv_ = std::move(resident->process);
    tray_ = resident->tray;
  }

  int Adds() const { return area_.Count(NIM_ADD, tray_); }
  int Deletes() const { return area_.Count(NIM_DELETE, tray_); }

  void SendTrayMouse(UINT mouseMessage) { wintest::SendTrayMouse(tray_, mouseMessage); }

  // Every message posted to the tray window so far has been handled once the icon that this
  // announcement brings has arrived.
  void Settle() {
    const int before = Adds();
    PostMessageW(tray_, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Adds() > before; }, kStepMs));
  }

  HWND VisibleMenu() const { return wintest::VisibleTrayMenu(tray_); }
  HWND OpenMenu() { return wintest::OpenTrayMenu(tray_, kStepMs); }

  // Chooses the n-th entry (1 to 4) with the keyboard, as a user could.
  void Choose(int entry) {
    ASSERT_TRUE(wintest::ChooseTrayEntry(tray_, entry, kStepMs)) << "the menu did not open";
  }

  std::optional<DWORD> WaitForNorvExit() { return wintest::WaitForNorvEnd(*norv_, kStepMs); }

  std::optional<DWORD> ExitThroughTheMenu() {
    Choose(4);
    return WaitForNorvExit();
  }

  std::vector<DeskItem> DeskItems() {
    const std::optional<wintest::DeskReport> report = desk_->Report();
    return report ? report->items : std::vector<DeskItem>{};
  }

  void MoveOnDesk(int index, int x, int y) {
    SendMessageW(desk_->ListView(), LVM_SETITEMPOSITION, static_cast<WPARAM>(index),
                 MAKELPARAM(x, y));
  }

  ProgramFolder folder_;
  StandInNotificationArea area_;
  std::unique_ptr<TestDesk> desk_;
  std::optional<ChildProcess> norv_;
  HWND tray_ = nullptr;
};

TEST_F(ResidentNorvTest, StartsResidentAndOnlyARightPressOpensTheMenu) {
  StartDesk();
  StartNorv();
  const StandInNotificationArea::Notice& added = area_.notices().back();
  EXPECT_EQ(added.tip, L"Norvane");
  EXPECT_EQ(added.id, kTrayIconId);
  EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.callbackMessage, kTrayCallbackMessage);
  EXPECT_FALSE(IsWindowVisible(tray_));

  for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP})
    SendTrayMouse(message);
  Settle();
  EXPECT_EQ(VisibleMenu(), nullptr) << "a menu opened for another mouse event";

  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return VisibleMenu() == nullptr; }, kStepMs));
  EXPECT_TRUE(norv_->running());
}

// Another program's window, where the user clicks to leave the menu.
class ElsewhereWindow {
 public:
  explicit ElsewhereWindow(const RECT& area) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"NorvTestElsewhere";
    RegisterClassW(&windowClass);
    // Never activated, so it takes no focus from the menu before the click.
    hwnd_ =
        CreateWindowExW(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"",
                        WS_POPUP, area.left, area.top, area.right - area.left,
                        area.bottom - area.top, nullptr, nullptr, windowClass.hInstance, nullptr);
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  }
  ~ElsewhereWindow() { DestroyWindow(hwnd_); }
  ElsewhereWindow(const ElsewhereWindow&) = delete;
  ElsewhereWindow& operator=(const ElsewhereWindow&) = delete;

 private:
  HWND hwnd_;
};

TEST_F(ResidentNorvTest, MenuClosesOnAClickElsewhere) {
  StartDesk();
  StartNorv();
  // The menu opens at the cursor; another program's window waits in a far corner.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  SetCursorPos(width / 4, height / 4);
  const RECT corner{width - 100, height - 100, width, height};
  const ElsewhereWindow elsewhere(corner);
  wintest::PumpMessages();
  HWND menu = OpenMenu();
  ASSERT_NE(menu, nullptr);
  wintest::ClickAt({corner.left + 50, corner.top + 50});
  EXPECT_TRUE(WaitUntil([&] { return VisibleMenu() == nullptr; }, kStepMs));
  EXPECT_TRUE(norv_->running());
}

TEST_F(ResidentNorvTest, SettingsOpensTheMainWindowAndTheTrayWaitsUntilItCloses) {
  StartDesk();
  StartNorv();
  Choose(1);
  HWND main = wintest::WaitForTopWindow(L"Norv_M", nullptr, norv_->id(), kStepMs);
  ASSERT_NE(main, nullptr) << "no main window";
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kStepMs));

  SendTrayMouse(WM_RBUTTONDOWN);
  Settle();
  EXPECT_EQ(VisibleMenu(), nullptr) << "the tray answered while the main window was open";

  EXPECT_TRUE(wintest::ReadFileBytes(folder_.File(L"Norv.ini")).empty());
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main); }, kStepMs));
  const std::string settings = wintest::ReadFileBytes(folder_.File(L"Norv.ini"));
  EXPECT_NE(settings.find("[Section]"), std::string::npos) << settings;
  // Windows keeps the value's leading space (" 0"); Wine's profile functions drop it.
  EXPECT_TRUE(settings.find("ReCover_0= 0") != std::string::npos ||
              settings.find("ReCover_0=0") != std::string::npos)
      << settings;
  EXPECT_TRUE(settings.find("ReCover_1= 0") != std::string::npos ||
              settings.find("ReCover_1=0") != std::string::npos)
      << settings;

  HWND menu = OpenMenu();
  EXPECT_NE(menu, nullptr) << "the tray stayed deaf after the main window closed";
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

// The main window's child with this text (a button's caption label); null when none.
HWND ChildWithText(HWND parent, const std::u16string& text) {
  struct Search {
    const std::u16string& text;
    HWND found = nullptr;
  } search{text};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) {
        auto& s = *reinterpret_cast<Search*>(param);
        if (wintest::WindowText(child) != s.text) return TRUE;
        s.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(ResidentNorvTest, RegistrationButtonPutsAShortcutToNorvExeInTheStartupFolder) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const std::wstring link = wintest::StartupLinkPath();
  DeleteFileW(link.c_str());
  StartDesk();
  StartNorv();
  Choose(1);
  HWND main = wintest::WaitForTopWindow(L"Norv_M", nullptr, norv_->id(), kStepMs);
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kStepMs));
  HWND button = ChildWithText(main, u"ｽﾀｰﾄｱｯﾌﾟに登録");
  ASSERT_NE(button, nullptr);
  RECT face{};
  GetWindowRect(button, &face);
  wintest::ClickAt({(face.left + face.right) / 2, (face.top + face.bottom) / 2});

  std::optional<wintest::LinkContent> shortcut;
  EXPECT_TRUE(WaitUntil([&] { return (shortcut = wintest::ReadLink(link)).has_value(); }, kStepMs))
      << "no shortcut in the Startup folder";
  if (shortcut) {
    EXPECT_EQ(shortcut->target, folder_.exe());
    EXPECT_EQ(shortcut->arguments, L"");
    EXPECT_EQ(shortcut->workingDirectory, folder_.path());
  }
  DeleteFileW(link.c_str());
  CoUninitialize();
}

TEST_F(ResidentNorvTest, RestoreEntryIsModalAndSnapshotsWhenTheDialogCloses) {
  StartDesk();
  StartNorv();
  Choose(2);
  HWND dialog = wintest::WaitForTopWindow(L"Norv_A2", nullptr, norv_->id(), kStepMs);
  ASSERT_NE(dialog, nullptr) << "no restore dialog";
  SendTrayMouse(WM_RBUTTONDOWN);
  Settle();
  EXPECT_EQ(VisibleMenu(), nullptr) << "the tray answered while the dialog was open";

  ASSERT_TRUE(desk_->ResetCounts());
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepMs));
  // The snapshot after a cancelled dialog reads every icon again.
  EXPECT_TRUE(WaitUntil(
      [&] {
        const auto report = desk_->Report();
        return report && report->RequestCount(LVM_GETITEMCOUNT) >= 1 &&
               report->RequestCount(LVM_GETITEMPOSITION) >= static_cast<uint32_t>(kIcons.size());
      },
      kStepMs));
  EXPECT_TRUE(norv_->running());
}

TEST_F(ResidentNorvTest, ExitRecordsTheDesktopAndPutsMovedIconsBack) {
  StartDesk();
  StartNorv();
  MoveOnDesk(1, 1074, 818);  // hidden by hand while the program ran
  MoveOnDesk(2, 400, 300);
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
  EXPECT_EQ(Deletes(), 1);

  const std::string bytes = wintest::ReadFileBytes(folder_.File(L"Norv.e01"));
  ASSERT_EQ(bytes.size(), kIcons.size() * kRecordSize);
  EXPECT_EQ(RecordText(bytes, 2), u"Work");
  EXPECT_EQ(RecordInt(bytes, 1, 120), 1074);
  EXPECT_EQ(RecordInt(bytes, 1, 122), 818);
  EXPECT_EQ(RecordInt(bytes, 2, 120), 400);
  EXPECT_EQ(DeskItems(), kIcons);
}

TEST_F(ResidentNorvTest, LastExitComesBackAtTheNextStartWhenAsked) {
  StartDesk();
  ASSERT_TRUE(wintest::WriteFileBytes(folder_.File(L"Norv.ini"),
                                      "[Section]\r\nReCover_0= 1\r\nReCover_1= 1\r\n"));
  StartNorv();
  MoveOnDesk(1, 1074, 818);
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
  EXPECT_EQ(DeskItems()[1].x, 1074) << "ReCover_1 = 1 leaves icons where they are";

  MoveOnDesk(1, 10, 90);
  StartNorv();
  EXPECT_TRUE(WaitUntil([&] { return DeskItems()[1].x == 1074; }, kStepMs))
      << "the icon hidden at the last exit is not hidden again";
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
}

TEST_F(ResidentNorvTest, ASecondNorvEndsAtOnceAndLeavesTheFirstAlone) {
  StartDesk();
  StartNorv();
  std::optional<ChildProcess> second = ChildProcess::Start(folder_.exe(), {}, folder_.path());
  ASSERT_TRUE(second);
  EXPECT_EQ(second->WaitForExit(kStepMs), 0u);
  EXPECT_TRUE(wintest::TopWindowsOf(second->id(), nullptr).empty());
  Settle();
  EXPECT_EQ(Deletes(), 0);
  EXPECT_EQ(wintest::TopWindowsOf(0, kTrayWindowClass).size(), 1u);
  HWND menu = OpenMenu();
  EXPECT_NE(menu, nullptr);
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(ResidentNorvTest, ShellRestartBringsTheIconBackAndTheExitUsesTheNewDesktop) {
  StartDesk();
  StartNorv();
  ASSERT_TRUE(desk_->Restart(200));
  ASSERT_TRUE(desk_->WaitForListView());
  EXPECT_TRUE(WaitUntil([&] { return Adds() == 2; }, kStepMs)) << "the icon did not come back";
  MoveOnDesk(0, 1074, 818);
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
  EXPECT_EQ(DeskItems(), kIcons);
}

TEST_F(ResidentNorvTest, ShellGoneDuringTheExitSnapshotKeepsThePreviousRecord) {
  StartDesk();
  const std::string previous(kIcons.size() * kRecordSize, 'x');
  ASSERT_TRUE(wintest::WriteFileBytes(folder_.File(L"Norv.e01"), previous));
  StartNorv();
  // The count and the first position are answered, the first text is not. The exit waits some
  // seconds for a new desktop before it gives up on it.
  ASSERT_TRUE(desk_->VanishAfterRequests(2));
  Choose(4);
  ASSERT_EQ(wintest::WaitForNorvEnd(*norv_, 3 * kStepMs), 0u);
  EXPECT_EQ(wintest::ReadFileBytes(folder_.File(L"Norv.e01")), previous);
  EXPECT_EQ(Deletes(), 1);
}

TEST_F(ResidentNorvTest, UnwritableRecordIsKeptAndIconsStillGoBack) {
  StartDesk();
  const std::string previous(kRecordSize, 'x');
  ASSERT_TRUE(wintest::WriteFileBytes(folder_.File(L"Norv.e01"), previous));
  ASSERT_TRUE(SetFileAttributesW(folder_.File(L"Norv.e01").c_str(), FILE_ATTRIBUTE_READONLY));
  StartNorv();
  MoveOnDesk(0, 1074, 818);
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
  EXPECT_EQ(wintest::ReadFileBytes(folder_.File(L"Norv.e01")), previous);
  EXPECT_EQ(DeskItems(), kIcons);
}

TEST_F(ResidentNorvTest, EndOfSessionRemovesTheIconWithoutTouchingTheDesktop) {
  StartDesk();
  StartNorv();
  MoveOnDesk(0, 1074, 818);
  PostMessageW(tray_, WM_ENDSESSION, TRUE, 0);
  ASSERT_EQ(WaitForNorvExit(), 0u);
  EXPECT_EQ(Deletes(), 1);
  EXPECT_EQ(DeskItems()[0].x, 1074);
  EXPECT_TRUE(wintest::ReadFileBytes(folder_.File(L"Norv.e01")).empty());
}

TEST_F(ResidentNorvTest, AnIconTheNotificationAreaRefusedAtLogonComesOnceItIsReady) {
  StartDesk();
  area_.refuseAdds = true;
  norv_ = ChildProcess::Start(folder_.exe(), {}, folder_.path());
  ASSERT_TRUE(norv_);
  tray_ = wintest::WaitForTopWindow(kTrayWindowClass, nullptr, norv_->id(), kStepMs);
  ASSERT_NE(tray_, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Adds() == 1; }, kStepMs)) << "no icon was offered";
  area_.refuseAdds = false;
  // No announcement of a new notification area comes: the program tries again by itself.
  ASSERT_TRUE(WaitUntil([&] { return area_.Accepted(NIM_ADD, tray_) == 1; }, kStepMs));
  HWND menu = OpenMenu();
  EXPECT_NE(menu, nullptr) << "the icon does not answer";
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(ResidentNorvTest, StartedWhileTheShellHangsItWaitsForAWholeFirstSnapshot) {
  StartDesk();
  // Long enough for the first snapshot to fail; the program looks again for ten seconds.
  ASSERT_TRUE(desk_->Hang(5000));
  StartNorv();
  EXPECT_FALSE(wintest::WaitForMessageBox(norv_->id(), 0)) << "a message instead of the icon";
  // The start-up positions are the real ones: the exit puts a moved icon back there.
  MoveOnDesk(2, 400, 300);
  ASSERT_EQ(ExitThroughTheMenu(), 0u);
  EXPECT_EQ(DeskItems(), kIcons);
}

// The row counts of a dialog's list boxes.
std::vector<LRESULT> ListRowCounts(HWND dialog) {
  std::vector<LRESULT> counts;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM param) {
        if (wintest::ClassNameOf(child) == u"ListBox") {
          reinterpret_cast<std::vector<LRESULT>*>(param)->push_back(
              SendMessageW(child, LB_GETCOUNT, 0, 0));
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&counts));
  std::sort(counts.begin(), counts.end());
  return counts;
}

TEST_F(ResidentNorvTest, WritesCutShortByAnEarlierRunAreClearedAtStartAndNeverListed) {
  StartDesk();
  const std::vector<std::wstring> leftovers{L"机の上.ppx.~1f_0.tmp", L"Norv.e01.~1f_1.tmp"};
  // The user's: "*.ppx" finds the second through its 8.3 name.
  const std::vector<std::wstring> kept{L"机の上.ppx", L"old.ppxtmp", L"mine.tmp"};
  for (const auto& names : {leftovers, kept}) {
    for (const std::wstring& name : names)
      ASSERT_TRUE(wintest::WriteFileBytes(folder_.File(name), std::string(kRecordSize, ' ')));
  }
  // Minutes old: no command process is still writing them.
  for (const std::wstring& name : leftovers) ASSERT_TRUE(wintest::AgeFile(folder_.File(name), 600));
  StartNorv();
  for (const std::wstring& name : leftovers)
    EXPECT_EQ(GetFileAttributesW(folder_.File(name).c_str()), INVALID_FILE_ATTRIBUTES);
  for (const std::wstring& name : kept)
    EXPECT_NE(GetFileAttributesW(folder_.File(name).c_str()), INVALID_FILE_ATTRIBUTES);

  Choose(2);
  HWND dialog = wintest::WaitForTopWindow(L"Norv_A2", nullptr, norv_->id(), kStepMs);
  ASSERT_NE(dialog, nullptr);
  // One layout listed, no record shown yet.
  EXPECT_TRUE(WaitUntil(
      [&] {
        return ListRowCounts(dialog) == std::vector<LRESULT>{0, 1};
      },
      kStepMs));
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

class HelpEntryTest : public ResidentNorvTest {
 protected:
  void SetUp() override {
    ResidentNorvTest::SetUp();
    log_ = wintest::NewTempFile();
    DeleteFileW(log_.c_str());
    SetEnvironmentVariableW(L"NORV_VIEWER_LOG", log_.c_str());  // inherited by Norv and the viewer
  }
  void TearDown() override {
    SetEnvironmentVariableW(L"NORV_VIEWER_LOG", nullptr);
    DeleteFileW(log_.c_str());
  }

  std::wstring Opened() const {
    const std::string bytes = wintest::ReadFileBytes(log_);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  }

  std::wstring log_;
};

TEST_F(HelpEntryTest, OpensThePageBesideTheProgramWithTheUsersViewer) {
  const HtmlAssociation viewer = HtmlAssociation::Viewer(wintest::WindowsPath(NORV_VIEWER_PATH));
  StartDesk();
  StartNorv();
  Choose(3);
  ASSERT_TRUE(WaitUntil([&] { return !Opened().empty(); }, kStepMs)) << "no viewer was started";
  EXPECT_EQ(Opened(), folder_.File(L"Norvane.html"));
}

TEST_F(HelpEntryTest, MissingPageIsReportedInJapanese) {
  const HtmlAssociation viewer = HtmlAssociation::Viewer(wintest::WindowsPath(NORV_VIEWER_PATH));
  ASSERT_TRUE(DeleteFileW(folder_.File(L"Norvane.html").c_str()));
  StartDesk();
  StartNorv();
  Choose(3);
  const auto box = wintest::WaitForMessageBox(norv_->id(), kStepMs);
  ASSERT_TRUE(box) << "no message";
  EXPECT_EQ(box->title, u"Norvane");
  EXPECT_EQ(box->text, kHelpMissingMessage);
  EXPECT_EQ(box->buttons.size(), 1u);
  wintest::PressButton(box->hwnd, IDOK);
  EXPECT_TRUE(Opened().empty());
  HWND menu = OpenMenu();
  EXPECT_NE(menu, nullptr) << "the tray stayed busy after the message";
  if (menu) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(HelpEntryTest, NoViewerForHtmlIsReported) {
  const HtmlAssociation none = HtmlAssociation::None();
  StartDesk();
  StartNorv();
  Choose(3);
  const auto box = wintest::WaitForMessageBox(norv_->id(), kStepMs);
  ASSERT_TRUE(box) << "no message";
  EXPECT_EQ(box->title, u"Norvane");
  EXPECT_EQ(box->text, kHelpNotOpenedMessage);
  wintest::PressButton(box->hwnd, IDOK);
}

}  // namespace
}  // namespace norv
