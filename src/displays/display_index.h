#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/geometry.h"

namespace norv {

// One configuration Norvane knows.
struct DisplayEntry {
  std::u16string key;
  std::u16string label;
  std::u16string lastUsed;  // date and time as the user's locale writes them
  // The arrangement's file inside the Displays folder: digits and ".ppx".
  std::u16string file;
  // The desktop's area when the arrangement was recorded: icons beyond it were hidden.
  DesktopRect desktop;
  friend bool operator==(const DisplayEntry&, const DisplayEntry&) = default;
};

// The index file: one entry a line, most recently used first; fields separated by TAB, cp932,
// CRLF.
std::string EncodeDisplayIndex(const std::vector<DisplayEntry>& entries);
// Lines that do not read whole, name a file of another form or repeat a key or a file are
// skipped: a damaged index loses those lines, nothing else.
std::vector<DisplayEntry> DecodeDisplayIndex(std::string_view bytes);

// Whether `file` is a name the index may hold: digits, then ".ppx". Nothing else is ever opened
// or written from an index, whatever the file holds.
bool IsArrangementFileName(std::u16string_view file);

}  // namespace norv
