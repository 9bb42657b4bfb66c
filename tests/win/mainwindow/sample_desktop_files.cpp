#include "sample_desktop_files.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include <string>

namespace norv::wintest {
namespace {

enum class Kind { kFile, kFolder, kShortcut };

struct SampleItem {
  const wchar_t* name;
  Kind kind;
  const wchar_t* target = nullptr;  // shortcuts: a program of the system folder
};

const SampleItem kItems[] = {
    {L"マイ ドキュメント", Kind::kFolder},
    {L"ネットワーク", Kind::kFolder},
    {L"ｲﾝﾀｰﾈｯﾄ ｴｸｽﾌﾟﾛｰﾗ", Kind::kShortcut, L"iexplore.exe"},
    {L"年賀状2024.txt", Kind::kFile},
    {L"会議資料（第三四半期の売上報告と来年度の予算計画）.docx", Kind::kFile},
    {L"メモ", Kind::kFolder},
    {L"写真", Kind::kFolder},
    {L"Readme.txt", Kind::kFile},
    {L"売上①～③ 集計表.xls", Kind::kFile},
    {L"ショートカット - 電卓", Kind::kShortcut, L"calc.exe"},
};

std::wstring DesktopFolder() {
  PWSTR path = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Desktop, KF_FLAG_CREATE, nullptr, &path))) {
    folder = path;
  }
  CoTaskMemFree(path);
  return folder;
}

void CreateShortcut(const std::wstring& link, const wchar_t* program) {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  IShellLinkW* shortcut = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shortcut)))) {
    return;
  }
  shortcut->SetPath((std::wstring(system) + L"\\" + program).c_str());
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shortcut->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    file->Save(link.c_str(), TRUE);
    file->Release();
  }
  shortcut->Release();
}

}  // namespace

void CreateSampleDesktopFiles() {
  const std::wstring folder = DesktopFolder();
  if (folder.empty()) return;
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const SampleItem& item : kItems) {
    const std::wstring path = folder + L"\\" + item.name;
    switch (item.kind) {
      case Kind::kFolder:
        CreateDirectoryW(path.c_str(), nullptr);
        break;
      case Kind::kFile:
        CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        break;
      case Kind::kShortcut:
        if (GetFileAttributesW((path + L".lnk").c_str()) == INVALID_FILE_ATTRIBUTES) {
          CreateShortcut(path + L".lnk", item.target);
        }
        break;
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace norv::wintest
