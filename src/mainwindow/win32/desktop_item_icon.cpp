#include "mainwindow/win32/desktop_item_icon.h"

#include <commctrl.h>
#include <commoncontrols.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <string>

#include "core/cp932.h"
#include "core/icon_table.h"
#include "core/win32/com_scope.h"

namespace norv {
namespace {

std::u16string NameOf(IShellFolder* folder, PCUITEMID_CHILD item, SHGDNF kind) {
  STRRET name{};
  if (FAILED(folder->GetDisplayNameOf(item, kind, &name))) return {};
  wchar_t buffer[MAX_PATH] = {};
  if (FAILED(StrRetToBufW(&name, item, buffer, MAX_PATH))) return {};
  return std::u16string(reinterpret_cast<const char16_t*>(buffer));
}

// The list holds at most 39 bytes of a name in code page 932, so a long name matches by that
// prefix.
bool NamesIcon(std::u16string_view name, std::u16string_view iconText) {
  if (name == iconText) return true;
  const std::string bytes = EncodeCp932(name);
  if (bytes.size() <= kIconTextMaxBytes) return false;
  return TrimTrailingSpaces(DecodeCp932(CutCp932(bytes, kIconTextMaxBytes))) == iconText;
}

// IImageList's interface id; MinGW's import libraries do not define it.
constexpr IID kImageListId = {
    0x46EB5926, 0x582E, 0x4017, {0x9F, 0xDF, 0xE8, 0x99, 0x8D, 0xAA, 0x09, 0x50}};

// The shell's image list whose pictures are at least `size` pixels, largest first fallback.
ScopedIcon IconFromSystemImageList(int imageIndex, int size) {
  const int lists[] = {size <= 32   ? SHIL_LARGE
                       : size <= 48 ? SHIL_EXTRALARGE
                                    : SHIL_JUMBO,
                       SHIL_LARGE};
  for (int list : lists) {
    Microsoft::WRL::ComPtr<IImageList> images;
    if (FAILED(
            SHGetImageList(list, kImageListId, reinterpret_cast<void**>(images.GetAddressOf())))) {
      continue;
    }
    HICON icon = nullptr;
    if (SUCCEEDED(images->GetIcon(imageIndex, ILD_TRANSPARENT, &icon)) && icon) {
      return ScopedIcon(icon);
    }
  }
  return nullptr;
}

ScopedIcon IconOfItem(PCIDLIST_ABSOLUTE item, int size) {
  SHFILEINFOW info{};
  const auto path = reinterpret_cast<LPCWSTR>(item);
  if (SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX)) {
    if (ScopedIcon icon = IconFromSystemImageList(info.iIcon, size)) return icon;
  }
  if (SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_PIDL | SHGFI_ICON | SHGFI_LARGEICON)) {
    return ScopedIcon(info.hIcon);
  }
  return nullptr;
}

}  // namespace

ScopedIcon LoadDesktopItemIcon(std::u16string_view iconText, int size) {
  if (iconText.empty()) return nullptr;
  ComScope com;
  Microsoft::WRL::ComPtr<IShellFolder> desktop;
  if (FAILED(SHGetDesktopFolder(desktop.GetAddressOf()))) return nullptr;
  Microsoft::WRL::ComPtr<IEnumIDList> items;
  const SHCONTF kinds = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN;
  if (desktop->EnumObjects(nullptr, kinds, items.GetAddressOf()) != S_OK || !items.Get())
    return nullptr;

  ScopedIcon icon;
  PITEMID_CHILD next = nullptr;
  while (!icon && items->Next(1, &next, nullptr) == S_OK) {
    const ScopedPidl item(next);
    // The shown name, or the file name where the desktop shows file extensions and the folder
    // view does not. Children of the desktop folder are also absolute item lists.
    if (NamesIcon(NameOf(desktop.Get(), next, SHGDN_NORMAL), iconText) ||
        NamesIcon(NameOf(desktop.Get(), next, SHGDN_INFOLDER | SHGDN_FORPARSING), iconText)) {
      icon = IconOfItem(reinterpret_cast<PCIDLIST_ABSOLUTE>(next), size);
    }
  }
  return icon;
}

ScopedIcon LoadNeutralIcon(int size) {
  SHSTOCKICONINFO info{};
  info.cbSize = sizeof info;
  if (SUCCEEDED(SHGetStockIconInfo(SIID_DOCNOASSOC, SHGSI_SYSICONINDEX, &info))) {
    if (ScopedIcon icon = IconFromSystemImageList(info.iSysImageIndex, size)) return icon;
  }
  return ScopedIcon(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
}

}  // namespace norv
