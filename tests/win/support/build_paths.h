#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace norv::wintest {

// A path as CMake knows it, usable by Windows functions: under Wine a Unix path becomes the
// same path on drive Z:, on Windows the path only gets backslashes.
std::wstring WindowsPath(std::string_view buildPath);

// testdesk.exe of this build.
std::wstring TestDeskExe();

// A new empty file in the temporary folder, for one test's use.
std::wstring NewTempFile();

// The whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
std::string ReadFileBytes(const std::u16string& path);
// Replaces the file; false when it could not be written whole.
[[nodiscard]] bool WriteFileBytes(const std::wstring& path, std::string_view bytes);
[[nodiscard]] bool WriteFileBytes(const std::u16string& path, std::string_view bytes);
// Moves the file's last write time `seconds` into the past.
[[nodiscard]] bool AgeFile(const std::wstring& path, int64_t seconds);

std::u16string Utf8ToU16(std::string_view utf8);
std::string U16ToUtf8(std::u16string_view text);

}  // namespace norv::wintest
