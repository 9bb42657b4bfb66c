// Another program that has a file open without sharing it, as an editor or a backup tool may:
// file_holder.exe PATH holds PATH until it is ended. Exit code 1 when PATH cannot be opened.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  // Held until the test ends this process.
  Sleep(INFINITE);
  return 0;
}
