#include "startup_link_reader.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

namespace norv::wintest {

std::wstring StartupLinkPath() {
  PWSTR folder = nullptr;
  std::wstring path;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Startup, KF_FLAG_CREATE, nullptr, &folder)))
    path = std::wstring(folder) + L"\\Norv.lnk";
  CoTaskMemFree(folder);
  return path;
}

std::optional<LinkContent> ReadLink(const std::wstring& path) {
  IShellLinkW* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&link)))) {
    return std::nullopt;
  }
  IPersistFile* file = nullptr;
  const bool loaded =
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      SUCCEEDED(file->Load(path.c_str(), STGM_READ));
  LinkContent content;
  wchar_t text[MAX_PATH * 2] = {};
  if (loaded && SUCCEEDED(link->GetPath(text, MAX_PATH * 2, nullptr, SLGP_RAWPATH)))
    content.target = text;
  if (loaded && SUCCEEDED(link->GetArguments(text, MAX_PATH * 2))) content.arguments = text;
  if (loaded && SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH * 2)))
    content.workingDirectory = text;
  if (file) file->Release();
  link->Release();
  if (!loaded) return std::nullopt;
  return content;
}

}  // namespace norv::wintest
