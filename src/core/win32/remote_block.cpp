#include "core/win32/remote_block.h"

namespace norv {

RemoteBlock::RemoteBlock(HWND window, size_t bytes, RemoteMemoryCounts& counts) : counts_(counts) {
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId) || processId == 0) return;
  // Memory operations on that process and nothing more.
  process_.reset(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
  if (!process_.valid()) return;
  ++counts_.allocations;
  address_ =
      VirtualAllocEx(process_.get(), nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock() {
  if (address_) {
    ++counts_.releases;
    VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
}

bool RemoteBlock::Write(void* remote, const void* data, size_t bytes) {
  ++counts_.writes;
  return WriteProcessMemory(process_.get(), remote, data, bytes, nullptr) != FALSE;
}

bool RemoteBlock::Read(const void* remote, void* data, size_t bytes) {
  ++counts_.reads;
  return ReadProcessMemory(process_.get(), remote, data, bytes, nullptr) != FALSE;
}

}  // namespace norv
