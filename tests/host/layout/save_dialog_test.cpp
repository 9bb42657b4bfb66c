#include "layout/save_dialog.h"

#include <gtest/gtest.h>

#include "core/icon_table.h"
#include "layout/layout_file.h"
#include "layout/layout_name_check.h"
#include "mainwindow/icon_row.h"
#include "recording_views.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::FakePlatform;
using test::RecordingList;
using test::RecordingSaveView;
using test::Utf8;

constexpr char16_t kPath[] = u"C:\\Norv\\配置.ppx";

struct SaveFixture {
  FakePlatform p;
  RecordingSaveView view;
  RecordingList list{p.state.table};
  SaveDialog dialog{view, p.state, p.services, list};

  SaveFixture() {
    p.desktop.Add(u"ごみ箱", 20, 10);
    p.desktop.Add(u"隠した", 1074, 818);
    p.desktop.Add(u"左端", -5, 100);
    list.rows = {u"row from the last snapshot"};
    dialog.Load();
  }
  // Whether anything of the desktop was read: a refused save takes no snapshot.
  bool SnapshotTaken() const { return p.desktop.positionReads > 0; }
};

TEST(SaveDialogTest, OpensFromTheCursorAndClosesBackIntoIt) {
  SaveFixture f;
  EXPECT_EQ(f.view.calls, (std::vector<std::string>{"prepare", "open"}));
  EXPECT_EQ(f.view.openedFrom->x, 300);
  EXPECT_EQ(f.view.openedFrom->y, 200);
  f.view.cursor = ScreenPoint{1, 1};  // a later position plays no part
  f.dialog.RunCommand(kSaveCancelButton);
  ASSERT_TRUE(f.view.closedInto);
  EXPECT_EQ(f.view.closedInto->x, 300);
  EXPECT_EQ(f.view.closedInto->y, 200);
  EXPECT_TRUE(f.view.unloaded);
  // Cancel writes nothing and leaves the main window's list alone.
  EXPECT_EQ(f.p.files.writes, 0);
  EXPECT_EQ(f.list.rows, (std::vector<std::u16string>{u"row from the last snapshot"}));
  // A second close request (the window's close box after the button) closes nothing twice.
  f.dialog.Close();
  EXPECT_EQ(f.view.calls, (std::vector<std::string>{"prepare", "open", "close", "unload"}));
}

TEST(SaveDialogTest, UnreadableCursorOpensAndClosesAtTheScreenCorner) {
  FakePlatform p;
  RecordingSaveView view;
  view.cursor = std::nullopt;
  RecordingList list{p.state.table};
  SaveDialog dialog(view, p.state, p.services, list);
  dialog.Load();
  dialog.Close();
  EXPECT_EQ(view.openedFrom->x, 0);
  EXPECT_EQ(view.openedFrom->y, 0);
  EXPECT_EQ(view.closedInto->x, 0);
  EXPECT_EQ(view.closedInto->y, 0);
}

TEST(SaveDialogTest, EmptyNameIsRefusedAndNothingChanges) {
  SaveFixture f;
  f.dialog.RunCommand(kSaveButton);
  ASSERT_EQ(f.p.messages.shown.size(), 1u);
  EXPECT_EQ(f.p.messages.shown[0].text, u"名前を入力して下さい。");
  EXPECT_EQ(f.p.messages.shown[0].style, MessageStyle::kExclamation);
  EXPECT_EQ(f.p.messages.shown[0].title, u"Norvane");
  EXPECT_EQ(f.p.files.writes, 0);
  EXPECT_EQ(f.list.clears, 0);
  EXPECT_EQ(f.list.rows, (std::vector<std::u16string>{u"row from the last snapshot"}));
  EXPECT_FALSE(f.SnapshotTaken());
  EXPECT_FALSE(f.dialog.closed());
}

TEST(SaveDialogTest, NewNameWritesTheFreshSnapshotAndRebuildsTheListFromIt) {
  SaveFixture f;
  f.view.name = u"配置";
  f.p.state.table = {};  // stale table: the save must take its own snapshot
  EXPECT_TRUE(f.dialog.SaveLayout());

  EXPECT_TRUE(f.p.messages.shown.empty());
  ASSERT_EQ(f.p.state.table.itemCount, 3);
  ASSERT_TRUE(f.p.files.Has(kPath));
  EXPECT_EQ(f.p.files.Bytes(kPath), EncodeLayout(f.p.state.table));
  const std::vector<LayoutRecord> records = ReadLayoutFile(f.p.files, kPath);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].x, 1074);  // the hidden icon keeps its off-screen place
  EXPECT_EQ(records[1].y, 818);
  EXPECT_EQ(records[2].x, -5);

  ASSERT_EQ(f.list.rows.size(), 3u);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(f.list.rows[i], IconRow(f.p.state.table, i));
  EXPECT_NE(f.list.rows[1].find(u"\t\t\t"), std::u16string::npos) << Utf8(f.list.rows[1]);
  EXPECT_TRUE(f.dialog.closed());
  EXPECT_EQ(f.view.calls.back(), "unload");
}

TEST(SaveDialogTest, NameIsUsedAsTypedWithoutTrimming) {
  SaveFixture f;
  f.view.name = u"  a.b";
  EXPECT_TRUE(f.dialog.SaveLayout());
  EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\  a.b.ppx"));
}

TEST(SaveDialogTest, AnsweringNoLeavesTheOldFileByteForByte) {
  SaveFixture f;
  const std::string old(3 * kLayoutRecordSize + 5, 'x');
  f.p.files.Put(kPath, old);
  f.p.messages.answers = {MessageAnswer::kNo};
  f.view.name = u"配置";
  EXPECT_FALSE(f.dialog.SaveLayout());

  ASSERT_EQ(f.p.messages.shown.size(), 1u);
  EXPECT_EQ(f.p.messages.shown[0].text, u"既に名前が存在します。上書きしますか？");
  EXPECT_EQ(f.p.messages.shown[0].style, MessageStyle::kYesNoQuestion);
  EXPECT_EQ(f.p.files.Bytes(kPath), old);
  EXPECT_EQ(f.p.files.writes, 0);
  EXPECT_EQ(f.list.clears, 0);
  EXPECT_FALSE(f.SnapshotTaken());
  EXPECT_FALSE(f.dialog.closed());
  EXPECT_EQ(f.view.name, u"配置");
}

TEST(SaveDialogTest, AnsweringYesWithFewerIconsGivesAShorterFile) {
  SaveFixture f;
  f.view.name = u"配置";
  ASSERT_TRUE(f.dialog.SaveLayout());
  ASSERT_EQ(f.p.files.Bytes(kPath).size(), 3 * kLayoutRecordSize);

  f.p.desktop.items.pop_back();
  RecordingSaveView again;
  again.name = u"配置";
  SaveDialog second(again, f.p.state, f.p.services, f.list);
  second.Load();
  f.p.messages.answers = {MessageAnswer::kYes};
  EXPECT_TRUE(second.SaveLayout());
  EXPECT_EQ(f.p.files.Bytes(kPath).size(), 2 * kLayoutRecordSize);
  EXPECT_EQ(f.p.files.Bytes(kPath), EncodeLayout(f.p.state.table));
  EXPECT_EQ(f.list.rows.size(), 2u);
}

struct UnsafeName {
  std::u16string name;
  std::u16string_view message;
};

TEST(SaveDialogTest, NamesThatCannotBeAFileInTheFolderAreRefusedWithNothingWritten) {
  const std::u16string_view forbidden = kForbiddenCharacterMessage;
  const std::u16string_view reserved = kReservedNameMessage;
  const std::u16string_view trailing = kTrailingCharacterMessage;
  const std::u16string_view tooLong = kNameTooLongMessage;
  const std::vector<UnsafeName> cases{
      {u"..\\outside", forbidden}, {u"a/b", forbidden},
      {u"C:x", forbidden},         {u"a*", forbidden},
      {u"what?", forbidden},       {u"say \"hi\"", forbidden},
      {u"<a>", forbidden},         {u"a>b", forbidden},
      {u"a|b", forbidden},         {u"tab\there", forbidden},
      {u"line\nbreak", forbidden}, {std::u16string(u"nul\0x", 5), forbidden},
      {u"CON", reserved},          {u"con", reserved},
      {u"PRN", reserved},          {u"aux", reserved},
      {u"NUL", reserved},          {u"COM1", reserved},
      {u"com9", reserved},         {u"LPT1", reserved},
      {u"lpt9", reserved},         {u"COM¹", reserved},
      {u"CON.txt", reserved},      {u"nul .b", reserved},
      {u"CONOUT$", reserved},      {u"name ", trailing},
      {u"name.", trailing},        {u".", trailing},
      {u"..", trailing},           {std::u16string(225, u'a'), tooLong},
  };
  for (const UnsafeName& unsafe : cases) {
    SCOPED_TRACE(Utf8(unsafe.name));
    SaveFixture f;
    const size_t filesBefore = f.p.files.files.size();
    f.view.name = unsafe.name;
    EXPECT_FALSE(f.dialog.SaveLayout());
    ASSERT_EQ(f.p.messages.shown.size(), 1u);
    EXPECT_EQ(f.p.messages.shown[0].text, unsafe.message);
    EXPECT_EQ(f.p.messages.shown[0].style, MessageStyle::kExclamation);
    EXPECT_EQ(f.p.messages.shown[0].title, u"Norvane");
    EXPECT_EQ(f.p.files.writes, 0);
    EXPECT_EQ(f.p.files.files.size(), filesBefore);
    EXPECT_EQ(f.list.clears, 0);
    EXPECT_FALSE(f.SnapshotTaken());
    EXPECT_FALSE(f.dialog.closed());
  }
}

TEST(SaveDialogTest, UnusualButValidNamesAreSaved) {
  // "C:\Norv\" is 8 characters, ".ppx" 4 and the save's temporary file adds up to 23, so 224
  // characters are the longest name whose files all fit in 259.
  for (const std::u16string& name :
       {std::u16string(u"   "), std::u16string(u"a.b"), std::u16string(u"CONSOLE"),
        std::u16string(u"COM10"), std::u16string(u"x.CON"), std::u16string(u"ﾚｲｱｳﾄ 1"),
        std::u16string(224, u'a')}) {
    SCOPED_TRACE(Utf8(name));
    SaveFixture f;
    f.view.name = name;
    EXPECT_TRUE(f.dialog.SaveLayout());
    EXPECT_TRUE(f.p.messages.shown.empty());
    EXPECT_TRUE(f.p.files.Has(u"C:\\Norv\\" + name + u".ppx"));
  }
}

TEST(SaveDialogTest, LengthLimitCountsTheWholePathAndTheSavesTemporaryFile) {
  FakePlatform p;
  p.state.appDirectory = u"C:\\" + std::u16string(200, u'd');
  EXPECT_EQ(RefuseLayoutName(p.state.appDirectory, std::u16string(28, u'n')), std::nullopt);
  EXPECT_EQ(RefuseLayoutName(p.state.appDirectory, std::u16string(29, u'n')),
            std::u16string_view(kNameTooLongMessage));
  // At a drive root the appended separator doubles the root's own one, and counts.
  EXPECT_EQ(RefuseLayoutName(u"C:\\", std::u16string(228, u'n')), std::nullopt);
  EXPECT_EQ(RefuseLayoutName(u"C:\\", std::u16string(229, u'n')),
            std::u16string_view(kNameTooLongMessage));
}

struct WriteFailure {
  const char* what;
  bool existing;
  uint32_t attributes;
  bool readOnlyFolder;
  bool diskFull;
};

TEST(SaveDialogTest, FailedWriteKeepsTheOldFileReportsAndStaysOpen) {
  for (const WriteFailure& failure : {
           WriteFailure{"read-only file", true, kAttrReadOnly, false, false},
           WriteFailure{"read-only folder, existing file", true, kAttrArchive, true, false},
           WriteFailure{"read-only folder, new file", false, 0, true, false},
           WriteFailure{"disk full, existing file", true, kAttrArchive, false, true},
           WriteFailure{"disk full, new file", false, 0, false, true},
       }) {
    SCOPED_TRACE(failure.what);
    SaveFixture f;
    const std::string old = "old layout bytes";
    if (failure.existing) f.p.files.Put(kPath, old, failure.attributes);
    f.p.files.readOnlyFolder = failure.readOnlyFolder;
    f.p.files.diskFull = failure.diskFull;
    f.p.messages.answers = {MessageAnswer::kYes};
    f.view.name = u"配置";

    EXPECT_FALSE(f.dialog.SaveLayout());
    ASSERT_FALSE(f.p.messages.shown.empty());
    const auto& report = f.p.messages.shown.back();
    EXPECT_EQ(report.text, failure.existing ? std::u16string(kSaveFailedKeptMessage)
                                            : std::u16string(kSaveFailedMessage));
    EXPECT_EQ(report.style, MessageStyle::kExclamation);
    EXPECT_EQ(report.title, u"Norvane");
    if (failure.existing) {
      EXPECT_EQ(f.p.files.Bytes(kPath), old);
      EXPECT_EQ(f.p.files.files.at(kPath).attributes, failure.attributes);
    } else {
      EXPECT_FALSE(f.p.files.Has(kPath));
    }
    EXPECT_FALSE(f.dialog.closed());
    EXPECT_EQ(f.view.name, u"配置");
    // The snapshot was taken, so the main window's rows follow it even though nothing was saved.
    EXPECT_EQ(f.list.rows.size(), 3u);

    // Once the cause is gone the same dialog saves.
    f.p.files.readOnlyFolder = false;
    f.p.files.diskFull = false;
    if (failure.existing) f.p.files.files[kPath].attributes = kAttrArchive;
    f.p.messages.answers = {MessageAnswer::kYes};
    EXPECT_TRUE(f.dialog.SaveLayout());
    EXPECT_EQ(f.p.files.Bytes(kPath).size(), 3 * kLayoutRecordSize);
    EXPECT_TRUE(f.dialog.closed());
  }
}

TEST(SaveDialogTest, AFailedSnapshotWritesNothingAndRestoresTheList) {
  SaveFixture f;
  ASSERT_TRUE(SnapshotDesktop(f.p.state.table, f.p.services));
  f.p.desktop.ResetCounters();
  f.p.desktop.items[0].position = {600, 600};
  f.p.desktop.failLabelReadAt = 1;
  f.view.name = u"配置";
  EXPECT_FALSE(f.dialog.SaveLayout());
  EXPECT_FALSE(f.p.files.Has(kPath));
  ASSERT_EQ(f.p.messages.shown.size(), 1u);
  EXPECT_EQ(f.p.messages.shown[0].text, kSnapshotFailedMessage);
  ASSERT_EQ(f.list.rows.size(), 3u);
  EXPECT_EQ(f.list.rows[0], IconRow(f.p.state.table, 0));
  EXPECT_EQ(f.p.state.table.positions[0], (Point{20, 10}));
  EXPECT_FALSE(f.dialog.closed());
}

}  // namespace
}  // namespace norv
