#pragma once

// The window classes behind ChromeWindow. Only chrome_window.cpp uses this header.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "chrome/dpi_scale.h"
#include "chrome/win32/chrome_style.h"
#include "chrome/win32/chrome_window.h"

namespace norv::widgets {

using StylePtr = std::shared_ptr<const ChromeStyle>;

enum class PictureKind { kFaceReleased, kFacePressed, kTitlePlate };

HWND CreatePanel(HWND parent, const StylePtr& style, DesignRect rect);
// Adds a picture to a panel's drawing; returns its index for SetPanelPicture, or -1 when `panel`
// is not a panel.
int AddPanelPicture(HWND panel, PictureKind kind, DesignRect rect, FaceFit fit);
void SetPanelPicture(HWND panel, int index, PictureKind kind);

struct LabelOptions {
  std::u16string caption;
  CaptionAlign align = CaptionAlign::kCentre;
  CaptionFont font = CaptionFont::kJapanese;
  COLORREF textColour = CLR_INVALID;
  std::optional<COLORREF> background;
};

HWND CreatePlainLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options);
// The caption label of an image button whose face is picture `faceIndex` of `panel`.
HWND CreateButtonLabel(HWND panel, const StylePtr& style, DesignRect rect,
                       const LabelOptions& options, int faceIndex, std::function<void()> command,
                       bool processEventsBeforeCommand);

HWND CreateCheckPicture(HWND parent, const StylePtr& style, DesignRect rect, bool checked,
                        std::function<void()> onPress);
HWND CreateCheckLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options, std::function<void()> onPress);
void SetCheckPicture(HWND picture, bool checked);
bool CheckPictureChecked(HWND picture);

HWND CreateHeaderCell(HWND parent, const StylePtr& style, DesignRect rect,
                      const std::u16string& caption);

// Hands a widget of these classes the style of a new DPI after it has been moved and sized;
// returns false for windows that are not chrome widgets.
bool Restyle(HWND widget, const StylePtr& style);

}  // namespace norv::widgets
