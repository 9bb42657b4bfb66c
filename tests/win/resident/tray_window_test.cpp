// The tray window when the system will not make it.
#include "resident/win32/tray_window.h"
#include "commands/command_message.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "resident/tray_window.h"
#include "support/debug_output.h"
#include "support/fake_services.h"
#include "support/foreign_window_class.h"

namespace norv {
namespace {

TEST(TrayWindowTest, WithoutItsWindowTheProgramSaysSoAndLeavesADiagnosticLine) {
  // The tray window's class name already held by another window procedure in this process.
  const wintest::ForeignWindowClass foreign(kTrayWindowClass);
  ASSERT_TRUE(foreign.registered());

  test::FakePlatform platform;
  wintest::DebugOutputRecorder debugOutput;
  EXPECT_EQ(RunTrayWindow(GetModuleHandleW(nullptr), platform.state, platform.services), 1);
  ASSERT_EQ(platform.messages.shown.size(), 1u);
  EXPECT_EQ(platform.messages.shown[0].text, kNoTrayWindowMessage);
  EXPECT_EQ(platform.messages.shown[0].title, u"Norvane");
  EXPECT_EQ(debugOutput.Count("Norvane: RegisterClassExW failed for Norv_S"), 1);
  // Nothing of the start-up ran: the desktop was left alone.
  EXPECT_EQ(platform.desktop.CrossProcessRequests(), 0);
}

}  // namespace
}  // namespace norv
