#include "commands/command_line.h"

#include <gtest/gtest.h>

#include "support/fake_services.h"

namespace norv {
namespace {

using test::Utf8;

struct Case {
  std::vector<std::u16string> arguments;
  CommandKind kind;
  std::u16string name = {};
  bool overwrite = false;
  bool on = false;
};

TEST(CommandLineTest, EveryCommandInEitherFormAndAnyCase) {
  const std::vector<Case> cases = {
      {{}, CommandKind::kNone},
      {{u"/save", u"仕事 机"}, CommandKind::kSave, u"仕事 机"},
      {{u"-SAVE", u"a", u"/Overwrite"}, CommandKind::kSave, u"a", true},
      {{u"/save", u"-x", u"-overwrite"}, CommandKind::kSave, u"-x", true},
      {{u"/Restore", u"a.b"}, CommandKind::kRestore, u"a.b"},
      {{u"/save", u""}, CommandKind::kSave, u""},  // refused later by the name rules
      {{u"/list"}, CommandKind::kList},
      {{u"-Open"}, CommandKind::kOpen},
      {{u"/hide-all"}, CommandKind::kHideAll},
      {{u"-SHOW-ALL"}, CommandKind::kShowAll},
      {{u"/diagnose"}, CommandKind::kDiagnose},
      {{u"/?"}, CommandKind::kUsage},
      {{u"-?"}, CommandKind::kUsage},
      {{u"/follow-displays", u"ON"}, CommandKind::kFollowDisplays, u"", false, true},
      {{u"-Follow-Displays", u"off"}, CommandKind::kFollowDisplays},
      {{u"/displays"}, CommandKind::kDisplays},
      {{u"-UNDO"}, CommandKind::kUndo},
  };
  for (const Case& c : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(c.arguments);
    const std::string label = c.arguments.empty() ? "(none)" : Utf8(c.arguments[0]);
    EXPECT_EQ(parsed.request.kind, c.kind) << label << " " << Utf8(parsed.error);
    EXPECT_EQ(parsed.request.name, c.name) << label;
    EXPECT_EQ(parsed.request.overwrite, c.overwrite) << label;
    EXPECT_EQ(parsed.request.on, c.on) << label;
  }
}

TEST(CommandLineTest, MistakesAreRefusedWithWhatIsWrong) {
  const std::vector<std::pair<std::vector<std::u16string>, std::u16string>> cases = {
      {{u"save", u"a"}, u"不明なコマンドです: save"},
      {{u"/frobnicate"}, u"不明なコマンドです: /frobnicate"},
      {{u"/"}, u"不明なコマンドです: /"},
      {{u"/save"}, u"/save の後に名前を指定して下さい。"},
      {{u"-Restore"}, u"-Restore の後に名前を指定して下さい。"},
      {{u"/save", u"/overwrite"}, u"/save の後に名前を指定して下さい。"},
      {{u"/save", u"/list"}, u"/save の後に名前を指定して下さい。"},
      {{u"/save", u"/a"}, u"/save の後に名前を指定して下さい。"},
      {{u"/overwrite", u"/save", u"a"}, u"/overwrite は「/save 名前」の後に付けて下さい。"},
      {{u"/restore", u"a", u"/overwrite"}, u"/overwrite は「/save 名前」の後に付けて下さい。"},
      {{u"/save", u"a", u"b"}, u"余分な指定があります: b"},
      {{u"/save", u"a", u"/overwrite", u"/overwrite"},
       u"/overwrite は「/save 名前」の後に付けて下さい。"},
      {{u"/list", u"x"}, u"余分な指定があります: x"},
      {{u"/follow-displays"}, u"/follow-displays の後に on か off を指定して下さい。"},
      {{u"/follow-displays", u"yes"}, u"/follow-displays の後に on か off を指定して下さい。"},
      {{u"/follow-displays", u"on", u"off"}, u"余分な指定があります: off"},
      {{u"/undo", u"1"}, u"余分な指定があります: 1"},
      {{u"/?", u"/save"}, u"余分な指定があります: /save"},
      // What the user typed is echoed without its control characters.
      {{u"/hide-all", u"a\x1b[2J"}, u"余分な指定があります: a?[2J"},
  };
  for (const auto& [arguments, error] : cases) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments);
    EXPECT_EQ(parsed.request.kind, CommandKind::kInvalid) << Utf8(arguments[0]);
    EXPECT_EQ(Utf8(parsed.error), Utf8(error));
  }
}

}  // namespace
}  // namespace norv
