#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace norv {

class FileSystem;

// The temporary file FileSystem::ReplaceAtomically writes beside its target before it takes the
// target's place: the target's path, ".~", the process id, "_", a counter, ".tmp", both numbers in
// lower-case hexadecimal without leading zeros.
std::u16string AtomicWriteTemporaryPath(std::u16string_view target, uint32_t processId,
                                        uint32_t counter);
// The most that adds to the target's path: ".~ffffffff_ffffffff.tmp".
inline constexpr size_t kAtomicWriteSuffixMaxLength = 23;

// Whether a file name is exactly such a temporary file of one of the program's own files: a
// layout ("*.ppx"), "Norv.e01", "Norv.ini" or one of `alsoOwn`. Any other name is the user's.
bool IsLeftoverOfAtomicWrite(std::u16string_view fileName,
                             std::initializer_list<std::u16string_view> alsoOwn = {});

// Deletes from the program's folder (or a folder of its own inside it) the temporary files that
// interrupted writes left behind. Only while no other resident instance runs, and only files last
// written minutes away from now: a command process (which takes no lock) may be writing one at
// this very moment.
void RemoveLeftoverTemporaries(FileSystem& files, const std::u16string& folder,
                               std::initializer_list<std::u16string_view> alsoOwn = {});

}  // namespace norv
