#include "recording_view.h"

#include <algorithm>

#include "support/fake_services.h"

namespace norv::test {

std::vector<std::string> RecordingView::LogFrom(const std::string& prefix) const {
  const auto first = std::find_if(log.begin(), log.end(), [&](const std::string& entry) {
    return entry.rfind(prefix, 0) == 0;
  });
  return {first, log.end()};
}

void RecordingView::ClearRows() {
  // As a list box: clearing drops the selection and scrolls to the top.
  rows.clear();
  selected = -1;
  top = 0;
  log.push_back("clear rows");
}

void RecordingView::AppendRow(const std::u16string& row) { rows.push_back(row); }

void RecordingView::SelectRow(int row) {
  // A row that does not exist leaves no selection.
  selected = (row >= 0 && row < static_cast<int>(rows.size())) ? row : -1;
  log.push_back("select " + std::to_string(row));
}

void RecordingView::SetTopRow(int row) {
  top = std::clamp(row, 0, std::max(0, static_cast<int>(rows.size()) - 1));
  log.push_back("top " + std::to_string(row));
}

void RecordingView::SetButtonEnabled(Command button, bool on) {
  enabled[static_cast<size_t>(button)] = on;
  log.push_back((on ? "enable " : "disable ") + std::to_string(static_cast<int>(button)));
}

bool RecordingView::DrawIconPreview(std::u16string_view iconText, int32_t imageIndex) {
  preview = std::u16string(iconText);
  log.push_back("preview " + Utf8(iconText) + " " + std::to_string(imageIndex));
  return true;
}

void RecordingView::ClearIconPreview() {
  preview.reset();
  log.push_back("clear preview");
}

void RecordingView::SetOptionChecked(int option, bool checked) {
  optionChecked[static_cast<size_t>(option)] = checked;
  log.push_back("option " + std::to_string(option) + (checked ? " checked" : " unchecked"));
}

void RecordingView::RunSaveDialog(SaveDialogCaller& caller) {
  log.push_back("save dialog");
  if (saveDialog) saveDialog(caller);
}

void RecordingView::RunRestoreDialog() {
  log.push_back("restore dialog");
  if (restoreDialog) restoreDialog();
}

void RecordingView::DestroyView() {
  destroyed = true;
  log.push_back("destroy");
}

}  // namespace norv::test
