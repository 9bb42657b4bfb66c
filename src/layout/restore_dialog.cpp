#include "layout/restore_dialog.h"

#include "core/file_system.h"
#include "core/icon_table.h"
#include "core/settings.h"
#include "core/user_messages.h"
#include "layout/layout_file.h"
#include "layout/layout_record_row.h"
#include "layout/saved_layouts.h"

namespace norv {

std::u16string SavedLayoutRow(FileSystem& files, const std::u16string& path) {
  // A date that cannot be read leaves the column empty but keeps the row, so rows and paths
  // stay paired.
  return LayoutName(path) + u"\t" + LayoutDateText(files.LastWriteText(path).value_or(u""));
}

std::vector<std::u16string> ShowLayoutRecords(FileSystem& files, const std::u16string& path,
                                              DesktopRect desktop) {
  std::vector<std::u16string> rows;
  for (const LayoutRecord& record : ReadLayoutFile(files, path)) {
    rows.push_back(LayoutRecordRow(record, desktop));
  }
  return rows;
}

RestoreDialog::RestoreDialog(RestoreDialogView& view, AppState& state, Services& services)
    : view_(view), state_(state), services_(services) {}

void RestoreDialog::Load() {
  view_.PrepareWindow();
  paths_ = CollectSavedLayouts(services_.files, state_.appDirectory);
  if (paths_.size() > 1) SortSavedLayouts(paths_);
  std::vector<std::u16string> rows;
  rows.reserve(paths_.size());
  for (const std::u16string& path : paths_) rows.push_back(SavedLayoutRow(services_.files, path));
  view_.ShowSavedLayouts(rows);
  view_.EnableButton(kDeleteButton, false);
  view_.EnableButton(kRestoreButton, false);
  anchor_ = view_.CursorPosition().value_or(ScreenPoint{});
  view_.AnimateOpen(anchor_);
}

void RestoreDialog::SelectionChanged(std::optional<int> row) {
  if (!row || *row < 0 || static_cast<size_t>(*row) >= paths_.size()) return;
  selected_ = static_cast<size_t>(*row);
  const std::u16string& path = paths_[*selected_];
  view_.ShowSelectedPath(path);
  view_.EnableButton(kDeleteButton, true);
  view_.EnableButton(kRestoreButton, true);
  view_.ShowRecords(ShowLayoutRecords(services_.files, path, state_.table.Desktop()));
}

void RestoreDialog::RunCommand(int button) {
  if (closed_) return;
  const std::optional<std::u16string> path = SelectedPath();
  switch (button) {
    case kDeleteButton:
      if (!path) return;
      // Deleting is not asked about; but a file that stays (read-only, in use) must not look
      // deleted when the dialog closes as usual.
      if (!services_.files.Delete(*path) && services_.files.Attributes(*path)) {
        services_.messages.Show(kDeleteFailedMessage, MessageStyle::kExclamation, kMessageTitle);
      }
      Close();
      break;
    case kRestoreButton:
      if (!path) return;
      ApplyLayoutFile(state_.table, services_, *path);
      Close();
      break;
    case kRestoreCancelButton:
      Close();
      break;
    default:
      break;
  }
}

void RestoreDialog::Close() {
  if (closed_) return;
  closed_ = true;
  view_.AnimateClose(anchor_);
  view_.Unload();
}

std::optional<std::u16string> RestoreDialog::SelectedPath() const {
  if (!selected_) return std::nullopt;
  return paths_[*selected_];
}

}  // namespace norv
