#include "chrome/button_press.h"

namespace norv {

void ButtonPress::Press(PressSource source, bool enabled) {
  if (!enabled || pressed_) return;
  pressed_ = true;
  actions_.ShowPressedFace(true);
  if (source == PressSource::kMouse) {
    holdingPointer_ = true;
    actions_.HoldPointer(true);
  }
}

void ButtonPress::Release() {
  if (!pressed_) return;
  EndPress();
  // Locals only from here on: the pending events or the command may destroy this object.
  ButtonActions& actions = actions_;
  const bool processEvents = processEvents_;
  if (processEvents && !actions.ProcessPendingEvents()) return;
  actions.RunCommand();
}

void ButtonPress::Click(bool enabled) {
  if (!enabled || pressed_) return;
  Press(PressSource::kKeyboard, enabled);
  Release();
}

void ButtonPress::Abandon() {
  if (!pressed_) return;
  EndPress();
}

void ButtonPress::EndPress() {
  pressed_ = false;
  if (holdingPointer_) {
    holdingPointer_ = false;
    actions_.HoldPointer(false);
  }
  actions_.ShowPressedFace(false);
}

}  // namespace norv
