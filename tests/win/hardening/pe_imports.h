#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>

namespace norv::hardening {

// What a 64-bit program file says it needs from other libraries before it runs (imports) and on
// first use (delay-loaded imports): library names in lower case, each with its functions by name.
struct ProgramImports {
  std::map<std::string, std::set<std::string>> imports;
  std::map<std::string, std::set<std::string>> delayLoaded;
};

// Read from the file itself, without loading it; nullopt when it is no 64-bit program file.
std::optional<ProgramImports> ReadProgramImports(const std::wstring& path);

}  // namespace norv::hardening
