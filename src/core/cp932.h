#pragma once

#include <string>
#include <string_view>

namespace norv {

// Shift-JIS (code page 932) at the file and platform boundary. On Windows this is the system's
// own conversion; the host build uses iconv's CP932 table.

// Characters without a cp932 form become '?', as the ANSI functions give them.
std::string EncodeCp932(std::u16string_view text);
// Bytes that are not valid cp932 become a replacement character (U+FFFD on the host, the
// system's default character on Windows); never fails.
std::u16string DecodeCp932(std::string_view bytes);

// The longest prefix of at most maxBytes bytes that does not end inside a double-byte character.
std::string_view CutCp932(std::string_view bytes, size_t maxBytes);
bool IsCp932LeadByte(unsigned char byte);

}  // namespace norv
