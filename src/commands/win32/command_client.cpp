#include "commands/win32/command_client.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "commands/command_message.h"
#include "commands/command_texts.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/window_base.h"

namespace norv {
namespace {

constexpr wchar_t kAnswerWindowClass[] = L"Norv_CommandAnswer";
// A resident program that is starting (or restarting its shell) gets this long to be ready.
constexpr ULONGLONG kReadyWaitMs = 30000;
constexpr DWORD kRetryMs = 100;
// The resident takes a request at once, or once the work of its own that waits on the shell is
// done; a resident that does not answer within this is taken for hung.
constexpr UINT kAnswerTimeoutMs = 60000;
// How often a command process waiting for a taken request's answer looks whether the resident
// program still runs.
constexpr DWORD kResidentCheckMs = 500;
// Far more than any answer needs: a bound on what another program could make us keep.
constexpr size_t kMaxAnswerLines = 100000;

// The hidden window the resident sends its answer's lines to, taking them only from `from`.
class AnswerWindow final : public WindowBase {
 public:
  // False, with a diagnostic line, when the window could not be made.
  bool Create() {
    if (!WindowBase::Create({.name = kAnswerWindowClass}, {.parent = HWND_MESSAGE})) return false;
    // A resident program of a lower integrity level (this one run as administrator) may still
    // answer; Take checks that the answer comes from the window the request went to.
    ChangeWindowMessageFilterEx(hwnd(), WM_COPYDATA, MSGFLT_ALLOW, nullptr);
    return true;
  }
  void Expect(HWND from) {
    from_ = from;
    lines_.clear();
    result_.reset();
  }
  const std::vector<OutputLine>& lines() const { return lines_; }
  // The exit code that ends a taken request's answer, once it came.
  std::optional<ExitCode> result() const { return result_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_COPYDATA) return WindowBase::HandleMessage(message, wParam, lParam);
    return Take(reinterpret_cast<HWND>(wParam), *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  }

  BOOL Take(HWND sender, const COPYDATASTRUCT& data) {
    if (sender != from_ || result_ || !data.lpData || data.cbData > kMaxAnswerBlockBytes) {
      return FALSE;
    }
    const std::string_view bytes{static_cast<const char*>(data.lpData), data.cbData};
    if (data.dwData == kResultTag) {
      result_ = DecodeResult(bytes);
      return result_.has_value();
    }
    if (data.dwData != kAnswerTag) return FALSE;
    const auto lines = DecodeAnswerBlock(bytes);
    if (!lines || lines_.size() + lines->size() > kMaxAnswerLines) return FALSE;
    lines_.insert(lines_.end(), lines->begin(), lines->end());
    return TRUE;
  }

  HWND from_ = nullptr;
  std::vector<OutputLine> lines_;
  std::optional<ExitCode> result_;
};

// Waits for the answer of a request the resident took, for as long as the resident lives.
std::optional<ExitCode> AwaitResult(const AnswerWindow& answer, HWND tray, DWORD residentProcess) {
  // Without the right to wait on its process (another user's or a higher level's), its tray
  // window is looked at instead.
  const ScopedHandle owned(OpenProcess(SYNCHRONIZE, FALSE, residentProcess));
  const HANDLE process = owned.get();
  while (!answer.result() && IsWindow(tray)) {
    const DWORD handles = process ? 1 : 0;
    const DWORD woke =
        MsgWaitForMultipleObjects(handles, &process, FALSE, kResidentCheckMs, QS_ALLINPUT);
    if (process && woke == WAIT_OBJECT_0) break;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return answer.result();
}

ExitCode NoAnswer(CommandOutput& out) {
  out.Error(command_text::kNoAnswer);
  return ExitCode::kResidentBusy;
}

ExitCode Refused(CommandOutput& out, std::u16string_view line) {
  out.Error(line);
  return ExitCode::kResidentRefused;
}

}  // namespace

std::optional<ExitCode> SendToResident(const CommandRequest& request, CommandOutput& out,
                                       const std::function<bool()>& residentStarting) {
  const std::string bytes = EncodeRequest(request);
  COPYDATASTRUCT data{};
  data.dwData = kRequestTag;
  data.cbData = static_cast<DWORD>(bytes.size());
  data.lpData = const_cast<char*>(bytes.data());

  AnswerWindow answer;
  if (!answer.Create()) return NoAnswer(out);
  const ULONGLONG deadline = GetTickCount64() + kReadyWaitMs;
  for (;;) {
    const HWND tray = FindWindowW(kTrayWindowClass, nullptr);
    if (!tray && !residentStarting()) return std::nullopt;
    if (tray) {
      // The resident opens its main window for /open; let it come to the front.
      DWORD residentProcess = 0;
      GetWindowThreadProcessId(tray, &residentProcess);
      AllowSetForegroundWindow(residentProcess);
      answer.Expect(tray);
      DWORD_PTR reply = 0;
      SetLastError(ERROR_SUCCESS);
      const bool delivered =
          SendMessageTimeoutW(tray, WM_COPYDATA, reinterpret_cast<WPARAM>(answer.hwnd()),
                              reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, kAnswerTimeoutMs,
                              &reply) != 0;
      // The system refuses a message to a program of a higher integrity level this way.
      const bool refusedForLevel = !delivered && GetLastError() == ERROR_ACCESS_DENIED;
      std::optional<ExitCode> code;
      switch (FateOfRequest(delivered, refusedForLevel, IsWindow(tray), reply)) {
        case RequestFate::kAnswered:
          code = ExitCodeOfReply(reply);
          break;
        case RequestFate::kTaken:
          code = AwaitResult(answer, tray, residentProcess);
          if (!code) return NoAnswer(out);
          break;
        case RequestFate::kNotReady:
          break;
        case RequestFate::kRejected:
          return Refused(out, command_text::kRejected);
        case RequestFate::kOtherLevel:
          return Refused(out, command_text::kOtherLevel);
        case RequestFate::kNoAnswer:
          return NoAnswer(out);
      }
      if (code) {
        for (const OutputLine& line : answer.lines()) out.Write(line.stream, line.text);
        return code;
      }
      // Not ready yet, or it ended meanwhile: look again.
    }
    if (GetTickCount64() >= deadline) return NoAnswer(out);
    Sleep(kRetryMs);
  }
}

}  // namespace norv
