#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/command_line.h"
#include "commands/command_output.h"
#include "commands/exit_code.h"

namespace norv {

// What a command process and the resident Norvane say to each other. The request and the answer's
// lines travel as blocks of bytes (WM_COPYDATA on Windows) that any program on the desktop could
// send, so every block is checked whole before anything in it is used.

// The resident program's invisible tray window, to which a command process hands its request.
inline constexpr wchar_t kTrayWindowClass[] = L"Norv_S";

// Marks a block as ours; also the block's identifier beside it.
inline constexpr uint32_t kRequestTag = 0x4E565251;  // "NVRQ"
inline constexpr uint32_t kAnswerTag = 0x4E565241;   // "NVRA"
inline constexpr uint32_t kResultTag = 0x4E565258;   // "NVRX"

// Longer names are refused by the name rules anyway (a path has at most 259 characters).
inline constexpr size_t kMaxNameUnits = 1024;
inline constexpr size_t kMaxRequestBytes = 16 + 2 * kMaxNameUnits;
inline constexpr size_t kMaxLineUnits = 4096;
inline constexpr size_t kMaxAnswerBlockBytes = 64 * 1024;

// Only the commands that the resident carries out travel; anything else does not decode.
std::string EncodeRequest(const CommandRequest& request);
std::optional<CommandRequest> DecodeRequest(std::string_view bytes);

// The lines in as few blocks as fit kMaxAnswerBlockBytes each, in order. A line longer than
// kMaxLineUnits is cut there; control characters but TAB become "?".
std::vector<std::string> EncodeAnswer(const std::vector<OutputLine>& lines);
std::optional<std::vector<OutputLine>> DecodeAnswerBlock(std::string_view bytes);

// The block that ends a taken request's answer: its exit code, after all of its lines.
std::string EncodeResult(ExitCode code);
std::optional<ExitCode> DecodeResult(std::string_view bytes);

// The reply to a request carries the exit code, marked so that a program that does not know the
// request (its reply is 0) is not taken for one that carried it out.
uint32_t ReplyFor(ExitCode code);
std::optional<ExitCode> ExitCodeOfReply(uint64_t reply);
// The resident is still starting: the request may be sent again shortly.
inline constexpr uint32_t kNotReadyReply = 0x4E5600FF;
// The request did not decode.
inline constexpr uint32_t kRejectedReply = 0x4E5600FE;
// The resident took the request and carries it out from its own message loop: the answer's lines
// and then its result block follow to the window the request came from.
inline constexpr uint32_t kTakenReply = 0x4E5600FD;

// What became of a request sent to the tray window, from how the send ended: `delivered` when it
// returned an answer, `refusedForLevel` when the system refused it for the sender's integrity
// level, `windowStill` when the tray window still exists.
enum class RequestFate {
  kAnswered,    // the reply carries the exit code; the lines came before it
  kTaken,       // the lines and the exit code follow
  kNotReady,    // the resident is starting, or ended meanwhile: look again
  kRejected,    // the resident could not read the request
  kOtherLevel,  // the system would not deliver it
  kNoAnswer,    // hung, or a reply no Norvane gives
};
RequestFate FateOfRequest(bool delivered, bool refusedForLevel, bool windowStill, uint64_t reply);

// No lone surrogate; no NUL.
bool IsWellFormedText(std::u16string_view text);

}  // namespace norv
