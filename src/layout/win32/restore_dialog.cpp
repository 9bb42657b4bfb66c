#include "layout/win32/restore_dialog.h"

#include "core/win32/wide_text.h"
#include "layout/win32/dialog_control_ids.h"

namespace norv {
namespace {

constexpr DesignSize kPanel{601, 221};
constexpr wchar_t kClassName[] = L"Norv_A2";
constexpr std::array<DesignRect, 5> kHeaderCells{{{12, 12, 97, 21},
                                                  {108, 12, 109, 21},
                                                  {228, 12, 57, 21},
                                                  {284, 12, 57, 21},
                                                  {340, 12, 169, 21}}};
constexpr DesignRect kLayoutList{12, 32, 205, 160};
constexpr DesignRect kRecordList{228, 32, 281, 160};
constexpr DesignRect kSelectedPath{12, 196, 573, 13};
constexpr std::array<int, 3> kButtonTops{32, 144, 172};

void FillList(HWND list, const std::vector<std::u16string>& rows) {
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  SendMessageW(list, LB_INITSTORAGE, rows.size(), rows.size() * 128 * sizeof(wchar_t));
  for (const std::u16string& row : rows) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row)));
  }
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

RestoreDialogWindow::RestoreDialogWindow(HWND owner, AppState& state, Services& services)
    : ModalDialogView(owner, kClassName, kRestoreDialogCaption), dialog_(*this, state, services) {}

void RestoreDialogWindow::Show() {
  if (!hwnd()) return;
  dialog_.Load();
  Run(layoutList_);
}

void RestoreDialogWindow::PrepareWindow() {
  PrepareChrome(kPanel, LoadRestoreIcon);

  layoutList_ = CreateList(kLayoutListId, kLayoutList);
  // The saved-layout list shows the hand pointer over its rows.
  chrome_->ShowHandOver(layoutList_);
  chrome_->AddToolTip(layoutList_, kRestoreListTip);
  recordList_ = CreateList(kRecordListId, kRecordList);

  const HWND panel = chrome_->AddPanel(hwnd(), {0, 0, kPanel.width, kPanel.height});
  // Beneath the lists, which are siblings lying on it.
  SetWindowPos(panel, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  for (size_t i = 0; i < kHeaderCells.size(); ++i) {
    chrome_->AddHeaderCell(panel, kHeaderCells[i], kRestoreHeaderCaptions[i]);
  }
  LabelSpec selectedPath;
  selectedPath.rect = kSelectedPath;
  selectedPath.align = CaptionAlign::kLeft;
  selectedPath_ = chrome_->AddLabel(panel, selectedPath);
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const int top = kButtonTops[i];
    buttons_[i] = chrome_->AddButton(
        panel, {.face = {520, top, 67, 20},
                .label = {520, top + 4, 67, 17},
                .caption = kRestoreButtonCaptions[i],
                .fit = FaceFit::kStretch,
                .command = [this, i] { dialog_.RunCommand(static_cast<int>(i)); },
                .processEventsBeforeCommand = true});
  }
}

HWND RestoreDialogWindow::CreateList(int id, DesignRect rect) {
  // Unsorted: a row's index is the index of its layout or record.
  const HWND list = CreateControl(L"LISTBOX", {.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                                                        WS_VSCROLL | LBS_NOTIFY | LBS_USETABSTOPS,
                                               .exStyle = WS_EX_CLIENTEDGE,
                                               .parent = hwnd(),
                                               .childId = id});
  chrome_->Place(list, rect);
  return list;
}

void RestoreDialogWindow::ShowSavedLayouts(const std::vector<std::u16string>& rows) {
  const INT tabStop = kLayoutListTabStop;
  SendMessageW(layoutList_, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
  FillList(layoutList_, rows);
}

void RestoreDialogWindow::ShowSelectedPath(const std::u16string& path) {
  SetWindowTextW(selectedPath_, Wide(path));
}

void RestoreDialogWindow::ShowRecords(const std::vector<std::u16string>& rows) {
  FillList(recordList_, rows);
}

void RestoreDialogWindow::EnableButton(int button, bool enabled) {
  if (button >= 0 && static_cast<size_t>(button) < buttons_.size()) {
    buttons_[static_cast<size_t>(button)].SetEnabled(enabled);
  }
}

std::optional<LRESULT> RestoreDialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == kLayoutListId && HIWORD(wParam) == LBN_SELCHANGE) {
    const LRESULT row = SendMessageW(layoutList_, LB_GETCURSEL, 0, 0);
    dialog_.SelectionChanged(row == LB_ERR ? std::nullopt
                                           : std::optional<int>(static_cast<int>(row)));
    return 0;
  }
  return std::nullopt;
}

}  // namespace norv
