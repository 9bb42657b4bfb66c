#include "chrome/win32/chrome_window.h"

#include <commctrl.h>

#include "chrome/win32/button_label.h"
#include "chrome/win32/check_picture.h"
#include "chrome/win32/chrome_resources.h"
#include "chrome/win32/header_cell.h"
#include "chrome/win32/label.h"
#include "chrome/win32/panel.h"
#include "core/win32/diagnostics.h"
#include "core/win32/window_base.h"

namespace norv {

namespace {

// Marks top-level windows whose keyboard handling TranslateChromeKeyboard provides.
constexpr wchar_t kChromeProperty[] = L"NorvChromeWindow";

constexpr COLORREF kPlateCaptionColour = RGB(255, 255, 255);

int WindowDpi(HWND window) {
  const UINT dpi = window ? GetDpiForWindow(window) : 0;
  return dpi ? static_cast<int>(dpi) : kDesignDpi;
}

widgets::LabelOptions ToOptions(const LabelSpec& item) {
  return {item.caption, item.align, item.font, item.textColour, item.background};
}

}  // namespace

void ImageButton::SetEnabled(bool enabled) const {
  if (label_) EnableWindow(label_, enabled ? TRUE : FALSE);
}

bool ImageButton::enabled() const { return label_ && IsWindowEnabled(label_); }

void CheckBox::SetChecked(bool checked) const { widgets::SetCheckPicture(box_, checked); }

bool CheckBox::checked() const { return widgets::CheckPictureChecked(box_); }

ChromeWindow::ChromeWindow(HWND window, HINSTANCE artModule)
    : window_(window),
      artModule_(artModule),
      style_(ChromeStyle::Load(artModule, WindowDpi(window))) {
  SetPropW(window_, kChromeProperty, reinterpret_cast<HANDLE>(1));
}

ChromeWindow::~ChromeWindow() {
  if (IsWindow(window_)) RemovePropW(window_, kChromeProperty);
}

void ChromeWindow::SizeToClientAndCentre(DesignSize client) {
  client_ = client;
  const SIZE outer = OuterSizeFor(client);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& screen = monitor.rcMonitor;
  const int left = screen.left + (screen.right - screen.left - outer.cx) / 2;
  const int top = screen.top + (screen.bottom - screen.top - outer.cy) / 2;
  SetWindowPos(window_, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  FitClientExactly();
}

SIZE ChromeWindow::OuterSizeFor(DesignSize client) const {
  const DesignSize size = scale().Size(client);
  RECT outer{0, 0, size.width, size.height};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&outer, style, GetMenu(window_) != nullptr, exStyle,
                           static_cast<UINT>(dpi()));
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void ChromeWindow::FitClientExactly() const {
  // The frame the system really draws can differ from the computed one (a frame that does not
  // follow the DPI, a wrapped menu bar); measure and correct so the panel fills the client area.
  if (!client_) return;
  const DesignSize wanted = scale().Size(*client_);
  RECT client;
  RECT outer;
  if (!GetClientRect(window_, &client) || !GetWindowRect(window_, &outer)) return;
  const int dx = wanted.width - client.right;
  const int dy = wanted.height - client.bottom;
  if (dx == 0 && dy == 0) return;
  SetWindowPos(window_, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void ChromeWindow::Remember(HWND control, DesignRect rect, std::optional<CaptionFont> font) {
  if (control) placed_.push_back({control, rect, font});
}

HWND ChromeWindow::AddPanel(HWND parent, DesignRect rect) {
  HWND panel = widgets::CreatePanel(parent, style_, rect);
  Remember(panel, rect, std::nullopt);
  return panel;
}

ImageButton ChromeWindow::AddButton(HWND panel, const ImageButtonSpec& item) {
  const int face =
      widgets::AddPanelPicture(panel, widgets::PictureKind::kFaceReleased, item.face, item.fit);
  widgets::LabelOptions options{item.caption, CaptionAlign::kCentre, item.font, CLR_INVALID,
                                std::nullopt};
  HWND label = widgets::CreateButtonLabel(panel, style_, item.label, options, face, item.command,
                                          item.processEventsBeforeCommand);
  Remember(label, item.label, std::nullopt);
  return ImageButton(label);
}

HWND ChromeWindow::AddTitlePlate(HWND panel, DesignRect plate, FaceFit fit,
                                 const LabelSpec& caption) {
  widgets::AddPanelPicture(panel, widgets::PictureKind::kTitlePlate, plate, fit);
  LabelSpec item = caption;
  if (item.textColour == CLR_INVALID) item.textColour = kPlateCaptionColour;
  return AddLabel(panel, item);
}

HWND ChromeWindow::AddHeaderCell(HWND parent, DesignRect rect, const std::u16string& caption) {
  HWND cell = widgets::CreateHeaderCell(parent, style_, rect, caption);
  Remember(cell, rect, std::nullopt);
  return cell;
}

HWND ChromeWindow::AddLabel(HWND parent, const LabelSpec& item) {
  HWND label = widgets::CreatePlainLabel(parent, style_, item.rect, ToOptions(item));
  Remember(label, item.rect, std::nullopt);
  return label;
}

CheckBox ChromeWindow::AddCheckBox(HWND panel, const CheckBoxSpec& item) {
  HWND box = widgets::CreateCheckPicture(panel, style_, item.box, item.checked, item.onPress);
  widgets::LabelOptions options{item.caption, CaptionAlign::kLeft, CaptionFont::kJapanese,
                                CLR_INVALID, std::nullopt};
  HWND label = widgets::CreateCheckLabel(panel, style_, item.label, options, item.onPress);
  Remember(box, item.box, std::nullopt);
  Remember(label, item.label, std::nullopt);
  return CheckBox(box, label);
}

void ChromeWindow::Place(HWND control, DesignRect rect, std::optional<CaptionFont> font) {
  Placed placed{control, rect, font};
  ApplyPlacement(placed);
  Remember(control, rect, font);
}

void ChromeWindow::ApplyPlacement(const Placed& placed) const {
  const DesignRect r = scale().Rect(placed.rect);
  SetWindowPos(placed.control, nullptr, r.x, r.y, r.width, r.height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  if (placed.font)
    SendMessageW(placed.control, WM_SETFONT, reinterpret_cast<WPARAM>(font(*placed.font)), FALSE);
}

void ChromeWindow::OnDpiChanged(WPARAM wParam, LPARAM lParam) {
  const int newDpi = LOWORD(wParam);
  const auto* suggested = reinterpret_cast<const RECT*>(lParam);
  style_ = ChromeStyle::Load(artModule_, newDpi);
  for (const Placed& placed : placed_) {
    if (!IsWindow(placed.control)) continue;
    ApplyPlacement(placed);
    widgets::Restyle(placed.control, style_);
  }
  if (client_) {
    // Keep the client area exactly the content's size; the suggested rectangle only places it.
    const SIZE outer = OuterSizeFor(*client_);
    const int left = suggested ? suggested->left : 0;
    const int top = suggested ? suggested->top : 0;
    SetWindowPos(window_, nullptr, left, top, outer.cx, outer.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    FitClientExactly();
  } else if (suggested) {
    SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
}

namespace {

LRESULT CALLBACK HandOverProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR chrome) {
  // The pointer is read each time: a DPI change frees the old one. A chrome destroyed before its
  // window has taken its mark away and leaves the control the ordinary pointer.
  if (message == WM_SETCURSOR && LOWORD(lParam) == HTCLIENT &&
      GetPropW(GetAncestor(control, GA_ROOT), kChromeProperty)) {
    SetCursor(reinterpret_cast<const ChromeWindow*>(chrome)->handCursor());
    return TRUE;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, HandOverProc, id);
  return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void ChromeWindow::ShowHandOver(HWND control) {
  if (control) SetWindowSubclass(control, HandOverProc, 0, reinterpret_cast<DWORD_PTR>(this));
}

void ChromeWindow::AddToolTip(HWND control, const std::u16string& text) {
  const HWND tip = CreateControl(TOOLTIPS_CLASSW, {.text = nullptr,
                                                   .style = WS_POPUP | TTS_ALWAYSTIP,
                                                   .exStyle = WS_EX_TOPMOST,
                                                   .x = CW_USEDEFAULT,
                                                   .y = CW_USEDEFAULT,
                                                   .width = CW_USEDEFAULT,
                                                   .height = CW_USEDEFAULT,
                                                   .parent = window_});
  if (!tip) return;
  TTTOOLINFOW tool{};
  // The size every comctl32 accepts: older ones refuse the larger structure newer headers declare.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  // The tooltip keeps a copy of the text.
  tool.lpszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(text.c_str()));
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

bool InitCommonControlsForChrome() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  if (InitCommonControlsEx(&controls)) return true;
  ReportFailure(L"InitCommonControlsEx", L"ICC_WIN95_CLASSES", GetLastError());
  return false;
}

bool TranslateChromeKeyboard(MSG& message) {
  if (!message.hwnd) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  if (!root || !GetPropW(root, kChromeProperty)) return false;
  return IsDialogMessageW(root, &message) != FALSE;
}

// A window grows out of and shrinks back into the point it opened from, so the eye can follow it.
void AnimateOpen(HWND window, int x, int y) {
  const RECT from{x, y, x, y};
  RECT to;
  if (!GetWindowRect(window, &to)) return;
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

void AnimateClose(HWND window, int x, int y) {
  RECT from;
  if (!GetWindowRect(window, &from)) return;
  const RECT to{x, y, x, y};
  DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

ScreenPoint CursorAnchor() {
  POINT point;
  if (!GetCursorPos(&point)) return {};
  return {ClampTo16Bits(point.x), ClampTo16Bits(point.y)};
}

ScopedIcon LoadProgramIcon(HINSTANCE artModule, int size) {
  return ScopedIcon(static_cast<HICON>(
      LoadImageW(artModule, MAKEINTRESOURCEW(IDI_NORV_PROGRAM), IMAGE_ICON, size, size, 0)));
}

ScopedIcon LoadRestoreIcon(HINSTANCE artModule, int size) {
  return ScopedIcon(static_cast<HICON>(
      LoadImageW(artModule, MAKEINTRESOURCEW(IDI_NORV_RESTORE), IMAGE_ICON, size, size, 0)));
}

}  // namespace norv
