#pragma once

#include <windows.h>

#include <functional>

#include "chrome/win32/widget.h"

namespace norv::widgets {

// The check box's picture: ticked or not, at the widget's size, over its panel. A press runs
// `onPress`; the owner decides the new state.
HWND CreateCheckPicture(HWND parent, const StylePtr& style, DesignRect rect, bool checked,
                        std::function<void()> onPress);
void SetCheckPicture(HWND picture, bool checked);
bool CheckPictureChecked(HWND picture);

}  // namespace norv::widgets
