#include "core/folder_view/fake_explorer.h"

#include <commctrl.h>
#include <shlguid.h>

#include <cstring>
#include <tuple>

#include "testdesk/unserved_folder_view.h"

namespace norv::test {
namespace {

using Step = FakeExplorer::Step;

// What a proxy to an ended server answers.
constexpr HRESULT kDisconnected = RPC_E_DISCONNECTED;

// Reference counting, interface lookup and the request count shared by the fake objects.
// Remote objects stand for Explorer's: every call of theirs counts as a request to its process
// and fails once that Explorer has ended.
// The interface a class of ours stands for: its own, or the one a base of unserved methods names.
template <class Interface>
const IID& IidOf() {
  if constexpr (requires { typename Interface::Interface; }) {
    return __uuidof(typename Interface::Interface);
  } else {
    return __uuidof(Interface);
  }
}

template <class... Interfaces>
class FakeObject : public Interfaces... {
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;

 public:
  FakeObject(FakeExplorer& explorer, bool remote)
      : explorer_(explorer), generation_(explorer.generation()), remote_(remote) {
    ++explorer_.liveObjects;
  }
  virtual ~FakeObject() { --explorer_.liveObjects; }

  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Call()) return kDisconnected;
    if (Refuses(iid)) return E_NOINTERFACE;
    if (iid == IID_IUnknown) {
      *out = static_cast<IUnknown*>(static_cast<First*>(this));
    } else if (!((iid == IidOf<Interfaces>() ? (*out = static_cast<Interfaces*>(this), true)
                                             : false) ||
                 ...)) {
      *out = Alias(iid);
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

  // A new object with one reference, as an out parameter receives it.
  template <class Interface>
  static HRESULT Give(Interface* object, REFIID iid, void** out) {
    const HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
  }

 protected:
  // False when Explorer has ended; counts the call otherwise.
  bool Call() {
    if (!remote_) return true;
    WaitForSingleObject(explorer_.awake(), INFINITE);
    if (!explorer_.Alive(generation_)) return false;
    ++explorer_.requests;
    return true;
  }
  bool Failing(Step step) const { return explorer_.failAt == step; }
  virtual bool Refuses(REFIID) { return false; }
  // Interfaces reached through a base of one of ours (IFolderView through IFolderView2).
  virtual void* Alias(REFIID) { return nullptr; }

  FakeExplorer& explorer_;

 private:
  int generation_;
  bool remote_;
  ULONG refs_ = 1;
};

class FakeShellFolder final : public FakeObject<IShellFolder> {
 public:
  explicit FakeShellFolder(FakeExplorer& explorer) : FakeObject(explorer, false) {}

  HRESULT STDMETHODCALLTYPE GetDisplayNameOf(PCUITEMID_CHILD pidl, SHGDNF flags,
                                             STRRET* name) override {
    ++explorer_.nameRequests;
    const uint32_t id = FakeIdOf(pidl);
    if (explorer_.IndexOfId(id) < 0 || !name) return E_INVALIDARG;
    // Other kinds of name differ, as a parsing name (a path) does from the normal one.
    std::wstring text(reinterpret_cast<const wchar_t*>(explorer_.NameOf(id).c_str()));
    if (flags != SHGDN_NORMAL) text = L"C:\\Users\\norv\\Desktop\\" + text + L".lnk";
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc(bytes));
    if (!copy) return E_OUTOFMEMORY;
    std::memcpy(copy, text.c_str(), bytes);
    name->uType = STRRET_WSTR;
    name->pOleStr = copy;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*,
                                             ULONG*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetUIObjectOf(HWND, UINT, PCUITEMID_CHILD_ARRAY, REFIID, UINT*,
                                          void**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF,
                                      PITEMID_CHILD*) override {
    return E_NOTIMPL;
  }
};

class FakeIdEnumerator final : public FakeObject<IEnumIDList> {
 public:
  FakeIdEnumerator(FakeExplorer& explorer, std::vector<uint32_t> ids)
      : FakeObject(explorer, true), ids_(std::move(ids)) {}

  HRESULT STDMETHODCALLTYPE Next(ULONG wanted, PITEMID_CHILD* out, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kEnumNext)) return E_FAIL;
    if (!out || (wanted > 1 && !fetched)) return E_INVALIDARG;
    ULONG given = 0;
    while (given < wanted && next_ < ids_.size())
      out[given++] = FakeItemId(ids_[next_++]).release();
    if (fetched) *fetched = given;
    return given == wanted ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumIDList**) override { return E_NOTIMPL; }

 private:
  std::vector<uint32_t> ids_;
  size_t next_ = 0;
};

class FakePersistFolder final : public FakeObject<IPersistFolder2> {
 public:
  explicit FakePersistFolder(FakeExplorer& explorer) : FakeObject(explorer, true) {}

  HRESULT STDMETHODCALLTYPE GetCurFolder(PIDLIST_ABSOLUTE* out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kCurrentFolder)) return E_FAIL;
    // The desktop is the root of the namespace: an empty id list.
    *out = static_cast<PIDLIST_ABSOLUTE>(CoTaskMemAlloc(sizeof(USHORT)));
    if (!*out) return E_OUTOFMEMORY;
    (*out)->mkid.cb = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Initialize(PCIDLIST_ABSOLUTE) override { return E_NOTIMPL; }
};

// The desktop's view: the shell view and its folder view are one object, as in Explorer.
class FakeView final : public FakeObject<IShellView, testdesk::UnservedFolderView> {
 public:
  explicit FakeView(FakeExplorer& explorer) : FakeObject(explorer, true) {}

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = nullptr;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kViewWindow)) return E_FAIL;
    *window = explorer_.reportedViewWindow ? explorer_.reportedViewWindow : explorer_.defView();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(WINBOOL) override { return E_NOTIMPL; }

  // IFolderView
  HRESULT STDMETHODCALLTYPE GetFolder(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kGetFolder)) return E_FAIL;
    return Give(new FakePersistFolder(explorer_), iid, out);
  }
  HRESULT STDMETHODCALLTYPE ItemCount(UINT flags, int* count) override {
    if (!count) return E_POINTER;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kItemCount)) return E_FAIL;
    *count = static_cast<int>(Ids(flags).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Items(UINT flags, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kItems)) return E_FAIL;
    std::vector<uint32_t> ids = Ids(flags);
    // An icon that appeared between the count and the enumeration.
    if (Failing(Step::kMoreIdsThanCounted)) ids.push_back(ids.empty() ? 1 : ids.front());
    return Give(new FakeIdEnumerator(explorer_, std::move(ids)), iid, out);
  }
  HRESULT STDMETHODCALLTYPE GetItemPosition(PCUITEMID_CHILD pidl, POINT* position) override {
    if (!position) return E_POINTER;
    if (!Call()) return kDisconnected;
    const int index = explorer_.IndexOfId(FakeIdOf(pidl));
    if (index < 0) return E_INVALIDARG;
    *position = explorer_.PositionOf(index);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SelectAndPositionItems(UINT count, PCUITEMID_CHILD_ARRAY pidls,
                                                   POINT* points, DWORD flags) override {
    if (!Call()) return kDisconnected;
    if (!pidls || ((flags & SVSI_POSITIONITEM) && !points)) return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i) {
      const int index = explorer_.IndexOfId(FakeIdOf(pidls[i]));
      if (index < 0) return E_INVALIDARG;
      if (flags & SVSI_POSITIONITEM) {
        ListView_SetItemPosition32(explorer_.listView(), index, points[i].x, points[i].y);
      }
      if (flags & SVSI_DESELECTOTHERS) {
        for (int other = 0; other < explorer_.Count(); ++other) explorer_.Select(other, false);
      }
      // As documented, no select bit means "deselect": there is no "leave as it is".
      explorer_.Select(index, (flags & SVSI_SELECT) != 0);
      explorer_.moves.push_back({index, points ? points[i] : POINT{}, flags});
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSelectionState(PCUITEMID_CHILD pidl, DWORD* flags) override {
    if (!flags) return E_POINTER;
    if (!Call()) return kDisconnected;
    const int index = explorer_.IndexOfId(FakeIdOf(pidl));
    if (index < 0) return E_INVALIDARG;
    *flags = explorer_.IsSelected(index) ? SVSI_SELECT : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetCurrentFolderFlags(DWORD* flags) override {
    if (!flags) return E_POINTER;
    if (!Call()) return kDisconnected;
    *flags = explorer_.folderFlags;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetCurrentFolderFlags(DWORD mask, DWORD flags) override {
    if (!Call()) return kDisconnected;
    const DWORD before = explorer_.folderFlags;
    explorer_.folderFlags = (before & ~mask) | (flags & mask);
    explorer_.folderFlagChanges.push_back(explorer_.folderFlags);
    // Switching auto-arrange on makes the view arrange its icons.
    if (!(before & FWF_AUTOARRANGE) && (explorer_.folderFlags & FWF_AUTOARRANGE)) {
      ListView_Arrange(explorer_.listView(), LVA_DEFAULT);
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Item(int, PITEMID_CHILD*) override { return E_NOTIMPL; }

  // IShellView
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
  bool Refuses(REFIID iid) override {
    return Failing(Step::kFolderView2) && (iid == IID_IFolderView2 || iid == IID_IFolderView);
  }
  void* Alias(REFIID iid) override {
    if (iid == IID_IFolderView) return static_cast<IFolderView*>(this);
    if (iid == IID_IOleWindow) return static_cast<IOleWindow*>(static_cast<IShellView*>(this));
    return nullptr;
  }

  // Without the view-order flag the selected icons come first, as documented.
  std::vector<uint32_t> Ids(UINT flags) const {
    const bool onlySelected = (flags & SVGIO_TYPE_MASK) == SVGIO_SELECTION;
    std::vector<uint32_t> selected, others;
    for (int i = 0; i < explorer_.Count(); ++i) {
      (explorer_.IsSelected(i) ? selected : others).push_back(explorer_.IdAt(i));
    }
    if (onlySelected) return selected;
    if (flags & SVGIO_FLAG_VIEWORDER) {
      std::vector<uint32_t> all;
      for (int i = 0; i < explorer_.Count(); ++i) all.push_back(explorer_.IdAt(i));
      return all;
    }
    selected.insert(selected.end(), others.begin(), others.end());
    return selected;
  }
};

class FakeBrowser final : public FakeObject<IShellBrowser> {
 public:
  explicit FakeBrowser(FakeExplorer& explorer) : FakeObject(explorer, true) {}

  HRESULT STDMETHODCALLTYPE QueryActiveShellView(IShellView** view) override {
    if (!view) return E_POINTER;
    *view = nullptr;
    if (!Call()) return kDisconnected;
    if (Failing(Step::kActiveShellView)) return E_FAIL;
    *view = new FakeView(explorer_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window || !Call()) return E_FAIL;
    *window = explorer_.progman();
    return S_OK;
  }
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
};

// The desktop's automation object, which also serves the browser that holds the desktop view.
class FakeDesktopObject final : public FakeObject<IDispatch, IServiceProvider> {
 public:
  explicit FakeDesktopObject(FakeExplorer& explorer) : FakeObject(explorer, true) {}

  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!Call()) return kDisconnected;
    if (service != SID_STopLevelBrowser || Failing(Step::kTopLevelBrowser)) return E_NOINTERFACE;
    return Give(new FakeBrowser(explorer_), iid, out);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

 private:
  bool Refuses(REFIID iid) override {
    return Failing(Step::kServiceProvider) && iid == IID_IServiceProvider;
  }
};

class FakeShellWindows final : public FakeObject<IShellWindows> {
 public:
  explicit FakeShellWindows(FakeExplorer& explorer) : FakeObject(explorer, true) {}

  HRESULT STDMETHODCALLTYPE FindWindowSW(VARIANT*, VARIANT*, int windowClass, LONG* window,
                                         int options, IDispatch** found) override {
    if (!window || !found) return E_POINTER;
    *window = 0;
    *found = nullptr;
    if (!Call()) return kDisconnected;
    if (windowClass != SWC_DESKTOP || Failing(Step::kFindWindow)) return S_FALSE;
    *window = static_cast<LONG>(reinterpret_cast<LONG_PTR>(explorer_.progman()));
    if (options & SWFO_NEEDDISPATCH) *found = new FakeDesktopObject(explorer_);
    return S_OK;
  }

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
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }
};

void RegisterPlainClass(const wchar_t* name) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  RegisterClassW(&windowClass);  // a second registration fails harmlessly
}

}  // namespace

ScopedPidl FakeItemId(uint32_t id) {
  // One item of cb 6 (the size field and the id), then the terminating zero size.
  constexpr size_t kBytes = sizeof(USHORT) + sizeof(uint32_t) + sizeof(USHORT);
  auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(kBytes));
  const USHORT size = sizeof(USHORT) + sizeof(uint32_t);
  std::memcpy(bytes, &size, sizeof size);
  std::memcpy(bytes + sizeof size, &id, sizeof id);
  std::memset(bytes + size, 0, sizeof(USHORT));
  return ScopedPidl(reinterpret_cast<ITEMIDLIST*>(bytes));
}

uint32_t FakeIdOf(PCUIDLIST_RELATIVE pidl) {
  if (!pidl || pidl->mkid.cb == 0) return 0;
  const BYTE* item = reinterpret_cast<const BYTE*>(pidl);
  for (;;) {
    USHORT size = 0;
    std::memcpy(&size, item, sizeof size);
    USHORT following = 0;
    std::memcpy(&following, item + size, sizeof following);
    if (following == 0) {
      if (size != sizeof(USHORT) + sizeof(uint32_t)) return 0;
      uint32_t id = 0;
      std::memcpy(&id, item + sizeof size, sizeof id);
      return id;
    }
    item += size;
  }
}

const std::vector<Step>& FakeExplorer::AllSteps() {
  static const std::vector<Step> steps{
      Step::kOpenShellWindows, Step::kFindWindow,         Step::kServiceProvider,
      Step::kTopLevelBrowser,  Step::kActiveShellView,    Step::kFolderView2,
      Step::kViewWindow,       Step::kItemCount,          Step::kItems,
      Step::kEnumNext,         Step::kMoreIdsThanCounted, Step::kGetFolder,
      Step::kCurrentFolder,    Step::kBindFolder};
  return steps;
}

const char* FakeExplorer::Name(Step step) {
  switch (step) {
    case Step::kNone:
      return "none";
    case Step::kOpenShellWindows:
      return "open shell windows";
    case Step::kFindWindow:
      return "find the desktop window";
    case Step::kServiceProvider:
      return "service provider";
    case Step::kTopLevelBrowser:
      return "top-level browser";
    case Step::kActiveShellView:
      return "active shell view";
    case Step::kFolderView2:
      return "folder view interface";
    case Step::kViewWindow:
      return "view window";
    case Step::kItemCount:
      return "item count";
    case Step::kItems:
      return "items";
    case Step::kEnumNext:
      return "enumerate ids";
    case Step::kMoreIdsThanCounted:
      return "more ids than counted";
    case Step::kGetFolder:
      return "view folder";
    case Step::kCurrentFolder:
      return "folder location";
    case Step::kBindFolder:
      return "bind folder";
  }
  return "?";
}

FakeExplorer::FakeExplorer() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  RegisterPlainClass(L"Progman");
  RegisterPlainClass(L"SHELLDLL_DefView");
  CreateWindows();
}

FakeExplorer::~FakeExplorer() {
  DestroyWindows();
  CloseHandle(awake_);
}

void FakeExplorer::CreateWindows() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Never shown: an unpainted list view keeps the positions it is given.
  progman_ = CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 1024, 768, nullptr,
                             nullptr, instance, nullptr);
  defView_ = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD, 0, 0, 1024, 768, progman_,
                             nullptr, instance, nullptr);
  listView_ = CreateWindowExW(0, WC_LISTVIEWW, L"FolderView", WS_CHILD | LVS_ICON | LVS_NOSCROLL, 0,
                              0, 1024, 768, defView_, nullptr, instance, nullptr);
}

void FakeExplorer::DestroyWindows() {
  if (progman_) DestroyWindow(progman_);
  progman_ = defView_ = listView_ = nullptr;
}

void FakeExplorer::Add(const std::u16string& name, int x, int y, int image) {
  const uint32_t id = nextId_++;
  names_[id] = name;
  images_[id] = image;
  Insert(id, {x, y});
}

void FakeExplorer::Insert(uint32_t id, POINT position) {
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = Count();
  item.pszText = const_cast<wchar_t*>(reinterpret_cast<const wchar_t*>(names_[id].c_str()));
  item.lParam = static_cast<LPARAM>(id);
  item.iImage = images_[id];
  const int index = ListView_InsertItem(listView_, &item);
  ListView_SetItemPosition32(listView_, index, position.x, position.y);
}

void FakeExplorer::Restart() {
  std::vector<std::pair<uint32_t, POINT>> icons;
  for (int i = 0; i < Count(); ++i) icons.emplace_back(IdAt(i), PositionOf(i));
  DestroyWindows();
  ++generation_;
  CreateWindows();
  for (const auto& [id, position] : icons) Insert(id, position);
}

int FakeExplorer::Count() const { return ListView_GetItemCount(listView_); }

POINT FakeExplorer::PositionOf(int index) const {
  POINT position{};
  ListView_GetItemPosition(listView_, index, &position);
  return position;
}

bool FakeExplorer::IsSelected(int index) const {
  return ListView_GetItemState(listView_, index, LVIS_SELECTED) & LVIS_SELECTED;
}

void FakeExplorer::Select(int index, bool selected) {
  ListView_SetItemState(listView_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

int FakeExplorer::IndexOfId(uint32_t id) const {
  if (id == 0) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(id);
  return ListView_FindItem(listView_, -1, &find);
}

uint32_t FakeExplorer::IdAt(int index) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  ListView_GetItem(listView_, &item);
  return static_cast<uint32_t>(item.lParam);
}

FolderViewShell FakeExplorer::Shell() {
  FolderViewShell shell;
  shell.openShellWindows = [this](IShellWindows** out) -> HRESULT {
    *out = nullptr;
    WaitForSingleObject(awake_, INFINITE);
    ++lookups;
    if (failAt == Step::kOpenShellWindows) return REGDB_E_CLASSNOTREG;
    ++requests;
    *out = new FakeShellWindows(*this);
    return S_OK;
  };
  shell.bindFolder = [this](PCIDLIST_ABSOLUTE folder, IShellFolder** out) -> HRESULT {
    *out = nullptr;
    if (failAt == Step::kBindFolder || !folder) return E_FAIL;
    if (folder->mkid.cb != 0) return E_INVALIDARG;  // only the desktop is played here
    *out = new FakeShellFolder(*this);
    return S_OK;
  };
  shell.systemImageIndex = [this](PCIDLIST_ABSOLUTE item) {
    const uint32_t id = FakeIdOf(item);
    return images_.count(id) ? images_.at(id) : -1;
  };
  return shell;
}

}  // namespace norv::test
