#include "core/win32/list_view_desktop.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/win32/wide_text.h"

namespace norv {
namespace {

// Long enough for any text that still fits 39 cp932 bytes: a character never encodes to 0 bytes
// and a surrogate pair to at least 1, so those bytes hold at most 78 UTF-16 units.
constexpr size_t kTextChars = 80;
// A shell that does not answer within this time counts as gone; nothing waits forever on it.
constexpr UINT kRequestTimeoutMs = 3000;
constexpr size_t kPageSize = 4096;

// Where the requests of one read lie in its block: every item's record first (the only part
// written), then every position answer, then every text buffer.
struct ReadLayout {
  size_t count;

  size_t Record(size_t i) const { return i * sizeof(LVITEMW); }
  size_t Position(size_t i) const { return Record(count) + i * sizeof(POINT); }
  size_t Text(size_t i) const { return Position(count) + i * kTextChars * sizeof(wchar_t); }
  size_t Bytes() const { return Text(count); }
};

template <typename T>
T CopyAt(const std::vector<char>& bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
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
std::optional<std::wstring> ReadForeignText(RemoteBlock& block, const wchar_t* address) {
  wchar_t text[kTextChars] = {};
  SIZE_T bytes = sizeof text;
  if (!block.Read(address, text, bytes)) {
    const auto start = reinterpret_cast<uintptr_t>(address);
    bytes = std::min<SIZE_T>(sizeof text, kPageSize - start % kPageSize);
    if (!block.Read(address, text, bytes)) return std::nullopt;
  }
  const size_t available = bytes / sizeof(wchar_t);
  return std::wstring(text, wcsnlen(text, available));
}

bool Answered(const std::optional<LRESULT>& answer) { return answer && *answer; }

}  // namespace

HWND FindShellDesktopListView() {
  const HWND progman = FindWindowW(L"Progman", nullptr);
  if (progman) {
    if (const HWND view = ViewUnder(progman)) return view;
  }
  if (const HWND view = ViewUnderWorkers(nullptr)) return view;
  return progman ? ViewUnderWorkers(progman) : nullptr;
}

std::optional<LRESULT> ListViewDesktop::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!view_) return std::nullopt;
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(view_, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_ERRORONEXIT,
                           kRequestTimeoutMs, &result)) {
    return std::nullopt;
  }
  std::erase_if(keptBlocks_, [&](const KeptBlock& kept) { return kept.view == view_; });
  return static_cast<LRESULT>(result);
}

void ListViewDesktop::KeepUntilAnswered(std::unique_ptr<RemoteBlock> block) {
  keptBlocks_.push_back({view_, std::move(block)});
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

std::optional<std::vector<DesktopItem>> ListViewDesktop::ReadItems(int32_t count) {
  if (!view_ || count < 0) return std::nullopt;
  if (count == 0) return std::vector<DesktopItem>{};
  const ReadLayout layout{static_cast<size_t>(count)};
  auto owned = std::make_unique<RemoteBlock>(view_, layout.Bytes(), remoteMemory_);
  RemoteBlock& block = *owned;
  if (!block.valid()) return std::nullopt;

  // Text and image in one request per item, each record naming its own text buffer. The rest of
  // the block is left as allocated, zeroed.
  std::vector<char> local(layout.Bytes());
  for (int32_t i = 0; i < count; ++i) {
    const auto at = static_cast<size_t>(i);
    LVITEMW request{};
    request.mask = LVIF_TEXT | LVIF_IMAGE;
    request.iItem = i;
    request.pszText = reinterpret_cast<wchar_t*>(block.At(layout.Text(at)));
    request.cchTextMax = static_cast<int>(kTextChars);
    std::memcpy(local.data() + layout.Record(at), &request, sizeof request);
  }
  if (!block.Write(block.At(0), local.data(), layout.Record(layout.count))) return std::nullopt;
  for (int32_t i = 0; i < count; ++i) {
    const auto at = static_cast<size_t>(i);
    const auto index = static_cast<WPARAM>(i);
    const std::optional<LRESULT> position =
        Send(LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(block.At(layout.Position(at))));
    const std::optional<LRESULT> item =
        Answered(position)
            ? Send(LVM_GETITEMW, index, reinterpret_cast<LPARAM>(block.At(layout.Record(at))))
            : position;
    if (!Answered(item)) {
      // Given up on, not refused: the shell may still carry it out into the block.
      if (!item) KeepUntilAnswered(std::move(owned));
      return std::nullopt;
    }
  }
  if (!block.Read(block.At(0), local.data(), local.size())) return std::nullopt;

  std::vector<DesktopItem> items;
  items.reserve(layout.count);
  for (size_t i = 0; i < layout.count; ++i) {
    const auto reply = CopyAt<LVITEMW>(local, layout.Record(i));
    const auto position = CopyAt<POINT>(local, layout.Position(i));
    // The answer's own terminator is not trusted: the text ends at the first NUL inside the buffer.
    std::wstring text;
    if (reply.pszText == reinterpret_cast<wchar_t*>(block.At(layout.Text(i)))) {
      const auto buffer = CopyAt<std::array<wchar_t, kTextChars>>(local, layout.Text(i));
      text.assign(buffer.data(), wcsnlen(buffer.data(), kTextChars));
    } else if (reply.pszText && reply.pszText != LPSTR_TEXTCALLBACKW) {
      std::optional<std::wstring> foreign = ReadForeignText(block, reply.pszText);
      if (!foreign) return std::nullopt;
      text = std::move(*foreign);
    }
    items.push_back({{position.x, position.y}, FromWide(text), reply.iImage});
  }
  return items;
}

size_t ListViewDesktop::MoveItems(std::span<const IconMove> moves) {
  size_t delivered = 0;
  for (const IconMove& move : moves) {
    if (!Send(LVM_SETITEMPOSITION, static_cast<WPARAM>(move.index),
              static_cast<LPARAM>(PackPosition(move.to.x, move.to.y)))) {
      break;
    }
    ++delivered;
  }
  return delivered;
}

void ListViewDesktop::BeginMoveBatch() {
  // A view the user has hidden (desktop icons switched off) is left alone: switching its redraw
  // on again would show it.
  if (!view_ || !IsWindowVisible(view_)) return;
  // Held even when this goes unanswered: a busy shell may still carry it out later.
  redrawHeld_ = true;
  Send(WM_SETREDRAW, FALSE, 0);
}

void ListViewDesktop::EndMoveBatch() {
  // Without a batch of ours this ends one an earlier run left, on a visible view as above.
  const bool held = std::exchange(redrawHeld_, false);
  if (!view_ || !(held || IsWindowVisible(view_))) return;
  if (Send(WM_SETREDRAW, TRUE, 0)) {
    RedrawWindow(view_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else if (IsWindow(view_)) {
    // A busy shell then carries it out once it answers again, after what it has yet to do.
    PostMessageW(view_, WM_SETREDRAW, TRUE, 0);
  }
}

bool ListViewDesktop::ArrangeIcons() { return Send(LVM_ARRANGE, LVA_DEFAULT, 0).has_value(); }

bool ListViewDesktop::ViewStillExists() { return view_ && IsWindow(view_); }

}  // namespace norv
