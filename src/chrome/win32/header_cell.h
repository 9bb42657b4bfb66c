#pragma once

#include <windows.h>

#include <string>

#include "chrome/win32/widget.h"

namespace norv::widgets {

// A column header: silver, its caption (the window text) centred, a raised edge.
HWND CreateHeaderCell(HWND parent, const StylePtr& style, DesignRect rect,
                      const std::u16string& caption);

}  // namespace norv::widgets
