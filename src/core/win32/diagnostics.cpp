#include "core/win32/diagnostics.h"

#include <string>

namespace norv {

void ReportFailure(std::wstring_view call, std::wstring_view subject, DWORD error) {
  std::wstring line = L"Norvane: ";
  line.append(call).append(L" failed for ").append(subject);
  line.append(L" (error ").append(std::to_wstring(error)).append(L")\n");
  OutputDebugStringW(line.c_str());
}

}  // namespace norv
