#include "layout/win32/layout_dialogs.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "core/desktop_list_view.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "core/win32/platform.h"
#include "core/win32/wide_text.h"
#include "dialog_driver.h"
#include "layout/layout_file.h"
#include "layout/layout_name_check.h"
#include "layout/recording_views.h"
#include "layout/restore_dialog.h"
#include "layout/save_dialog.h"
#include "layout/saved_layouts.h"
#include "layout/win32/dialog_control_ids.h"
#include "layout/win32/restore_dialog.h"
#include "support/build_paths.h"
#include "support/test_desk.h"
#include "support/test_folder.h"
#include "support/under_wine.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv {
namespace {

using test::RecordingList;
using wintest::DeskItem;
using wintest::DialogDriver;
using wintest::OwnerWindow;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::TestFolder;
using wintest::U16ToUtf8;

void Write(const std::u16string& path, const std::string& bytes, DWORD attributes) {
  ASSERT_TRUE(wintest::WriteFileBytes(path, bytes));
  ASSERT_TRUE(SetFileAttributesW(Wide(path), attributes));
}

void ExpectNoComplaints(const std::vector<std::string>& complaints) {
  for (const std::string& complaint : complaints) ADD_FAILURE() << complaint;
}

std::vector<std::u16string> NamesOf(const std::vector<std::u16string>& rows) {
  std::vector<std::u16string> names;
  for (const std::u16string& row : rows) names.push_back(row.substr(0, row.find(u'\t')));
  return names;
}

// The platform would end the process with exit code 0 on the no-icons path, which would read
// as a passing run; here it fails loudly instead.
class FailingProgramEnd : public ProgramEnd {
 public:
  void EndNow() override {
    ADD_FAILURE() << "the program ended";
    ExitProcess(3);
  }
};

struct Fixture {
  TestFolder folder;
  Win32Platform platform;
  FailingProgramEnd programEnd;
  Services services_{platform.services().desktop,
                     platform.services().files,
                     platform.services().profile,
                     platform.services().messages,
                     programEnd,
                     platform.services().pause};
  AppState state;
  LayoutDialogs dialogs{state, services_};
  OwnerWindow owner{dialogs};
  RecordingList list{state.table};

  Fixture() { state.appDirectory = folder.path(); }
  Services& services() { return services_; }
};

TEST(LayoutDialogsTest, ASavedLayoutComesBackThroughTheRestoreDialog) {
  const std::vector<DeskItem> original{
      {40, 40, 0, u"ごみ箱"}, {140, 40, 1, u"メモ帳"}, {240, 40, 2, u"資料 フォルダー"}};
  std::string error;
  const auto desk = TestDesk::Start(TestDeskOptions::Items(original), &error);
  ASSERT_TRUE(desk) << error;
  Fixture f;
  ASSERT_TRUE(SnapshotDesktop(f.state.table, f.services()));

  bool ownerTookInput = true;
  DialogDriver save([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A1");
    ownerTookInput = IsWindowEnabled(f.owner.hwnd()) != FALSE;
    const HWND name = user.Child(dialog, kNameBoxId);
    user.SetText(name, u"配置 1");
    user.PressKey(name, VK_RETURN);
  });
  f.dialogs.RunSave(f.owner.hwnd(), f.list);
  ExpectNoComplaints(save.Finish());
  EXPECT_FALSE(ownerTookInput);
  EXPECT_TRUE(IsWindowEnabled(f.owner.hwnd()));
  const std::u16string path = f.folder / u"配置 1.ppx";
  EXPECT_EQ(wintest::ReadFileBytes(path).size(), 3 * kLayoutRecordSize);
  EXPECT_EQ(f.list.rows.size(), 3u);

  // Move every icon, one of them out of sight, and take the snapshot the caller would take.
  DesktopListView& desktop = f.services().desktop;
  ASSERT_TRUE(desktop.FindDesktopListView());
  const DesktopRect rect = desktop.GetDesktopRect();
  ASSERT_TRUE(desktop.SetItemPosition(0, 300, 200));
  ASSERT_TRUE(desktop.SetItemPosition(1, rect.right + 50, rect.bottom + 50));
  ASSERT_TRUE(desktop.SetItemPosition(2, 10, 300));
  ASSERT_TRUE(SnapshotDesktop(f.state.table, f.services()));
  ASSERT_EQ(f.state.table.hiddenCount, 1);

  std::vector<std::u16string> layoutRows;
  std::vector<std::u16string> recordRows;
  std::u16string shownPath;
  DialogDriver restore([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A2");
    const HWND layouts = user.Child(dialog, kLayoutListId);
    const HWND records = user.Child(dialog, kRecordListId);
    layoutRows = user.Rows(layouts);
    user.ClickRow(layouts, 0);
    user.Expect(wintest::WaitUntil([&] { return user.Rows(records).size() == 3; }),
                "the records were not listed");
    recordRows = user.Rows(records);
    shownPath = wintest::WindowText(user.LabelWithText(dialog, path));
    user.Click(user.LabelWithText(dialog, u"復帰"));
  });
  f.dialogs.RunRestore(f.owner.hwnd());
  ExpectNoComplaints(restore.Finish());

  ASSERT_EQ(layoutRows.size(), 1u);
  EXPECT_EQ(layoutRows[0].substr(0, 5), u"配置 1\t");
  // The locale's short date with a four-digit year: "2026/12/07".
  EXPECT_EQ(layoutRows[0].size(), 5u + 10u) << U16ToUtf8(layoutRows[0]);
  EXPECT_EQ(layoutRows[0].substr(5, 2), u"20");
  EXPECT_EQ(shownPath, path);
  ASSERT_EQ(recordRows.size(), 3u);
  EXPECT_EQ(recordRows[0], u" 40\t 40\t" + PadIconText(u"ごみ箱"));

  const auto report = desk->Report();
  ASSERT_TRUE(report);
  ASSERT_EQ(report->items.size(), original.size());
  for (size_t i = 0; i < original.size(); ++i) {
    EXPECT_EQ(report->items[i].x, original[i].x) << i;
    EXPECT_EQ(report->items[i].y, original[i].y) << i;
  }
}

TEST(LayoutDialogsTest, DeleteRemovesTheFileAndTheListFollowsTheAttributeRule) {
  Fixture f;
  Write(f.folder / u"b.ppx", "", FILE_ATTRIBUTE_ARCHIVE);
  Write(f.folder / u"a.ppx", "", FILE_ATTRIBUTE_NORMAL);
  Write(f.folder / u"ro.ppx", "", FILE_ATTRIBUTE_READONLY);
  Write(f.folder / u"both.ppx", "", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  RecountSavedLayouts(f.state, f.services().files);

  std::vector<std::u16string> before;
  DialogDriver first([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A2");
    const HWND layouts = user.Child(dialog, kLayoutListId);
    before = user.Rows(layouts);
    const auto names = NamesOf(before);
    const auto a = std::find(names.begin(), names.end(), u"a");
    if (!user.Expect(a != names.end(), "a is not listed")) return;
    user.ClickRow(layouts, static_cast<int>(a - names.begin()));
    user.Expect(wintest::WaitUntil(
                    [&] { return SendMessageW(layouts, LB_GETCURSEL, 0, 0) == a - names.begin(); }),
                "a was not selected");
    user.Click(user.LabelWithText(dialog, u"削除"));
  });
  f.dialogs.RunRestore(f.owner.hwnd());
  ExpectNoComplaints(first.Finish());

  // Wine keeps no archive bit and reports every file as archive, so there a read-only file reads
  // as read-only and archive, and is rightly left out like one.
  std::vector<std::u16string> expected{u"a", u"b"};
  if (!wintest::UnderWine()) expected.insert(expected.end(), u"ro");
  EXPECT_EQ(NamesOf(before), expected);
  EXPECT_EQ(static_cast<size_t>(f.state.savedLayoutCount), before.size());
  EXPECT_EQ(GetFileAttributesW(Wide(f.folder / u"a.ppx")), INVALID_FILE_ATTRIBUTES);

  std::vector<std::u16string> after;
  DialogDriver second([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A2");
    after = user.Rows(user.Child(dialog, kLayoutListId));
    user.PressKey(user.Child(dialog, kLayoutListId), VK_ESCAPE);
  });
  f.dialogs.RunRestore(f.owner.hwnd());
  ExpectNoComplaints(second.Finish());
  expected.erase(expected.begin());
  EXPECT_EQ(NamesOf(after), expected);
}

TEST(LayoutDialogsTest, UnsafeNamesShowTheMessageAndWriteNothing) {
  Fixture f;
  std::vector<DialogDriver::Message> messages;
  bool stillOpen = false;
  DialogDriver user([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A1");
    const HWND name = user.Child(dialog, kNameBoxId);
    user.SetText(name, u"..\\外");
    user.Click(user.LabelWithText(dialog, u"保存"));
    messages.push_back(user.AnswerMessageBox(IDOK));
    user.SetText(name, u"CON");
    user.PressKey(name, VK_RETURN);
    messages.push_back(user.AnswerMessageBox(IDOK));
    stillOpen = IsWindowVisible(dialog) != FALSE;
    user.PressKey(name, VK_ESCAPE);
  });
  f.dialogs.RunSave(f.owner.hwnd(), f.list);
  ExpectNoComplaints(user.Finish());

  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, kForbiddenCharacterMessage);
  EXPECT_EQ(messages[0].title, u"Norvane");
  EXPECT_EQ(messages[1].text, kReservedNameMessage);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(f.folder.Names().empty());
  EXPECT_EQ(GetFileAttributesW(Wide(DirectoryOf(f.folder.path()) + u"\\外.ppx")),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(f.list.clears, 0);
}

TEST(LayoutDialogsTest, AReadOnlyLayoutIsNotOverwrittenAndTheDialogSaysSo) {
  std::string error;
  const auto desk = TestDesk::Start(TestDeskOptions::Sample(), &error);
  ASSERT_TRUE(desk) << error;
  Fixture f;
  ASSERT_TRUE(SnapshotDesktop(f.state.table, f.services()));
  const std::u16string path = f.folder / u"old.ppx";
  Write(path, "old layout", FILE_ATTRIBUTE_READONLY);

  std::vector<DialogDriver::Message> messages;
  std::u16string nameAfter;
  DialogDriver user([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A1");
    const HWND name = user.Child(dialog, kNameBoxId);
    user.SetText(name, u"old");
    user.Click(user.LabelWithText(dialog, u"保存"));
    messages.push_back(user.AnswerMessageBox(IDYES));
    messages.push_back(user.AnswerMessageBox(IDOK));
    nameAfter = wintest::WindowText(name);
    user.Click(user.LabelWithText(dialog, u"ｷｬﾝｾﾙ"));
  });
  f.dialogs.RunSave(f.owner.hwnd(), f.list);
  ExpectNoComplaints(user.Finish());

  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].text, kOverwriteQuestion);
  EXPECT_EQ(messages[1].text, kSaveFailedKeptMessage);
  EXPECT_EQ(nameAfter, u"old");
  EXPECT_EQ(wintest::ReadFileBytes(path), "old layout");
  EXPECT_EQ(f.folder.Names(), (std::vector<std::u16string>{u"old.ppx"}));
}

TEST(LayoutDialogsTest, TheOwnersUnloadAndTheCloseBoxCloseWithoutRunningACommand) {
  Fixture f;
  Write(f.folder / u"a.ppx", "", FILE_ATTRIBUTE_ARCHIVE);
  DialogDriver save([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A1");
    user.SetText(user.Child(dialog, kNameBoxId), u"unsaved");
    PostMessageW(f.owner.hwnd(), OwnerWindow::kUnloadDialogs, 0, 0);
  });
  f.dialogs.RunSave(f.owner.hwnd(), f.list);
  ExpectNoComplaints(save.Finish());
  EXPECT_EQ(f.folder.Names(), (std::vector<std::u16string>{u"a.ppx"}));
  EXPECT_EQ(f.list.clears, 0);
  EXPECT_TRUE(IsWindowEnabled(f.owner.hwnd()));

  DialogDriver restore([&](DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A2");
    user.ClickRow(user.Child(dialog, kLayoutListId), 0);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  });
  f.dialogs.RunRestore(f.owner.hwnd());
  ExpectNoComplaints(restore.Finish());
  EXPECT_EQ(f.folder.Names(), (std::vector<std::u16string>{u"a.ppx"}));
}

struct ChildSearch {
  const std::u16string* text;
  HWND found = nullptr;
};

HWND ChildWithText(HWND parent, const std::u16string& text) {
  ChildSearch search{&text};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM param) -> BOOL {
        auto& search = *reinterpret_cast<ChildSearch*>(param);
        if (wintest::WindowText(child) != *search.text) return TRUE;
        search.found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The cursor `control` chooses when the mouse moves over it.
HCURSOR CursorOver(HWND control) {
  SetCursor(nullptr);
  SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  return GetCursor();
}

bool IsLiveCursor(HCURSOR cursor) {
  ICONINFO info{};
  if (!cursor || !GetIconInfo(cursor, &info)) return false;
  if (info.hbmMask) DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  return true;
}

TEST(LayoutDialogsTest, TheLayoutListKeepsALiveHandPointerAcrossADpiChange) {
  Fixture f;
  DestroysWindowFirst<RestoreDialogWindow> window(f.owner.hwnd(), f.state, f.services());
  ASSERT_TRUE(window.Create());
  ASSERT_NE(window.hwnd(), nullptr);
  window.PrepareWindow();
  const HWND layouts = GetDlgItem(window.hwnd(), kLayoutListId);
  const HWND button = ChildWithText(window.hwnd(), u"復帰");
  ASSERT_NE(layouts, nullptr);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(CursorOver(layouts), CursorOver(button));

  // The old look, its hand pointer with it, is freed; the list must take the new one.
  RECT suggested;
  GetWindowRect(window.hwnd(), &suggested);
  suggested.right = suggested.left + 2 * (suggested.right - suggested.left);
  suggested.bottom = suggested.top + 2 * (suggested.bottom - suggested.top);
  SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192),
               reinterpret_cast<LPARAM>(&suggested));
  const HCURSOR hand = CursorOver(button);
  ASSERT_TRUE(IsLiveCursor(hand));
  const HCURSOR overList = CursorOver(layouts);
  EXPECT_TRUE(IsLiveCursor(overList));
  EXPECT_EQ(overList, hand);
}

}  // namespace
}  // namespace norv
