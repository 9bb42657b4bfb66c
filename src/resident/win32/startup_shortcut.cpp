#include "resident/win32/startup_shortcut.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/settings.h"
#include "core/win32/wide_text.h"

namespace norv {
namespace {

// Releases a COM interface when the scope ends.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T* get() const { return p_; }
  T** out() { return &p_; }
  T* operator->() const { return p_; }

 private:
  T* p_ = nullptr;
};

// COM stays initialised only for the call when the thread had not done so itself.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  // A thread already in another apartment can still create the link object.
  bool usable() const { return SUCCEEDED(hr_) || hr_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT hr_;
};

bool StartupFolder(std::wstring& folder) {
  PWSTR path = nullptr;
  const HRESULT hr = SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &path);
  if (SUCCEEDED(hr)) folder = path;
  CoTaskMemFree(path);
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
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.out())))) {
    return false;
  }
  if (FAILED(link->SetPath(Wide(target))) || FAILED(link->SetArguments(L"")) ||
      FAILED(link->SetWorkingDirectory(Wide(appDirectory)))) {
    return false;
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out())))) {
    return false;
  }
  // Saving over an existing shortcut replaces it, so pressing again re-registers.
  return SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
}

}  // namespace norv
