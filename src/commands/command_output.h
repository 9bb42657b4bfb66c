#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace norv {

// Messages and listings go to standard output, failures to standard error.
enum class OutputStream : uint16_t { kOut = 1, kError = 2 };

struct OutputLine {
  OutputStream stream = OutputStream::kOut;
  std::u16string text;
  friend bool operator==(const OutputLine&, const OutputLine&) = default;
};

// Where a command writes its lines (without line ends).
class CommandOutput {
 public:
  virtual ~CommandOutput() = default;
  virtual void Write(OutputStream stream, std::u16string_view line) = 0;
  void Out(std::u16string_view line) { Write(OutputStream::kOut, line); }
  void Error(std::u16string_view line) { Write(OutputStream::kError, line); }
};

// Lines kept in order, to be sent or printed later.
class CollectedOutput : public CommandOutput {
 public:
  void Write(OutputStream stream, std::u16string_view line) override {
    lines.push_back({stream, std::u16string(line)});
  }
  std::vector<OutputLine> lines;
};

// Text the user typed, safe to print: control characters become "?".
std::u16string PrintableText(std::u16string_view text);
// Text broken over lines for a box, as one line.
std::u16string OneLine(std::u16string_view text);
// A number in decimal, "-" before a negative one.
std::u16string DecimalText(int64_t value);
// The parts one after the other.
std::u16string Concat(std::initializer_list<std::u16string_view> parts);

}  // namespace norv
