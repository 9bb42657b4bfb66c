#include "commands/command_routing.h"

#include <gtest/gtest.h>

#include "commands/command_output.h"
#include "commands/command_texts.h"
#include "support/fake_services.h"

namespace norv {
namespace {

using test::Utf8;

// Records which way each command went; the resident program runs when `resident` is set.
class RecordingRoutes final : public CommandRoutes {
 public:
  bool resident = false;
  std::u16string taken;  // "forward", "here", "diagnose" or "forward here"

  std::optional<ExitCode> Forward(const CommandRequest&, CommandOutput&) override {
    taken += u"forward";
    if (!resident) return std::nullopt;
    return ExitCode::kResidentBusy;
  }
  ExitCode RunHere(const CommandRequest&, CommandOutput&) override {
    taken += taken.empty() ? u"here" : u" here";
    return ExitCode::kNeedsResident;
  }
  ExitCode Diagnose(CommandOutput&) override {
    taken += u"diagnose";
    return ExitCode::kDesktopUnreadable;
  }
  std::u16string ProgramDirectory() override { return u"C:\\Norv"; }
};

TEST(CommandRoutingTest, EachCommandGoesOneWayWithOrWithoutAResidentProgram) {
  const std::u16string overlong(300, u'a');
  struct Row {
    std::vector<std::u16string> arguments;
    bool resident;
    std::u16string taken;
    ExitCode code;
  };
  for (const Row& row : {
           Row{{u"/frobnicate"}, true, u"", ExitCode::kBadCommandLine},
           Row{{u"/?"}, true, u"", ExitCode::kDone},
           Row{{u"/diagnose"}, true, u"diagnose", ExitCode::kDesktopUnreadable},
           Row{{u"/hide-all"}, true, u"forward", ExitCode::kResidentBusy},
           Row{{u"/hide-all"}, false, u"forward here", ExitCode::kNeedsResident},
           Row{{u"/save", u"仕事"}, false, u"forward here", ExitCode::kNeedsResident},
           Row{{u"/restore", u"仕事"}, true, u"forward", ExitCode::kResidentBusy},
           // A name the rules refuse goes nowhere, whether a resident program runs or not.
           Row{{u"/save", overlong}, true, u"", ExitCode::kLayoutRefused},
           Row{{u"/save", overlong}, false, u"", ExitCode::kLayoutRefused},
           Row{{u"/restore", u"a\\b"}, true, u"", ExitCode::kLayoutRefused},
       }) {
    RecordingRoutes routes;
    routes.resident = row.resident;
    CollectedOutput out;
    EXPECT_EQ(RouteCommand(ParseCommandLine(row.arguments), out, routes), row.code)
        << Utf8(row.arguments[0]);
    EXPECT_EQ(routes.taken, row.taken) << Utf8(row.arguments[0]);
  }
}

TEST(CommandRoutingTest, TheUsageGoesToStandardErrorAfterABadLineAndToStandardOutputWhenAsked) {
  RecordingRoutes routes;
  CollectedOutput bad;
  RouteCommand(ParseCommandLine({u"/save"}), bad, routes);
  ASSERT_EQ(bad.lines.size(), 1 + command_text::kUsage.size());
  EXPECT_EQ(bad.lines[0].text, u"/save の後に名前を指定して下さい。");
  for (const OutputLine& line : bad.lines) EXPECT_EQ(line.stream, OutputStream::kError);

  CollectedOutput asked;
  RouteCommand(ParseCommandLine({u"/?"}), asked, routes);
  ASSERT_EQ(asked.lines.size(), command_text::kUsage.size());
  EXPECT_EQ(asked.lines[0].text, command_text::kUsage[0]);
  EXPECT_EQ(asked.lines[0].stream, OutputStream::kOut);

  CollectedOutput refused;
  RouteCommand(ParseCommandLine({u"/save", std::u16string(300, u'a')}), refused, routes);
  ASSERT_EQ(refused.lines.size(), 1u);
  EXPECT_TRUE(refused.lines[0].text.starts_with(command_text::kNameRefused));
  EXPECT_EQ(refused.lines[0].stream, OutputStream::kError);
}

}  // namespace
}  // namespace norv
