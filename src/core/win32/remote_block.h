#pragma once

#include <windows.h>

#include <cstddef>

#include "core/win32/scoped_handles.h"

namespace norv {

// What the program did to another process's memory; each is a system call into that process.
struct RemoteMemoryCounts {
  int allocations = 0;
  int writes = 0;
  int reads = 0;
  int releases = 0;
  friend bool operator==(const RemoteMemoryCounts&, const RemoteMemoryCounts&) = default;
};

// A block of memory allocated in the process of a window, for requests that the window answers
// by writing into it; released with the object. Both processes are 64-bit, so records laid out
// here have the same layout there. Every operation is added to `counts`.
class RemoteBlock {
 public:
  RemoteBlock(HWND window, size_t bytes, RemoteMemoryCounts& counts);
  ~RemoteBlock();
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  // False when the process could not be opened or the block not allocated.
  bool valid() const { return address_ != nullptr; }
  // The block's address in the other process; never dereferenced here.
  char* At(size_t offset) const { return static_cast<char*>(address_) + offset; }

  bool Write(void* remote, const void* data, size_t bytes);
  // Also reads memory of that process outside the block, such as a pointer the window answered.
  bool Read(const void* remote, void* data, size_t bytes);

 private:
  ScopedHandle process_;
  void* address_ = nullptr;
  RemoteMemoryCounts& counts_;
};

}  // namespace norv
