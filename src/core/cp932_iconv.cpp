// Host build: code page 932 through glibc's iconv table, the same mapping Windows uses.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "core/cp932.h"

namespace norv {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv CP932 missing");
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts one unit of input; false when iconv rejects it.
  bool Convert(const char* in, size_t inSize, std::string& out) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* inPtr = const_cast<char*>(in);
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(handle_, &inPtr, &inSize, &outPtr, &outLeft) == static_cast<size_t>(-1) ||
        inSize != 0) {
      return false;
    }
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    return true;
  }

 private:
  iconv_t handle_;
};

void AppendUtf16(std::u16string& out, const std::string& littleEndian) {
  for (size_t i = 0; i + 1 < littleEndian.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(littleEndian[i]) |
                                        (static_cast<unsigned char>(littleEndian[i + 1]) << 8)));
  }
}

}  // namespace

std::string EncodeCp932(std::u16string_view text) {
  thread_local Converter converter("CP932", "UTF-16LE");
  std::string out;
  for (const char16_t c : text) {
    // cp932 keeps ASCII as it is; most layout text is padding, so skip iconv for it.
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    // cp932 has nothing beyond the BMP: like Windows, each surrogate becomes one '?'.
    const char unit[2] = {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    if ((c >= 0xD800 && c <= 0xDFFF) || !converter.Convert(unit, 2, out)) out.push_back('?');
  }
  return out;
}

std::u16string DecodeCp932(std::string_view bytes) {
  thread_local Converter converter("UTF-16LE", "CP932");
  std::u16string out;
  std::string utf16;
  for (size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      out.push_back(static_cast<char16_t>(bytes[i]));
      ++i;
      continue;
    }
    const bool lead = IsCp932LeadByte(static_cast<unsigned char>(bytes[i]));
    const size_t width = (lead && i + 1 < bytes.size()) ? 2 : 1;
    utf16.clear();
    if (converter.Convert(bytes.data() + i, width, utf16)) {
      AppendUtf16(out, utf16);
    } else {
      out.push_back(u'\uFFFD');
    }
    i += width;
  }
  return out;
}

}  // namespace norv
