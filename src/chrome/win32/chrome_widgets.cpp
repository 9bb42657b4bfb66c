#include "chrome/win32/chrome_widgets.h"

#include <windowsx.h>

#include <optional>
#include <utility>
#include <vector>

#include "chrome/button_press.h"
#include "chrome/win32/chrome_paint.h"
#include "core/win32/wide_text.h"

namespace norv::widgets {

namespace {

constexpr wchar_t kPanelClass[] = L"NorvPanel";
constexpr wchar_t kLabelClass[] = L"NorvLabel";
constexpr wchar_t kCheckPictureClass[] = L"NorvCheckPicture";
constexpr wchar_t kHeaderCellClass[] = L"NorvHeaderCell";

// Messages private to these classes.
constexpr UINT kRestyle = WM_USER + 0x100;  // lParam: const StylePtr*

// Stops a pending-message pass that never empties (something re-posting itself) from hanging a
// button forever.
constexpr int kMaxPendingMessages = 10000;

RECT ToRect(DesignRect r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

// The caption a widget draws: its window text.
std::u16string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  GetWindowTextW(hwnd, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

// The state behind every window of these classes, owned by the window (freed at WM_NCDESTROY).
struct Widget {
  explicit Widget(StylePtr s) : style(std::move(s)) {}
  virtual ~Widget() = default;
  virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  virtual void OnRestyle() { InvalidateRect(hwnd, nullptr, FALSE); }

  // Set at WM_NCCREATE, before the window hands the widget any message or As finds it.
  HWND hwnd = nullptr;
  StylePtr style;
};

// What CreateWidget hands the new window: the window owns the widget once it has taken it.
struct WidgetHandover {
  Widget* widget;
  bool taken = false;
};

LRESULT CALLBACK WidgetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* handover = static_cast<WidgetHandover*>(create->lpCreateParams);
    if (handover && handover->widget) {
      handover->widget->hwnd = hwnd;
      handover->taken = true;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handover->widget));
    }
  }
  auto* widget = reinterpret_cast<Widget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!widget) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete widget;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == kRestyle) {
    widget->style = *reinterpret_cast<const StylePtr*>(lParam);
    widget->OnRestyle();
    return 1;
  }
  return widget->Handle(message, wParam, lParam);
}

void RegisterClasses() {
  static const bool registered = [] {
    for (const wchar_t* name : {kPanelClass, kLabelClass, kCheckPictureClass, kHeaderCellClass}) {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = WidgetProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.lpszClassName = name;
      RegisterClassExW(&wc);
    }
    return true;
  }();
  (void)registered;
}

template <class T>
T* As(HWND hwnd) {
  if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(WidgetProc)) {
    return nullptr;
  }
  return dynamic_cast<T*>(reinterpret_cast<Widget*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)));
}

HWND CreateWidget(const wchar_t* className, const std::u16string& text, DWORD style, DWORD exStyle,
                  HWND parent, const DpiScale& scale, DesignRect rect, Widget* widget) {
  RegisterClasses();
  const DesignRect r = scale.Rect(rect);
  WidgetHandover handover{widget};
  HWND hwnd =
      CreateWindowExW(exStyle, className, Wide(text), WS_CHILD | WS_VISIBLE | style, r.x, r.y,
                      r.width, r.height, parent, nullptr, GetModuleHandleW(nullptr), &handover);
  // A window that failed after taking the state has freed it at WM_NCDESTROY; otherwise nothing
  // owns it. Either way the caller gets null and carries on.
  if (!handover.taken) delete widget;
  return hwnd;
}

// A bitmap the size of a window's client area, drawn once and shown on every paint.
class Backing {
 public:
  ~Backing() { Reset(); }
  HDC Begin(HWND hwnd) {
    Reset();
    GetClientRect(hwnd, &area_);
    HDC screen = GetDC(hwnd);
    bitmap_ = CreateCompatibleBitmap(screen, std::max<LONG>(area_.right, 1),
                                     std::max<LONG>(area_.bottom, 1));
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(hwnd, screen);
    previous_ = SelectObject(dc_, bitmap_);
    return dc_;
  }
  HDC dc() const { return dc_; }
  // The client area the bitmap was made for at the last Begin.
  const RECT& area() const { return area_; }
  void Paint(HWND hwnd) const {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd, &ps);
    if (dc_) {
      const RECT& r = ps.rcPaint;
      BitBlt(target, r.left, r.top, r.right - r.left, r.bottom - r.top, dc_, r.left, r.top,
             SRCCOPY);
    }
    EndPaint(hwnd, &ps);
  }

 private:
  void Reset() {
    if (dc_) {
      SelectObject(dc_, previous_);
      DeleteDC(dc_);
      dc_ = nullptr;
    }
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = nullptr;
  }

  RECT area_{};
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// ---- Textured panel ----------------------------------------------------------------------------

struct Panel : Widget {
  using Widget::Widget;

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

  void Render() {
    HDC dc = backing.Begin(hwnd);
    PaintTexture(dc);
    for (const Picture& picture : pictures) PaintPicture(dc, picture);
  }

  void OnRestyle() override {
    Render();
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        Render();
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        backing.Paint(hwnd);
        return 0;
    }
    return Widget::Handle(message, wParam, lParam);
  }

  std::vector<Picture> pictures;
  Backing backing;
};

// Paints the part of the parent panel's drawing that lies under `child`, so the child looks
// transparent; a child of anything else gets the dialog colour.
void PaintParentBackground(HWND child, HDC target, const RECT& area) {
  HWND parent = GetParent(child);
  if (Panel* panel = As<Panel>(parent); panel && panel->backing.dc()) {
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    BitBlt(target, 0, 0, area.right, area.bottom, panel->backing.dc(), origin.x, origin.y, SRCCOPY);
  } else {
    FillRect(target, &area, GetSysColorBrush(COLOR_3DFACE));
  }
}

// ---- Labels
// --------------------------------------------------------------------------------------

struct Label : Widget {
  Label(StylePtr s, LabelOptions o) : Widget(std::move(s)), options(std::move(o)) {}

  virtual bool Interactive() const { return false; }

  void Paint() {
    PAINTSTRUCT ps;
    HDC target = BeginPaint(hwnd, &ps);
    RECT area;
    GetClientRect(hwnd, &area);
    // Drawn off screen and copied in one go, so a pressed face never flickers through the caption.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, std::max<LONG>(area.right, 1),
                                            std::max<LONG>(area.bottom, 1));
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    if (options.background) {
      HBRUSH brush = CreateSolidBrush(*options.background);
      FillRect(dc, &area, brush);
      DeleteObject(brush);
    } else {
      PaintParentBackground(hwnd, dc, area);
    }

    const std::u16string caption = WindowText(hwnd);
    const int length = static_cast<int>(caption.size());

    HGDIOBJ previousFont = SelectObject(dc, style->Font(options.font));
    SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_NOPREFIX | DT_WORDBREAK | DT_TOP |
                        (options.align == CaptionAlign::kCentre ? DT_CENTER : DT_LEFT);
    RECT text = area;
    if (IsWindowEnabled(hwnd)) {
      SetTextColor(
          dc, options.textColour == CLR_INVALID ? GetSysColor(COLOR_BTNTEXT) : options.textColour);
      DrawTextW(dc, Wide(caption), length, &text, format);
    } else {
      // Greyed like a disabled control: an etched caption.
      OffsetRect(&text, 1, 1);
      SetTextColor(dc, GetSysColor(COLOR_3DHILIGHT));
      DrawTextW(dc, Wide(caption), length, &text, format);
      text = area;
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      DrawTextW(dc, Wide(caption), length, &text, format);
    }
    SelectObject(dc, previousFont);
    if (GetFocus() == hwnd) DrawFocusRect(dc, &area);

    BitBlt(target, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(hwnd, &ps);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        Paint();
        return 0;
      case WM_NCHITTEST:
        // A caption that does nothing lets the mouse through to what lies under it.
        if (!Interactive()) return HTTRANSPARENT;
        break;
      case WM_SETCURSOR:
        if (Interactive()) {
          SetCursor(style->hand());
          return TRUE;
        }
        break;
      case WM_SETTEXT:
      case WM_ENABLE: {
        const LRESULT result = Widget::Handle(message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
      }
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
      case WM_GETDLGCODE: {
        // Enter belongs to a focused label rather than the window's default action; characters
        // are taken so typing on a label does not search for mnemonics and beep.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        return DLGC_WANTCHARS | (enter && Interactive() ? DLGC_WANTMESSAGE : 0);
      }
    }
    return Widget::Handle(message, wParam, lParam);
  }

  LabelOptions options;
};

bool IsMouseDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
         message == WM_XBUTTONDOWN;
}

bool IsMouseUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP ||
         message == WM_XBUTTONUP;
}

// Handles every message already waiting, as a pending-events pass does.
void ProcessPendingMessages() {
  MSG message;
  for (int handled = 0;
       handled < kMaxPendingMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
       ++handled) {
    if (message.message == WM_QUIT) {
      // Left for the message loop that owns it.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (TranslateChromeKeyboard(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

struct ButtonLabel : Label, ButtonActions {
  ButtonLabel(StylePtr s, LabelOptions o, int face, std::function<void()> c, bool processEvents)
      : Label(std::move(s), std::move(o)),
        faceIndex(face),
        command(std::move(c)),
        press(*this, processEvents) {}

  bool Interactive() const override { return true; }

  void ShowPressedFace(bool pressed) override {
    SetPanelPicture(GetParent(hwnd), faceIndex,
                    pressed ? PictureKind::kFacePressed : PictureKind::kFaceReleased);
  }
  void HoldPointer(bool hold) override {
    if (hold) {
      SetCapture(hwnd);
    } else if (GetCapture() == hwnd) {
      ReleaseCapture();
    }
  }
  bool ProcessPendingEvents() override {
    const HWND self = hwnd;  // `this` may be gone after the pass
    ProcessPendingMessages();
    return IsWindow(self) && As<ButtonLabel>(self) != nullptr;
  }
  void RunCommand() override {
    // A copy: the command may close the window and with it this label.
    const std::function<void()> run = command;
    if (run) run();
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    if (IsMouseDown(message)) {
      press.Press(PressSource::kMouse, enabled);
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    }
    if (IsMouseUp(message)) {
      press.Release();  // may destroy this label
      return message == WM_XBUTTONUP ? TRUE : 0;
    }
    switch (message) {
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) press.Abandon();
        return 0;
      case WM_ENABLE:
        if (!wParam) press.Abandon();
        break;
      case WM_KILLFOCUS:
        press.Abandon();
        break;
      case WM_KEYDOWN:
        if (wParam == VK_SPACE && !(lParam & (1 << 30)))
          press.Press(PressSource::kKeyboard, enabled);
        if (wParam == VK_RETURN && !(lParam & (1 << 30))) press.Click(enabled);  // may destroy
        return 0;
      case WM_KEYUP:
        if (wParam == VK_SPACE) press.Release();  // may destroy this label
        return 0;
    }
    return Label::Handle(message, wParam, lParam);
  }

  int faceIndex;
  std::function<void()> command;
  ButtonPress press;
};

// A press that may destroy the widget it came from: run a copy.
void RunPress(const std::function<void()>& onPress) {
  const std::function<void()> run = onPress;
  if (run) run();
}

struct CheckLabel : Label {
  CheckLabel(StylePtr s, LabelOptions o, std::function<void()> p)
      : Label(std::move(s), std::move(o)), onPress(std::move(p)) {}

  bool Interactive() const override { return true; }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsMouseDown(message)) {
      RunPress(onPress);
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    }
    if (message == WM_KEYDOWN) {
      const bool firstStroke = !(lParam & (1 << 30));
      if ((wParam == VK_SPACE || wParam == VK_RETURN) && firstStroke && IsWindowEnabled(hwnd)) {
        RunPress(onPress);
      }
      return 0;
    }
    return Label::Handle(message, wParam, lParam);
  }

  std::function<void()> onPress;
};

// ---- Check picture ------------------------------------------------------------------------------

struct CheckPicture : Widget {
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

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (IsMouseDown(message)) {
      RunPress(onPress);
      return message == WM_XBUTTONDOWN ? TRUE : 0;
    }
    switch (message) {
      case WM_SETCURSOR:
        SetCursor(style->hand());
        return TRUE;
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC target = BeginPaint(hwnd, &ps);
        RECT area;
        GetClientRect(hwnd, &area);
        PaintParentBackground(hwnd, target, area);
        DrawPicture(target, Shown(area.right, area.bottom), 0, 0);
        EndPaint(hwnd, &ps);
        return 0;
      }
    }
    return Widget::Handle(message, wParam, lParam);
  }

  bool checked;
  std::function<void()> onPress;
  std::optional<SIZE> sizedFor;
  Pixmap sizedOn;
  Pixmap sizedOff;
};

// ---- Header cell --------------------------------------------------------------------------------

struct HeaderCell : Widget {
  using Widget::Widget;

  void Render() {
    HDC dc = backing.Begin(hwnd);
    const RECT& area = backing.area();
    DrawHeaderCell(dc, area.right, area.bottom, WindowText(hwnd),
                   style->Font(CaptionFont::kJapanese));
  }

  void OnRestyle() override {
    Render();
    InvalidateRect(hwnd, nullptr, FALSE);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CREATE:
        Render();
        return 0;
      case WM_SETTEXT: {
        const LRESULT result = Widget::Handle(message, wParam, lParam);
        OnRestyle();
        return result;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_PAINT:
        backing.Paint(hwnd);
        return 0;
    }
    return Widget::Handle(message, wParam, lParam);
  }

  Backing backing;
};

}  // namespace

HWND CreatePanel(HWND parent, const StylePtr& style, DesignRect rect) {
  // Tab moves into panels (WS_EX_CONTROLPARENT); children are not painted over (WS_CLIPCHILDREN).
  return CreateWidget(kPanelClass, u"", WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT,
                      parent, style->scale(), rect, new Panel(style));
}

int AddPanelPicture(HWND panelWindow, PictureKind kind, DesignRect rect, FaceFit fit) {
  Panel* panel = As<Panel>(panelWindow);
  if (!panel) return -1;
  panel->pictures.push_back({kind, rect, fit});
  if (HDC dc = panel->backing.dc()) {
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
  HDC dc = panel->backing.dc();
  if (dc) {
    // Texture first: the face's rounded corners let it show through.
    HRGN clip = CreateRectRgnIndirect(&place);
    SelectClipRgn(dc, clip);
    panel->PaintTexture(dc);
    panel->PaintPicture(dc, picture);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
  }
  RedrawWindow(panelWindow, &place, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HWND CreatePlainLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options) {
  return CreateWidget(kLabelClass, options.caption, 0, 0, parent, style->scale(), rect,
                      new Label(style, options));
}

HWND CreateButtonLabel(HWND panel, const StylePtr& style, DesignRect rect,
                       const LabelOptions& options, int faceIndex, std::function<void()> command,
                       bool processEventsBeforeCommand) {
  return CreateWidget(
      kLabelClass, options.caption, WS_TABSTOP, 0, panel, style->scale(), rect,
      new ButtonLabel(style, options, faceIndex, std::move(command), processEventsBeforeCommand));
}

HWND CreateCheckPicture(HWND parent, const StylePtr& style, DesignRect rect, bool checked,
                        std::function<void()> onPress) {
  return CreateWidget(kCheckPictureClass, u"", 0, 0, parent, style->scale(), rect,
                      new CheckPicture(style, checked, std::move(onPress)));
}

HWND CreateCheckLabel(HWND parent, const StylePtr& style, DesignRect rect,
                      const LabelOptions& options, std::function<void()> onPress) {
  return CreateWidget(kLabelClass, options.caption, WS_TABSTOP, 0, parent, style->scale(), rect,
                      new CheckLabel(style, options, std::move(onPress)));
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

HWND CreateHeaderCell(HWND parent, const StylePtr& style, DesignRect rect,
                      const std::u16string& caption) {
  return CreateWidget(kHeaderCellClass, caption, 0, 0, parent, style->scale(), rect,
                      new HeaderCell(style));
}

bool Restyle(HWND widget, const StylePtr& style) {
  if (!As<Widget>(widget)) return false;
  SendMessageW(widget, kRestyle, 0, reinterpret_cast<LPARAM>(&style));
  return true;
}

}  // namespace norv::widgets
