#pragma once

#include <cstdint>
#include <string>

namespace norv {

struct IconTable;
class IconListSink;

// Row i of the icon list: number, x, y, image number, state and the whole 120-character text
// field, joined by TABs. A hidden icon's coordinates are left empty (three TABs in a row).
std::u16string IconRow(const IconTable& table, int32_t index);

// Replaces every row with IconRow(0) .. IconRow(itemCount - 1), in item order: a row's index is
// the icon's index, so the list is never sorted.
void RefillIconList(const IconTable& table, IconListSink& list);

}  // namespace norv
