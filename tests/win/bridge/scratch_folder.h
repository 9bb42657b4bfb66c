#pragma once

#include <string>

namespace norv::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::u16string& path() const { return path_; }
  // path() + "\" + name
  std::u16string operator/(const std::u16string& name) const { return path_ + u"\\" + name; }

 private:
  std::u16string path_;
};

// Test helpers on real files.
void WriteFileBytes(const std::u16string& path, const std::string& bytes);
std::string ReadFileBytes(const std::u16string& path);
void SetAttributes(const std::u16string& path, unsigned long attributes);

// Wine reports every regular file as archive (it keeps no archive bit), so expectations about
// that bit differ there.
bool UnderWine();

}  // namespace norv::test
