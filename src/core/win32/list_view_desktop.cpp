#include "core/win32/list_view_desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>

#include "core/win32/wide_text.h"

namespace norv {
namespace {

// Long enough for any text that still fits 39 cp932 bytes (a character never encodes to 0 bytes,
// a surrogate pair to at least 1), with room to spare.
constexpr int kTextChars = 260;
// A shell that does not answer within this time counts as gone; nothing waits forever on it.
constexpr UINT kRequestTimeoutMs = 3000;
constexpr size_t kPageSize = 4096;

// The block allocated in the shell's process. Both processes are 64-bit, so the layout is the same
// on both sides; only its remote address is used here, never dereferenced.
struct RemoteBlock {
  LVITEMW item;
  POINT position;
  wchar_t text[kTextChars];
};

template <typename T>
T* RemoteField(void* block, size_t offset) {
  return reinterpret_cast<T*>(static_cast<char*>(block) + offset);
}

HWND ViewUnder(HWND parent) {
  const HWND defView = FindWindowExW(parent, nullptr, L"SHELLDLL_DefView", nullptr);
  return defView ? FindWindowExW(defView, nullptr, L"SysListView32", nullptr) : nullptr;
}

// The first WorkerW under parent (null: among top-level windows) that holds the view.
HWND ViewUnderWorkers(HWND parent) {
  for (HWND worker = FindWindowExW(parent, nullptr, L"WorkerW", nullptr); worker;
       worker = FindWindowExW(parent, worker, L"WorkerW", nullptr)) {
    if (const HWND view = ViewUnder(worker)) return view;
  }
  return nullptr;
}

// A text the shell answered with a pointer of its own instead of filling our buffer. Reads at
// most kTextChars characters, or up to the end of that page when the full span is not readable.
std::optional<std::wstring> ReadForeignText(HANDLE process, const wchar_t* address) {
  wchar_t text[kTextChars] = {};
  SIZE_T bytes = sizeof text;
  if (!ReadProcessMemory(process, address, text, bytes, nullptr)) {
    const auto start = reinterpret_cast<uintptr_t>(address);
    bytes = std::min<SIZE_T>(sizeof text, kPageSize - start % kPageSize);
    if (!ReadProcessMemory(process, address, text, bytes, nullptr)) return std::nullopt;
  }
  const size_t available = bytes / sizeof(wchar_t);
  return std::wstring(text, wcsnlen(text, available));
}

}  // namespace

HWND FindShellDesktopListView() {
  const HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman) {
    if (const HWND view = ViewUnder(progman)) return view;
  }
  if (const HWND view = ViewUnderWorkers(nullptr)) return view;
  return progman ? ViewUnderWorkers(progman) : nullptr;
}

ListViewDesktop::~ListViewDesktop() { EndItemReads(); }

std::optional<LRESULT> ListViewDesktop::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (!view_) return std::nullopt;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(view_, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                           kRequestTimeoutMs, &result)) {
    return std::nullopt;
  }
  return static_cast<LRESULT>(result);
}

bool ListViewDesktop::FindDesktopListView() {
  view_ = FindShellDesktopListView();
  return view_ != nullptr;
}

DesktopRect ListViewDesktop::GetDesktopRect() {
  // The view's client area spans every monitor in the coordinates its item positions use.
  RECT client{};
  if (view_ && GetClientRect(view_, &client)) return {client.right, client.bottom};
  return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::optional<int32_t> ListViewDesktop::GetItemCount() {
  if (!view_) return 0;
  const std::optional<LRESULT> count = Send(LVM_GETITEMCOUNT, 0, 0);
  if (!count) return std::nullopt;
  return *count > 0 ? static_cast<int32_t>(*count) : 0;
}

bool ListViewDesktop::BeginItemReads() {
  EndItemReads();
  DWORD processId = 0;
  if (!view_ || !GetWindowThreadProcessId(view_, &processId) || processId == 0) return false;
  // Memory operations on the shell's process and nothing more.
  shellProcess_ =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!shellProcess_) return false;
  remoteBlock_ = VirtualAllocEx(shellProcess_, nullptr, sizeof(RemoteBlock),
                                MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  if (!remoteBlock_) {
    EndItemReads();
    return false;
  }
  return true;
}

void ListViewDesktop::EndItemReads() {
  if (remoteBlock_) VirtualFreeEx(shellProcess_, remoteBlock_, 0, MEM_RELEASE);
  remoteBlock_ = nullptr;
  if (shellProcess_) CloseHandle(shellProcess_);
  shellProcess_ = nullptr;
}

std::optional<Point> ListViewDesktop::GetItemPosition(int32_t index) {
  if (!remoteBlock_) return std::nullopt;
  POINT* remotePoint = RemoteField<POINT>(remoteBlock_, offsetof(RemoteBlock, position));
  const std::optional<LRESULT> answer =
      Send(LVM_GETITEMPOSITION, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remotePoint));
  POINT position{};
  if (!answer || !*answer ||
      !ReadProcessMemory(shellProcess_, remotePoint, &position, sizeof position, nullptr)) {
    return std::nullopt;
  }
  return Point{position.x, position.y};
}

std::optional<ItemLabel> ListViewDesktop::GetItemLabel(int32_t index) {
  if (!remoteBlock_) return std::nullopt;
  LVITEMW* remoteItem = RemoteField<LVITEMW>(remoteBlock_, offsetof(RemoteBlock, item));
  wchar_t* remoteText = RemoteField<wchar_t>(remoteBlock_, offsetof(RemoteBlock, text));

  // Text and image in one request. The record is written anew each time: the shell may have
  // changed its text pointer or size in the last answer.
  LVITEMW request{};
  request.mask = LVIF_TEXT | LVIF_IMAGE;
  request.iItem = index;
  request.pszText = remoteText;
  request.cchTextMax = kTextChars;
  if (!WriteProcessMemory(shellProcess_, remoteItem, &request, sizeof request, nullptr))
    return std::nullopt;
  const std::optional<LRESULT> answer =
      Send(LVM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remoteItem));
  RemoteBlock reply{};
  if (!answer || !*answer ||
      !ReadProcessMemory(shellProcess_, remoteBlock_, &reply, sizeof reply, nullptr)) {
    return std::nullopt;
  }

  // The answer's own terminator is not trusted: the text ends at the first NUL inside the buffer.
  std::wstring text;
  const wchar_t* source = reply.item.pszText;
  if (source == remoteText) {
    text.assign(reply.text, wcsnlen(reply.text, kTextChars));
  } else if (source && source != LPSTR_TEXTCALLBACKW) {
    std::optional<std::wstring> foreign = ReadForeignText(shellProcess_, source);
    if (!foreign) return std::nullopt;
    text = std::move(*foreign);
  }
  return ItemLabel{FromWide(text), reply.item.iImage};
}

bool ListViewDesktop::SetItemPosition(int32_t index, int32_t x, int32_t y) {
  return Send(LVM_SETITEMPOSITION, static_cast<WPARAM>(index),
              static_cast<LPARAM>(PackPosition(x, y)))
      .has_value();
}

bool ListViewDesktop::ArrangeIcons() { return Send(LVM_ARRANGE, LVA_DEFAULT, 0).has_value(); }

bool ListViewDesktop::ViewStillExists() { return view_ && IsWindow(view_); }

}  // namespace norv
