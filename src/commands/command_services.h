#pragma once

#include <string_view>

#include "core/app_state.h"
#include "core/user_messages.h"

namespace norv {

class CommandOutput;
struct IconTable;
struct MoveOutcome;

// A command never shows a box: a message of the program's behaviour becomes one error line, and a
// question is answered "No", so nothing is replaced that the command line did not ask for.
class OutputMessages final : public UserMessages {
 public:
  explicit OutputMessages(CommandOutput& out) : out_(out) {}
  MessageAnswer Show(const std::u16string& text, MessageStyle style,
                     const std::u16string& title) override;

 private:
  CommandOutput& out_;
};

// The platform as one command uses it: the same desktop, files and settings, messages as lines of
// `out`, and a desktop without icons noted instead of ending the program (the command then ends
// with its code, and a resident Norvane goes on).
class CommandServices {
 public:
  CommandServices(const Services& platform, CommandOutput& out);
  CommandServices(const CommandServices&) = delete;
  CommandServices& operator=(const CommandServices&) = delete;

  Services& services() { return services_; }
  CommandOutput& out() { return out_; }

  // A snapshot into `table`. When it fails, one line says why: the program's own no-icons message,
  // or that the shell did not answer and `notDone` (what the command therefore left undone).
  bool Snapshot(IconTable& table, std::u16string_view notDone);
  // Whether the command's moves all reached the desktop and the snapshot after them succeeded;
  // otherwise one line says what went wrong.
  bool MovesDone(const MoveOutcome& moved, bool snapshotTaken);

 private:
  class NotedEnd final : public ProgramEnd {
   public:
    void EndNow() override { ended = true; }
    bool ended = false;
  };

  CommandOutput& out_;
  OutputMessages messages_;
  NotedEnd end_;
  Services services_;
};

}  // namespace norv
