#include "commands/command_message.h"

#include <algorithm>
#include <array>

namespace norv {
namespace {

constexpr uint32_t kReplyTag = 0x4E560000;
constexpr uint32_t kOverwriteFlag = 1;
constexpr size_t kRequestHeaderBytes = kMaxRequestBytes - 2 * kMaxNameUnits;
constexpr size_t kLineHeaderBytes = 6;

// The kinds that travel, by their number in a request.
constexpr std::array<CommandKind, 6> kCarried{CommandKind::kSave,    CommandKind::kRestore,
                                              CommandKind::kList,    CommandKind::kOpen,
                                              CommandKind::kHideAll, CommandKind::kShowAll};

bool TakesName(CommandKind kind) {
  return kind == CommandKind::kSave || kind == CommandKind::kRestore;
}

void PutU16(std::string& out, uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8));
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

void PutText(std::string& out, std::u16string_view text) {
  for (char16_t c : text) PutU16(out, c);
}

// Reads little-endian values from the front of a block, refusing to run past its end.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool empty() const { return bytes_.empty(); }
  std::optional<uint16_t> U16() {
    if (bytes_.size() < 2) return std::nullopt;
    const auto value = static_cast<uint16_t>(static_cast<unsigned char>(bytes_[0]) |
                                             (static_cast<unsigned char>(bytes_[1]) << 8));
    bytes_.remove_prefix(2);
    return value;
  }
  std::optional<uint32_t> U32() {
    const std::optional<uint16_t> low = U16();
    const std::optional<uint16_t> high = low ? U16() : std::nullopt;
    if (!high) return std::nullopt;
    return static_cast<uint32_t>(*low) | (static_cast<uint32_t>(*high) << 16);
  }
  std::optional<std::u16string> Text(size_t units) {
    if (bytes_.size() / 2 < units) return std::nullopt;
    std::u16string text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) text.push_back(static_cast<char16_t>(*U16()));
    return text;
  }

 private:
  std::string_view bytes_;
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Output lines hold text and TABs, nothing that could move a console's cursor.
bool IsPrintableLine(std::u16string_view text) {
  return IsWellFormedText(text) && std::none_of(text.begin(), text.end(), [](char16_t c) {
           return (c < 0x20 && c != u'\t') || c == 0x7F;
         });
}

// A line as the other side accepts it: at most kMaxLineUnits, control characters but TAB as "?"
// and a lone surrogate as U+FFFD.
std::u16string SendableLine(std::u16string_view text) {
  std::u16string line;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    const bool pair = IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    if (line.size() + (pair ? 2 : 1) > kMaxLineUnits) break;
    if (pair) {
      line += text.substr(i++, 2);
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      line += u'\uFFFD';
    } else {
      line += (c < 0x20 && c != u'\t') || c == 0x7F ? u'?' : c;
    }
  }
  return line;
}

}  // namespace

bool IsWellFormedText(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == 0 || IsLowSurrogate(c)) return false;
    if (IsHighSurrogate(c)) {
      if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) return false;
      ++i;
    }
  }
  return true;
}

std::string EncodeRequest(const CommandRequest& request) {
  const auto carried = std::find(kCarried.begin(), kCarried.end(), request.kind);
  std::string out;
  PutU32(out, kRequestTag);
  PutU32(out, static_cast<uint32_t>(carried - kCarried.begin()) + 1);
  PutU32(out, request.overwrite ? kOverwriteFlag : 0);
  PutU32(out, static_cast<uint32_t>(request.name.size()));
  PutText(out, request.name);
  return out;
}

std::optional<CommandRequest> DecodeRequest(std::string_view bytes) {
  Reader reader(bytes);
  const std::optional<uint32_t> tag = reader.U32();
  const std::optional<uint32_t> number = reader.U32();
  const std::optional<uint32_t> flags = reader.U32();
  const std::optional<uint32_t> units = reader.U32();
  if (!units || *tag != kRequestTag || *number < 1 || *number > kCarried.size())
    return std::nullopt;
  CommandRequest request;
  request.kind = kCarried[*number - 1];
  if ((*flags & ~kOverwriteFlag) != 0 ||
      ((*flags & kOverwriteFlag) && request.kind != CommandKind::kSave)) {
    return std::nullopt;
  }
  request.overwrite = (*flags & kOverwriteFlag) != 0;
  if (*units > kMaxNameUnits || (*units != 0 && !TakesName(request.kind)) ||
      bytes.size() != kRequestHeaderBytes + size_t{*units} * 2) {
    return std::nullopt;
  }
  std::optional<std::u16string> name = reader.Text(*units);
  if (!name || !IsWellFormedText(*name)) return std::nullopt;
  request.name = std::move(*name);
  return request;
}

std::vector<std::string> EncodeAnswer(const std::vector<OutputLine>& lines) {
  std::vector<std::string> blocks;
  for (const OutputLine& line : lines) {
    const std::u16string text = SendableLine(line.text);
    const size_t size = kLineHeaderBytes + text.size() * 2;
    if (blocks.empty() || blocks.back().size() + size > kMaxAnswerBlockBytes) {
      blocks.emplace_back();
      PutU32(blocks.back(), kAnswerTag);
    }
    PutU16(blocks.back(), static_cast<uint16_t>(line.stream));
    PutU32(blocks.back(), static_cast<uint32_t>(text.size()));
    PutText(blocks.back(), text);
  }
  return blocks;
}

std::optional<std::vector<OutputLine>> DecodeAnswerBlock(std::string_view bytes) {
  if (bytes.size() > kMaxAnswerBlockBytes) return std::nullopt;
  Reader reader(bytes);
  if (reader.U32() != kAnswerTag) return std::nullopt;
  std::vector<OutputLine> lines;
  while (!reader.empty()) {
    const std::optional<uint16_t> stream = reader.U16();
    const std::optional<uint32_t> units = stream ? reader.U32() : std::nullopt;
    if (!units || *units > kMaxLineUnits) return std::nullopt;
    if (*stream != static_cast<uint16_t>(OutputStream::kOut) &&
        *stream != static_cast<uint16_t>(OutputStream::kError)) {
      return std::nullopt;
    }
    std::optional<std::u16string> text = reader.Text(*units);
    if (!text || !IsPrintableLine(*text)) return std::nullopt;
    lines.push_back({static_cast<OutputStream>(*stream), std::move(*text)});
  }
  return lines;
}

std::string EncodeResult(ExitCode code) {
  std::string block;
  PutU32(block, kResultTag);
  PutU32(block, ReplyFor(code));
  return block;
}

std::optional<ExitCode> DecodeResult(std::string_view bytes) {
  Reader reader(bytes);
  const std::optional<uint32_t> tag = reader.U32();
  const std::optional<uint32_t> reply = tag == kResultTag ? reader.U32() : std::nullopt;
  if (!reply || !reader.empty()) return std::nullopt;
  return ExitCodeOfReply(*reply);
}

RequestFate FateOfRequest(bool delivered, bool refusedForLevel, bool windowStill, uint64_t reply) {
  if (!delivered) {
    if (refusedForLevel) return RequestFate::kOtherLevel;
    return windowStill ? RequestFate::kNoAnswer : RequestFate::kNotReady;
  }
  if (ExitCodeOfReply(reply)) return RequestFate::kAnswered;
  switch (reply) {
    case kTakenReply:
      return RequestFate::kTaken;
    case kNotReadyReply:
      return RequestFate::kNotReady;
    case kRejectedReply:
      return RequestFate::kRejected;
    default:
      return RequestFate::kNoAnswer;
  }
}

uint32_t ReplyFor(ExitCode code) { return kReplyTag | static_cast<uint32_t>(code); }

std::optional<ExitCode> ExitCodeOfReply(uint64_t reply) {
  if ((reply & ~uint64_t{0xFF}) != kReplyTag) return std::nullopt;
  const auto code = static_cast<int>(reply & 0xFF);
  if (code > static_cast<int>(ExitCode::kResidentBusy)) return std::nullopt;
  return static_cast<ExitCode>(code);
}

}  // namespace norv
