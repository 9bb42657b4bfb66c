#include "core/win32/folder_view/folder_view_desktop.h"

#include <shellapi.h>
#include <shlguid.h>
#include <shlwapi.h>

#include <string>

namespace norv {
namespace {

using Microsoft::WRL::ComPtr;

std::optional<std::u16string> DisplayName(IShellFolder& folder, PCUITEMID_CHILD item) {
  STRRET name{};
  if (FAILED(folder.GetDisplayNameOf(item, SHGDN_NORMAL, &name))) return std::nullopt;
  PWSTR text = nullptr;
  if (FAILED(StrRetToStrW(&name, item, &text)) || !text) return std::nullopt;
  std::u16string result(reinterpret_cast<const char16_t*>(text));
  CoTaskMemFree(text);
  return result;
}

// Whether a call reached Explorer: only COM's and the RPC runtime's own failures to carry it (a
// disconnected or dead server, a call it would not take) say it did not. Explorer's refusal of
// an item it no longer holds is an answer like any other.
bool ReachedExplorer(HRESULT result) {
  if (SUCCEEDED(result)) return true;
  if (HRESULT_FACILITY(result) == FACILITY_RPC || result == CO_E_OBJNOTCONNECTED) return false;
  // The RPC runtime's status codes (RPC_S_SERVER_UNAVAILABLE, RPC_S_CALL_FAILED, ...) as HRESULTs.
  const int code = HRESULT_CODE(result);
  return !(HRESULT_FACILITY(result) == FACILITY_WIN32 && code >= RPC_S_INVALID_STRING_BINDING &&
           code <= RPC_X_BAD_STUB_DATA);
}

}  // namespace

FolderViewShell SystemFolderViewShell() {
  FolderViewShell shell;
  shell.openShellWindows = [](IShellWindows** out) {
    return CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_PPV_ARGS(out));
  };
  shell.bindFolder = [](PCIDLIST_ABSOLUTE folder, IShellFolder** out) -> HRESULT {
    ComPtr<IShellFolder> desktop;
    const HRESULT hr = SHGetDesktopFolder(&desktop);
    if (FAILED(hr)) return hr;
    if (folder->mkid.cb == 0) {  // the desktop is the root of the namespace
      *out = desktop.Detach();
      return S_OK;
    }
    return desktop->BindToObject(folder, nullptr, IID_PPV_ARGS(out));
  };
  shell.systemImageIndex = [](PCIDLIST_ABSOLUTE item) {
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(reinterpret_cast<LPCWSTR>(item), 0, &info, sizeof info,
                        SHGFI_PIDL | SHGFI_SYSICONINDEX)) {
      return -1;
    }
    return info.iIcon;
  };
  return shell;
}

FolderViewDesktop::FolderViewDesktop(FolderViewShell shell) : shell_(std::move(shell)) {}

void FolderViewDesktop::Release() {
  items_.clear();
  names_.Reset();
  folder_.reset();
  view_.Reset();
  viewWindow_ = nullptr;
}

bool FolderViewDesktop::FindDesktopListView() {
  // What an earlier find holds may belong to an Explorer that has ended since.
  Release();
  if (Reach() && ReadItems()) return true;
  Release();
  return false;
}

bool FolderViewDesktop::Reach() {
  ComPtr<IShellWindows> windows;
  if (FAILED(shell_.openShellWindows(&windows)) || !windows) return false;
  // The shell accepts a folder id (CSIDL) for the location as well as an item id list.
  VARIANT location;
  VariantInit(&location);
  location.vt = VT_I4;
  location.lVal = CSIDL_DESKTOP;
  VARIANT root;
  VariantInit(&root);
  LONG desktopWindow = 0;
  ComPtr<IDispatch> desktop;
  // S_FALSE is "no such window": not a success here.
  if (windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                            &desktop) != S_OK ||
      !desktop) {
    return false;
  }
  ComPtr<IServiceProvider> services;
  if (FAILED(desktop.As(&services))) return false;
  ComPtr<IShellBrowser> browser;
  if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser))) || !browser) {
    return false;
  }
  ComPtr<IShellView> shellView;
  if (FAILED(browser->QueryActiveShellView(&shellView)) || !shellView) return false;
  ComPtr<IFolderView2> view;
  if (FAILED(shellView.As(&view))) return false;
  HWND window = nullptr;
  if (FAILED(shellView->GetWindow(&window)) || !IsWindow(window)) return false;
  view_ = std::move(view);
  viewWindow_ = window;
  return true;
}

bool FolderViewDesktop::ReadItems() {
  int count = 0;
  if (FAILED(view_->ItemCount(SVGIO_ALLVIEW, &count)) || count < 0) return false;
  ComPtr<IEnumIDList> all;
  // In view order: otherwise the selected items come first and indexes are not the view's.
  if (FAILED(view_->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&all))) || !all) {
    return false;
  }
  // Every id in one request where the enumerator allows; one more than counted shows a mismatch.
  const auto expected = static_cast<size_t>(count);
  std::vector<PITEMID_CHILD> batch(expected + 1);
  items_.reserve(expected);
  while (items_.size() <= expected) {
    ULONG fetched = 0;
    const HRESULT hr = all->Next(static_cast<ULONG>(batch.size()), batch.data(), &fetched);
    if (FAILED(hr)) return false;
    for (ULONG i = 0; i < fetched && i < batch.size(); ++i) items_.emplace_back(batch[i]);
    if (hr != S_OK || fetched == 0) break;
  }
  // The count and the ids must describe the same items, or an index would name another icon.
  if (items_.size() != expected) return false;

  ComPtr<IPersistFolder2> folder;
  if (FAILED(view_->GetFolder(IID_PPV_ARGS(&folder))) || !folder) return false;
  PIDLIST_ABSOLUTE location = nullptr;
  if (FAILED(folder->GetCurFolder(&location)) || !location) return false;
  folder_.reset(location);
  return SUCCEEDED(shell_.bindFolder(folder_.get(), &names_)) && names_;
}

PCUITEMID_CHILD FolderViewDesktop::Item(int32_t index) const {
  if (!view_ || index < 0 || static_cast<size_t>(index) >= items_.size()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

DesktopRect FolderViewDesktop::GetDesktopRect() {
  if (!viewWindow_) return {};
  // The icon list view's client area, as the list-view way measures the desktop.
  const HWND list = FindWindowExW(viewWindow_, nullptr, L"SysListView32", nullptr);
  RECT client{};
  if (!GetClientRect(list ? list : viewWindow_, &client)) return {};
  return {client.right, client.bottom};
}

std::optional<Point> FolderViewDesktop::GetItemPosition(int32_t index) {
  const PCUITEMID_CHILD item = Item(index);
  POINT position{};
  if (!item || FAILED(view_->GetItemPosition(item, &position))) return std::nullopt;
  return Point{position.x, position.y};
}

std::optional<ItemLabel> FolderViewDesktop::GetItemLabel(int32_t index) {
  const PCUITEMID_CHILD item = Item(index);
  if (!item || !names_) return std::nullopt;
  const std::optional<std::u16string> name = DisplayName(*names_.Get(), item);
  if (!name) return std::nullopt;
  const Pidl full(ILCombine(folder_.get(), item));
  const int image = full ? shell_.systemImageIndex(full.get()) : -1;
  return ItemLabel{*name, image};
}

bool FolderViewDesktop::SetItemPosition(int32_t index, int32_t x, int32_t y) {
  if (!view_) return false;
  PCUITEMID_CHILD item = Item(index);
  // An index the last find did not see: the view would refuse it, as a list view does.
  if (!item) return true;
  // The flags have no "leave the selection alone": without the select bit an item reads as to
  // be deselected. Ask for the selection the icon has, so a move never changes it.
  DWORD state = 0;
  DWORD flags = SVSI_POSITIONITEM;
  const HRESULT asked = view_->GetSelectionState(item, &state);
  if (!ReachedExplorer(asked)) return false;
  if (SUCCEEDED(asked) && (state & SVSI_SELECT)) flags |= SVSI_SELECT;
  POINT position{x, y};
  return ReachedExplorer(view_->SelectAndPositionItems(1, &item, &position, flags));
}

bool FolderViewDesktop::ArrangeIcons() {
  if (!view_) return false;
  DWORD flags = 0;
  const HRESULT asked = view_->GetCurrentFolderFlags(&flags);
  if (FAILED(asked)) return ReachedExplorer(asked);
  if (flags & FWF_AUTOARRANGE) return true;  // the view keeps itself arranged
  // Auto-arrange makes the view arrange the icons itself, so Explorer keeps the result; switching
  // it off again leaves them there and the user's setting as it was.
  const HRESULT switchedOn = view_->SetCurrentFolderFlags(FWF_AUTOARRANGE, FWF_AUTOARRANGE);
  if (FAILED(switchedOn)) return ReachedExplorer(switchedOn);
  return ReachedExplorer(view_->SetCurrentFolderFlags(FWF_AUTOARRANGE, 0));
}

}  // namespace norv
