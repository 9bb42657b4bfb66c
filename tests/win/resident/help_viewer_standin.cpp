// Stands in for the user's web browser: records the document it was asked to open in the file
// named by NORV_VIEWER_LOG (UTF-16), then ends.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  wchar_t log[MAX_PATH] = {};
  if (argc < 2 || !GetEnvironmentVariableW(L"NORV_VIEWER_LOG", log, MAX_PATH)) return 1;
  const std::wstring document = argv[1];
  HANDLE file =
      CreateFileW(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, document.data(), static_cast<DWORD>(document.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
  return 0;
}
