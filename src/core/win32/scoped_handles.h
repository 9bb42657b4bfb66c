#pragma once

// Owners of GDI objects and device contexts, and of the icons and cursors drawn with them, so that
// every object is freed on every path, early returns included.

#include <windows.h>

#include <algorithm>
#include <memory>
#include <type_traits>

namespace norv {

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
