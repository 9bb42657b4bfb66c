#pragma once

#include <windows.h>

#include <functional>

namespace norv::wintest {

// Polls `done` until it holds or `timeoutMs` has passed, handling this thread's window messages
// in between (a test's own windows keep answering). True when `done` held.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

// Handles the window messages waiting for this thread.
void PumpMessages();

}  // namespace norv::wintest
