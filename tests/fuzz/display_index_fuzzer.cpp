// The index of the Displays folder from arbitrary bytes: whatever it holds, only well-formed
// entries come out, each naming a file inside the folder, and they survive being written again.
#include <set>

#include "displays/display_index.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace norv;
  const std::vector<DisplayEntry> entries =
      DecodeDisplayIndex({reinterpret_cast<const char*>(data), size});
  std::set<std::u16string> keys;
  std::set<std::u16string> files;
  for (const DisplayEntry& entry : entries) {
    FUZZ_CHECK(!entry.key.empty() && IsArrangementFileName(entry.file));
    FUZZ_CHECK(entry.file.find(u'\\') == std::u16string::npos);
    FUZZ_CHECK(keys.insert(entry.key).second && files.insert(entry.file).second);
  }
  // Written and read again, an entry keeps its file and area. (Keys that differ only in bytes
  // without a cp932 form may become one, and then the first is kept.)
  const std::vector<DisplayEntry> again = DecodeDisplayIndex(EncodeDisplayIndex(entries));
  FUZZ_CHECK(again.size() <= entries.size() && (entries.empty() || !again.empty()));
  FUZZ_CHECK(again.empty() ||
             (again[0].file == entries[0].file && again[0].desktop == entries[0].desktop));
  return 0;
}
