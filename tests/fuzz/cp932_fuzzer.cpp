// The code page 932 boundary: decoding, encoding and cutting arbitrary bytes and text.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "core/cp932.h"
#include "fuzz_check.h"

namespace {

using norv::CutCp932;
using norv::DecodeCp932;
using norv::EncodeCp932;
using norv::IsCp932LeadByte;

// True when `end` falls between characters of bytes, reading from its start.
bool IsCharacterBoundary(std::string_view bytes, size_t end) {
  size_t at = 0;
  while (at < end) at += IsCp932LeadByte(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
  return at == end;
}

void CheckCut(std::string_view bytes, size_t maxBytes) {
  const std::string_view cut = CutCp932(bytes, maxBytes);
  FUZZ_CHECK(cut.data() == bytes.data());
  FUZZ_CHECK(cut.size() <= maxBytes);
  FUZZ_CHECK(IsCharacterBoundary(bytes, cut.size()));
  // Only one character can be lost at the cut: at most one byte short of what fits.
  FUZZ_CHECK(cut.size() + 1 >= std::min(maxBytes, bytes.size()));
}

void CheckBytes(std::string_view bytes) {
  const std::u16string text = DecodeCp932(bytes);
  FUZZ_CHECK(text.size() <= bytes.size());
  // Whatever was decoded encodes to bytes that decode to the same characters, except that
  // replacement characters come back as '?'.
  std::u16string expected = text;
  std::replace(expected.begin(), expected.end(), u'\uFFFD', u'?');
  FUZZ_CHECK(DecodeCp932(EncodeCp932(text)) == expected);
}

void CheckText(std::u16string_view text) {
  const std::string bytes = EncodeCp932(text);
  FUZZ_CHECK(bytes.size() >= text.size() && bytes.size() <= 2 * text.size());
  // Every UTF-16 unit is one character in cp932 or a '?': none is lost or doubled.
  FUZZ_CHECK(DecodeCp932(bytes).size() == text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const auto maxBytes = input.ConsumeIntegralInRange<size_t>(0, 130);
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  CheckCut(bytes, maxBytes);
  CheckBytes(bytes);
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  }
  CheckText(text);
  return 0;
}
