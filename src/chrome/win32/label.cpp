#include "chrome/win32/label.h"

#include "chrome/win32/panel.h"
#include "core/win32/wide_text.h"

namespace norv::widgets {
namespace {

constexpr wchar_t kLabelClass[] = L"NorvLabel";

class CheckLabel final : public Label {
 public:
  CheckLabel(StylePtr s, LabelOptions o, std::function<void()> p)
      : Label(std::move(s), std::move(o)), onPress(std::move(p)) {}

  bool Interactive() const override { return true; }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsMouseDown(message)) {
      RunPress(onPress);
      return HandledMouseButton(message);
    }
    if (message == WM_KEYDOWN) {
      const bool firstStroke = !(lParam & (1 << 30));
      if ((wParam == VK_SPACE || wParam == VK_RETURN) && firstStroke && IsWindowEnabled(hwnd())) {
        RunPress(onPress);
      }
      return 0;
    }
    return Label::HandleMessage(message, wParam, lParam);
  }

  std::function<void()> onPress;
};

}  // namespace

void Label::Paint() {
  const ScopedPaint paint(hwnd());
  RECT area;
  GetClientRect(hwnd(), &area);
  // Drawn off screen and copied in one go, so a pressed face never flickers through the caption.
  const OffscreenCanvas canvas(paint.dc(), area.right, area.bottom);
  const HDC dc = canvas.dc();
  if (options.background) {
    const ScopedBrush brush(CreateSolidBrush(*options.background));
    FillRect(dc, &area, brush.get());
  } else {
    PaintParentBackground(hwnd(), dc, area);
  }
  DrawCaption(dc, area);
  if (GetFocus() == hwnd()) DrawFocusRect(dc, &area);
  BitBlt(paint.dc(), 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
}

void Label::DrawCaption(HDC dc, const RECT& area) const {
  const std::u16string caption = WindowText(hwnd());
  const int length = static_cast<int>(caption.size());
  const ScopedSelection font(dc, style->Font(options.font));
  SetBkMode(dc, TRANSPARENT);
  const UINT format = DT_NOPREFIX | DT_WORDBREAK | DT_TOP |
                      (options.align == CaptionAlign::kCentre ? DT_CENTER : DT_LEFT);
  RECT text = area;
  if (IsWindowEnabled(hwnd())) {
    SetTextColor(
        dc, options.textColour == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : options.textColour);
    DrawTextW(dc, Wide(caption), length, &text, format);
  } else {
    // Greyed like a disabled control: an etched caption.
    OffsetRect(&text, 1, 1);
    SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
    DrawTextW(dc, Wide(caption), length, &text, format);
    text = area;
    SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, Wide(caption), length, &text, format);
  }
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_NCHITTEST:
      // A caption that does nothing lets the mouse through to what lies under it.
      if (!Interactive()) return HTTRANSPARENT;
      break;
    case WM_SETCURSOR:
      if (Interactive()) {
        SetCursor(style->hand());
        return TRUE;
      }
      break;
    case WM_SETTEXT:
    case WM_ENABLE: {
      const LRESULT result = Widget::HandleMessage(message, wParam, lParam);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return result;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: {
      // Enter belongs to a focused label rather than the window's default action; characters
      // are taken so typing on a label does not search for mnemonics and beep.
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTCHARS | (enter && Interactive() ? DLGC_WANTMESSAGE : 0);
    }
  }
  return Widget::HandleMessage(message, wParam, lParam);
}

HWND CreateLabelWindow(HWND parent, DesignRect rect, DWORD style, std::unique_ptr<Label> label) {
  // Taken before the label is handed over; the window copies it as it is created.
  const std::u16string caption = label->options.caption;
  return CreateWidget(kLabelClass, std::move(label), rect,
                      {.text = Wide(caption), .style = style, .parent = parent});
}

HWND CreatePlainLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options) {
  return CreateLabelWindow(parent, rect, 0, std::make_unique<Label>(style, options));
}

HWND CreateCheckLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options, std::function<void()> onPress) {
  return CreateLabelWindow(parent, rect, WS_TABSTOP,
                           std::make_unique<CheckLabel>(style, options, std::move(onPress)));
}

}  // namespace norv::widgets
