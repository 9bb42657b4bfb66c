#include "chrome/win32/check_picture.h"

#include <optional>
#include <utility>

#include "chrome/win32/chrome_paint.h"
#include "chrome/win32/panel.h"

namespace norv::widgets {
namespace {

constexpr wchar_t kCheckPictureClass[] = L"NorvCheckPicture";

class CheckPicture final : public Widget {
 public:
  CheckPicture(StylePtr s, bool c, std::function<void()> p)
      : Widget(std::move(s)), checked(c), onPress(std::move(p)) {}

  // Both pictures at the window's size, made again only when the size or the style changes.
  const Pixmap& Shown(int width, int height) {
    if (!sizedFor || sizedFor->cx != width || sizedFor->cy != height) {
      sizedOn = style->checkOn.Sized(width, height);
      sizedOff = style->checkOff.Sized(width, height);
      sizedFor = SIZE{width, height};
    }
    return checked ? sizedOn : sizedOff;
  }

  void OnRestyle() override {
    sizedFor.reset();
    Widget::OnRestyle();
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsMouseDown(message)) {
      RunPress(onPress);
      return HandledMouseButton(message);
    }
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(style->hand());
        return TRUE;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        const ScopedPaint paint(hwnd());
        RECT area;
        GetClientRect(hwnd(), &area);
        PaintParentBackground(hwnd(), paint.dc(), area);
        DrawPicture(paint.dc(), Shown(area.right, area.bottom), 0, 0);
        return 0;
      }
    }
    return Widget::HandleMessage(message, wParam, lParam);
  }

  bool checked;
  std::function<void()> onPress;
  std::optional<SIZE> sizedFor;
  Pixmap sizedOn;
  Pixmap sizedOff;
};

}  // namespace

HWND CreateCheckPicture(HWND parent, const StylePtr& style, DesignRect rect, bool checked,
                        std::function<void()> onPress) {
  return CreateWidget(kCheckPictureClass,
                      std::make_unique<CheckPicture>(style, checked, std::move(onPress)), rect,
                      {.parent = parent});
}

void SetCheckPicture(HWND pictureWindow, bool checked) {
  if (CheckPicture* picture = As<CheckPicture>(pictureWindow)) {
    picture->checked = checked;
    InvalidateRect(pictureWindow, nullptr, FALSE);
  }
}

bool CheckPictureChecked(HWND pictureWindow) {
  const CheckPicture* picture = As<CheckPicture>(pictureWindow);
  return picture && picture->checked;
}

}  // namespace norv::widgets
