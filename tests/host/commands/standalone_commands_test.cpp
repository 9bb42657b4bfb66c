#include "commands/standalone_commands.h"

#include <gtest/gtest.h>

#include "commands/command_line.h"
#include "commands/command_output.h"
#include "commands/command_services.h"
#include "layout/layout_file.h"
#include "support/fake_displays.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::Utf8;

const std::u16string kWork = u"C:\\Norv\\仕事.ppx";

// A command process without a resident Norvane, on the simulated desktop and files.
struct Standalone {
  test::FakePlatform p;
  test::FakeDisplays displays;
  CollectedOutput out;

  Standalone() {
    p.desktop.Add(u"ごみ箱", 10, 10);
    p.desktop.Add(u"メモ", 10, 90);
  }

  ExitCode Run(CommandKind kind, std::u16string name = {}, bool overwrite = false,
               bool on = false) {
    out.lines.clear();
    CommandServices command(p.services, out);
    return RunWithoutResident({kind, std::move(name), overwrite, on}, p.state, command, displays);
  }
  // The one line printed; failures go to standard error.
  std::string Line(OutputStream stream) const {
    EXPECT_EQ(out.lines.size(), 1u);
    if (out.lines.empty()) return {};
    EXPECT_EQ(out.lines.back().stream, stream);
    return Utf8(out.lines.back().text);
  }
  std::string LayoutOfTheDesktop() {
    IconTable table;
    SnapshotDesktop(table, p.services);
    return EncodeLayout(table);
  }
};

TEST(StandaloneCommandsTest, SaveWritesWhatTheDialogWritesAndKeepsAnOldLayoutUnlessTold) {
  Standalone s;
  EXPECT_EQ(s.Run(CommandKind::kSave, u"仕事"), ExitCode::kDone);
  EXPECT_EQ(s.Line(OutputStream::kOut), "「仕事」を保存しました。");
  const std::string first = s.LayoutOfTheDesktop();
  EXPECT_EQ(s.p.files.Bytes(kWork), first);

  s.p.desktop.SetItemPosition(0, 500, 500);
  EXPECT_EQ(s.Run(CommandKind::kSave, u"仕事"), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.Line(OutputStream::kError),
            "「仕事」は既に保存されています。前に保存した内容はそのまま残っています。"
            "置き換えるには /overwrite を付けて下さい。");
  EXPECT_EQ(s.p.files.Bytes(kWork), first);

  EXPECT_EQ(s.Run(CommandKind::kSave, u"仕事", true), ExitCode::kDone);
  EXPECT_EQ(s.p.files.Bytes(kWork), s.LayoutOfTheDesktop());
  EXPECT_NE(s.p.files.Bytes(kWork), first);
}

TEST(StandaloneCommandsTest, RefusedNamesNeverReachTheFiles) {
  for (const std::u16string name : {u"", u"..\\..\\x", u"a/b", u"CON", u"a.", u"tab\there"}) {
    Standalone s;
    EXPECT_EQ(s.Run(CommandKind::kSave, name), ExitCode::kLayoutRefused) << Utf8(name);
    EXPECT_EQ(s.Run(CommandKind::kRestore, name), ExitCode::kLayoutRefused) << Utf8(name);
    EXPECT_EQ(s.out.lines.at(0).stream, OutputStream::kError);
    EXPECT_TRUE(s.p.files.files.empty()) << Utf8(name);
    EXPECT_EQ(s.p.desktop.positionReads, 0);
  }
  Standalone s;
  s.Run(CommandKind::kSave, u"tab\there");
  EXPECT_EQ(s.Line(OutputStream::kError),
            "この名前は使えません: 名前に次の文字と制御文字は使えません。 \\ / : * ? \" < > |");
}

TEST(StandaloneCommandsTest, AFailedWriteSaysWhetherTheOldLayoutIsKept) {
  Standalone s;
  s.p.files.Put(kWork, "old", kAttrReadOnly);
  EXPECT_EQ(s.Run(CommandKind::kSave, u"仕事", true), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.p.files.Bytes(kWork), "old");
  EXPECT_NE(s.Line(OutputStream::kError).find("前に保存した内容はそのまま残っています。"),
            std::string::npos);
  s.p.files.diskFull = true;
  EXPECT_EQ(s.Run(CommandKind::kSave, u"新しい"), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.Line(OutputStream::kError).find("前に保存"), std::string::npos);
}

TEST(StandaloneCommandsTest, AnUnreadableDesktopWritesAndMovesNothing) {
  Standalone s;
  s.Run(CommandKind::kSave, u"仕事");
  const std::string saved = s.p.files.Bytes(kWork);

  s.p.desktop.failLabelReadAt = s.p.desktop.labelReads + 1;
  EXPECT_EQ(s.Run(CommandKind::kSave, u"仕事", true), ExitCode::kDesktopUnreadable);
  EXPECT_EQ(s.Line(OutputStream::kError),
            "ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなかったため、保存しませんでした。"
            "前に保存した内容はそのまま残っています。");
  EXPECT_EQ(s.p.files.Bytes(kWork), saved);

  // No icons: the snapshot's own message becomes a line, and no box is shown.
  s.p.desktop.items.clear();
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"仕事"), ExitCode::kDesktopUnreadable);
  EXPECT_EQ(Utf8(s.out.lines.at(0).text), "ｱｲｺﾝが見つかりませんでした。");
  EXPECT_EQ(s.p.desktop.moves, 0);
  EXPECT_TRUE(s.p.messages.shown.empty());
}

TEST(StandaloneCommandsTest, RestorePutsTheIconsBackAndReportsLostMoves) {
  Standalone s;
  s.Run(CommandKind::kSave, u"仕事");
  s.p.desktop.SetItemPosition(0, 1074, 818);
  s.p.desktop.SetItemPosition(1, 300, 300);
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"仕事"), ExitCode::kDone);
  EXPECT_EQ(s.Line(OutputStream::kOut), "「仕事」を復帰しました。");
  EXPECT_EQ(s.p.desktop.items[0].position, (Point{10, 10}));
  EXPECT_EQ(s.p.desktop.items[1].position, (Point{10, 90}));
  EXPECT_EQ(s.p.state.table.positions[1], (Point{10, 90}));

  s.p.desktop.failMoveAt = s.p.desktop.moves;
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"仕事"), ExitCode::kDesktopUnreadable);
  EXPECT_EQ(s.Line(OutputStream::kError),
            "ﾃﾞｽｸﾄｯﾌﾟ (エクスプローラー) が応答しなくなったため、ｱｲｺﾝを最後まで動かせませんでした。"
            "もう一度お試し下さい。");
}

TEST(StandaloneCommandsTest, RestoreFindsTheLayoutByItsFileNameOrByTheNameListed) {
  Standalone s;
  s.p.files.Put(u"C:\\Norv\\a.b.ppx", "");
  s.p.files.Put(u"C:\\Norv\\x.1.ppx", "");
  s.p.files.Put(u"C:\\Norv\\x.2.ppx", "");
  s.p.files.Put(u"C:\\Norv\\hidden.ppx", "", kAttrHidden);
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"A.B"), ExitCode::kDone);
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"a"), ExitCode::kDone);
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"x"), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.Line(OutputStream::kError),
            "「x」という名前で表示される保存が複数あります。ファイル名のとおりに指定して下さい: "
            "x.1、x.2");
  for (const std::u16string name : {u"nothing", u"hidden"}) {
    EXPECT_EQ(s.Run(CommandKind::kRestore, name), ExitCode::kLayoutRefused);
    EXPECT_EQ(s.Line(OutputStream::kError),
              "「" + Utf8(name) +
                  "」という名前は保存されていません。/list で保存した名前を確かめて下さい。");
  }
  // A missing layout is not created by looking for it, as the dialog's open would.
  EXPECT_FALSE(s.p.files.Has(u"C:\\Norv\\nothing.ppx"));
}

TEST(StandaloneCommandsTest, RestoreTellsAnUnreadableLayoutFromAnEmptyOneAndReadsLongNames) {
  Standalone s;
  s.Run(CommandKind::kSave, u"仕事");
  s.p.desktop.SetItemPosition(0, 300, 300);
  s.p.files.lockedPaths.insert(kWork);  // held open by another program
  s.p.desktop.ResetCounters();
  EXPECT_EQ(s.Run(CommandKind::kRestore, u"仕事"), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.Line(OutputStream::kError),
            "「仕事」を読み込めませんでした。ほかのアプリが開いたままにしていないか、"
            "読み取りが許されているかを確認して下さい。何も動かしませんでした。");
  EXPECT_EQ(s.p.desktop.moves, 0);

  // Too long to save (with the temporary file beside it), not too long to read.
  s.p.state.appDirectory = u"C:\\" + std::u16string(200, u'd');
  const std::u16string name(40, u'n');
  EXPECT_EQ(s.Run(CommandKind::kSave, name), ExitCode::kLayoutRefused);
  s.p.files.Put(s.p.state.appDirectory + u"\\" + name + u".ppx", "");
  EXPECT_EQ(s.Run(CommandKind::kRestore, name), ExitCode::kDone);
}

TEST(StandaloneCommandsTest, ListPrintsTheRestoreDialogsRowsInItsOrder) {
  Standalone s;
  for (const char16_t* name : {u"b", u"a", u"C", u"a.b"}) {
    s.p.files.Put(u"C:\\Norv\\" + std::u16string(name) + u".ppx", "");
  }
  s.p.files.files[u"C:\\Norv\\b.ppx"].lastWriteText = u"26/12/07 10:52";
  s.p.files.Put(u"C:\\Norv\\both.ppx", "", kAttrReadOnly | kAttrArchive);
  EXPECT_EQ(s.Run(CommandKind::kList), ExitCode::kDone);
  std::vector<std::u16string> lines;
  for (const OutputLine& line : s.out.lines) {
    EXPECT_EQ(line.stream, OutputStream::kOut);
    lines.push_back(line.text);
  }
  EXPECT_EQ(lines, (std::vector<std::u16string>{u"C\t2026/12/07", u"a\t2026/12/07",
                                                u"a\t2026/12/07", u"b\t26/12/07"}));
}

TEST(StandaloneCommandsTest, TheDisplaySwitchIsWrittenForTheNextStart) {
  Standalone s;
  ASSERT_EQ(s.Run(CommandKind::kFollowDisplays, {}, false, true), ExitCode::kDone);
  EXPECT_EQ(s.p.profile.Read(u"Section", u"FollowDisplays", u"C:\\Norv\\Norv.ini"), u"1");
  ASSERT_EQ(s.out.lines.size(), 2u);
  EXPECT_EQ(Utf8(s.out.lines[1].text),
            "Norvane が常駐していないため、次に起動したときから反映されます。");
  // Nothing recorded by a process that does not follow.
  EXPECT_FALSE(s.p.files.directories.count(u"C:\\Norv\\Displays"));

  s.p.files.readOnlyFolder = true;
  EXPECT_EQ(s.Run(CommandKind::kFollowDisplays), ExitCode::kLayoutRefused);
  EXPECT_EQ(s.p.state.followDisplays, 1);
  EXPECT_EQ(s.Run(CommandKind::kDisplays), ExitCode::kDone);
  EXPECT_TRUE(s.out.lines.empty());
}

TEST(StandaloneCommandsTest, CommandsOfTheResidentProgramNeedIt) {
  for (CommandKind kind : {CommandKind::kOpen, CommandKind::kHideAll, CommandKind::kShowAll}) {
    Standalone s;
    EXPECT_EQ(s.Run(kind), ExitCode::kNeedsResident);
    EXPECT_EQ(s.Line(OutputStream::kError),
              "このコマンドは Norvane が常駐しているときだけ使えます。"
              "先に Norv.exe をコマンドなしで起動して下さい。");
    EXPECT_EQ(s.p.desktop.CrossProcessRequests(), 0);
  }
}

}  // namespace
}  // namespace norv
