#pragma once

// The owners of every kind of Win32 handle the program frees: kernel objects, searches, menus,
// icons and cursors, GDI objects and device contexts, LocalAlloc and CoTaskMemAlloc memory and
// item id lists. Each frees its handle on every path, early returns included; the movable ones
// pass ownership on. Nothing outside this header frees such a handle by hand.

#include <windows.h>
// After windows.h: CoTaskMemFree and the item id list types.
#include <objbase.h>
#include <shtypes.h>

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>

namespace norv {

// A kernel object (CloseHandle). Null and INVALID_HANDLE_VALUE both mean none: the functions that
// make these disagree on which one reports a failure.
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, nullptr); }
  void reset(HANDLE handle = nullptr) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

// A search of FindFirstFileExW (FindClose); INVALID_HANDLE_VALUE is none.
class ScopedFindHandle {
 public:
  explicit ScopedFindHandle(HANDLE search) : search_(search) {}
  ~ScopedFindHandle() {
    if (valid()) FindClose(search_);
  }
  ScopedFindHandle(const ScopedFindHandle&) = delete;
  ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;

  bool valid() const { return search_ && search_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return search_; }

 private:
  HANDLE search_;
};

struct MenuDeleter {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct LocalMemoryDeleter {
  void operator()(void* memory) const { LocalFree(memory); }
};
struct CoTaskMemoryDeleter {
  void operator()(void* memory) const { CoTaskMemFree(memory); }
};

// Memory the system allocated with LocalAlloc for us (CommandLineToArgvW's array).
template <class T>
using ScopedLocalMemory = std::unique_ptr<T, LocalMemoryDeleter>;
// Memory a COM or shell function allocated for us (a path, a name).
template <class T>
using ScopedCoTaskMemory = std::unique_ptr<T, CoTaskMemoryDeleter>;
// An item id list of the shell, absolute or relative.
using ScopedPidl = std::unique_ptr<ITEMIDLIST, CoTaskMemoryDeleter>;

// Runs `undo` when the scope ends, however it ends.
template <class Undo>
class ScopeExit {
 public:
  explicit ScopeExit(Undo undo) : undo_(std::move(undo)) {}
  ~ScopeExit() { undo_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Undo undo_;
};

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MemoryDcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct IconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct CursorDeleter {
  void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct DeviceNotificationDeleter {
  void operator()(HDEVNOTIFY notification) const { UnregisterDeviceNotification(notification); }
};

template <class Handle, class Deleter>
using ScopedHandleOf = std::unique_ptr<std::remove_pointer_t<Handle>, Deleter>;

using ScopedBitmap = ScopedHandleOf<HBITMAP, GdiObjectDeleter>;
using ScopedBrush = ScopedHandleOf<HBRUSH, GdiObjectDeleter>;
using ScopedFont = ScopedHandleOf<HFONT, GdiObjectDeleter>;
using ScopedRegion = ScopedHandleOf<HRGN, GdiObjectDeleter>;
// A device context from CreateCompatibleDC.
using ScopedMemoryDc = ScopedHandleOf<HDC, MemoryDcDeleter>;
using ScopedIcon = ScopedHandleOf<HICON, IconDeleter>;
using ScopedCursor = ScopedHandleOf<HCURSOR, CursorDeleter>;
using ScopedMenu = ScopedHandleOf<HMENU, MenuDeleter>;
// A window's registration for device arrivals and removals (RegisterDeviceNotificationW).
using ScopedDeviceNotification = ScopedHandleOf<HDEVNOTIFY, DeviceNotificationDeleter>;

// A window's device context from GetDC (null: the screen's), released with ReleaseDC.
class ScopedWindowDc {
 public:
  explicit ScopedWindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDc(const ScopedWindowDc&) = delete;
  ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;

  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint ... EndPaint of one WM_PAINT.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;

  HDC dc() const { return dc_; }
  // The part of the window that needs painting.
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// An object selected into a device context; the one it replaced goes back when this ends.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Drawing in `dc` limited to `area` until this ends.
class ScopedClip {
 public:
  ScopedClip(HDC dc, const RECT& area) : dc_(dc), region_(CreateRectRgnIndirect(&area)) {
    // The device context keeps a copy of the region.
    SelectClipRgn(dc_, region_.get());
  }
  ~ScopedClip() { SelectClipRgn(dc_, nullptr); }
  ScopedClip(const ScopedClip&) = delete;
  ScopedClip& operator=(const ScopedClip&) = delete;

 private:
  HDC dc_;
  ScopedRegion region_;
};

// Somewhere to draw off screen: a bitmap of width × height (at least 1 × 1) compatible with
// `reference`, selected into a memory device context of its own.
class OffscreenCanvas {
 public:
  OffscreenCanvas(HDC reference, int width, int height)
      : bitmap_(CreateCompatibleBitmap(reference, std::max(width, 1), std::max(height, 1))),
        dc_(CreateCompatibleDC(reference)),
        selection_(dc_.get(), bitmap_.get()) {}

  HDC dc() const { return dc_.get(); }

 private:
  // Declared in the order of making: the selection is undone before the DC and the bitmap go.
  ScopedBitmap bitmap_;
  ScopedMemoryDc dc_;
  ScopedSelection selection_;
};

}  // namespace norv
