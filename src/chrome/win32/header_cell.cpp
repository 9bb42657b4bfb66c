#include "chrome/win32/header_cell.h"

#include "chrome/win32/chrome_paint.h"
#include "core/win32/wide_text.h"

namespace norv::widgets {
namespace {

constexpr wchar_t kHeaderCellClass[] = L"NorvHeaderCell";

class HeaderCell final : public Widget {
 public:
  using Widget::Widget;

  void Render() {
    const HDC dc = backing.Begin(hwnd());
    const RECT& area = backing.area();
    DrawHeaderCell(dc, area.right, area.bottom, WindowText(hwnd()),
                   style->Font(CaptionFont::kJapanese));
  }

  void OnRestyle() override {
    Render();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        Render();
        return 0;
      case WM_SETTEXT: {
        const LRESULT result = Widget::HandleMessage(message, wParam, lParam);
        OnRestyle();
        return result;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        backing.Paint(hwnd());
        return 0;
    }
    return Widget::HandleMessage(message, wParam, lParam);
  }

  Backing backing;
};

}  // namespace

HWND CreateHeaderCell(HWND parent, const StylePtr& style, DesignRect rect,
                      const std::u16string& caption) {
  return CreateWidget(kHeaderCellClass, std::make_unique<HeaderCell>(style), rect,
                      {.text = Wide(caption), .parent = parent});
}

}  // namespace norv::widgets
