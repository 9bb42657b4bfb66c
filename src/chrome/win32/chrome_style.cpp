#include "chrome/win32/chrome_style.h"

#include <cstring>
#include <string>

#include "chrome/win32/chrome_resources.h"
#include "core/win32/wide_text.h"

namespace norv {

namespace {

constexpr double kCaptionPoints = 9.75;

Pixmap LoadBitmapResource(HINSTANCE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2) /*RT_BITMAP*/);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* data = loaded ? LockResource(loaded) : nullptr;
  if (!data) return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  auto picture = DecodeDib({bytes, SizeofResource(module, found)});
  return picture ? *picture : Pixmap{};
}

StockPicture LoadStock(HINSTANCE module, int id, int doubledId) {
  return {LoadBitmapResource(module, id), LoadBitmapResource(module, doubledId)};
}

int CALLBACK NoteFontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FontInstalled(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(query.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  const ScopedWindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

int CALLBACK NoteJapaneseFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM result) {
  // Vertical-writing variants ("@...") and fixed-pitch faces make poor captions.
  if (font->lfFaceName[0] == L'@' || (font->lfPitchAndFamily & 3) == FIXED_PITCH) return 1;
  *reinterpret_cast<std::wstring*>(result) = font->lfFaceName;
  return 0;
}

std::wstring ChooseJapaneseFace() {
  // "ＭＳ Ｐゴシック" is the design's font. Where it is missing, the system's Japanese UI font:
  // "Yu Gothic UI" (Windows 10 and later), else "Meiryo UI" (Windows 7 and 8); failing both, any
  // proportional face that covers Japanese (under Wine usually IPA P Gothic).
  for (const wchar_t* face : {L"ＭＳ Ｐゴシック", L"MS PGothic", L"Yu Gothic UI", L"Meiryo UI"}) {
    if (FontInstalled(face)) return face;
  }
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring any;
  const ScopedWindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, NoteJapaneseFace, reinterpret_cast<LPARAM>(&any), 0);
  return any;
}

const std::wstring& JapaneseFace() {
  static const std::wstring face = ChooseJapaneseFace();
  return face;
}

ScopedFont CreateJapaneseFont(const DpiScale& scale) {
  LOGFONTW font{};
  font.lfHeight = -scale.FontHeight(kCaptionPoints);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  font.lfQuality = DEFAULT_QUALITY;
  wcsncpy(font.lfFaceName, JapaneseFace().c_str(), LF_FACESIZE - 1);
  return ScopedFont(CreateFontIndirectW(&font));
}

bool CoversJapanese(HFONT font) {
  const ScopedWindowDc screen(nullptr);
  const ScopedSelection selected(screen.get(), font);
  WORD glyphs[4] = {};
  const DWORD found =
      GetGlyphIndicesW(screen.get(), L"表示ｱ", 3, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  return found == 3 && glyphs[0] != 0xFFFF && glyphs[1] != 0xFFFF && glyphs[2] != 0xFFFF;
}

ScopedFont CreateWindowDefaultFont(const DpiScale& scale) {
  // The stock GUI font is sized for the system DPI; scale it to this window's.
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  const int systemDpi = static_cast<int>(GetDpiForSystem());
  font.lfHeight = MulDiv(font.lfHeight, scale.dpi(), systemDpi > 0 ? systemDpi : kDesignDpi);
  font.lfWidth = 0;
  ScopedFont created(CreateFontIndirectW(&font));
  // On a system whose GUI font has no Japanese glyphs (and no font linking to supply them) the
  // captions would show as boxes: keep its size, take the Japanese face.
  if (created && !CoversJapanese(created.get()) && !JapaneseFace().empty()) {
    font.lfCharSet = SHIFTJIS_CHARSET;
    wcsncpy(font.lfFaceName, JapaneseFace().c_str(), LF_FACESIZE - 1);
    created.reset(CreateFontIndirectW(&font));
  }
  return created;
}

}  // namespace

Pixmap StockPicture::Sized(int width, int height) const {
  const bool fitsNormal = width <= normal.width && height <= normal.height;
  const Pixmap& source = fitsNormal || doubled.width == 0 ? normal : doubled;
  return Resample(source, width, height);
}

std::u16string JapaneseFontFace() { return FromWide(JapaneseFace()); }

ScopedBitmap CreateBitmapFromPixmap(const Pixmap& picture) {
  if (picture.width <= 0 || picture.height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ScopedBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap && bits) {
    std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(uint32_t));
  }
  return bitmap;
}

std::shared_ptr<const ChromeStyle> ChromeStyle::Load(HINSTANCE artModule, int dpi) {
  std::shared_ptr<ChromeStyle> style(new ChromeStyle(dpi));
  const DpiScale& scale = style->scale_;
  style->faceReleased = LoadStock(artModule, IDB_NORV_FACE_RELEASED, IDB_NORV_FACE_RELEASED_2X);
  style->facePressed = LoadStock(artModule, IDB_NORV_FACE_PRESSED, IDB_NORV_FACE_PRESSED_2X);
  style->titlePlate = LoadStock(artModule, IDB_NORV_TITLE_PLATE, IDB_NORV_TITLE_PLATE_2X);
  style->checkOff = LoadStock(artModule, IDB_NORV_CHECK_OFF, IDB_NORV_CHECK_OFF_2X);
  style->checkOn = LoadStock(artModule, IDB_NORV_CHECK_ON, IDB_NORV_CHECK_ON_2X);

  const StockPicture texture = LoadStock(artModule, IDB_NORV_TEXTURE, IDB_NORV_TEXTURE_2X);
  style->tileSize_ = scale.Length(texture.designSize().width);
  style->textureTile_ = CreateBitmapFromPixmap(texture.Sized(style->tileSize_, style->tileSize_));

  const int cursorSize = scale.Length(32);
  style->hand_.reset(static_cast<HCURSOR>(LoadImageW(artModule, MAKEINTRESOURCEW(IDC_NORV_HAND),
                                                     IMAGE_CURSOR, cursorSize, cursorSize, 0)));
  style->japaneseFont_ = CreateJapaneseFont(scale);
  style->defaultFont_ = CreateWindowDefaultFont(scale);
  return style;
}

}  // namespace norv
