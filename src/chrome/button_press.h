#pragma once

namespace norv {

// What pressing and releasing an image button does outside the button itself; the Win32 caption
// label implements it.
class ButtonActions {
 public:
  virtual ~ButtonActions() = default;
  virtual void ShowPressedFace(bool pressed) = 0;
  // Keeps the mouse's release coming to this button wherever the pointer is let go.
  virtual void HoldPointer(bool hold) = 0;
  // Handles the events already waiting, so the released face is painted before a long command.
  // Returns false when the button was destroyed meanwhile; nothing of it may be touched then.
  virtual bool ProcessPendingEvents() = 0;
  // May destroy the button.
  virtual void RunCommand() = 0;
};

enum class PressSource { kMouse, kKeyboard };

// The press and release rule of an image button: a press shows the pressed face; the release that
// ends it, wherever the pointer is, shows the released face, lets pending events run once (unless
// the window starts its commands at once) and then runs the command, exactly once per press.
class ButtonPress {
 public:
  ButtonPress(ButtonActions& actions, bool processEventsBeforeCommand)
      : actions_(actions), processEvents_(processEventsBeforeCommand) {}

  // A disabled button ignores presses; a second press while one is held changes nothing.
  void Press(PressSource source, bool enabled);
  // Ends a press and runs the command; a release without a press does nothing. The object may be
  // destroyed when this returns.
  void Release();
  // Enter on a focused button: a whole press and release at once.
  void Click(bool enabled);
  // The press is lost without a release (capture taken away, button disabled or hidden): the face
  // goes back to released and no command runs.
  void Abandon();

  bool pressed() const { return pressed_; }

 private:
  // Lets the pointer go and shows the released face.
  void EndPress();

  ButtonActions& actions_;
  bool processEvents_;
  bool pressed_ = false;
  bool holdingPointer_ = false;
};

}  // namespace norv
