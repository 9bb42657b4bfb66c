#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/main_window_view.h"

namespace norv::test {

// A main window without a window: it keeps what a list box, buttons and pictures would show, and
// logs every call in order so the tests can check step orders.
class RecordingView : public MainWindowView {
 public:
  std::vector<std::u16string> rows;
  int selected = -1;
  int top = 0;
  std::array<bool, kCommandCount> enabled{true, true, true, true, true, true, true, true};
  // The text of the icon in the preview; nullopt when it is white.
  std::optional<std::u16string> preview;
  std::array<std::optional<bool>, 2> optionChecked;  // nullopt: the picture as designed
  bool destroyed = false;
  std::optional<int> retryTimer;  // its period while it runs
  std::vector<std::string> log;

  // What the modal dialogs do while they are open.
  std::function<void(SaveDialogCaller&)> saveDialog;
  std::function<void()> restoreDialog;

  bool Enabled(Command button) const { return enabled[static_cast<size_t>(button)]; }
  // Log entries from the first one that starts with `prefix`.
  std::vector<std::string> LogFrom(const std::string& prefix) const;

  void ClearRows() override;
  void AppendRow(const std::u16string& row) override;
  int SelectedRow() override { return selected; }
  void SelectRow(int row) override;
  int TopRow() override { return top; }
  void SetTopRow(int row) override;
  void SetButtonEnabled(Command button, bool on) override;
  bool DrawIconPreview(std::u16string_view iconText, int32_t imageIndex) override;
  void ClearIconPreview() override;
  void SetOptionChecked(int option, bool checked) override;
  void RunSaveDialog(SaveDialogCaller& caller) override;
  void RunRestoreDialog() override;
  void UnloadDialogs() override { log.push_back("unload dialogs"); }
  void AnimateOpen() override { log.push_back("animate open"); }
  void AnimateClose() override { log.push_back("animate close"); }
  void DestroyView() override;
  void StartRetryTimer(int milliseconds) override { retryTimer = milliseconds; }
  void StopRetryTimer() override { retryTimer.reset(); }
};

}  // namespace norv::test
