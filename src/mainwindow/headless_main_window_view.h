#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mainwindow/main_window_view.h"

namespace norv {

// The main window's behaviour without a window: rows and selection kept in memory, everything
// else a no-op. What the main window's buttons do can be done with it while the window is closed.
class HeadlessMainWindowView : public MainWindowView {
 public:
  void ClearRows() override {
    rows_.clear();
    selected_ = -1;
  }
  void AppendRow(const std::u16string& row) override { rows_.push_back(row); }
  int SelectedRow() override { return selected_; }
  void SelectRow(int row) override {
    selected_ = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
  }
  int TopRow() override { return 0; }
  void SetTopRow(int) override {}
  void SetButtonEnabled(Command, bool) override {}
  bool DrawIconPreview(std::u16string_view, int32_t) override { return true; }
  void ClearIconPreview() override {}
  void SetOptionChecked(int, bool) override {}
  void RunSaveDialog(SaveDialogCaller&) override {}
  void RunRestoreDialog() override {}
  void UnloadDialogs() override {}
  void AnimateOpen() override {}
  void AnimateClose() override {}
  void DestroyView() override {}
  void StartRetryTimer(int) override {}
  void StopRetryTimer() override {}

 private:
  std::vector<std::u16string> rows_;
  int selected_ = -1;
};

}  // namespace norv
