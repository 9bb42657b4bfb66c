#pragma once

// The look shared by the program's windows: textured panels, image buttons, title plates, header
// cells, check boxes, and layouts given in design pixels that follow the window's DPI.
//
// Typical use, in a window's creation (WM_CREATE or right after CreateWindowExW):
//
//   chrome_ = std::make_unique<ChromeWindow>(hwnd, instance);
//   chrome_->SizeToClientAndCentre({537, 385});
//   HWND back = chrome_->AddPanel(hwnd, {0, 0, 537, 385});
//   ImageButton arrange = chrome_->AddButton(back, {.face = {304, 12, 95, 22},
//       .label = {304, 16, 93, 17}, .caption = u"自動整列", .fit = FaceFit::kNatural,
//       .command = [this] { logic_.OnButtonReleased(Command::kAutoArrange); }});
//   chrome_->Place(list_, {12, 60, 509, 186});
//   ... and in the window procedure: case WM_DPICHANGED: chrome_->OnDpiChanged(wParam, lParam);
//
// Keyboard: button labels and check-box labels are tab stops. Tab, Space and Enter reach them when
// the message loop passes messages through TranslateChromeKeyboard (or IsDialogMessageW) first.
// That also turns Esc into WM_COMMAND IDCANCEL to the top-level window, and means WM_USER + 0 ... 2
// of a chrome window are taken by the dialog manager: use WM_APP for the window's own messages.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "chrome/dpi_scale.h"
#include "chrome/win32/chrome_style.h"
#include "core/geometry.h"
#include "core/win32/scoped_handles.h"

namespace norv {

// How a face or plate picture fills its widget: scaled to the widget's size, or at the picture's
// own size (95 × 22), taking that size whatever the widget was drawn as.
enum class FaceFit { kStretch, kNatural };

enum class CaptionAlign { kLeft, kCentre };

struct ImageButtonSpec {
  DesignRect face{};   // the face picture; takes no mouse input
  DesignRect label{};  // the caption label on it; takes the mouse and the keyboard
  std::u16string caption{};
  FaceFit fit = FaceFit::kStretch;
  CaptionFont font = CaptionFont::kJapanese;
  // Runs on the release that ends a press, after the released face is shown. May close the window.
  std::function<void()> command{};
  // Handle the pending window messages once before the command so the released face is painted
  // first (main window, restore dialog); the save dialog starts its commands at once.
  bool processEventsBeforeCommand = true;
};

// A handle to an image button; copyable, valid while its window exists.
class ImageButton {
 public:
  ImageButton() = default;
  explicit ImageButton(HWND label) : label_(label) {}

  // The caption label: a child window whose text is the caption and whose enabled state is the
  // button's.
  HWND label() const { return label_; }
  // A disabled button shows its caption greyed and ignores mouse and keyboard; its face stays.
  void SetEnabled(bool enabled) const;
  bool enabled() const;

 private:
  HWND label_ = nullptr;
};

struct CheckBoxSpec {
  DesignRect box{};    // the 13 × 13 check picture
  DesignRect label{};  // its caption, left-aligned
  std::u16string caption{};
  bool checked = false;
  // A press on the picture or the caption (any mouse button), or Space/Enter on the focused
  // caption. The owner decides the new state and calls SetChecked.
  std::function<void()> onPress{};
};

class CheckBox {
 public:
  CheckBox() = default;
  CheckBox(HWND box, HWND label) : box_(box), label_(label) {}

  HWND label() const { return label_; }
  void SetChecked(bool checked) const;
  bool checked() const;

 private:
  HWND box_ = nullptr;
  HWND label_ = nullptr;
};

struct LabelSpec {
  DesignRect rect{};
  std::u16string caption{};
  CaptionAlign align = CaptionAlign::kCentre;
  CaptionFont font = CaptionFont::kJapanese;
  COLORREF textColour = CLR_INVALID;     // CLR_INVALID: the system's button text
  std::optional<COLORREF> background{};  // none: transparent over the panel
};

// The chrome of one top-level window. Create it when the window is created and keep it while the
// window lives; the widgets keep what they need themselves, so the order of destruction does not
// matter. Every rectangle is in design pixels (96 DPI) relative to the given parent.
class ChromeWindow {
 public:
  // artModule: the module holding the artwork resources (normally the program's own).
  ChromeWindow(HWND window, HINSTANCE artModule);
  ~ChromeWindow();
  ChromeWindow(const ChromeWindow&) = delete;
  ChromeWindow& operator=(const ChromeWindow&) = delete;

  int dpi() const { return style_->scale().dpi(); }
  const DpiScale& scale() const { return style_->scale(); }
  HFONT font(CaptionFont which = CaptionFont::kJapanese) const { return style_->Font(which); }
  HCURSOR handCursor() const { return style_->hand(); }

  // Sizes the window so its client area is exactly `client` at the window's DPI (frame and caption
  // from the window's own styles) and centres it on the screen. Kept for DPI changes.
  void SizeToClientAndCentre(DesignSize client);

  // A borderless panel covered with the texture, drawn once into a backing bitmap.
  HWND AddPanel(HWND parent, DesignRect rect);
  // An image button whose face and label lie on `panel` (a panel made by AddPanel).
  ImageButton AddButton(HWND panel, const ImageButtonSpec& item);
  // A section title plate on `panel` with its caption (white, centred) on it.
  HWND AddTitlePlate(HWND panel, DesignRect plate, FaceFit fit, const LabelSpec& caption);
  // A column header cell (silver, centred caption, raised edge).
  HWND AddHeaderCell(HWND parent, DesignRect rect, const std::u16string& caption);
  // A label that takes no input: transparent over a panel, or filled with a colour.
  HWND AddLabel(HWND parent, const LabelSpec& item);
  CheckBox AddCheckBox(HWND panel, const CheckBoxSpec& item);
  // Places a control of the window's own (list, text box, preview) and keeps it placed, with the
  // chosen font, across DPI changes. Pass no font for controls that draw their own.
  void Place(HWND control, DesignRect rect,
             std::optional<CaptionFont> font = CaptionFont::kJapanese);
  // Shows the hand pointer over `control`, the one of the current DPI also after a change.
  void ShowHandOver(HWND control);
  // A tooltip that shows `text` while the mouse rests on `control`.
  void AddToolTip(HWND control, const std::u16string& text);

  // From WM_DPICHANGED: rescales every widget, font and picture and resizes the window to fit.
  void OnDpiChanged(WPARAM wParam, LPARAM lParam);

 private:
  struct Placed {
    HWND control;
    DesignRect rect{};
    std::optional<CaptionFont> font;
  };

  SIZE OuterSizeFor(DesignSize client) const;
  void FitClientExactly() const;
  void Remember(HWND control, DesignRect rect, std::optional<CaptionFont> font);
  void ApplyPlacement(const Placed& placed) const;

  HWND window_;
  HINSTANCE artModule_;
  std::shared_ptr<const ChromeStyle> style_;
  std::optional<DesignSize> client_;
  std::vector<Placed> placed_;
};

// Registers the common controls the chrome uses (tooltips); once at start-up, before any window
// is made. False, with a diagnostic line, when it failed: the windows then open without tooltips.
bool InitCommonControlsForChrome();

// Passes a message to the keyboard handling of the chrome window it is for (Tab between labels,
// Space and Enter on them, Esc as IDCANCEL). Returns true when the message was handled and must not
// be translated or dispatched again.
bool TranslateChromeKeyboard(MSG& message);

// The caption animation from the point (x, y) to the window's rectangle, and back into the point.
// They return when the animation has finished.
void AnimateOpen(HWND window, int x, int y);
void AnimateClose(HWND window, int x, int y);
// The cursor position in screen pixels; (0, 0) when it cannot be read.
ScreenPoint CursorAnchor();

// The program icon and the restore dialog's icon at `size` pixels (e.g. GetSystemMetricsForDpi
// of SM_CXICON or SM_CXSMICON); empty when it could not be loaded.
ScopedIcon LoadProgramIcon(HINSTANCE artModule, int size);
ScopedIcon LoadRestoreIcon(HINSTANCE artModule, int size);

}  // namespace norv
