#include "commands/command_services.h"

#include "commands/command_output.h"
#include "commands/command_texts.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"

namespace norv {

namespace text = command_text;

MessageAnswer OutputMessages::Show(const std::u16string& text, MessageStyle style,
                                   const std::u16string&) {
  out_.Error(OneLine(text));
  return style == MessageStyle::kYesNoQuestion ? MessageAnswer::kNo : MessageAnswer::kOk;
}

CommandServices::CommandServices(const Services& platform, CommandOutput& out)
    : out_(out),
      messages_(out),
      services_(Services{platform.desktop, platform.files, platform.profile, messages_, end_,
                         platform.pause}) {}

bool CommandServices::Snapshot(IconTable& table, std::u16string_view notDone) {
  if (SnapshotOrEndForNoIcons(table, services_)) return true;
  // A desktop without icons has said so through the messages already.
  if (!end_.ended) out_.Error(Concat({text::kShellNoAnswer, notDone}));
  return false;
}

bool CommandServices::MovesDone(const MoveOutcome& moved, bool snapshotTaken) {
  // The desktop has lost every icon meanwhile, and the messages have said so.
  if (end_.ended) return false;
  if (!moved.allDelivered) {
    out_.Error(moved.desktopReplaced ? text::kMovesStoppedByRestart : text::kMovesStopped);
    return false;
  }
  if (!snapshotTaken) out_.Error(text::kMovedButNotReadBack);
  return snapshotTaken;
}

}  // namespace norv
