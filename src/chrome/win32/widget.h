#pragma once

// The base of the chrome's own window classes (panel, labels, check picture, header cell): the
// style they draw with, their creation, and the backing bitmap of the widgets drawn once.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "chrome/dpi_scale.h"
#include "chrome/win32/chrome_style.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/window_base.h"

namespace norv::widgets {

using StylePtr = std::shared_ptr<const ChromeStyle>;

// The state behind a widget window; the window owns it and frees it after WM_NCDESTROY.
class Widget : public WindowBase {
 public:
  explicit Widget(StylePtr s) : style(std::move(s)) {}

  // The style of a new DPI, after the widget has been moved and sized.
  virtual void OnRestyle() { InvalidateRect(hwnd(), nullptr, FALSE); }

  StylePtr style;
};

// The widget behind `window` when it is one of kind T, else null.
template <class T>
T* As(HWND window) {
  return dynamic_cast<T*>(WindowBase::FromHandle(window));
}

// Creates a widget window of `className` at `rect` (design pixels, at the widget's DPI) inside
// `shape.parent`, visible, the window owning `widget`. Null when the window could not be made.
HWND CreateWidget(const wchar_t* className, std::unique_ptr<Widget> widget, DesignRect rect,
                  WindowShape shape);

// Hands a widget the style of a new DPI after it has been moved and sized; returns false for
// windows that are not chrome widgets.
bool Restyle(HWND widget, const StylePtr& style);

// The caption a widget draws: its window text.
std::u16string WindowText(HWND window);

bool IsMouseDown(UINT message);
bool IsMouseUp(UINT message);
// What a window procedure returns for a mouse-button message it handled: TRUE for the X buttons.
LRESULT HandledMouseButton(UINT message);

// Runs a press handler from a copy: the press may destroy the widget that holds it.
void RunPress(const std::function<void()>& onPress);

// A bitmap the size of a window's client area, drawn once and shown on every paint.
class Backing {
 public:
  // A fresh bitmap for the window's client area as it is now; returns its device context.
  HDC Begin(HWND window);
  HDC dc() const { return canvas_ ? canvas_->dc() : nullptr; }
  // The client area the bitmap was made for at the last Begin.
  const RECT& area() const { return area_; }
  // Answers WM_PAINT from the bitmap.
  void Paint(HWND window) const;

 private:
  RECT area_{};
  std::optional<OffscreenCanvas> canvas_;
};

// A widget drawn whole into its backing bitmap when it is created and when its look changes, and
// shown from the bitmap on every paint.
class BackedWidget : public Widget {
 public:
  using Widget::Widget;

  // Draws the whole widget afresh into `backing`.
  virtual void Render() = 0;

  Backing backing;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace norv::widgets
