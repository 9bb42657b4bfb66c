#include "chrome/win32/widget.h"

#include <utility>

#include "core/win32/wide_text.h"

namespace norv::widgets {

HWND CreateWidget(const wchar_t* className, std::unique_ptr<Widget> widget, DesignRect rect,
                  WindowShape shape) {
  const DesignRect place = widget->style->scale().Rect(rect);
  shape.style |= WS_CHILD | WS_VISIBLE;
  shape.x = place.x;
  shape.y = place.y;
  shape.width = place.width;
  shape.height = place.height;
  const WindowClass windowClass{.name = className, .cursor = LoadCursorW(nullptr, IDC_ARROW)};
  return WindowBase::CreateOwnedByWindow(std::move(widget), windowClass, shape);
}

bool Restyle(HWND window, const StylePtr& style) {
  Widget* widget = As<Widget>(window);
  if (!widget) return false;
  widget->style = style;
  widget->OnRestyle();
  return true;
}

std::u16string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

bool IsMouseDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_XBUTTONDOWN;
}

bool IsMouseUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP ||
         message == WM_XBUTTONUP;
}

LRESULT HandledMouseButton(UINT message) {
  return message == WM_XBUTTONDOWN || message == WM_XBUTTONUP ? TRUE : 0;
}

void RunPress(const std::function<void()>& onPress) {
  const std::function<void()> run = onPress;
  if (run) run();
}

HDC Backing::Begin(HWND window) {
  canvas_.reset();
  GetClientRect(window, &area_);
  const ScopedWindowDc screen(window);
  canvas_.emplace(screen.get(), area_.right, area_.bottom);
  return canvas_->dc();
}

void Backing::Paint(HWND window) const {
  const ScopedPaint paint(window);
  if (const HDC source = dc()) {
    const RECT& r = paint.area();
    BitBlt(paint.dc(), r.left, r.top, r.right - r.left, r.bottom - r.top, source, r.left, r.top,
           SRCCOPY);
  }
}

LRESULT BackedWidget::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      Render();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      backing.Paint(hwnd());
      return 0;
  }
  return Widget::HandleMessage(message, wParam, lParam);
}

}  // namespace norv::widgets
