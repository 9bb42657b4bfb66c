#pragma once

#include <string>

#include "commands/command_output.h"

namespace norv {

// The command process's standard output and error. Norv.exe is a windowed program, so it has a
// console only by attaching to its parent's (cmd, PowerShell); started from a shortcut or a
// scheduled task it has none, and lines go nowhere. A console gets wide characters, so Japanese
// shows whatever its code page; a file or pipe gets code page 932 with CRLF line ends, what cmd and
// PowerShell on Japanese Windows read by default.
class ConsoleOutput final : public CommandOutput {
 public:
  ConsoleOutput();
  void Write(OutputStream stream, std::u16string_view line) override;
};

// Code page 932 for a redirected output: a character without a code page 932 form becomes one "?"
// (no look-alike substitutes).
std::string OutputCp932(std::u16string_view text);

}  // namespace norv
