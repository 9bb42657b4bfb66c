#pragma once

#include <string>

#include "core/geometry.h"
#include "layout/layout_file.h"

namespace norv {

// The restore dialog's row for one saved record: x, TAB, y, TAB, text for a record inside the
// desktop rectangle; "非表示", TAB, TAB, text for one beyond it (judged against the latest
// snapshot).
std::u16string LayoutRecordRow(const LayoutRecord& record, DesktopRect desktop);

}  // namespace norv
