#include "folder_view_server.h"

// The shell's interfaces need the COM basics first.
#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

#include "unserved_folder_view.h"

namespace norv::testdesk {
namespace {

// What a call on an object of a shell that has gone answers.
constexpr HRESULT kGone = RPC_E_DISCONNECTED;

// The id an interface is asked for by; a class that implements part of one names it.
template <class T>
const IID& IdOf() {
  if constexpr (requires { typename T::Interface; }) {
    return __uuidof(typename T::Interface);
  } else {
    return __uuidof(T);
  }
}

// Reference counting and interface lookup of the served objects.
template <class... Interfaces>
class ComObject : public Interfaces... {
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

 public:
  virtual ~ComObject() = default;
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (!((iid == IdOf<Interfaces>() ? (*out = static_cast<Interfaces*>(this), true)
                                            : false) ||
                 ...)) {
      *out = Alias(iid);
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  // Hands a new object's one reference to an out parameter as `iid`.
  static HRESULT Give(ComObject* object, REFIID iid, void** out) {
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }

 protected:
  // Interfaces reached through a base of one of ours (IFolderView through IFolderView2).
  virtual void* Alias(REFIID) { return nullptr; }

 private:
  LONG refs_ = 1;
};

}  // namespace

// What the objects share: the desktop, the count of calls, and the items' ids.
class FolderViewServer::Objects {
 public:
  Objects(DesktopWindows& desktop, RequestCounter& counter) : desktop(desktop), counter(counter) {}

  // Counts a call; false when the view it goes to answers nothing (it has gone or is dying).
  bool Call(int generation) {
    return generation == generation_ && desktop.present() && counter.FolderViewCall();
  }
  int generation() const { return generation_; }
  void NextGeneration() { ++generation_; }

  // The id of the item at `index`: the id the desktop folder of this Wine prefix gives a file of
  // the item's name on the desktop (the file need not exist), with the item's serial number in
  // its size field so that items of the same name differ. Empty when there is no such item.
  std::string IdOf(int index);
  // The same for the item at `index` whose serial number is known.
  std::string IdOf(int index, uint32_t serial);
  struct Found {
    int index;
    uint32_t serial;
  };
  // The item `id` names, or nullopt.
  std::optional<Found> Find(PCUITEMID_CHILD id);
  PITEMID_CHILD CopyOfId(int index) {
    const std::string bytes = IdOf(index);
    if (bytes.empty()) return nullptr;
    auto* copy = static_cast<PITEMID_CHILD>(CoTaskMemAlloc(bytes.size()));
    if (copy) std::memcpy(copy, bytes.data(), bytes.size());
    return copy;
  }

  DesktopWindows& desktop;
  RequestCounter& counter;
  DWORD folderFlags = FWF_NOCLIENTEDGE;

 private:
  // Where the size field of a file's id lies: after its byte count, type and a reserved byte.
  static constexpr size_t kSerialOffset = 4;

  int generation_ = 0;
  std::map<uint32_t, std::string> ids_;  // by serial number
};

std::string FolderViewServer::Objects::IdOf(int index) {
  const std::optional<uint32_t> serial = desktop.ItemSerial(index);
  return serial ? IdOf(index, *serial) : std::string();
}

std::string FolderViewServer::Objects::IdOf(int index, uint32_t serial) {
  if (const auto known = ids_.find(serial); known != ids_.end()) return known->second;
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, folder))) return {};
  const std::wstring path = std::wstring(folder) + L"\\" + desktop.ItemText(index);
  PIDLIST_ABSOLUTE full = SHSimpleIDListFromPath(path.c_str());
  if (!full) return {};
  const PCUITEMID_CHILD last = ILFindLastID(full);
  std::string bytes(reinterpret_cast<const char*>(last), ILGetSize(last));
  ILFree(full);
  if (bytes.size() < kSerialOffset + sizeof serial + sizeof(USHORT)) return {};
  std::memcpy(bytes.data() + kSerialOffset, &serial, sizeof serial);
  return ids_[serial] = bytes;
}

std::optional<FolderViewServer::Objects::Found> FolderViewServer::Objects::Find(
    PCUITEMID_CHILD id) {
  if (!id) return std::nullopt;
  const size_t size = ILGetSize(id);
  uint32_t serial = 0;
  if (size < kSerialOffset + sizeof serial) return std::nullopt;
  std::memcpy(&serial, reinterpret_cast<const char*>(id) + kSerialOffset, sizeof serial);
  const std::optional<int> index = desktop.IndexOfSerial(serial);
  if (!index || IdOf(*index, serial) != std::string(reinterpret_cast<const char*>(id), size)) {
    return std::nullopt;
  }
  return Found{*index, serial};
}

namespace {

using Objects = FolderViewServer::Objects;

class ItemIds final : public ComObject<IEnumIDList> {
 public:
  ItemIds(Objects& objects, std::vector<int> indexes)
      : objects_(objects), generation_(objects.generation()), indexes_(std::move(indexes)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, PITEMID_CHILD* ids, ULONG* fetched) override {
    if (!objects_.Call(generation_)) return kGone;
    ULONG got = 0;
    for (; got < wanted && next_ < indexes_.size(); ++got) {
      ids[got] = objects_.CopyOfId(indexes_[next_++]);
    }
    if (fetched) *fetched = got;
    return got == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (!objects_.Call(generation_)) return kGone;
    next_ = std::min(indexes_.size(), next_ + count);
    return next_ < indexes_.size() ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    if (!objects_.Call(generation_)) return kGone;
    next_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList** out) override {
    *out = nullptr;
    return E_NOTIMPL;
  }

 private:
  Objects& objects_;
  int generation_;
  std::vector<int> indexes_;
  size_t next_ = 0;
};

// The view's folder: the desktop, the root of the namespace, whose id is the empty list.
class DesktopFolder final : public ComObject<IPersistFolder2> {
 public:
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override {
    *id = CLSID_ShellDesktop;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurFolder(PIDLIST_ABSOLUTE* out) override {
    *out = static_cast<PIDLIST_ABSOLUTE>(CoTaskMemAlloc(sizeof(USHORT)));
    if (!*out) return E_OUTOFMEMORY;
    (*out)->mkid.cb = 0;
    return S_OK;
  }

 private:
  void* Alias(REFIID iid) override {
    if (iid == IID_IPersist || iid == IID_IPersistFolder)
      return static_cast<IPersistFolder2*>(this);
    return nullptr;
  }
};

class DesktopView final : public ComObject<IShellView, UnservedFolderView> {
 public:
  explicit DesktopView(Objects& objects) : objects_(objects), generation_(objects.generation()) {}

  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    *window = objects_.desktop.viewWindow();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** out) override {
    *out = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    return DesktopFolder::Give(new DesktopFolder, iid, out);
  }
  HRESULT STDMETHODCALLTYPE Item(int index, PITEMID_CHILD* id) override {
    *id = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    *id = objects_.CopyOfId(index);
    return *id ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE ItemCount(UINT flags, int* count) override {
    *count = 0;
    if (!objects_.Call(generation_)) return kGone;
    *count = static_cast<int>(Indexes(flags).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID iid, void** out) override {
    *out = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    return ItemIds::Give(new ItemIds(objects_, Indexes(flags)), iid, out);
  }
  HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD id, POINT* point) override {
    *point = {};
    if (!objects_.Call(generation_)) return kGone;
    const std::optional<Objects::Found> item = objects_.Find(id);
    const std::optional<POINT> position =
        item ? objects_.desktop.ItemPosition(item->index) : std::nullopt;
    if (!position) return E_INVALIDARG;
    *point = *position;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY ids,
                                                   POINT* points, DWORD flags) override {
    if (!objects_.Call(generation_)) return kGone;
    // Without the select flag an item is to be deselected; only changes go to the list view.
    const std::vector<int> selectedList = objects_.desktop.SelectedIndexes();
    std::set<int> selected(selectedList.begin(), selectedList.end());
    if (flags & SVSI_DESELECTOTHERS) {
      for (const int index : selected) objects_.desktop.Select(index, false);
      selected.clear();
    }
    const bool select = (flags & SVSI_SELECT) != 0;
    HRESULT result = S_OK;
    for (UINT i = 0; i < count; ++i) {
      const std::optional<Objects::Found> item = objects_.Find(ids[i]);
      if (!item) {
        result = E_INVALIDARG;
        continue;
      }
      if (points && (flags & SVSI_POSITIONITEM)) {
        objects_.desktop.PlaceKept(item->index, item->serial, points[i]);
      }
      if (select != (selected.count(item->index) > 0)) objects_.desktop.Select(item->index, select);
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentFolderFlags(DWORD* flags) override {
    *flags = 0;
    if (!objects_.Call(generation_)) return kGone;
    *flags = objects_.folderFlags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentFolderFlags(DWORD mask, DWORD flags) override {
    if (!objects_.Call(generation_)) return kGone;
    const DWORD before = objects_.folderFlags;
    objects_.folderFlags = (before & ~mask) | (flags & mask);
    // Switched on, auto-arrange lays the icons out at once, and the shell keeps where they went.
    if (!(before & FWF_AUTOARRANGE) && (objects_.folderFlags & FWF_AUTOARRANGE)) {
      objects_.desktop.ArrangeKept();
    }
    return S_OK;
  }

  // Not served.
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModeless(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UIActivate(UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Refresh() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateViewWindow(IShellView*, LPCFOLDERSETTINGS, IShellBrowser*, RECT*,
                                             HWND*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE DestroyViewWindow() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetCurrentInfo(LPFOLDERSETTINGS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddPropertySheetPages(DWORD, LPFNSVADDPROPSHEETPAGE, LPARAM) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SaveViewState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SelectItem(PCUITEMID_CHILD, SVSIF) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetItemObject(UINT, REFIID, void**) override { return E_NOTIMPL; }

 private:
  void* Alias(REFIID iid) override {
    if (iid == IID_IFolderView) return static_cast<IFolderView*>(this);
    if (iid == IID_IOleWindow) return static_cast<IOleWindow*>(static_cast<IShellView*>(this));
    return nullptr;
  }

  // The items the flags ask for, in the view's order (the list view's).
  std::vector<int> Indexes(UINT flags) const {
    if ((flags & SVGIO_TYPE_MASK) == SVGIO_SELECTION) return objects_.desktop.SelectedIndexes();
    std::vector<int> indexes(static_cast<size_t>(objects_.desktop.ItemCount()));
    for (size_t i = 0; i < indexes.size(); ++i) indexes[i] = static_cast<int>(i);
    return indexes;
  }

  Objects& objects_;
  int generation_;
};

// The desktop's automation object, which is also the browser that holds the desktop's view.
class DesktopBrowser final : public ComObject<IDispatch, IServiceProvider, IShellBrowser> {
 public:
  explicit DesktopBrowser(Objects& objects)
      : objects_(objects), generation_(objects.generation()) {}

  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    *out = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    if (service != SID_STopLevelBrowser && service != SID_SShellBrowser) return E_NOINTERFACE;
    return QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** out) override {
    *out = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    return DesktopView::Give(new DesktopView(objects_), IID_IShellView,
                             reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    *window = nullptr;
    if (!objects_.Call(generation_)) return kGone;
    *window = GetAncestor(objects_.desktop.viewWindow(), GA_ROOT);
    return S_OK;
  }

  // Not served.
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InsertMenusSB(HMENU, LPOLEMENUGROUPWIDTHS) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetMenuSB(HMENU, HOLEMENU, HWND) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RemoveMenusSB(HMENU) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetStatusTextSB(LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnableModelessSB(WINBOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE TranslateAcceleratorSB(MSG*, WORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BrowseObject(PCUIDLIST_RELATIVE, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetViewStateStream(DWORD, IStream**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlWindow(UINT, HWND*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SendControlMsg(UINT, UINT, WPARAM, LPARAM, LRESULT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE OnViewWindowActive(IShellView*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetToolbarItems(LPTBBUTTONSB, UINT, UINT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  void* Alias(REFIID iid) override {
    if (iid == IID_IOleWindow) return static_cast<IOleWindow*>(static_cast<IShellBrowser*>(this));
    return nullptr;
  }

  Objects& objects_;
  int generation_;
};

class ShellWindows final : public ComObject<IShellWindows> {
 public:
  explicit ShellWindows(Objects& objects) : objects_(objects) {}

  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int windowClass, LONG* window,
                                         int options, IDispatch** found) override {
    if (window) *window = 0;
    if (found) *found = nullptr;
    // "No such window" while the desktop has no view, as while the shell restarts.
    if (!objects_.Call(objects_.generation())) return S_FALSE;
    if (windowClass != SWC_DESKTOP) return S_FALSE;
    const HWND top = GetAncestor(objects_.desktop.viewWindow(), GA_ROOT);
    if (window) *window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(top));
    if ((options & SWFO_NEEDDISPATCH) && found) {
      return DesktopBrowser::Give(new DesktopBrowser(objects_), IID_IDispatch,
                                  reinterpret_cast<void**>(found));
    }
    return S_OK;
  }

  // Not served.
  HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Item(VARIANT, IDispatch**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Register(IDispatch*, LONG, int, LONG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterPending(LONG, VARIANT*, VARIANT*, int, LONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Revoke(LONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnNavigate(LONG, VARIANT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnActivated(LONG, VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnCreated(LONG, IUnknown*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ProcessAttachDetach(VARIANT_BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  Objects& objects_;
};

class ShellWindowsFactory final : public ComObject<IClassFactory> {
 public:
  explicit ShellWindowsFactory(Objects& objects) : objects_(objects) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return ShellWindows::Give(new ShellWindows(objects_), iid, out);
  }
  HRESULT STDMETHODCALLTYPE LockServer(WINBOOL) override { return S_OK; }

 private:
  Objects& objects_;
};

}  // namespace

FolderViewServer::FolderViewServer(DesktopWindows& desktop, RequestCounter& counter)
    : objects_(std::make_unique<Objects>(desktop, counter)) {}

FolderViewServer::~FolderViewServer() {
  // Revoked before the process ends, or the class would stay unusable in this Wine server.
  if (cookie_) CoRevokeClassObject(cookie_);
}

bool FolderViewServer::Start(const std::wstring& proxyDll, std::wstring& error) {
  // A class of its own for every run: one left registered by a desktop that was killed cannot
  // be taken over.
  CLSID shellWindows{};
  if (FAILED(CoCreateGuid(&shellWindows))) {
    error = L"cannot make a class id";
    return false;
  }
  auto* factory = new ShellWindowsFactory(*objects_);
  const HRESULT registered =
      CoRegisterClassObject(shellWindows, static_cast<IClassFactory*>(factory), CLSCTX_LOCAL_SERVER,
                            REGCLS_MULTIPLEUSE, &cookie_);
  factory->Release();
  if (FAILED(registered)) {
    cookie_ = 0;
    error = L"cannot register the shell windows class";
    return false;
  }
  return registration_.Install(shellWindows, proxyDll, error);
}

void FolderViewServer::ViewGone() { objects_->NextGeneration(); }

}  // namespace norv::testdesk
