#pragma once

#include <windows.h>

namespace norv::testdesk {

// The class of testdesk_proxy.dll, the proxy/stub that carries item ids whole for the folder
// view's interfaces (IFolderView, IFolderView2, IEnumIDList, IPersistFolder2). Wine's own proxies
// for them cut every item id to 3 bytes.
// {6E0C2B0A-4F33-4C55-9A10-5F0D2B7E1AFF}
inline constexpr CLSID kItemIdProxyClass = {
    0x6e0c2b0a, 0x4f33, 0x4c55, {0x9a, 0x10, 0x5f, 0x0d, 0x2b, 0x7e, 0x1a, 0xff}};

inline constexpr wchar_t kItemIdProxyDll[] = L"testdesk_proxy.dll";

}  // namespace norv::testdesk
