#pragma once

#include <string>

namespace norv {

// The main window's icon list as RefillIconList fills it.
class IconListSink {
 public:
  virtual ~IconListSink() = default;
  virtual void ClearRows() = 0;
  virtual void AppendRow(const std::u16string& row) = 0;
};

}  // namespace norv
