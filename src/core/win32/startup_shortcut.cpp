#include "core/win32/startup_shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "core/settings.h"
#include "core/win32/com_scope.h"
#include "core/win32/scoped_handles.h"
#include "core/win32/wide_text.h"

namespace norv {
namespace {

bool StartupFolder(std::wstring& folder) {
  PWSTR path = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &path);
  // Freed on failure too.
  const ScopedCoTaskMemory<wchar_t> owned(path);
  if (SUCCEEDED(hr)) folder = path;
  return SUCCEEDED(hr);
}

}  // namespace

bool RegisterStartupShortcut(const std::u16string& appDirectory) {
  ComScope com;
  if (!com.usable()) return false;
  std::wstring linkPath;
  if (!StartupFolder(linkPath)) return false;
  linkPath += L"\\Norv.lnk";

  const std::u16string target = appDirectory + kProgramFileName;
  Microsoft::WRL::ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.GetAddressOf())))) {
    return false;
  }
  if (FAILED(link->SetPath(Wide(target))) || FAILED(link->SetArguments(L"")) ||
      FAILED(link->SetWorkingDirectory(Wide(appDirectory)))) {
    return false;
  }
  Microsoft::WRL::ComPtr<IPersistFile> file;
  if (FAILED(
          link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.GetAddressOf())))) {
    return false;
  }
  // Saving over an existing shortcut replaces it, so pressing again re-registers.
  return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace norv
