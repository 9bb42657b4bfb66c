#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace norv::wintest {

// A test's program folder: a fresh one under the temporary folder, removed with everything in it
// (read-only files too) at the end; or, given a path, one that exists already and is left alone.
class TestFolder {
 public:
  TestFolder();
  explicit TestFolder(std::u16string existing) : path_(std::move(existing)) {}
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  bool created() const { return owned_; }
  const std::u16string& path() const { return path_; }
  std::u16string operator/(std::u16string_view name) const;
  // Names of everything in the folder, sorted.
  std::vector<std::u16string> Names() const;

 private:
  std::u16string path_;
  bool owned_ = false;
};

}  // namespace norv::wintest
