#include "commands/command_message.h"

#include <gtest/gtest.h>

#include "support/fake_services.h"

namespace norv {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values) bytes.push_back(static_cast<char>(value));
  return bytes;
}

// A request block written out by hand: tag, command number, flags, name length, name.
std::string Request(uint32_t number, uint32_t flags, std::u16string name,
                    uint32_t tag = kRequestTag, std::optional<uint32_t> units = std::nullopt) {
  std::string bytes;
  for (uint32_t value : {tag, number, flags, units.value_or(static_cast<uint32_t>(name.size()))}) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>(value >> shift));
  }
  for (char16_t c : name) bytes += Bytes({c & 0xFF, c >> 8});
  return bytes;
}

CommandRequest Of(CommandKind kind, std::u16string name = {}, bool overwrite = false) {
  return {kind, std::move(name), overwrite};
}

TEST(CommandMessageTest, RequestsTravelWhole) {
  for (const CommandRequest& request :
       {Of(CommandKind::kSave, u"仕事 😀", true), Of(CommandKind::kSave),
        Of(CommandKind::kRestore, u"a"), Of(CommandKind::kList), Of(CommandKind::kOpen),
        Of(CommandKind::kHideAll), Of(CommandKind::kShowAll)}) {
    const std::optional<CommandRequest> decoded = DecodeRequest(EncodeRequest(request));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->kind, request.kind);
    EXPECT_EQ(decoded->name, request.name);
    EXPECT_EQ(decoded->overwrite, request.overwrite);
  }
  EXPECT_EQ(Request(1, 1, u"ab"), EncodeRequest(Of(CommandKind::kSave, u"ab", true)));
}

TEST(CommandMessageTest, ForeignOrMalformedRequestsAreRefused) {
  const std::vector<std::string> refused = {
      {},
      Request(1, 0, u"a", kAnswerTag),
      Request(0, 0, u""),
      Request(7, 0, u""),                    // /diagnose never travels
      Request(3, 0, u"x"),                   // /list takes no name
      Request(2, 1, u"a"),                   // /overwrite only with /save
      Request(1, 2, u"a"),                   // unknown flag
      Request(1, 0, u"ab", kRequestTag, 3),  // length past the end
      Request(1, 0, u"ab", kRequestTag, 1),  // bytes after the name
      Request(1, 0, u"a\xD800"),             // lone surrogate
      Request(1, 0, u"\xDC00"),
      Request(1, 0, std::u16string(u"a\0b", 3)),
      Request(1, 0, std::u16string(kMaxNameUnits + 1, u'n')),
      Request(1, 0, u"ab").substr(0, 17),
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    EXPECT_FALSE(DecodeRequest(refused[i])) << "case " << i;
  }
  EXPECT_TRUE(DecodeRequest(Request(1, 0, std::u16string(kMaxNameUnits, u'n'))));
}

TEST(CommandMessageTest, AnswersComeBackInOrderAcrossBlocksAndOnlyPrintable) {
  std::vector<OutputLine> lines;
  for (int i = 0; i < 40; ++i) {
    lines.push_back({i % 3 ? OutputStream::kOut : OutputStream::kError,
                     std::u16string(2000, static_cast<char16_t>(u'あ' + i)) + u"\t日付"});
  }
  lines.push_back({OutputStream::kOut, u""});
  const std::vector<std::string> blocks = EncodeAnswer(lines);
  ASSERT_GT(blocks.size(), 1u);
  std::vector<OutputLine> received;
  for (const std::string& block : blocks) {
    EXPECT_LE(block.size(), kMaxAnswerBlockBytes);
    const auto decoded = DecodeAnswerBlock(block);
    ASSERT_TRUE(decoded);
    received.insert(received.end(), decoded->begin(), decoded->end());
  }
  EXPECT_EQ(received, lines);

  // What the resident sends is made printable and cut; what arrives unprintable is refused.
  const std::u16string tooLong(kMaxLineUnits - 1, u'x');
  const auto sent = DecodeAnswerBlock(EncodeAnswer({{OutputStream::kError, u"a\x1b[2J\r\xD800"},
                                                    {OutputStream::kOut, tooLong + u"😀"}})
                                          .at(0));
  ASSERT_TRUE(sent);
  EXPECT_EQ((*sent)[0].text, u"a?[2J?\uFFFD");
  EXPECT_EQ((*sent)[1].text, tooLong);
  const std::string header = EncodeAnswer({{OutputStream::kOut, u"x"}}).at(0).substr(0, 4);
  for (const std::string& line :
       {Bytes({1, 0, 1, 0, 0, 0, 0x1b, 0}), Bytes({3, 0, 1, 0, 0, 0, 'x', 0}),
        Bytes({1, 0, 2, 0, 0, 0, 'x', 0}), Bytes({1, 0, 1, 0, 0, 0, 0, 0xDC}), Bytes({1, 0, 1})}) {
    EXPECT_FALSE(DecodeAnswerBlock(header + line));
  }
  EXPECT_FALSE(DecodeAnswerBlock(EncodeRequest(Of(CommandKind::kList))));
}

TEST(CommandMessageTest, OnlyMarkedRepliesAndResultBlocksCarryAnExitCode) {
  for (ExitCode code : {ExitCode::kDone, ExitCode::kLayoutRefused, ExitCode::kResidentBusy}) {
    EXPECT_EQ(ExitCodeOfReply(ReplyFor(code)), code);
    EXPECT_EQ(DecodeResult(EncodeResult(code)), code);
  }
  for (uint64_t reply :
       {uint64_t{0}, uint64_t{1}, uint64_t{kNotReadyReply}, uint64_t{kRejectedReply},
        uint64_t{kTakenReply}, uint64_t{ReplyFor(ExitCode::kDone)} << 32}) {
    EXPECT_FALSE(ExitCodeOfReply(reply)) << reply;
  }
  const std::string done = EncodeResult(ExitCode::kDone);
  for (const std::string& block :
       {std::string(), done.substr(0, 7), done + "x", EncodeAnswer({{OutputStream::kOut, u"a"}})[0],
        EncodeRequest(Of(CommandKind::kList))}) {
    EXPECT_FALSE(DecodeResult(block)) << block.size();
  }
}

TEST(CommandMessageTest, HowASendEndedSaysWhatBecameOfTheRequest) {
  struct Row {
    bool delivered;
    bool refusedForLevel;
    bool windowStill;
    uint64_t reply;
    RequestFate fate;
  };
  const uint64_t busy = ReplyFor(ExitCode::kResidentBusy);
  for (const Row& row : {
           Row{true, false, true, busy, RequestFate::kAnswered},
           Row{true, false, true, kTakenReply, RequestFate::kTaken},
           Row{true, false, true, kNotReadyReply, RequestFate::kNotReady},
           Row{true, false, true, kRejectedReply, RequestFate::kRejected},
           Row{true, false, true, 0, RequestFate::kNoAnswer},  // not a Norvane
           Row{false, true, true, 0, RequestFate::kOtherLevel},
           Row{false, false, true, 0, RequestFate::kNoAnswer},   // timed out
           Row{false, false, false, 0, RequestFate::kNotReady},  // ended meanwhile
       }) {
    EXPECT_EQ(FateOfRequest(row.delivered, row.refusedForLevel, row.windowStill, row.reply),
              row.fate)
        << row.delivered << row.refusedForLevel << row.windowStill << " " << row.reply;
  }
}

}  // namespace
}  // namespace norv
