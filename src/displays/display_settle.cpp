#include "displays/display_settle.h"

#include <utility>

namespace norv {

void DisplaySettle::OnEvent(uint64_t now) {
  settling_ = true;
  lastEvent_ = now;
  // A reading from before this event says nothing about the configuration after it.
  last_.reset();
}

bool DisplaySettle::ReadingDue(uint64_t now) const {
  return settling_ && now - lastEvent_ >= kSettleQuietMilliseconds &&
         (!last_ || now - last_->at >= kSettleReadingGapMilliseconds);
}

std::optional<std::u16string> DisplaySettle::OnReading(uint64_t now,
                                                       std::optional<std::u16string> key) {
  if (!settling_) return std::nullopt;
  if (!key) {
    last_.reset();
    return std::nullopt;
  }
  if (last_ && last_->key == *key) {
    settling_ = false;
    last_.reset();
    return key;
  }
  last_ = Reading{now, std::move(*key)};
  return std::nullopt;
}

}  // namespace norv
