#pragma once

#include <windows.h>

namespace norv::wintest {

// Whether the test runs under Wine, for the few expectations that differ there (Wine, for one,
// reports every regular file as archive: it keeps no archive bit).
inline bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace norv::wintest
