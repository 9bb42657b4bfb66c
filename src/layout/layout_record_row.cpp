#include "layout/layout_record_row.h"

#include "core/number_text.h"

namespace norv {

std::u16string LayoutRecordRow(const LayoutRecord& record, DesktopRect desktop) {
  if (IsBeyondDesktop({record.x, record.y}, desktop)) return u"非表示\t\t" + record.text;
  return NumberText(record.x) + u"\t" + NumberText(record.y) + u"\t" + record.text;
}

}  // namespace norv
