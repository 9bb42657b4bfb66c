#pragma once

// Captions: a label drawn over its panel (or on a colour of its own), and the check box's
// caption, which takes presses. The image button's caption builds on Label.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "chrome/win32/chrome_window.h"
#include "chrome/win32/widget.h"

namespace norv::widgets {

struct LabelOptions {
  std::u16string caption;
  CaptionAlign align = CaptionAlign::kCentre;
  CaptionFont font = CaptionFont::kJapanese;
  COLORREF textColour = CLR_INVALID;
  std::optional<COLORREF> background;
};

// A caption in the label's font and colour, greyed when disabled, over the panel beneath or on a
// colour of its own.
class Label : public Widget {
 public:
  Label(StylePtr s, LabelOptions o) : Widget(std::move(s)), options(std::move(o)) {}

  // An interactive label takes the mouse and the keyboard and shows the hand pointer; any other
  // lets the mouse through to what lies under it.
  virtual bool Interactive() const { return false; }

  LabelOptions options;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  void DrawCaption(HDC dc, const RECT& area) const;
};

// Creates the window of a label of any kind (they share one class) with its caption as the
// window text; `style` adds to a visible child's.
HWND CreateLabelWindow(HWND parent, DesignRect rect, DWORD style, std::unique_ptr<Label> label);

HWND CreatePlainLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options);
HWND CreateCheckLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options, std::function<void()> onPress);

}  // namespace norv::widgets
