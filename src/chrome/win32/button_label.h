#pragma once

#include <windows.h>

#include <functional>

#include "chrome/win32/label.h"

namespace norv::widgets {

// The caption label of an image button whose face is picture `faceIndex` of `panel`: it takes the
// presses, shows the pressed face while held, and runs `command` on the release.
HWND CreateButtonLabel(HWND panel, const StylePtr& style, DesignRect rect,
                       const LabelOptions& options, int faceIndex, std::function<void()> command,
                       bool processEventsBeforeCommand);

}  // namespace norv::widgets
