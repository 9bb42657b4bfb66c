#pragma once

namespace norv::hardening {

// Points this program's own calls of an imported function at a stand-in, by rewriting the
// program's import address table; undone when the hook goes. Calls from inside system libraries
// are not affected, so what a hook sees is what the program's code asked for.
class ImportHook {
 public:
  ImportHook(const char* library, const char* function, void* standIn);
  ~ImportHook();
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  // False when this program does not import the function from that library.
  bool installed() const { return slot_ != nullptr; }
  // The real function, for the stand-in to call.
  void* original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace norv::hardening
