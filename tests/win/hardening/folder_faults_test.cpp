// The program's files in bad shape: held by another program, absurdly large, or full of nonsense.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include "core/cp932.h"
#include "core/settings.h"
#include "core/win32/wide_text.h"
#include "dialog_driver.h"
#include "layout/layout_file.h"
#include "layout/recording_views.h"
#include "layout/restore_dialog.h"
#include "layout/save_dialog.h"
#include "layout/win32/dialog_control_ids.h"
#include "layout/win32/layout_dialogs.h"
#include "resident/recording_tray_view.h"
#include "resident/resident_sequences.h"
#include "support/build_paths.h"
#include "support/child_process.h"
#include "support/program_services.h"
#include "support/test_desk.h"
#include "support/wait.h"

namespace norv {
namespace {

using wintest::DeskItem;
using wintest::Exists;
using wintest::LayoutRecordBytes;
using wintest::ProgramServices;
using wintest::ReadFileBytes;
using wintest::TestDeskOptions;
using wintest::TestFolder;
using wintest::WriteFileBytes;

const std::vector<DeskItem> kIcons{
    {40, 40, 0, u"ごみ箱"}, {140, 40, 1, u"メモ帳"}, {240, 40, 2, u"資料"}};

auto StartDesk() { return wintest::StartDesk(TestDeskOptions::Items(kIcons)); }

std::string Record(std::u16string_view text, int16_t x, int16_t y) {
  return LayoutRecordBytes(EncodeCp932(text), x, y);
}

// The program's file system, counting what the reads ask for and get.
class CountingFileSystem : public FileSystem {
 public:
  std::optional<Prefix> ReadOrCreate(const std::u16string& path, size_t maxBytes) override {
    largestRequest = std::max(largestRequest, maxBytes);
    std::optional<Prefix> prefix = files_.ReadOrCreate(path, maxBytes);
    if (prefix) bytesRead += prefix->bytes.size();
    ++reads;
    return prefix;
  }
  bool CanOpenForReading(const std::u16string& path) override {
    return files_.CanOpenForReading(path);
  }
  bool ReplaceAtomically(const std::u16string& path, std::string_view bytes) override {
    return files_.ReplaceAtomically(path, bytes);
  }
  bool Delete(const std::u16string& path) override { return files_.Delete(path); }
  bool CreateFolder(const std::u16string& path) override { return files_.CreateFolder(path); }
  std::vector<std::u16string> List(const std::u16string& pattern, uint32_t attributes) override {
    return files_.List(pattern, attributes);
  }
  std::optional<uint32_t> Attributes(const std::u16string& path) override {
    return files_.Attributes(path);
  }
  std::optional<std::u16string> LastWriteText(const std::u16string& path) override {
    return files_.LastWriteText(path);
  }
  std::optional<int64_t> SecondsSinceLastWrite(const std::u16string& path) override {
    return files_.SecondsSinceLastWrite(path);
  }

  size_t largestRequest = 0;
  size_t bytesRead = 0;
  int reads = 0;

 private:
  Win32FileSystem files_;
};

// Another process holding a file open without sharing it, for as long as this object lives.
class HeldFile {
 public:
  explicit HeldFile(const std::u16string& path) {
    process_ = wintest::ChildProcess::Start(wintest::WindowsPath(NORV_FILE_HOLDER_EXE),
                                            wintest::QuoteArgument(Wide(path)));
    held_ = process_ && wintest::WaitUntil([&] {
              const HANDLE probe = CreateFileW(
                  Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
              if (probe == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
              CloseHandle(probe);
              return false;
            });
  }
  bool held() const { return held_; }
  void Release() {
    if (process_) process_->Terminate();
  }

 private:
  std::optional<wintest::ChildProcess> process_;
  bool held_ = false;
};

TEST(HeldFileTest, ALayoutAnotherProgramHoldsIsKeptAndEveryUseOfItSaysSoOrSkipsIt) {
  const auto desk = StartDesk();
  ASSERT_TRUE(desk);
  TestFolder folder;
  ProgramServices program;
  AppState state;
  ASSERT_TRUE(BeginStartup(state, program.services, folder.path()));
  const std::string held = Record(u"ごみ箱", 500, 300);
  ASSERT_TRUE(WriteFileBytes(folder / u"held.ppx", held));
  HeldFile holder(folder / u"held.ppx");
  ASSERT_TRUE(holder.held());

  // The restore dialog lists it, shows no records it cannot read, restores nothing from it.
  {
    test::RecordingRestoreView view;
    RestoreDialog dialog(view, state, program.services);
    dialog.Load();
    ASSERT_EQ(view.layoutRows.size(), 1u);
    EXPECT_EQ(view.layoutRows[0].substr(0, 5), u"held\t");
    dialog.SelectionChanged(0);
    EXPECT_TRUE(view.recordRows.empty());
    dialog.RunCommand(kRestoreButton);
    EXPECT_TRUE(view.unloaded);
    EXPECT_EQ(desk->Report()->items, kIcons);
  }
  // Deleting it fails and says so.
  {
    test::RecordingRestoreView view;
    RestoreDialog dialog(view, state, program.services);
    dialog.Load();
    dialog.SelectionChanged(0);
    dialog.RunCommand(kDeleteButton);
    ASSERT_EQ(program.messages.shown.size(), 1u);
    EXPECT_EQ(program.messages.shown[0].text, kDeleteFailedMessage);
  }
  // Saving over it fails, says so, and keeps it.
  {
    test::RecordingSaveView view;
    view.name = u"held";
    test::RecordingList list{state.table};
    program.messages.answers = {MessageAnswer::kYes};
    SaveDialog dialog(view, state, program.services, list);
    EXPECT_FALSE(dialog.SaveLayout());
    // A file that cannot be opened does not count as existing, so either failure message fits.
    const std::u16string& said = program.messages.shown.back().text;
    EXPECT_TRUE(said == kSaveFailedKeptMessage || said == kSaveFailedMessage);
    EXPECT_FALSE(view.unloaded);
  }
  holder.Release();
  EXPECT_EQ(ReadFileBytes(folder / u"held.ppx"), held);
  EXPECT_EQ(folder.Names(), std::vector<std::u16string>{u"held.ppx"});
}

TEST(HeldFileTest, AHeldStartUpSnapshotNeitherStopsTheStartNorTheExit) {
  const auto desk = StartDesk();
  ASSERT_TRUE(desk);
  TestFolder folder;
  ProgramServices program;
  AppState state;
  const std::string lastExit = Record(u"ごみ箱", 600, 300);
  ASSERT_TRUE(WriteFileBytes(folder / u"Norv.e01", lastExit));
  HeldFile holder(folder / u"Norv.e01");
  ASSERT_TRUE(holder.held());

  ASSERT_TRUE(BeginStartup(state, program.services, folder.path()));
  state.options = {1, 0};
  BringBackLastExit(state, program.services);
  EXPECT_EQ(desk->Report()->items, kIcons);

  // Moved during the run; the exit cannot record, but still puts the icon back.
  ASSERT_TRUE(program.services.desktop.SetItemPosition(0, 700, 400));
  test::RecordingTrayView tray;
  EXPECT_THROW(RunExitSequence(state, program.services, tray), test::ProgramEnded);
  EXPECT_EQ(desk->Report()->items, kIcons);
  holder.Release();
  EXPECT_EQ(ReadFileBytes(folder / u"Norv.e01"), lastExit);
  EXPECT_EQ(folder.Names(), std::vector<std::u16string>{u"Norv.e01"});
}

// 100 MB named like a layout, with the first and the last record a reader may use filled in,
// and one just past them.
void WriteHugeLayout(const std::u16string& path) {
  const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const auto put = [&](uint64_t record, const std::string& bytes) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(record * kLayoutRecordSize);
    DWORD written = 0;
    return SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
           WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  };
  EXPECT_TRUE(put(0, Record(u"ごみ箱", 300, 200)));
  EXPECT_TRUE(put(kMaxLayoutRecords - 1, Record(u"資料", 500, 400)));
  EXPECT_TRUE(put(kMaxLayoutRecords, Record(u"メモ帳", 700, 600)));
  LARGE_INTEGER end;
  end.QuadPart = 100ll << 20;
  EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
  CloseHandle(file);
}

// A 100 MB file named like a layout: the records a layout may have are read, nothing more.
TEST(HugeLayoutTest, ListingInspectingAndRestoringReadOnlyTheRecordsALayoutMayHave) {
  const auto desk = StartDesk();
  ASSERT_TRUE(desk);
  TestFolder folder;
  const std::u16string path = folder / u"huge.ppx";
  WriteHugeLayout(path);

  CountingFileSystem files;
  ProgramServices program;
  Services services{program.services.desktop, files,        program.profile, program.messages,
                    program.programEnd,       program.pause};
  AppState state;
  state.appDirectory = folder.path();
  ASSERT_TRUE(SnapshotDesktop(state.table, services));

  test::RecordingRestoreView view;
  RestoreDialog dialog(view, state, services);
  dialog.Load();
  ASSERT_EQ(view.layoutRows.size(), 1u);
  dialog.SelectionChanged(0);
  EXPECT_EQ(view.recordRows.size(), kMaxLayoutRecords);
  ASSERT_TRUE(desk->ResetCounts());
  dialog.RunCommand(kRestoreButton);

  const size_t cap = kMaxLayoutRecords * kLayoutRecordSize;
  EXPECT_EQ(files.reads, 2);
  EXPECT_LE(files.largestRequest, cap);
  EXPECT_LE(files.bytesRead, 2 * cap);
  // One move per matching record within the cap, none for the one past it.
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->RequestCount(LVM_SETITEMPOSITION), 2u);
  EXPECT_EQ(report->items[0].x, 300);
  EXPECT_EQ(report->items[1].x, kIcons[1].x);
  EXPECT_EQ(report->items[2].x, 500);
  EXPECT_TRUE(program.messages.shown.empty());
}

// Norv.ini as someone or something else may have left it.
TEST(HostileSettingsTest, NonsenseValuesLeaveTheOptionsAsTheyWereAndASaveSetsThemStraight) {
  TestFolder folder;
  ProgramServices program;
  const std::u16string ini = folder / u"Norv.ini";
  struct Case {
    std::string name;
    std::string value;
    int16_t expected;  // the option starts at 5
  };
  const std::string digits300(300, '1');
  const std::vector<Case> cases{
      {"huge", "99999999999999999999999999", 5},
      {"beyond 16 bits", "32768", 5},
      {"negative", "-7", -7},
      {"lowest", "-32768", -32768},
      {"below 16 bits", "-32769", 5},
      {"not a number", "abc", 5},
      {"number then text", "1abc", 5},
      {"exponent", "1e3", 5},
      {"hexadecimal", "0x1", 5},
      {"full-width digit", "\x82\x50", 5},
      {"fraction", "2.9", 2},
      {"overlong digits", digits300, 5},
      {"one then 300 spaces then text", "1" + std::string(300, ' ') + "x", 1},
      {"a megabyte", std::string(1 << 20, '7'), 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFileBytes(ini, "[Section]\r\nReCover_0=" + c.value + "\r\nReCover_1=" +
                                        c.value + "\r\n[Other]\r\nkeep=this\r\n"));
    AppState state;
    state.appDirectory = folder.path();
    state.options = {5, 5};
    LoadOptions(state, program.profile);
    EXPECT_EQ(state.options.restoreLastExit, c.expected);
    EXPECT_EQ(state.options.keepPositionsAtExit, c.expected);

    ASSERT_TRUE(SaveOptions(state, program.profile));
    AppState reread;
    reread.appDirectory = folder.path();
    LoadOptions(reread, program.profile);
    EXPECT_EQ(reread.options, state.options);
    // The nonsense is gone, the rest of the file stays.
    const std::string text = ReadFileBytes(ini);
    EXPECT_LT(text.size(), 100u) << text;
    EXPECT_NE(text.find("keep=this"), std::string::npos);
  }
}

}  // namespace
}  // namespace norv

namespace norv {
namespace {

// The same file through the dialog's own window: the records appear and the dialog answers.
TEST(HugeLayoutTest, TheRestoreDialogWindowListsTheCappedRecordsAndRestores) {
  const auto desk = StartDesk();
  ASSERT_TRUE(desk);
  TestFolder folder;
  WriteHugeLayout(folder / u"huge.ppx");
  ProgramServices program;
  AppState state;
  state.appDirectory = folder.path();
  ASSERT_TRUE(SnapshotDesktop(state.table, program.services));
  LayoutDialogs dialogs(state, program.services);
  wintest::OwnerWindow owner(dialogs);

  LRESULT records = 0;
  wintest::DialogDriver user([&](wintest::DialogDriver& user) {
    const HWND dialog = user.WaitForDialog(L"Norv_A2");
    const HWND layouts = user.Child(dialog, kLayoutListId);
    const HWND recordList = user.Child(dialog, kRecordListId);
    if (!layouts || !recordList) return;
    user.ClickRow(layouts, 0);
    user.Expect(wintest::WaitUntil(
                    [&] {
                      records = SendMessageW(recordList, LB_GETCOUNT, 0, 0);
                      return records == static_cast<LRESULT>(kMaxLayoutRecords);
                    },
                    60000),
                "the records did not appear");
    user.Click(user.LabelWithText(dialog, u"復帰"));
  });
  dialogs.RunRestore(owner.hwnd());
  for (const std::string& complaint : user.Finish()) ADD_FAILURE() << complaint;

  EXPECT_EQ(records, static_cast<LRESULT>(kMaxLayoutRecords));
  const auto report = desk->Report();
  ASSERT_TRUE(report);
  EXPECT_EQ(report->items[0].x, 300);
  EXPECT_EQ(report->items[1].x, kIcons[1].x);
  EXPECT_EQ(report->items[2].x, 500);
}

}  // namespace
}  // namespace norv
