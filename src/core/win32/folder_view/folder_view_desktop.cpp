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

// Takes every id the enumerator's next(wanted, ids, fetched) gives into `ids`, asking for
// `expected` + 1 at a time: one call where the enumerator allows, and one id more than expected
// shows a count that was wrong.
template <class Next>
HRESULT TakeIds(Next next, size_t expected, std::vector<Pidl>& ids) {
  std::vector<PITEMID_CHILD> batch(expected + 1);
  ids.reserve(expected);
  while (ids.size() <= expected) {
    ULONG fetched = 0;
    const HRESULT hr = next(static_cast<ULONG>(batch.size()), batch.data(), &fetched);
    if (FAILED(hr)) return hr;
    for (ULONG i = 0; i < fetched && i < batch.size(); ++i) ids.emplace_back(batch[i]);
    if (hr != S_OK || fetched == 0) break;
  }
  return S_OK;
}

// An item id as bytes: the same icon of one view has the same id however it was asked for.
std::string IdBytes(PCUITEMID_CHILD id) {
  return std::string(reinterpret_cast<const char*>(id), ILGetSize(id));
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

FolderViewDesktop::FolderViewDesktop(FolderViewShell shell, std::function<bool()> callStarts)
    : shell_(std::move(shell)), callStarts_(std::move(callStarts)) {}

void FolderViewDesktop::Release() {
  items_.clear();
  names_.Reset();
  folder_.reset();
  view_.Reset();
  viewWindow_ = nullptr;
}

bool FolderViewDesktop::FindDesktopListView() {
  // Reaching the view is the fixed cost of a find; its items are asked for anew every time.
  if (view_ && IsWindow(viewWindow_) && ReadItemIds()) return true;
  // What an earlier find holds may belong to an Explorer that has ended since.
  Release();
  if (Reach() && ReadItemIds()) return true;
  Release();
  return false;
}

bool FolderViewDesktop::Reach() {
  ComPtr<IShellWindows> windows;
  if (FAILED(Ask([&] { return shell_.openShellWindows(&windows); })) || !windows) return false;
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
  const HRESULT found = Ask([&] {
    return windows->FindWindowSW(&location, &root, SWC_DESKTOP, &desktopWindow, SWFO_NEEDDISPATCH,
                                 &desktop);
  });
  if (found != S_OK || !desktop) return false;
  ComPtr<IServiceProvider> services;
  if (FAILED(Ask([&] { return desktop.As(&services); }))) return false;
  ComPtr<IShellBrowser> browser;
  if (FAILED(Ask(
          [&] { return services->QueryService(SID_STopLevelBrowser, IID_PPV_ARGS(&browser)); })) ||
      !browser) {
    return false;
  }
  ComPtr<IShellView> shellView;
  if (FAILED(Ask([&] { return browser->QueryActiveShellView(&shellView); })) || !shellView) {
    return false;
  }
  ComPtr<IFolderView2> view;
  if (FAILED(Ask([&] { return shellView.As(&view); }))) return false;
  HWND window = nullptr;
  if (FAILED(Ask([&] { return shellView->GetWindow(&window); })) || !IsWindow(window)) {
    return false;
  }
  view_ = std::move(view);
  viewWindow_ = window;
  return true;
}

bool FolderViewDesktop::ReadItemIds() {
  items_.clear();
  names_.Reset();
  folder_.reset();
  int count = 0;
  if (FAILED(Ask([&] { return view_->ItemCount(SVGIO_ALLVIEW, &count); })) || count < 0) {
    return false;
  }
  ComPtr<IEnumIDList> all;
  // In view order: otherwise the selected items come first and indexes are not the view's.
  if (FAILED(Ask([&] {
        return view_->Items(SVGIO_ALLVIEW | SVGIO_FLAG_VIEWORDER, IID_PPV_ARGS(&all));
      })) ||
      !all) {
    return false;
  }
  // The count and the ids must describe the same items, or an index would name another icon.
  const auto expected = static_cast<size_t>(count);
  if (FAILED(TakeIds(NextOf(*all.Get()), expected, items_)) || items_.size() != expected) {
    items_.clear();
    return false;
  }

  ComPtr<IPersistFolder2> folder;
  if (FAILED(Ask([&] { return view_->GetFolder(IID_PPV_ARGS(&folder)); })) || !folder) {
    return false;
  }
  PIDLIST_ABSOLUTE location = nullptr;
  if (FAILED(Ask([&] { return folder->GetCurFolder(&location); })) || !location) return false;
  folder_.reset(location);
  return SUCCEEDED(shell_.bindFolder(folder_.get(), &names_)) && names_;
}

std::function<HRESULT(ULONG, PITEMID_CHILD*, ULONG*)> FolderViewDesktop::NextOf(
    IEnumIDList& enumerator) {
  return [this, &enumerator](ULONG wanted, PITEMID_CHILD* ids, ULONG* fetched) {
    return Ask([&] { return enumerator.Next(wanted, ids, fetched); });
  };
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

std::optional<std::vector<DesktopItem>> FolderViewDesktop::ReadItems(int32_t count) {
  if (!view_ || !names_ || count < 0 || static_cast<size_t>(count) > items_.size()) {
    return std::nullopt;
  }
  std::vector<DesktopItem> read;
  read.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const PCUITEMID_CHILD item = Item(i);
    POINT position{};
    if (FAILED(Ask([&] { return view_->GetItemPosition(item, &position); }))) return std::nullopt;
    const std::optional<std::u16string> name = DisplayName(*names_.Get(), item);
    if (!name) return std::nullopt;
    const Pidl full(ILCombine(folder_.get(), item));
    const int image = full ? shell_.systemImageIndex(full.get()) : -1;
    read.push_back({{position.x, position.y}, *name, image});
  }
  return read;
}

size_t FolderViewDesktop::MoveItems(std::span<const IconMove> moves) {
  if (!view_) return 0;
  // Each icon once, where its last move puts it: one call's items have no order among them.
  std::vector<std::optional<POINT>> targets(items_.size());
  bool anyKnown = false;
  for (const IconMove& move : moves) {
    // An index the last find did not see: the view would refuse it, as a list view does.
    if (!Item(move.index)) continue;
    targets[static_cast<size_t>(move.index)] = POINT{move.to.x, move.to.y};
    anyKnown = true;
  }
  if (!anyKnown) return moves.size();

  // The flags have no "leave the selection alone": without the select bit an item reads as to be
  // deselected. So the selected icons are placed by a call that selects them, the others apart.
  const std::optional<std::set<std::string>> selected = SelectedIds();
  if (!selected) return 0;
  PlacedItems kept;
  PlacedItems others;
  for (size_t i = 0; i < targets.size(); ++i) {
    if (!targets[i]) continue;
    PlacedItems& placed = selected->count(IdBytes(items_[i].get())) ? kept : others;
    placed.items.push_back(items_[i].get());
    placed.points.push_back(*targets[i]);
  }
  const bool delivered =
      Place(kept, SVSI_POSITIONITEM | SVSI_SELECT) && Place(others, SVSI_POSITIONITEM);
  return delivered ? moves.size() : 0;
}

std::optional<std::set<std::string>> FolderViewDesktop::SelectedIds() {
  // A selection Explorer answers but will not tell is taken as none, as a refused item is.
  std::set<std::string> selected;
  int count = 0;
  const HRESULT counted = Ask([&] { return view_->ItemCount(SVGIO_SELECTION, &count); });
  if (!ReachedExplorer(counted)) return std::nullopt;
  if (FAILED(counted) || count <= 0) return selected;
  ComPtr<IEnumIDList> enumerator;
  const HRESULT listed =
      Ask([&] { return view_->Items(SVGIO_SELECTION, IID_PPV_ARGS(&enumerator)); });
  if (!ReachedExplorer(listed)) return std::nullopt;
  if (FAILED(listed) || !enumerator) return selected;
  std::vector<Pidl> ids;
  if (!ReachedExplorer(TakeIds(NextOf(*enumerator.Get()), static_cast<size_t>(count), ids)))
    return std::nullopt;
  for (const Pidl& id : ids) selected.insert(IdBytes(id.get()));
  return selected;
}

bool FolderViewDesktop::Place(PlacedItems& placed, DWORD flags) {
  if (placed.items.empty()) return true;
  const HRESULT all = Ask([&] {
    return view_->SelectAndPositionItems(static_cast<UINT>(placed.items.size()),
                                         placed.items.data(), placed.points.data(), flags);
  });
  if (SUCCEEDED(all) || !ReachedExplorer(all)) return SUCCEEDED(all);
  // Refused, as when one of the icons has gone since the find: each alone, so the others move.
  for (size_t i = 0; i < placed.items.size(); ++i) {
    if (!ReachedExplorer(Ask([&] {
          return view_->SelectAndPositionItems(1, &placed.items[i], &placed.points[i], flags);
        }))) {
      return false;
    }
  }
  return true;
}

bool FolderViewDesktop::ArrangeIcons() {
  if (!view_) return false;
  DWORD flags = 0;
  const HRESULT asked = Ask([&] { return view_->GetCurrentFolderFlags(&flags); });
  if (FAILED(asked)) return ReachedExplorer(asked);
  if (flags & FWF_AUTOARRANGE) return true;  // the view keeps itself arranged
  // Auto-arrange makes the view arrange the icons itself, so Explorer keeps the result; switching
  // it off again leaves them there and the user's setting as it was.
  const HRESULT switchedOn =
      Ask([&] { return view_->SetCurrentFolderFlags(FWF_AUTOARRANGE, FWF_AUTOARRANGE); });
  if (FAILED(switchedOn)) return ReachedExplorer(switchedOn);
  return ReachedExplorer(Ask([&] { return view_->SetCurrentFolderFlags(FWF_AUTOARRANGE, 0); }));
}

}  // namespace norv
