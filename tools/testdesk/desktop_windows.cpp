#include "desktop_windows.h"

#include <commctrl.h>

namespace norv::testdesk {
namespace {

constexpr COLORREF kDesktopBlue = RGB(0, 99, 177);

// The desktop stays beneath every other window, as the shell's does.
LRESULT CALLBACK BottomWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_WINDOWPOSCHANGING) {
    reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool RegisterOne(HINSTANCE instance, const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = CreateSolidBrush(kDesktopBlue);
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

HIMAGELIST CreateDesktopImages() {
  HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 6, 0);
  for (const wchar_t* id :
       {IDI_WINLOGO, IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING, IDI_QUESTION, IDI_ERROR}) {
    ImageList_AddIcon(images, LoadIconW(nullptr, id));
  }
  return images;
}

// Wine's list view lays every item out anew on its first paint; painting once into a memory
// DC gets that over with before the real positions are set.
void PaintOnceOffscreen(HWND listView) {
  HDC screen = GetDC(listView);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  HGDIOBJ old = SelectObject(memory, bitmap);
  SendMessageW(listView, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(listView, screen);
}

}  // namespace

bool RegisterDesktopClasses(HINSTANCE instance) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  return RegisterOne(instance, L"Progman", BottomWindowProc) &&
         RegisterOne(instance, L"WorkerW", BottomWindowProc) &&
         RegisterOne(instance, L"SHELLDLL_DefView", DefWindowProcW);
}

DesktopWindows::DesktopWindows(HINSTANCE instance, DeskHost host, SIZE size,
                               RequestCounter& counter)
    : instance_(instance), host_(host), size_(size), counter_(counter) {}

bool DesktopWindows::CreateHosts() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const DWORD topStyle = WS_POPUP | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  progman_ = CreateWindowExW(exStyle, L"Progman", L"Program Manager", topStyle, left, top, size_.cx,
                             size_.cy, nullptr, nullptr, instance_, nullptr);
  if (!progman_) return false;
  viewParent_ = progman_;
  if (host_ == DeskHost::kWorkerW) {
    workerW_ = CreateWindowExW(exStyle, L"WorkerW", L"", topStyle, left, top, size_.cx, size_.cy,
                               nullptr, nullptr, instance_, nullptr);
    viewParent_ = workerW_;
  } else if (host_ == DeskHost::kWorkerWUnderProgman) {
    workerW_ = CreateWindowExW(0, L"WorkerW", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                               size_.cx, size_.cy, progman_, nullptr, instance_, nullptr);
    viewParent_ = workerW_;
  }
  if (!viewParent_) return false;
  for (HWND window : {progman_, workerW_}) {
    if (window && !(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) {
      ShowWindow(window, SW_SHOWNA);
      SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  }
  return true;
}

bool DesktopWindows::Create(const std::vector<DeskItem>& items) {
  Destroy();
  if (!viewParent_ && !CreateHosts()) {
    DestroyHosts();
    return false;
  }
  defView_ = CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                             0, 0, size_.cx, size_.cy, viewParent_, nullptr, instance_, nullptr);
  listView_ =
      defView_ ? CreateWindowExW(0, WC_LISTVIEWW, L"FolderView",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | LVS_ICON | LVS_NOSCROLL,
                                 0, 0, size_.cx, size_.cy, defView_, nullptr, instance_, nullptr)
               : nullptr;
  if (!listView_) {
    Destroy();
    return false;
  }
  {
    RequestCounter::OwnRequests own(counter_);
    ListView_SetImageList(listView_, CreateDesktopImages(), LVSIL_NORMAL);
    ListView_SetBkColor(listView_, kDesktopBlue);
    ListView_SetTextBkColor(listView_, CLR_NONE);
    ListView_SetTextColor(listView_, RGB(255, 255, 255));
  }
  counter_.Attach(listView_);
  Fill(items);
  return true;
}

void DesktopWindows::Destroy() {
  // The list view goes with its parent and frees its image list.
  if (defView_) DestroyWindow(defView_);
  defView_ = listView_ = nullptr;
}

void DesktopWindows::DestroyHosts() {
  Destroy();
  if (workerW_ && !(GetWindowLongW(workerW_, GWL_STYLE) & WS_CHILD)) DestroyWindow(workerW_);
  if (progman_) DestroyWindow(progman_);
  progman_ = workerW_ = viewParent_ = nullptr;
}

bool DesktopWindows::Fill(const std::vector<DeskItem>& items) {
  if (!listView_) return false;
  RequestCounter::OwnRequests own(counter_);
  ListView_DeleteAllItems(listView_);
  kept_.clear();
  lastIndex_.clear();
  for (size_t i = 0; i < items.size(); ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    item.pszText = const_cast<wchar_t*>(items[i].text.c_str());
    item.iImage = items[i].image;
    item.lParam = nextSerial_;
    lastIndex_[nextSerial_] = static_cast<int>(i);
    kept_[nextSerial_++] = {items[i].x, items[i].y};
    ListView_InsertItem(listView_, &item);
  }
  PaintOnceOffscreen(listView_);
  for (size_t i = 0; i < items.size(); ++i) {
    ListView_SetItemPosition32(listView_, static_cast<int>(i), items[i].x, items[i].y);
  }
  InvalidateRect(listView_, nullptr, TRUE);
  return true;
}

bool DesktopWindows::DeleteItem(int index) {
  if (!listView_) return false;
  RequestCounter::OwnRequests own(counter_);
  if (const auto serial = ItemSerial(index)) kept_.erase(*serial);
  return ListView_DeleteItem(listView_, index) != FALSE;
}

void DesktopWindows::Resize(SIZE size) {
  size_ = size;
  if (!listView_) return;
  for (HWND window : {progman_, workerW_, defView_, listView_}) {
    if (window) {
      SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
}

std::vector<DeskItem> DesktopWindows::ReadItems() const {
  std::vector<DeskItem> items;
  if (!listView_) return items;
  RequestCounter::OwnRequests own(counter_);
  const int count = ListView_GetItemCount(listView_);
  for (int i = 0; i < count; ++i) {
    wchar_t text[1024] = {};
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    ListView_GetItem(listView_, &item);
    POINT p{};
    ListView_GetItemPosition(listView_, i, &p);
    items.push_back({p.x, p.y, item.iImage, text});
  }
  return items;
}

int DesktopWindows::ItemCount() const {
  if (!listView_) return 0;
  RequestCounter::OwnRequests own(counter_);
  return ListView_GetItemCount(listView_);
}

std::wstring DesktopWindows::ItemText(int index) const {
  if (!listView_) return {};
  RequestCounter::OwnRequests own(counter_);
  wchar_t text[1024] = {};
  ListView_GetItemText(listView_, index, 0, text, static_cast<int>(std::size(text)));
  return text;
}

std::optional<uint32_t> DesktopWindows::ItemSerial(int index) const {
  if (!listView_ || index < 0) return std::nullopt;
  RequestCounter::OwnRequests own(counter_);
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!ListView_GetItem(listView_, &item)) return std::nullopt;
  return static_cast<uint32_t>(item.lParam);
}

std::optional<int> DesktopWindows::IndexOfSerial(uint32_t serial) const {
  if (!listView_) return std::nullopt;
  if (const auto last = lastIndex_.find(serial);
      last != lastIndex_.end() && ItemSerial(last->second) == serial) {
    return last->second;
  }
  RequestCounter::OwnRequests own(counter_);
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = serial;
  const int index = ListView_FindItem(listView_, -1, &find);
  if (index < 0) return std::nullopt;
  lastIndex_[serial] = index;
  return index;
}

std::optional<POINT> DesktopWindows::ItemPosition(int index) const {
  if (!listView_) return std::nullopt;
  RequestCounter::OwnRequests own(counter_);
  POINT position{};
  if (!ListView_GetItemPosition(listView_, index, &position)) return std::nullopt;
  return position;
}

std::vector<int> DesktopWindows::SelectedIndexes() const {
  std::vector<int> selected;
  if (!listView_) return selected;
  RequestCounter::OwnRequests own(counter_);
  for (int i = ListView_GetNextItem(listView_, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(listView_, i, LVNI_SELECTED)) {
    selected.push_back(i);
  }
  return selected;
}

void DesktopWindows::PlaceKept(int index, uint32_t serial, POINT position) {
  if (!listView_) return;
  RequestCounter::OwnRequests own(counter_);
  ListView_SetItemPosition32(listView_, index, position.x, position.y);
  kept_[serial] = position;
}

void DesktopWindows::Select(int index, bool selected) {
  if (!listView_) return;
  RequestCounter::OwnRequests own(counter_);
  ListView_SetItemState(listView_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void DesktopWindows::ArrangeKept() {
  if (!listView_) return;
  {
    RequestCounter::OwnRequests own(counter_);
    ListView_Arrange(listView_, LVA_DEFAULT);
  }
  for (int i = 0, count = ItemCount(); i < count; ++i) {
    const auto serial = ItemSerial(i);
    const auto position = ItemPosition(i);
    if (serial && position) kept_[*serial] = *position;
  }
}

void DesktopWindows::Refresh() {
  if (!listView_) return;
  for (int i = 0, count = ItemCount(); i < count; ++i) {
    const auto serial = ItemSerial(i);
    if (!serial || !kept_.count(*serial)) continue;
    RequestCounter::OwnRequests own(counter_);
    ListView_SetItemPosition32(listView_, i, kept_[*serial].x, kept_[*serial].y);
  }
  InvalidateRect(listView_, nullptr, TRUE);
}

}  // namespace norv::testdesk
