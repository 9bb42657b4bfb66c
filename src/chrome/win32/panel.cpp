#include "chrome/win32/panel.h"

#include <vector>

#include "chrome/win32/chrome_paint.h"

namespace norv::widgets {
namespace {

constexpr wchar_t kPanelClass[] = L"NorvPanel";

RECT ToRect(DesignRect r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

class Panel final : public BackedWidget {
 public:
  using BackedWidget::BackedWidget;

  struct Picture {
    PictureKind kind;
    DesignRect rect;
    FaceFit fit;
  };

  const StockPicture& Stock(PictureKind kind) const {
    switch (kind) {
      case PictureKind::kFacePressed:
        return style->facePressed;
      case PictureKind::kTitlePlate:
        return style->titlePlate;
      case PictureKind::kFaceReleased:
        break;
    }
    return style->faceReleased;
  }

  RECT PlaceOf(const Picture& picture) const {
    const DpiScale& scale = style->scale();
    if (picture.fit == FaceFit::kNatural) {
      const DesignSize natural = scale.Size(Stock(picture.kind).designSize());
      const int x = scale.Length(picture.rect.x);
      const int y = scale.Length(picture.rect.y);
      return {x, y, x + natural.width, y + natural.height};
    }
    return ToRect(scale.Rect(picture.rect));
  }

  void PaintTexture(HDC dc) const {
    const RECT& area = backing.area();
    // Whatever the texture fails to cover keeps the panel's background colour.
    FillRect(dc, &area, GetSysColorBrush(COLOR_3DFACE));
    TileBackground(dc, area.right, area.bottom, style->textureTile(), style->tileSize());
  }

  void PaintPicture(HDC dc, const Picture& picture) const {
    const RECT r = PlaceOf(picture);
    DrawPicture(dc, Stock(picture.kind).Sized(r.right - r.left, r.bottom - r.top), r.left, r.top);
  }

  void Render() override {
    const HDC dc = backing.Begin(hwnd());
    PaintTexture(dc);
    for (const Picture& picture : pictures) PaintPicture(dc, picture);
  }

  void OnRestyle() override {
    Render();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }

  std::vector<Picture> pictures;
};

}  // namespace

HWND CreatePanel(HWND parent, const StylePtr& style, DesignRect rect) {
  // Tab moves into panels (WS_EX_CONTROLPARENT); children are not painted over (WS_CLIPCHILDREN).
  return CreateWidget(kPanelClass, std::make_unique<Panel>(style), rect,
                      {.style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                       .exStyle = WS_EX_CONTROLPARENT,
                       .parent = parent});
}

int AddPanelPicture(HWND panelWindow, PictureKind kind, DesignRect rect, FaceFit fit) {
  Panel* panel = As<Panel>(panelWindow);
  if (!panel) return -1;
  panel->pictures.push_back({kind, rect, fit});
  if (const HDC dc = panel->backing.dc()) {
    // The pictures are drawn in order, so the newest simply goes on top of the drawing so far.
    panel->PaintPicture(dc, panel->pictures.back());
  } else {
    panel->Render();
  }
  const RECT place = panel->PlaceOf(panel->pictures.back());
  RedrawWindow(panelWindow, &place, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  return static_cast<int>(panel->pictures.size()) - 1;
}

void SetPanelPicture(HWND panelWindow, int index, PictureKind kind) {
  Panel* panel = As<Panel>(panelWindow);
  if (!panel || index < 0 || index >= static_cast<int>(panel->pictures.size())) return;
  Panel::Picture& picture = panel->pictures[static_cast<size_t>(index)];
  if (picture.kind == kind) return;
  picture.kind = kind;
  const RECT place = panel->PlaceOf(picture);
  if (const HDC dc = panel->backing.dc()) {
    // Texture first: the face's rounded corners let it show through.
    const ScopedClip clip(dc, place);
    panel->PaintTexture(dc);
    panel->PaintPicture(dc, picture);
  }
  RedrawWindow(panelWindow, &place, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void PaintParentBackground(HWND child, HDC target, const RECT& area) {
  const HWND parent = GetParent(child);
  if (const Panel* panel = As<Panel>(parent); panel && panel->backing.dc()) {
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    BitBlt(target, 0, 0, area.right, area.bottom, panel->backing.dc(), origin.x, origin.y, SRCCOPY);
  } else {
    FillRect(target, &area, GetSysColorBrush(COLOR_3DFACE));
  }
}

}  // namespace norv::widgets
