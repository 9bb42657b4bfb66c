#include "chrome/win32/header_cell.h"

#include "chrome/win32/chrome_paint.h"
#include "core/win32/wide_text.h"

namespace norv::widgets {
namespace {

constexpr wchar_t kHeaderCellClass[] = L"NorvHeaderCell";

class HeaderCell final : public BackedWidget {
 public:
  using BackedWidget::BackedWidget;

  void Render() override {
    const HDC dc = backing.Begin(hwnd());
    const RECT& area = backing.area();
    DrawHeaderCell(dc, area.right, area.bottom, WindowText(hwnd()),
                   style->Font(CaptionFont::kJapanese));
  }

  void OnRestyle() override {
    Render();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message != WM_SETTEXT) return BackedWidget::HandleMessage(message, wParam, lParam);
    // The caption is part of the drawing.
    const LRESULT result = BackedWidget::HandleMessage(message, wParam, lParam);
    OnRestyle();
    return result;
  }
};

}  // namespace

HWND CreateHeaderCell(HWND parent, const StylePtr& style, DesignRect rect,
                      const std::u16string& caption) {
  return CreateWidget(kHeaderCellClass, std::make_unique<HeaderCell>(style), rect,
                      {.text = Wide(caption), .parent = parent});
}

}  // namespace norv::widgets
