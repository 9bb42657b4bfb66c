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

void SendAnswer(HWND self, HWND to, const std::vector<OutputLine>& lines) {
  for (const std::string& block : EncodeAnswer(lines)) {
    COPYDATASTRUCT data{};
    data.dwData = kAnswerTag;
    data.cbData = static_cast<DWORD>(block.size());
    data.lpData = const_cast<char*>(block.data());
    DWORD_PTR taken = 0;
    // Blocking: nothing of ours runs while the command process reads the block.
    if (!SendMessageTimeoutW(to, WM_COPYDATA, reinterpret_cast<WPARAM>(self),
                             reinterpret_cast<LPARAM>(&data), SMTO_BLOCK, kAnswerBlockTimeoutMs,
                             &taken)) {
      return;
    }
  }
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

  CollectedOutput out;
  ExitCode code = ExitCode::kResidentBusy;
  if (tray_.Occupied()) {
    out.Error(command_text::kBusy);
  } else {
    CommandServices command(services_, out);
    code = RunInResident(*request, state_, command, *this);
    if (code == ExitCode::kDone && MovesIcons(request->kind)) tray_.RecordArrangement();
  }
  SendAnswer(self, sender, out.lines);
  return static_cast<LRESULT>(ReplyFor(code));
}

DisplayFollower& CommandServer::Follower() { return tray_.follower(); }

void CommandServer::FollowDisplaysSwitched() { tray_.OnFollowSwitched(); }

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
