#pragma once

namespace norv {

// Offset that centres something of size `inner` in a space of size `outer`. A caption wider than
// its cell gets a negative offset and is clipped equally on both sides. An odd difference drops the
// half pixel towards the left or top (rounds down) whatever its sign.
inline int CentredOffset(int outer, int inner) {
  const int difference = outer - inner;
  return difference >= 0 ? difference / 2 : -((-difference + 1) / 2);
}

}  // namespace norv
