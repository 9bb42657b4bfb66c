#include "mainwindow/icon_row.h"

#include "core/geometry.h"
#include "core/icon_table.h"
#include "core/number_text.h"
#include "mainwindow/icon_list_sink.h"

namespace norv {

std::u16string IconRow(const IconTable& table, int32_t index) {
  const auto i = static_cast<size_t>(index);
  const Point position = table.positions[i];
  std::u16string row = NumberText(int64_t{index} + 1);
  row += u'\t';
  // Judged from the position itself, so the row agrees with the desktop rectangle it was read with.
  if (!IsBeyondDesktop(position, table.Desktop())) {
    row += NumberText(position.x);
    row += u'\t';
    row += NumberText(position.y);
  } else {
    row += u'\t';
  }
  row += u'\t';
  row += NumberText(table.imageIndexes[i]);
  row += u'\t';
  row += StateText(table.states[i]);
  row += u'\t';
  row += table.texts[i];
  return row;
}

void RefillIconList(const IconTable& table, IconListSink& list) {
  list.ClearRows();
  for (int32_t i = 0; i < table.itemCount; ++i) list.AppendRow(IconRow(table, i));
}

}  // namespace norv
