#pragma once

#include <windows.h>

#include <string_view>

namespace norv {

// Writes one line for a debugger or a debug-output viewer (OutputDebugStringW), so a failure of
// the platform that the user cannot see still leaves a trace:
// "Norvane: <call> failed for <subject> (error <error>)".
void ReportFailure(std::wstring_view call, std::wstring_view subject, DWORD error);

}  // namespace norv
