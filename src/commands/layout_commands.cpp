#include "commands/layout_commands.h"

#include <optional>
#include <string>
#include <vector>

#include "commands/command_output.h"
#include "commands/command_services.h"
#include "commands/command_texts.h"
#include "core/app_state.h"
#include "core/file_system.h"
#include "core/icon_moves.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "layout/layout_file.h"
#include "layout/layout_name_check.h"
#include "layout/restore_dialog.h"
#include "layout/saved_layouts.h"

namespace norv {
namespace {

namespace text = command_text;

std::u16string Quoted(std::u16string_view name, std::u16string_view rest) {
  return Concat({u"「", PrintableText(name), rest});
}

bool SameFileName(std::u16string_view a, std::u16string_view b) {
  // File names are compared as Windows does, without regard to (ASCII) case.
  const auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

// Among the layouts the restore dialog lists, the one that `name` means; prints why not.
std::optional<std::u16string> FindSavedLayout(const AppState& state, FileSystem& files,
                                              std::u16string_view name, CommandOutput& out) {
  std::vector<std::u16string> paths = CollectSavedLayouts(files, state.appDirectory);
  SortSavedLayouts(paths);
  const std::u16string exact = LayoutPath(state.appDirectory, name);
  std::vector<std::u16string> shownAlike;
  for (const std::u16string& path : paths) {
    if (SameFileName(path, exact)) return path;
    if (LayoutName(path) == name) shownAlike.push_back(path);
  }
  if (shownAlike.size() == 1) return shownAlike.front();
  if (shownAlike.empty()) {
    out.Error(Quoted(name, text::kNotSaved));
    return std::nullopt;
  }
  std::u16string names;
  for (const std::u16string& path : shownAlike) {
    const std::u16string fileName = path.substr(path.find_last_of(u'\\') + 1);
    if (!names.empty()) names += u"、";
    names += fileName.substr(0, fileName.size() - 4);  // without ".ppx"
  }
  out.Error(Concat({u"「", PrintableText(name), text::kSeveralSaved, names}));
  return std::nullopt;
}

}  // namespace

bool LayoutNameRefused(std::u16string_view appDirectory, std::u16string_view name,
                       CommandOutput& out) {
  if (name.empty()) {
    out.Error(text::kEmptyName);
    return true;
  }
  if (const auto refusal = RefuseLayoutName(appDirectory, name)) {
    out.Error(Concat({text::kNameRefused, OneLine(*refusal)}));
    return true;
  }
  return false;
}

ExitCode SaveLayoutCommand(AppState& state, CommandServices& command, std::u16string_view name,
                           bool overwrite) {
  CommandOutput& out = command.out();
  Services& services = command.services();
  if (LayoutNameRefused(state.appDirectory, name, out)) return ExitCode::kLayoutRefused;
  const std::u16string path = LayoutPath(state.appDirectory, name);
  const std::optional<uint32_t> attributes = services.files.Attributes(path);
  const bool existed = attributes && !(*attributes & kAttrDirectory);
  if (existed && !overwrite) {
    out.Error(Quoted(name, text::kAlreadySaved));
    return ExitCode::kLayoutRefused;
  }
  if (!command.Snapshot(state.table, existed ? text::kNotSavedKept : text::kNotSavedHere)) {
    return ExitCode::kDesktopUnreadable;
  }
  if (!WriteLayoutFile(services.files, path, state.table)) {
    out.Error(Quoted(name, existed ? text::kNotWrittenKept : text::kNotWritten));
    return ExitCode::kLayoutRefused;
  }
  out.Out(Quoted(name, text::kSaved));
  return ExitCode::kDone;
}

ExitCode RestoreLayoutCommand(AppState& state, CommandServices& command, std::u16string_view name) {
  CommandOutput& out = command.out();
  Services& services = command.services();
  if (LayoutNameRefused(state.appDirectory, name, out)) return ExitCode::kLayoutRefused;
  const std::optional<std::u16string> path = FindSavedLayout(state, services.files, name, out);
  if (!path) return ExitCode::kLayoutRefused;
  // Records are matched to the icons of the table by text, then moved by index, and the moves
  // plan again only on a desktop the shell replaced: the table must show the desktop as it is now,
  // or a record would move whichever icon took its index since.
  if (!command.Snapshot(state.table, text::kNothingMoved)) return ExitCode::kDesktopUnreadable;
  // Then as after the dialog's "復帰": its caller takes the snapshot.
  const MoveOutcome moved = ApplyLayoutFile(state.table, services, *path);
  if (!command.MovesDone(moved, SnapshotDesktop(state.table, services))) {
    return ExitCode::kDesktopUnreadable;
  }
  out.Out(Quoted(name, text::kRestored));
  return ExitCode::kDone;
}

ExitCode ListLayoutsCommand(AppState& state, CommandServices& command) {
  FileSystem& files = command.services().files;
  std::vector<std::u16string> paths = CollectSavedLayouts(files, state.appDirectory);
  SortSavedLayouts(paths);
  for (const std::u16string& path : paths) command.out().Out(SavedLayoutRow(files, path));
  return ExitCode::kDone;
}

}  // namespace norv
