#pragma once

#include <cstdint>
#include <string>

namespace norv {

// Decimal with one sign position: a space for zero and positive values, "-" for negative ones.
std::u16string NumberText(int64_t value);

}  // namespace norv
