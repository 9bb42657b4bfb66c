#include "layout/save_dialog.h"

#include "core/icon_table.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "layout/layout_file.h"
#include "layout/layout_name_check.h"

namespace norv {

SaveDialog::SaveDialog(SaveDialogView& view, AppState& state, Services& services,
                       SaveDialogCaller& caller)
    : view_(view), state_(state), services_(services), caller_(caller) {}

void SaveDialog::Load() {
  view_.PrepareWindow();
  anchor_ = view_.CursorPosition().value_or(ScreenPoint{});
  view_.AnimateOpen(anchor_);
}

void SaveDialog::RunCommand(int button) {
  if (button == kSaveButton) {
    SaveLayout();
  } else if (button == kSaveCancelButton) {
    Close();
  }
}

bool SaveDialog::SaveLayout() {
  if (closed_) return false;
  const std::u16string name = view_.TypedName();
  if (name.empty()) {
    Refuse(kEmptyNameMessage);
    return false;
  }
  // Checked before anything touches the path: a device name or a separator must never reach
  // the file system.
  if (const auto refusal = RefuseLayoutName(state_.appDirectory, name)) {
    Refuse(*refusal);
    return false;
  }
  const std::u16string path = LayoutPath(state_.appDirectory, name);
  const bool existed = FileExists(services_.files, path);
  if (existed && services_.messages.Show(kOverwriteQuestion, MessageStyle::kYesNoQuestion,
                                         kMessageTitle) != MessageAnswer::kYes) {
    return false;
  }
  // The old file stays in place until the new one replaces it in one step, so a failed write
  // loses nothing.
  caller_.SnapshotStarting();
  if (!SnapshotOrEndForNoIcons(state_.table, services_)) {
    caller_.SnapshotTaken();
    Refuse(kSnapshotFailedMessage);
    return false;
  }
  const bool written = WriteLayoutFile(services_.files, path, state_.table);
  // The caller's rows come from the very snapshot that was written.
  caller_.SnapshotTaken();
  if (!written) {
    Refuse(existed ? kSaveFailedKeptMessage : kSaveFailedMessage);
    return false;
  }
  Close();
  return true;
}

void SaveDialog::Close() {
  if (closed_) return;
  closed_ = true;
  view_.AnimateClose(anchor_);
  view_.Unload();
}

void SaveDialog::Refuse(std::u16string_view message) {
  services_.messages.Show(std::u16string(message), MessageStyle::kExclamation, kMessageTitle);
}

}  // namespace norv
