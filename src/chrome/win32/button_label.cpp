#include "chrome/win32/button_label.h"

#include <utility>

#include "chrome/button_press.h"
#include "chrome/win32/panel.h"

namespace norv::widgets {
namespace {

// Stops a pending-message pass that never empties (something re-posting itself) from hanging a
// button forever.
constexpr int kMaxPendingMessages = 10000;

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

class ButtonLabel final : public Label, public ButtonActions {
 public:
  ButtonLabel(StylePtr s, LabelOptions o, int face, std::function<void()> c, bool processEvents)
      : Label(std::move(s), std::move(o)),
        faceIndex(face),
        command(std::move(c)),
        press(*this, processEvents) {}

  bool Interactive() const override { return true; }

  void ShowPressedFace(bool pressed) override {
    SetPanelPicture(GetParent(hwnd()), faceIndex,
                    pressed ? PictureKind::kFacePressed : PictureKind::kFaceReleased);
  }
  void HoldPointer(bool hold) override {
    if (hold) {
      SetCapture(hwnd());
    } else if (GetCapture() == hwnd()) {
      ReleaseCapture();
    }
  }
  bool ProcessPendingEvents() override {
    const HWND self = hwnd();  // `this` may be gone after the pass
    ProcessPendingMessages();
    return IsWindow(self) && As<ButtonLabel>(self) != nullptr;
  }
  void RunCommand() override {
    // A copy: the command may close the window and with it this label.
    const std::function<void()> run = command;
    if (run) run();
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
    if (IsMouseDown(message)) {
      press.Press(PressSource::kMouse, enabled);
      return HandledMouseButton(message);
    }
    if (IsMouseUp(message)) {
      press.Release();  // may destroy this label
      return HandledMouseButton(message);
    }
    switch (message) {
      case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd()) press.Abandon();
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
    return Label::HandleMessage(message, wParam, lParam);
  }

  int faceIndex;
  std::function<void()> command;
  ButtonPress press;
};

}  // namespace

HWND CreateButtonLabel(HWND panel, const StylePtr& style, DesignRect rect,
                       const LabelOptions& options, int faceIndex, std::function<void()> command,
                       bool processEventsBeforeCommand) {
  return CreateLabelWindow(
      panel, rect, WS_TABSTOP,
      std::make_unique<ButtonLabel>(style, options, faceIndex, std::move(command),
                                    processEventsBeforeCommand));
}

}  // namespace norv::widgets
