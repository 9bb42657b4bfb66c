#include "resident/win32/command_server.h"

#include <string>
#include <vector>

#include "commands/command_message.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "core/app_state.h"
#include "resident/tray_window.h"
#include "resident/tray_window_view.h"

namespace norv {
namespace {

// The command process waits for the answer, so each of its blocks is taken at once.
constexpr UINT kAnswerBlockTimeoutMs = 5000;

bool SendBlock(HWND self, HWND to, uint32_t tag, const std::string& block) {
  COPYDATASTRUCT data{};
  data.dwData = tag;
  data.cbData = static_cast<DWORD>(block.size());
  data.lpData = const_cast<char*>(block.data());
  DWORD_PTR taken = 0;
  // Blocking: nothing of ours runs while the command process reads the block.
  return SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                             reinterpret_cast<LPARAM>(&data), SMTO_BLOCK, kAnswerBlockTimeoutMs,
                             &taken) != 0;
}

bool SendAnswer(HWND self, HWND to, const std::vector<OutputLine>& lines) {
  for (const std::string& block : EncodeAnswer(lines)) {
    if (!SendBlock(self, to, kAnswerTag, block)) return false;
  }
  return true;
}

std::vector<OutputLine> BusyLines() {
  CollectedOutput out;
  out.Error(command_text::kBusy);
  return out.lines;
}

}  // namespace

LRESULT CommandServer::Answer(HWND self, HWND sender, const COPYDATASTRUCT& data) {
  if (data.dwData != kRequestTag || !data.lpData || data.cbData > kMaxRequestBytes ||
      !IsWindow(sender)) {
    return kRejectedReply;
  }
  const std::optional<CommandRequest> request =
      DecodeRequest({static_cast<const char*>(data.lpData), data.cbData});
  if (!request) return kRejectedReply;
  if (!taking_) return kNotReadyReply;
  if (taken_ || tray_.Occupied() || !PostMessageW(self, kRunTakenCommandMessage, 0, 0)) {
    SendAnswer(self, sender, BusyLines());
    return static_cast<LRESULT>(ReplyFor(ExitCode::kResidentBusy));
  }
  taken_ = request;
  answerTo_ = sender;
  return kTakenReply;
}

void CommandServer::RunTaken(HWND self) {
  if (!taken_) return;
  // Nothing is taken meanwhile: a command that comes while this one runs is answered "busy".
  CollectedOutput out;
  ExitCode code = ExitCode::kResidentBusy;
  if (!IsWindow(answerTo_)) {
    // The command process has ended (the user broke it off): nothing is done for it.
  } else if (tray_.Occupied()) {
    // A menu or dialog of ours opened before the command's turn came.
    out.lines = BusyLines();
  } else {
    CommandServices command(services_, out);
    code = RunInResident(*taken_, state_, command, *this);
  }
  if (IsWindow(answerTo_) && SendAnswer(self, answerTo_, out.lines)) {
    SendBlock(self, answerTo_, kResultTag, EncodeResult(code));
  }
  taken_.reset();
  answerTo_ = nullptr;
}

bool CommandServer::MainWindowOpen() { return trayView_.MainWindowOpen(); }

void CommandServer::ShowOutsideChange() { trayView_.ShowChangeInMainWindow(); }

void CommandServer::OpenSettings() {
  if (trayView_.MainWindowOpen()) {
    trayView_.OpenMainWindow({});  // brings the open window to the front
  } else {
    tray_.Run(TrayCommand::kSettings);
  }
}

}  // namespace norv
