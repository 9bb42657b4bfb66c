#pragma once

#include <optional>
#include <string>

namespace norv::wintest {

// Where the start-up registration puts its shortcut for the user running the test.
std::wstring StartupLinkPath();

struct LinkContent {
  std::wstring target;
  std::wstring arguments;
  std::wstring workingDirectory;
};

// Reads a shortcut back through the shell's link object, as Explorer does; nullopt when there
// is none. The calling thread has COM initialised.
std::optional<LinkContent> ReadLink(const std::wstring& path);

}  // namespace norv::wintest
