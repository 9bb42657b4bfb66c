#include "layout/win32/save_dialog.h"

#include "layout/win32/dialog_control_ids.h"

namespace norv {
namespace {

constexpr DesignSize kPanel{313, 73};
constexpr DesignRect kNameBox{12, 12, 177, 19};
constexpr wchar_t kClassName[] = L"Norv_A1";

}  // namespace

SaveDialogWindow::SaveDialogWindow(HWND owner, AppState& state, Services& services,
                                   SaveDialogCaller& caller)
    : ModalDialogView(owner, kClassName, kSaveDialogCaption),
      dialog_(*this, state, services, caller) {}

void SaveDialogWindow::Show() {
  if (!hwnd()) return;
  dialog_.Load();
  Run(nameBox_);
}

void SaveDialogWindow::PrepareWindow() {
  PrepareChrome(kPanel, LoadProgramIcon);

  // The name box is created first so that it comes first in the tab order.
  nameBox_ = CreateControl(L"EDIT", {.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                     .exStyle = WS_EX_CLIENTEDGE,
                                     .parent = hwnd(),
                                     .childId = kNameBoxId});
  SendMessageW(nameBox_, EM_SETLIMITTEXT, 0, 0);  // no limit of its own
  chrome_->Place(nameBox_, kNameBox);

  const HWND panel = chrome_->AddPanel(hwnd(), {0, 0, kPanel.width, kPanel.height});
  // Beneath the name box, which is a sibling lying on it.
  SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  chrome_->AddButton(panel, {.face = {204, 12, 95, 20},
                             .label = {204, 16, 93, 17},
                             .caption = kSaveButtonCaption,
                             .fit = FaceFit::kNatural,
                             .command = [this] { dialog_.RunCommand(kSaveButton); },
                             .processEventsBeforeCommand = false});
  chrome_->AddButton(panel, {.face = {204, 40, 95, 20},
                             .label = {204, 44, 93, 17},
                             .caption = kSaveCancelCaption,
                             .fit = FaceFit::kNatural,
                             .command = [this] { dialog_.RunCommand(kSaveCancelButton); },
                             .processEventsBeforeCommand = false});
}

std::u16string SaveDialogWindow::TypedName() {
  if (!nameBox_) return {};
  const int length = GetWindowTextLengthW(nameBox_);
  std::u16string name(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(nameBox_, reinterpret_cast<wchar_t*>(name.data()), length + 1);
  name.resize(static_cast<size_t>(copied));
  return name;
}

bool SaveDialogWindow::OnEnter(HWND target) {
  if (target != nameBox_) return false;
  dialog_.SaveLayout();
  return true;
}

}  // namespace norv
