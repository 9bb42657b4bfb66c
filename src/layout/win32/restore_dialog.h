#pragma once

#include <windows.h>

#include <array>

#include "core/app_state.h"
#include "layout/restore_dialog.h"
#include "layout/win32/modal_dialog_window.h"

namespace norv {

// The restore dialog's window: saved layouts on the left, the selected one's records on the
// right, the selected path below and three image buttons.
class RestoreDialogWindow : public ModalDialogView<RestoreDialogView> {
 public:
  RestoreDialogWindow(HWND owner, AppState& state, Services& services);

  void Show();
  void RequestClose() override { dialog_.Close(); }

  void PrepareWindow() override;
  void ShowSavedLayouts(const std::vector<std::u16string>& rows) override;
  void ShowSelectedPath(const std::u16string& path) override;
  void ShowRecords(const std::vector<std::u16string>& rows) override;
  void EnableButton(int button, bool enabled) override;

 private:
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  HWND CreateList(int id, DesignRect rect);

  RestoreDialog dialog_;
  HWND layoutList_ = nullptr;
  HWND recordList_ = nullptr;
  HWND selectedPath_ = nullptr;
  std::array<ImageButton, 3> buttons_;
};

}  // namespace norv
