#pragma once

#include <cstdint>

#include "core/file_system.h"

namespace norv {

// The attribute classes the program tells apart; "normal", "not content indexed" and the like
// are none of them.
uint32_t ProgramAttributes(unsigned long platformAttributes);

// The program's files on a real Windows file system, with real attributes.
class Win32FileSystem final : public FileSystem {
 public:
  bool CanOpenForReading(const std::u16string& path) override;
  std::optional<Prefix> ReadOrCreate(const std::u16string& path, size_t maxBytes) override;
  bool ReplaceAtomically(const std::u16string& path, std::string_view bytes) override;
  bool Delete(const std::u16string& path) override;
  bool CreateFolder(const std::u16string& path) override;
  std::vector<std::u16string> List(const std::u16string& pattern, uint32_t attributes) override;
  std::optional<uint32_t> Attributes(const std::u16string& path) override;
  std::optional<std::u16string> LastWriteText(const std::u16string& path) override;
  std::optional<int64_t> SecondsSinceLastWrite(const std::u16string& path) override;
};

}  // namespace norv
