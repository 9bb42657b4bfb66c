#include "pe_imports.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "support/build_paths.h"

namespace norv::hardening {
namespace {

// The file's bytes with reads checked against its end, so a broken file gives nullopt.
class Image {
 public:
  explicit Image(std::string bytes) : bytes_(std::move(bytes)) {}

  template <typename T>
  std::optional<T> At(size_t offset) const {
    if (offset > bytes_.size() || bytes_.size() - offset < sizeof(T)) return std::nullopt;
    T value;
    std::memcpy(&value, bytes_.data() + offset, sizeof(T));
    return value;
  }

  std::optional<std::string> TextAt(size_t offset) const {
    if (offset >= bytes_.size()) return std::nullopt;
    const size_t end = bytes_.find('\0', offset);
    if (end == std::string::npos) return std::nullopt;
    return bytes_.substr(offset, end - offset);
  }

  bool ReadSections() {
    const auto dos = At<IMAGE_DOS_HEADER>(0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return false;
    const auto nt = At<IMAGE_NT_HEADERS64>(static_cast<size_t>(dos->e_lfanew));
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE ||
        nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
      return false;
    }
    headers_ = *nt;
    size_t section = static_cast<size_t>(dos->e_lfanew) +
                     offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                     nt->FileHeader.SizeOfOptionalHeader;
    for (int i = 0; i < nt->FileHeader.NumberOfSections;
         ++i, section += sizeof(IMAGE_SECTION_HEADER)) {
      const auto header = At<IMAGE_SECTION_HEADER>(section);
      if (!header) return false;
      sections_.push_back(*header);
    }
    return true;
  }

  // Where an address of the loaded image lies in the file.
  std::optional<size_t> Offset(DWORD rva) const {
    for (const IMAGE_SECTION_HEADER& s : sections_) {
      if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
        return rva - s.VirtualAddress + s.PointerToRawData;
    }
    return std::nullopt;
  }

  const IMAGE_DATA_DIRECTORY& Directory(int index) const {
    return headers_.OptionalHeader.DataDirectory[index];
  }

 private:
  std::string bytes_;
  IMAGE_NT_HEADERS64 headers_{};
  std::vector<IMAGE_SECTION_HEADER> sections_;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The names of a library's functions, from its table of name references.
bool ReadNames(const Image& image, DWORD namesRva, std::set<std::string>& names) {
  auto at = image.Offset(namesRva);
  if (!at) return false;
  for (;; *at += sizeof(ULONGLONG)) {
    const auto entry = image.At<ULONGLONG>(*at);
    if (!entry) return false;
    if (*entry == 0) return true;
    if (*entry & IMAGE_ORDINAL_FLAG64) {
      names.insert("#" + std::to_string(*entry & 0xFFFF));
      continue;
    }
    const auto name =
        image.Offset(static_cast<DWORD>(*entry) + offsetof(IMAGE_IMPORT_BY_NAME, Name));
    const auto text = name ? image.TextAt(*name) : std::nullopt;
    if (!text) return false;
    names.insert(*text);
  }
}

}  // namespace

std::optional<ProgramImports> ReadProgramImports(const std::wstring& path) {
  Image image(wintest::ReadFileBytes(path));
  if (!image.ReadSections()) return std::nullopt;
  ProgramImports result;

  if (const auto& directory = image.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT); directory.Size) {
    auto at = image.Offset(directory.VirtualAddress);
    if (!at) return std::nullopt;
    for (;; *at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
      const auto entry = image.At<IMAGE_IMPORT_DESCRIPTOR>(*at);
      if (!entry) return std::nullopt;
      if (entry->Name == 0) break;
      const auto name = image.Offset(entry->Name);
      const auto text = name ? image.TextAt(*name) : std::nullopt;
      if (!text) return std::nullopt;
      const DWORD names = entry->OriginalFirstThunk ? entry->OriginalFirstThunk : entry->FirstThunk;
      if (!ReadNames(image, names, result.imports[Lower(*text)])) return std::nullopt;
    }
  }

  if (const auto& directory = image.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT); directory.Size) {
    auto at = image.Offset(directory.VirtualAddress);
    if (!at) return std::nullopt;
    for (;; *at += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
      const auto entry = image.At<IMAGE_DELAYLOAD_DESCRIPTOR>(*at);
      if (!entry) return std::nullopt;
      if (entry->DllNameRVA == 0) break;
      const auto name = image.Offset(entry->DllNameRVA);
      const auto text = name ? image.TextAt(*name) : std::nullopt;
      if (!text) return std::nullopt;
      if (!ReadNames(image, entry->ImportNameTableRVA, result.delayLoaded[Lower(*text)]))
        return std::nullopt;
    }
  }
  return result;
}

}  // namespace norv::hardening
