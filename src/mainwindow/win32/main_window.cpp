#include "mainwindow/win32/main_window.h"

#include <array>
#include <functional>
#include <memory>
#include <utility>

#include "chrome/win32/chrome_window.h"
#include "chrome/win32/chromed_window.h"
#include "core/app_state.h"
#include "core/win32/platform_services.h"
#include "core/win32/startup_shortcut.h"
#include "core/win32/wide_text.h"
#include "core/win32/window_base.h"
#include "layout/win32/layout_dialogs.h"
#include "mainwindow/main_window.h"
#include "mainwindow/main_window_texts.h"
#include "mainwindow/win32/desktop_item_icon.h"
#include "mainwindow/win32/icon_preview_box.h"
#include "mainwindow/win32/main_window_layout.h"

namespace norv {
namespace {

namespace text = main_window_text;
namespace layout = main_window_layout;

constexpr wchar_t kClassName[] = L"Norv_M";
// Turns the list's drawing back on once a refill's handler has finished (see ClearRows).
constexpr UINT kRowsComplete = WM_APP + 1;
constexpr int kListId = 1;
constexpr UINT_PTR kRetryTimer = 1;

LabelSpec Caption(DesignRect rect, const char16_t* caption) {
  LabelSpec widget;
  widget.rect = rect;
  widget.caption = caption;
  return widget;
}

ImageButtonSpec Button(const DesignRect& face, const DesignRect& label, const char16_t* caption,
                       std::function<void()> command) {
  ImageButtonSpec widget;
  widget.face = face;
  widget.label = label;
  widget.caption = caption;
  widget.command = std::move(command);
  return widget;
}

}  // namespace

class Win32MainWindow : public ChromedWindow, public MainWindowView {
 public:
  Win32MainWindow(MainWindowSlot& slot, ScreenPoint openedFrom)
      : slot_(slot),
        instance_(slot.instance_),
        icon_(slot.programIcon_),
        state_(slot.state_),
        openedFrom_(openedFrom),
        ownServices_(WithMessages(slot.services_, messages_)),
        logic_(state_, ownServices_, *this) {}

  bool open() const { return logic_.open(); }
  void ShowOutsideChange() { logic_.ShowOutsideChange(); }

  bool Open();

  // IconListSink. The list stops drawing for a refill and draws once when the handler that
  // refilled it has returned, so hundreds of rows neither repaint one by one nor flicker.
  void ClearRows() override {
    if (!rowsPending_ && PostMessageW(hwnd(), kRowsComplete, 0, 0)) {
      rowsPending_ = true;
      SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    }
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
  }
  void AppendRow(const std::u16string& row) override {
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(row)));
  }

  // MainWindowView
  int SelectedRow() override { return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)); }
  void SelectRow(int row) override { SendMessageW(list_, LB_SETCURSEL, row, 0); }
  int TopRow() override { return static_cast<int>(SendMessageW(list_, LB_GETTOPINDEX, 0, 0)); }
  void SetTopRow(int row) override { SendMessageW(list_, LB_SETTOPINDEX, row, 0); }
  void SetButtonEnabled(Command button, bool enabled) override {
    buttons_[static_cast<size_t>(button)].SetEnabled(enabled);
  }
  // The image index names a picture of the shell's image list, which is not ours to draw from;
  // the item is found again by its name instead.
  bool DrawIconPreview(std::u16string_view iconText, int32_t) override {
    RECT box;
    GetClientRect(preview_, &box);
    ScopedIcon icon = LoadDesktopItemIcon(iconText, box.right);
    const bool found = icon != nullptr;
    if (!found) icon = LoadNeutralIcon(box.right);
    SetPreviewIcon(preview_, std::move(icon));
    UpdateWindow(preview_);
    return found;
  }
  void ClearIconPreview() override { SetPreviewIcon(preview_, nullptr); }
  void SetOptionChecked(int option, bool checked) override {
    options_[static_cast<size_t>(option)].SetChecked(checked);
  }
  void RunSaveDialog(SaveDialogCaller& caller) override { slot_.dialogs_.RunSave(hwnd(), caller); }
  void RunRestoreDialog() override { slot_.dialogs_.RunRestore(hwnd()); }
  void UnloadDialogs() override { slot_.dialogs_.UnloadOpenDialog(); }
  void AnimateOpen() override { ::norv::AnimateOpen(hwnd(), openedFrom_.x, openedFrom_.y); }
  void AnimateClose() override { ::norv::AnimateClose(hwnd(), openedFrom_.x, openedFrom_.y); }
  void DestroyView() override {
    if (destroying_) return;
    destroying_ = true;
    ::DestroyWindow(hwnd());
  }
  void StartRetryTimer(int milliseconds) override {
    SetTimer(hwnd(), kRetryTimer, static_cast<UINT>(milliseconds), nullptr);
  }
  void StopRetryTimer() override {
    if (hwnd()) KillTimer(hwnd(), kRetryTimer);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void BuildWidgets();
  void CreateList();
  void CreatePreview(HWND group);

  MainWindowSlot& slot_;
  HINSTANCE instance_;
  HICON icon_;
  AppState& state_;
  // The point of the tray menu's settings entry: the window zooms out of it and back into it.
  ScreenPoint openedFrom_;
  // The behaviour's messages belong to the main window, so they are modal to it.
  MessageBoxMessages messages_;
  Services ownServices_;
  MainWindow logic_;

  HWND list_ = nullptr;
  HWND preview_ = nullptr;
  std::array<ImageButton, kCommandCount> buttons_;
  std::array<CheckBox, 2> options_;
  bool rowsPending_ = false;
  bool destroying_ = false;
};

bool Win32MainWindow::Open() {
  // No class background: the background panel fills the client area.
  const WindowClass windowClass{
      .name = kClassName, .cursor = LoadCursorW(nullptr, IDC_ARROW), .instance = instance_};
  if (!Create(windowClass,
              {.text = Wide(text::kCaption),
               .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
               .x = CW_USEDEFAULT,
               .y = CW_USEDEFAULT,
               .width = layout::kClient.width,
               .height = layout::kClient.height})) {
    return false;
  }
  const HWND window = hwnd();
  messages_.SetOwner(window);
  if (icon_) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  }
  BuildWidgets();
  logic_.Load();
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  SetForegroundWindow(window);
  return true;
}

void Win32MainWindow::BuildWidgets() {
  MakeChrome(instance_, layout::kClient);
  HWND background = chrome_->AddPanel(hwnd(), layout::kBackground);

  chrome_->AddTitlePlate(background, layout::kIconsPlate, FaceFit::kStretch,
                         Caption(layout::kIconsCaption, text::kIconsSection));
  const std::array<const char16_t*, 3> sections{text::kSelectedSection, text::kAllSection,
                                                text::kLayoutSection};
  for (size_t i = 0; i < sections.size(); ++i) {
    chrome_->AddTitlePlate(background, layout::kSectionPlates[i].plate, FaceFit::kNatural,
                           Caption(layout::kSectionPlates[i].caption, sections[i]));
  }

  std::array<HWND, layout::kGroupPanels.size()> groups{};
  for (size_t i = 0; i < groups.size(); ++i) {
    groups[i] = chrome_->AddPanel(background, layout::kGroupPanels[i]);
  }
  CreatePreview(groups[0]);

  for (size_t i = 0; i < buttons_.size(); ++i) {
    const layout::ButtonPlace& place = layout::kButtons[i];
    const auto command = static_cast<Command>(i);
    const bool defaultFont = command == Command::kHideSelected ||
                             command == Command::kShowSelected || command == Command::kSave ||
                             command == Command::kRestore;
    ImageButtonSpec widget = Button(place.face, place.label, text::kButtons[i], [this, command] {
      logic_.OnButtonReleased(command);
      if (slot_.afterCommand_) slot_.afterCommand_();
    });
    widget.fit = command == Command::kAutoArrange ? FaceFit::kNatural : FaceFit::kStretch;
    widget.font = defaultFont ? CaptionFont::kWindowDefault : CaptionFont::kJapanese;
    buttons_[i] = chrome_->AddButton(
        place.panel < 0 ? background : groups[static_cast<size_t>(place.panel)], widget);
  }
  // Whether the shortcut could be written is not shown; pressing again simply tries again.
  chrome_->AddButton(background, Button(layout::kStartUpFace, layout::kStartUpLabel, text::kStartUp,
                                        [this] { RegisterStartupShortcut(state_.appDirectory); }));

  for (size_t i = 0; i < options_.size(); ++i) {
    const int option = static_cast<int>(i);
    CheckBoxSpec widget;
    widget.box = layout::kOptions[i].box;
    widget.label = layout::kOptions[i].label;
    widget.caption = text::kOptions[i];
    widget.onPress = [this, option] { logic_.ToggleOption(option); };
    options_[i] = chrome_->AddCheckBox(background, widget);
  }

  // The list is a child of the window itself, so its notifications reach this window; the
  // header cells lie over it, covering its top pixel, and the background under both.
  CreateList();
  std::array<HWND, layout::kHeaderCells.size()> cells{};
  for (size_t i = 0; i < cells.size(); ++i) {
    cells[i] = chrome_->AddHeaderCell(hwnd(), layout::kHeaderCells[i], text::kHeaders[i]);
  }
  constexpr UINT kZOrderOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  SetWindowLongPtrW(background, GWL_STYLE,
                    GetWindowLongPtrW(background, GWL_STYLE) | WS_CLIPSIBLINGS);
  SetWindowPos(background, HWND_BOTTOM, 0, 0, 0, 0, kZOrderOnly);
  for (HWND cell : cells) SetWindowPos(cell, HWND_TOP, 0, 0, 0, 0, kZOrderOnly);
}

void Win32MainWindow::CreateList() {
  // Unsorted (a row's index is the icon's index), default tab stops, exactly its design height.
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS |
                      LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
  list_ = CreateControl(
      L"LISTBOX",
      {.style = style, .exStyle = WS_EX_CLIENTEDGE, .parent = hwnd(), .childId = kListId});
  if (!list_) return;
  chrome_->Place(list_, layout::kList);
  chrome_->ShowHandOver(list_);
  chrome_->AddToolTip(list_, text::kListToolTip);
}

void Win32MainWindow::CreatePreview(HWND group) {
  LabelSpec white = Caption(layout::kPreviewField, u"");
  white.background = RGB(255, 255, 255);
  HWND field = chrome_->AddLabel(group, white);
  // The white field must not paint over the preview that lies on it.
  if (field) {
    SetWindowLongPtrW(field, GWL_STYLE, GetWindowLongPtrW(field, GWL_STYLE) | WS_CLIPSIBLINGS);
  }
  preview_ = CreateIconPreviewBox(group);
  if (!preview_) return;
  chrome_->Place(preview_, layout::kPreview, std::nullopt);
  SetWindowPos(preview_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

LRESULT Win32MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Arrow keys and clicks alike; a selection made by the program itself sends no notification.
      if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_SELCHANGE) {
        logic_.OnRowSelected();
        return 0;
      }
      break;
    case WM_TIMER:
      if (wParam == kRetryTimer) {
        logic_.OnRetryTimer();
        return 0;
      }
      break;
    case kRowsComplete:
      rowsPending_ = false;
      SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(list_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
      return 0;
    case WM_CLOSE:
      // The close box unloads like "ﾀｽｸﾄﾚｲへ" but without its guard and animation.
      logic_.Unload();
      return 0;
    case WM_DESTROY:
      // Destroyed from outside (the program ending): the unload handling still runs.
      destroying_ = true;
      logic_.Unload();
      return 0;
    case WM_NCDESTROY:
      slot_.Retire(*this);
      break;
  }
  return ChromedWindow::HandleMessage(message, wParam, lParam);
}

MainWindowSlot::MainWindowSlot(HINSTANCE instance, HICON programIcon, AppState& state,
                               Services& services, LayoutDialogs& dialogs)
    : instance_(instance),
      programIcon_(programIcon),
      state_(state),
      services_(services),
      dialogs_(dialogs) {}

MainWindowSlot::~MainWindowSlot() {
  // Freed from outside loaded_, so the window's retirement on its way out has nothing to move.
  const std::unique_ptr<Win32MainWindow> last = std::move(loaded_);
}

void MainWindowSlot::Open(ScreenPoint from) {
  if (loaded_) {
    SetForegroundWindow(loaded_->hwnd());
    return;
  }
  retired_.reset();
  loaded_ = std::make_unique<DestroysWindowFirst<Win32MainWindow>>(*this, from);
  if (!loaded_->Open()) loaded_.reset();
}

// A window destroyed from outside while its unload still waits on a message is open until that
// unload ends, retired or not.
bool MainWindowSlot::IsOpen() const {
  return (loaded_ && loaded_->open()) || (retired_ && retired_->open());
}

HWND MainWindowSlot::hwnd() const { return loaded_ ? loaded_->hwnd() : nullptr; }

void MainWindowSlot::ShowOutsideChange() {
  if (loaded_ && loaded_->open()) loaded_->ShowOutsideChange();
}

void MainWindowSlot::Retire(const Win32MainWindow& window) {
  if (loaded_.get() == &window) retired_ = std::move(loaded_);
}

}  // namespace norv
