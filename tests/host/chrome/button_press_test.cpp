#include "chrome/button_press.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace norv {
namespace {

// Records what the button does, in order.
class RecordingActions : public ButtonActions {
 public:
  void ShowPressedFace(bool pressed) override { log.push_back(pressed ? "face on" : "face off"); }
  void HoldPointer(bool hold) override { log.push_back(hold ? "capture" : "release capture"); }
  bool ProcessPendingEvents() override {
    log.push_back("events");
    return buttonSurvivesEvents;
  }
  void RunCommand() override {
    log.push_back("command");
    if (onCommand) onCommand();
  }

  std::vector<std::string> log;
  bool buttonSurvivesEvents = true;
  std::function<void()> onCommand;
};

using Log = std::vector<std::string>;

TEST(ButtonPress, MouseReleaseShowsReleasedFaceRunsPendingEventsThenTheCommandOnce) {
  RecordingActions actions;
  ButtonPress button(actions, /*processEventsBeforeCommand=*/true);
  button.Press(PressSource::kMouse, true);
  EXPECT_TRUE(button.pressed());
  button.Release();
  button.Release();  // a second release without a press does nothing
  EXPECT_EQ(actions.log,
            (Log{"face on", "capture", "release capture", "face off", "events", "command"}));
  EXPECT_FALSE(button.pressed());
}

TEST(ButtonPress, SaveDialogButtonsStartTheirCommandAtOnce) {
  RecordingActions actions;
  ButtonPress button(actions, /*processEventsBeforeCommand=*/false);
  button.Press(PressSource::kMouse, true);
  button.Release();
  EXPECT_EQ(actions.log, (Log{"face on", "capture", "release capture", "face off", "command"}));
}

TEST(ButtonPress, DisabledButtonNeitherChangesFaceNorRunsCommand) {
  RecordingActions actions;
  ButtonPress button(actions, true);
  button.Press(PressSource::kMouse, false);
  button.Release();
  button.Click(false);
  button.Press(PressSource::kKeyboard, false);
  button.Release();
  EXPECT_TRUE(actions.log.empty());
}

TEST(ButtonPress, OnePressRunsOneCommandWhateverElseIsPressed) {
  RecordingActions actions;
  ButtonPress button(actions, true);
  button.Press(PressSource::kMouse, true);
  button.Press(PressSource::kMouse, true);     // second mouse button while the first is held
  button.Press(PressSource::kKeyboard, true);  // key repeat
  button.Release();
  button.Release();
  EXPECT_EQ(std::count(actions.log.begin(), actions.log.end(), "command"), 1);
  EXPECT_EQ(std::count(actions.log.begin(), actions.log.end(), "face on"), 1);
}

TEST(ButtonPress, KeyboardPressesDoNotCaptureTheMouse) {
  RecordingActions actions;
  ButtonPress button(actions, true);
  button.Press(PressSource::kKeyboard, true);
  button.Release();
  button.Click(true);
  EXPECT_EQ(actions.log, (Log{"face on", "face off", "events", "command", "face on", "face off",
                              "events", "command"}));
}

TEST(ButtonPress, LostPressRestoresTheFaceWithoutCommand) {
  RecordingActions actions;
  ButtonPress button(actions, true);
  button.Press(PressSource::kMouse, true);
  button.Abandon();
  button.Release();
  button.Abandon();
  EXPECT_EQ(actions.log, (Log{"face on", "capture", "release capture", "face off"}));
}

TEST(ButtonPress, ButtonDestroyedByPendingEventsRunsNoCommand) {
  RecordingActions actions;
  actions.buttonSurvivesEvents = false;
  auto button = std::make_unique<ButtonPress>(actions, true);
  button->Press(PressSource::kMouse, true);
  // The pass over pending events closed the window; the button must not run its command.
  button->Release();
  EXPECT_EQ(actions.log.back(), "events");
}

TEST(ButtonPress, CommandMayDestroyTheButton) {
  RecordingActions actions;
  auto button = std::make_unique<ButtonPress>(actions, true);
  actions.onCommand = [&] { button.reset(); };
  button->Press(PressSource::kMouse, true);
  button->Release();  // under the sanitizer, any use after the reset is caught
  EXPECT_EQ(button, nullptr);
  EXPECT_EQ(actions.log.back(), "command");
}

}  // namespace
}  // namespace norv
