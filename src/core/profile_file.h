#pragma once

#include <string>

namespace norv {

// A private-profile (INI) file: sections and keys compared without regard to case, a missing
// file, section or key reads as empty, writing creates what is missing and keeps other lines.
class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  virtual std::u16string Read(const std::u16string& section, const std::u16string& key,
                              const std::u16string& file) = 0;
  // False when the file could not be written.
  virtual bool Write(const std::u16string& section, const std::u16string& key,
                     const std::u16string& value, const std::u16string& file) = 0;
};

}  // namespace norv
