#pragma once

#include <windows.h>

#include <memory>

#include "chrome/dpi_scale.h"
#include "chrome/pixmap.h"
#include "core/win32/scoped_handles.h"

namespace norv {

// One stock picture at its design size and at double size, so any DPI up to 192 draws from a
// picture at least as large as the target instead of blowing a small one up.
struct StockPicture {
  Pixmap normal;
  Pixmap doubled;

  DesignSize designSize() const { return {normal.width, normal.height}; }
  // The picture resampled to width × height from whichever source suits best.
  Pixmap Sized(int width, int height) const;
};

enum class CaptionFont { kJapanese, kWindowDefault };

// Fonts, pictures and pointer of the chrome at one DPI. Widgets share it; a DPI change makes a new
// one, and the old one lives on while any widget still holds it.
class ChromeStyle {
 public:
  static std::shared_ptr<const ChromeStyle> Load(HINSTANCE artModule, int dpi);
  ChromeStyle(const ChromeStyle&) = delete;
  ChromeStyle& operator=(const ChromeStyle&) = delete;

  const DpiScale& scale() const { return scale_; }
  HFONT Font(CaptionFont which) const {
    return which == CaptionFont::kJapanese ? japaneseFont_.get() : defaultFont_.get();
  }
  HCURSOR hand() const { return hand_.get(); }
  // The texture at this DPI's tile size (96 × 96 at 96 DPI), ready for BitBlt.
  HBITMAP textureTile() const { return textureTile_.get(); }
  int tileSize() const { return tileSize_; }

  StockPicture faceReleased;
  StockPicture facePressed;
  StockPicture titlePlate;
  StockPicture checkOff;
  StockPicture checkOn;

 private:
  explicit ChromeStyle(int dpi) : scale_(dpi) {}

  DpiScale scale_;
  ScopedFont japaneseFont_;
  ScopedFont defaultFont_;
  ScopedCursor hand_;
  ScopedBitmap textureTile_;
  int tileSize_ = 0;
};

// A 32-bit top-down DIB section holding the picture.
ScopedBitmap CreateBitmapFromPixmap(const Pixmap& picture);

// The face name of the font used for captions, headers and lists: "ＭＳ Ｐゴシック" where
// installed.
std::u16string JapaneseFontFace();

}  // namespace norv
