#include "core/cp932.h"

namespace norv {

bool IsCp932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string_view CutCp932(std::string_view bytes, size_t maxBytes) {
  size_t end = 0;
  while (end < bytes.size()) {
    const size_t width = IsCp932LeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
    if (end + width > maxBytes || end + width > bytes.size()) break;
    end += width;
  }
  return bytes.substr(0, end);
}

}  // namespace norv
