// Norv.exe with a command, as a script or a scheduled task runs it: its exit code, its output
// redirected to files, and what it does to the test desktop and the layout files, with and
// without a resident Norv.exe.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h:
#include <commctrl.h>

#include <algorithm>
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

namespace norv {
namespace {

using wintest::ChildProcess;
using wintest::DeskItem;
using wintest::DeskPath;
using wintest::WaitUntil;

constexpr DWORD kCommandMs = 15000;
constexpr DWORD kStepMs = 10000;
constexpr int kRestoreEntry = 2;

const std::vector<DeskItem> kIcons = {
    {10, 10, 0, u"ごみ箱"}, {10, 90, 1, u"メモ"}, {10, 170, 2, u"Work"}};

using Spot = wintest::DeskSpot;
const std::wstring kOverlongName(2000, L'a');

// What one run of Norv.exe left: its exit code and the bytes of its standard output and error.
struct Ran {
  std::optional<DWORD> code;
  std::string out;
  std::string err;
};

// Code page 932 as text, for messages.
std::u16string FromCp932(const std::string& bytes) {
  std::wstring wide(bytes.size(), L'\0');
  const int length = MultiByteToWideChar(932, 0, bytes.data(), static_cast<int>(bytes.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  return std::u16string(wide.begin(), wide.begin() + std::max(length, 0));
}

std::string Cp932(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  const int length = WideCharToMultiByte(932, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                         static_cast<int>(text.size()), bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<size_t>(std::max(length, 0)));
  return bytes;
}

class CommandLineTest : public testing::Test {
 protected:
  // The way to the desktop's icons that the test desktop offers.
  virtual DeskPath Path() const { return DeskPath::kListView; }

  void SetUp() override {
    ASSERT_TRUE(folder_.ready()) << "could not prepare a program folder";
    std::string error;
    desk_ = wintest::TestDesk::Start(wintest::TestDeskOptions::Items(kIcons).On(Path()), &error);
    ASSERT_TRUE(desk_) << error;
    const std::optional<Spot> hidingPoint = desk_->HidingPoint();
    ASSERT_TRUE(hidingPoint);
    hidingPoint_ = *hidingPoint;
  }

  void TearDown() override {
    if (resident_) resident_->Terminate();
  }

  void StartResident() {
    std::string error;
    std::optional<wintest::ResidentNorv> resident =
        wintest::StartResidentNorv(folder_.path(), area_, &error);
    ASSERT_TRUE(resident) << error;
    resident_ = std::move(resident->process);
    tray_ = resident->tray;
  }

  // Norv.exe with these arguments, its output and error going to files, as `> out 2> err` does.
  Ran Norv(const std::vector<std::wstring>& arguments) {
    std::wstring line;
    for (const std::wstring& argument : arguments) {
      line += (line.empty() ? L"" : L" ") + wintest::QuoteArgument(argument);
    }
    const std::wstring outPath = wintest::NewTempFile();
    const std::wstring errPath = wintest::NewTempFile();
    Ran ran;
    {
      const HANDLE out = OpenForChild(outPath);
      const HANDLE err = OpenForChild(errPath);
      const ChildProcess::Redirection redirection{out, err};
      std::optional<ChildProcess> norv =
          ChildProcess::Start(folder_.exe(), line, folder_.path(), &redirection);
      CloseHandle(out);
      CloseHandle(err);
      if (!norv) return ran;
      // A resident Norv.exe may talk to this thread's notification area meanwhile.
      WaitUntil([&] { return !norv->running(); }, kCommandMs);
      ran.code = norv->WaitForExit(0);
    }
    ran.out = wintest::ReadFileBytes(outPath);
    ran.err = wintest::ReadFileBytes(errPath);
    DeleteFileW(outPath.c_str());
    DeleteFileW(errPath.c_str());
    return ran;
  }

  std::vector<Spot> Spots() { return desk_->Spots(); }
  static std::vector<Spot> StartSpots() { return wintest::SpotsOf(kIcons); }
  void MoveIcons() {
    for (int i = 0; i < static_cast<int>(kIcons.size()); ++i) {
      SendMessageW(desk_->ListView(), LVM_SETITEMPOSITION, static_cast<WPARAM>(i),
                   MAKELPARAM(300 + 80 * i, 400));
    }
    ASSERT_NE(Spots(), StartSpots());
  }
  std::string Layout(const wchar_t* name) {
    return wintest::ReadFileBytes(folder_.File(std::wstring(name) + L".ppx"));
  }

  wintest::ProgramFolder folder_;
  wintest::StandInNotificationArea area_;
  std::unique_ptr<wintest::TestDesk> desk_;
  std::optional<ChildProcess> resident_;
  HWND tray_ = nullptr;
  Spot hidingPoint_{};

 private:
  static HANDLE OpenForChild(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
};

class CommandLinePathTest : public wintest::OnDeskPath<CommandLineTest> {};

TEST_P(CommandLinePathTest, WithoutAResidentProgramLayoutsAreSavedAndRestoredAndTheRestNeedsIt) {
  Ran ran = Norv({L"/save", L"仕事 机"});
  EXPECT_EQ(ran.code, 0u) << wintest::U16ToUtf8(FromCp932(ran.err));
  EXPECT_EQ(ran.out, Cp932(u"「仕事 机」を保存しました。\r\n"));
  const std::string saved = Layout(L"仕事 机");
  EXPECT_EQ(saved.size(), kIcons.size() * 124);

  MoveIcons();
  ran = Norv({L"-SAVE", L"仕事 机"});
  EXPECT_EQ(ran.code, 2u);
  EXPECT_EQ(FromCp932(ran.err),
            u"「仕事 机」は既に保存されています。前に保存した内容はそのまま残っています。"
            u"置き換えるには /overwrite を付けて下さい。\r\n");
  EXPECT_EQ(Layout(L"仕事 机"), saved) << "the old layout changed";

  ASSERT_TRUE(desk_->ResetCounts());
  ran = Norv({L"/restore", L"仕事 机"});
  EXPECT_EQ(ran.code, 0u) << wintest::U16ToUtf8(FromCp932(ran.err));
  EXPECT_EQ(Spots(), StartSpots());
  const std::optional<wintest::DeskReport> report = desk_->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->folderViewCalls > 0, Path() == DeskPath::kFolderView);

  // Held open without sharing, as an editor or a sync client may: unreadable is not empty.
  MoveIcons();
  const std::vector<Spot> moved = Spots();
  const HANDLE held = CreateFileW(folder_.File(L"仕事 机.ppx").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  ran = Norv({L"/restore", L"仕事 机"});
  CloseHandle(held);
  EXPECT_EQ(ran.code, 2u);
  EXPECT_TRUE(FromCp932(ran.err).starts_with(u"「仕事 机」を読み込めませんでした。"))
      << wintest::U16ToUtf8(FromCp932(ran.err));
  EXPECT_EQ(Spots(), moved);
  ASSERT_EQ(Norv({L"/restore", L"仕事 机"}).code, 0u);

  // A name longer than any path: the name rules refuse it, whoever would carry the command out.
  ran = Norv({L"/save", kOverlongName});
  EXPECT_EQ(ran.code, 2u);
  EXPECT_TRUE(FromCp932(ran.err).starts_with(u"この名前は使えません: "));

  ran = Norv({L"/hide-all"});
  EXPECT_EQ(ran.code, 3u);
  EXPECT_TRUE(FromCp932(ran.err).starts_with(u"このコマンドは Norvane が常駐しているときだけ"));
  EXPECT_EQ(Spots(), StartSpots());

  ran = Norv({L"/save"});
  EXPECT_EQ(ran.code, 1u);
  const std::u16string usage = FromCp932(ran.err);
  EXPECT_EQ(usage.substr(0, usage.find(u"\r\n")), u"/save の後に名前を指定して下さい。");
  EXPECT_NE(usage.find(u"\r\n使い方: Norv.exe [コマンド]\r\n"), std::u16string::npos);
  EXPECT_TRUE(ran.out.empty());
  EXPECT_TRUE(Norv({L"/?"}).out.starts_with(Cp932(u"使い方: Norv.exe [コマンド]\r\n")));
}

TEST_F(CommandLineTest, ListGoesToAFileInCodePage932WithCrLfInTheRestoreDialogsOrder) {
  for (const wchar_t* name : {L"b", L"仕事", L"a", L"C", L"café"}) {
    ASSERT_TRUE(wintest::WriteFileBytes(folder_.File(std::wstring(name) + L".ppx"), ""));
  }
  const Ran ran = Norv({L"/list"});
  ASSERT_EQ(ran.code, 0u);
  EXPECT_TRUE(ran.err.empty());
  // Name, TAB, the date the dialog shows; é has no code page 932 form.
  std::vector<std::string> names;
  size_t start = 0;
  for (size_t end; (end = ran.out.find("\r\n", start)) != std::string::npos; start = end + 2) {
    const std::string line = ran.out.substr(start, end - start);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const size_t tab = line.find('\t');
    ASSERT_NE(tab, std::string::npos) << line;
    EXPECT_EQ(line.substr(tab + 1, 2), "20") << line;
    names.push_back(line.substr(0, tab));
  }
  EXPECT_EQ(start, ran.out.size()) << "the output does not end with CRLF";
  EXPECT_EQ(names, (std::vector<std::string>{"C", "a", "b", "caf?", "\x8E\x64\x8E\x96"}));
}

// Started as a user starts them: the desktop, the resident program, then the commands.
TEST_P(CommandLinePathTest, ThroughTheResidentProgramItsWindowShowsWhatTheCommandsDid) {
  const bool folderView = Path() == DeskPath::kFolderView;
  StartResident();
  // The diagnosis runs alone and puts its icon back.
  Ran ran = Norv({L"/diagnose"});
  EXPECT_EQ(ran.code, 0u);
  const std::u16string facts = FromCp932(ran.out);
  EXPECT_NE(facts.find(u"ウィンドウの並び: Progman > SHELLDLL_DefView > SysListView32\r\n"),
            std::u16string::npos)
      << wintest::U16ToUtf8(facts);
  EXPECT_NE(facts.find(folderView ? u"経路: シェルのフォルダー ビュー" : u"経路: リスト ビュー"),
            std::u16string::npos)
      << wintest::U16ToUtf8(facts);
  EXPECT_NE(facts.find(u"常駐中の Norvane に渡したコマンドの経路: 上と同じ"), std::u16string::npos)
      << wintest::U16ToUtf8(facts);
  EXPECT_TRUE(facts.ends_with(u"\r\nOK\r\n")) << wintest::U16ToUtf8(facts);
  EXPECT_EQ(Spots(), StartSpots());

  // While its menu or its restore dialog waits for the user, the resident program answers busy and
  // changes nothing.
  HWND menu = wintest::OpenTrayMenu(tray_, kStepMs);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Norv({L"/hide-all"}).code, 5u);
  PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ASSERT_TRUE(WaitUntil([&] { return !wintest::VisibleTrayMenu(tray_); }, kStepMs));
  ASSERT_TRUE(wintest::ChooseTrayEntry(tray_, kRestoreEntry, kStepMs));
  HWND dialog = wintest::WaitForTopWindow(L"Norv_A2", nullptr, resident_->id(), kStepMs);
  ASSERT_NE(dialog, nullptr);
  ran = Norv({L"/hide-all"});
  EXPECT_EQ(ran.code, 5u);
  EXPECT_EQ(Spots(), StartSpots());
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, kStepMs));

  ran = Norv({L"/open"});
  EXPECT_EQ(ran.code, 0u);
  HWND window = wintest::WaitForTopWindow(L"Norv_M", nullptr, resident_->id(), kStepMs);
  std::string error;
  const auto main = wintest::MainWindowDriver::Attach(window, resident_->handle(), &error);
  ASSERT_TRUE(main) << error;
  const auto rowsRead = [&](const std::u16string& state) {
    return WaitUntil([&] {
      const std::vector<std::u16string> rows = main->Rows();
      return rows.size() == kIcons.size() &&
             std::all_of(rows.begin(), rows.end(), [&](const std::u16string& row) {
               return row.find(u"\t" + state + u"\t") != std::u16string::npos;
             });
    });
  };

  // So does a dialog of the main window, which the tray knows nothing of.
  ASSERT_TRUE(rowsRead(u"表示"));
  main->Settle();
  wintest::ClickCentreOf(main->Button(Command::kSave));
  HWND saveDialog = wintest::WaitForTopWindow(L"Norv_A1", nullptr, resident_->id(), kStepMs);
  ASSERT_NE(saveDialog, nullptr);
  EXPECT_EQ(Norv({L"/hide-all"}).code, 5u);
  EXPECT_EQ(Spots(), StartSpots());
  PostMessageW(saveDialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(saveDialog); }, kStepMs));

  // The shell keeps the forwarded commands' moves over a refresh only when they went through its
  // folder view; list-view moves from another process are lost.
  const std::vector<Spot> hidden(kIcons.size(), hidingPoint_);
  EXPECT_EQ(Norv({L"/hide-all"}).code, 0u);
  EXPECT_EQ(Spots(), hidden);
  EXPECT_TRUE(rowsRead(u"非表示"));
  EXPECT_EQ(Norv({L"/save", L"x"}).code, 0u);
  ASSERT_TRUE(desk_->Refresh());
  EXPECT_EQ(Spots(), folderView ? hidden : StartSpots());
  EXPECT_EQ(Norv({L"-Show-All"}).code, 0u);
  EXPECT_EQ(Spots(), StartSpots());
  EXPECT_TRUE(rowsRead(u"表示"));

  EXPECT_EQ(Norv({L"/save", kOverlongName}).code, 2u);
  EXPECT_EQ(Norv({L"/restore", L"x"}).code, 0u);
  EXPECT_EQ(Spots(), hidden);
  ASSERT_TRUE(desk_->Refresh());
  EXPECT_EQ(Spots(), folderView ? hidden : StartSpots());
  EXPECT_TRUE(resident_->running());
}

// On the folder view too, a call into a hung shell ends at the list view's deadline.
TEST_P(CommandLinePathTest, AHungShellEndsACommandInCodeFourAndTheResidentProgramGoesOn) {
  StartResident();
  // Longer than a request's timeout, however slowly the command process starts.
  ASSERT_TRUE(desk_->Hang(8000));
  const Ran ran = Norv({L"/hide-all"});
  EXPECT_EQ(ran.code, 4u);
  EXPECT_EQ(FromCp932(ran.err),
            u"ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなかったため、何も動かしませんでした。"
            u"もう一度お試し下さい。\r\n");
  const std::optional<wintest::MessageBoxView> box = wintest::WaitForMessageBox(resident_->id(), 0);
  EXPECT_FALSE(box) << wintest::U16ToUtf8(box->text);
  ASSERT_TRUE(desk_->Report()) << "the desktop did not answer again";
  EXPECT_EQ(Spots(), StartSpots());

  EXPECT_EQ(Norv({L"/hide-all"}).code, 0u);
  EXPECT_EQ(Spots(), std::vector<Spot>(kIcons.size(), hidingPoint_));
  EXPECT_TRUE(resident_->running());
}

INSTANTIATE_TEST_SUITE_P(Paths, CommandLinePathTest, wintest::kBothDeskPaths,
                         wintest::DeskPathName);

// Wine cannot dock or undock its screen, so the displays Norv.exe reads are described in a file
// named by NORV_TEST_DISPLAYS, switched here together with the test desktop's size.
class FollowDisplaysTest : public CommandLineTest {
 protected:
  void SetUp() override {
    CommandLineTest::SetUp();
    ASSERT_TRUE(SetEnvironmentVariableW(L"NORV_TEST_DISPLAYS", displays_.c_str()));
    small_ = {hidingPoint_.x - 50, hidingPoint_.y - 50};
  }
  void TearDown() override {
    CommandLineTest::TearDown();
    SetEnvironmentVariableW(L"NORV_TEST_DISPLAYS", nullptr);
    DeleteFileW(displays_.c_str());
  }
  // The screen becomes `size`, with one monitor of that size and `dpi`.
  void Display(SIZE size, int dpi, bool announce = true) {
    ASSERT_TRUE(wintest::WriteFileBytes(displays_, "Test " + std::to_string(size.cx) + " " +
                                                       std::to_string(size.cy) + " 0 0 0 " +
                                                       std::to_string(dpi) + " main\r\n"));
    if (announce) {
      ASSERT_TRUE(desk_->Resize(size, 0));
    }
  }
  std::string Index() { return wintest::ReadFileBytes(folder_.File(L"Displays\\index.txt")); }
  size_t Known() {
    const std::string index = Index();
    return static_cast<size_t>(std::count(index.begin(), index.end(), '\n'));
  }
  testing::AssertionResult DeskBecomes(const std::vector<Spot>& expected) {
    // A change settles a few seconds after the display's announcement.
    if (WaitUntil([&] { return Spots() == expected; }, kSettleMs))
      return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure() << "the desktop shows";
    for (const Spot& spot : Spots()) failure << " " << spot;
    return failure;
  }

  static constexpr DWORD kSettleMs = 20000;
  const std::wstring displays_ = wintest::NewTempFile();
  SIZE small_{};
};

TEST_F(FollowDisplaysTest, TheArrangementReturnsWithItsDisplaysAndUndoBringsTheShuffleBack) {
  Display(small_, 96, false);
  Ran ran = Norv({L"/follow-displays", L"on"});
  ASSERT_EQ(ran.code, 0u) << wintest::U16ToUtf8(FromCp932(ran.err));
  // Arrangement A: one icon hidden.
  SendMessageW(desk_->ListView(), LVM_SETITEMPOSITION, 2,
               MAKELPARAM(hidingPoint_.x, hidingPoint_.y));
  std::vector<Spot> a = StartSpots();
  a[2] = hidingPoint_;
  ASSERT_EQ(Spots(), a);
  ASSERT_NO_FATAL_FAILURE(StartResident());
  ASSERT_TRUE(WaitUntil([&] { return Known() == 1; }, kSettleMs)) << "A was not recorded";

  // Another display: the hidden icon follows its corner, and B is recorded.
  const SIZE big{small_.cx + 400, small_.cy + 300};
  Display(big, 120);
  std::vector<Spot> b = StartSpots();
  b[2] = {big.cx + 50, big.cy + 50};
  EXPECT_TRUE(DeskBecomes(b));
  ASSERT_TRUE(WaitUntil([&] { return Known() == 2; }, kSettleMs)) << "B was not recorded";

  // Shuffled on B, then A is back: every icon where it was, the hidden one hidden.
  MoveIcons();
  const std::vector<Spot> shuffled = Spots();
  Display(small_, 96);
  EXPECT_TRUE(DeskBecomes(a));

  ran = Norv({L"/displays"});
  ASSERT_EQ(ran.code, 0u);
  const auto label = [](SIZE size, const char* scale) {
    return wintest::Utf8ToU16("1 台: " + std::to_string(size.cx) + "×" + std::to_string(size.cy) +
                              " " + scale + " (メイン)\t");
  };
  const std::u16string listed = FromCp932(ran.out);
  EXPECT_TRUE(listed.starts_with(label(small_, "100%"))) << wintest::U16ToUtf8(listed);
  EXPECT_NE(listed.find(u"\t現在\r\n" + label(big, "125%")), std::u16string::npos)
      << wintest::U16ToUtf8(listed);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), u'\n'), 2);

  ran = Norv({L"/undo"});
  EXPECT_EQ(ran.code, 0u) << wintest::U16ToUtf8(FromCp932(ran.err));
  EXPECT_EQ(Spots(), shuffled);
  EXPECT_EQ(Norv({L"/undo"}).code, 2u);

  // Following off: B's arrangement is known, yet only the re-hide runs.
  ASSERT_EQ(Norv({L"/follow-displays", L"off"}).code, 0u);
  const std::string index = Index();
  ASSERT_EQ(Norv({L"/hide-all"}).code, 0u);
  Display(big, 120);
  EXPECT_TRUE(DeskBecomes(std::vector<Spot>(kIcons.size(), Spot{big.cx + 50, big.cy + 50})));
  EXPECT_EQ(Index(), index);
}

}  // namespace
}  // namespace norv
