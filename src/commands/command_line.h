#pragma once

#include <string>
#include <vector>

namespace norv {

enum class CommandKind {
  kNone,  // no argument: start resident
  kSave,
  kRestore,
  kList,
  kOpen,
  kHideAll,
  kShowAll,
  kDiagnose,
  kFollowDisplays,
  kDisplays,
  kUndo,
  kUsage,
  kInvalid,
};

struct CommandRequest {
  CommandKind kind = CommandKind::kNone;
  std::u16string name;     // kSave and kRestore
  bool overwrite = false;  // kSave
  bool on = false;         // kFollowDisplays
};

struct ParsedCommandLine {
  CommandRequest request;
  std::u16string error;  // kInvalid: what is wrong, as a line for the user
};

// Whether the command moves icons when it succeeds.
bool MovesIcons(CommandKind kind);

// The program's arguments, without the program's own name, as the system split them. Switch names
// are case-insensitive and may start with "/" or "-"; the layout name is taken as it is.
ParsedCommandLine ParseCommandLine(const std::vector<std::u16string>& arguments);

}  // namespace norv
