// The base of our windows on real windows: which messages reach the object, who frees what, and
// the diagnostic line of a window that cannot be made.
#include "core/win32/window_base.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "support/debug_output.h"
#include "support/foreign_window_class.h"

namespace norv {
namespace {

constexpr wchar_t kProbeClass[] = L"NorvWindowBaseProbe";
const WindowClass kProbe{.name = kProbeClass};

// Kept outside the probe, so it can be read after the probe is gone.
struct ProbeLog {
  std::vector<UINT> messages;  // creation and destruction messages only
  int freed = 0;
};

// A window object that can refuse its own creation at WM_NCCREATE or WM_CREATE.
class Probe final : public WindowBase {
 public:
  explicit Probe(ProbeLog& log, UINT refuseAt = 0) : log_(log), refuseAt_(refuseAt) {}
  ~Probe() override { ++log_.freed; }
  using WindowBase::Create;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_NCCREATE || message == WM_CREATE || message == WM_DESTROY ||
        message == WM_NCDESTROY) {
      log_.messages.push_back(message);
    }
    if (refuseAt_ && message == refuseAt_) return message == WM_CREATE ? -1 : FALSE;
    return WindowBase::HandleMessage(message, wParam, lParam);
  }

  ProbeLog& log_;
  UINT refuseAt_;
};

// Reads the window's user data once our procedure has handled the window's last message.
LRESULT CALLBACK ReadUserDataAtTheEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR userData) {
  if (message != WM_NCDESTROY) return DefSubclassProc(window, message, wParam, lParam);
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
  *reinterpret_cast<LONG_PTR*>(userData) = GetWindowLongPtrW(window, GWLP_USERDATA);
  RemoveWindowSubclass(window, ReadUserDataAtTheEnd, id);
  return result;
}

TEST(WindowBaseTest, AnObjectThatOwnsItsWindowSeesItFromCreationToTheEnd) {
  ProbeLog log;
  Probe probe(log);
  ASSERT_TRUE(probe.Create(kProbe, {.style = WS_POPUP}));
  const HWND window = probe.hwnd();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WindowBase::FromHandle(window), &probe);
  EXPECT_EQ(log.messages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));

  LONG_PTR userDataAtTheEnd = -1;
  ASSERT_TRUE(SetWindowSubclass(window, ReadUserDataAtTheEnd, 0,
                                reinterpret_cast<DWORD_PTR>(&userDataAtTheEnd)));
  DestroyWindow(window);
  EXPECT_EQ(userDataAtTheEnd, 0);
  EXPECT_EQ(probe.hwnd(), nullptr);
  EXPECT_EQ(log.messages, (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
  EXPECT_EQ(log.freed, 0);
}

TEST(WindowBaseTest, AnObjectGoneFirstTakesItsWindowWithIt) {
  ProbeLog log;
  auto probe = std::make_unique<Probe>(log);
  ASSERT_TRUE(probe->Create(kProbe, {.style = WS_POPUP}));
  const HWND window = probe->hwnd();
  probe.reset();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(log.freed, 1);
}

TEST(WindowBaseTest, AWindowThatOwnsItsObjectFreesItOnceWhetherOrNotItWasMade) {
  // A parent that no longer exists: the window fails before any message reaches it.
  const HWND goneParent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(goneParent, nullptr);
  DestroyWindow(goneParent);

  struct Case {
    const char* name;
    UINT refuseAt;
    HWND parent;
    bool made;
  };
  for (const Case& c :
       {Case{"made", 0, nullptr, true}, Case{"refused at WM_NCCREATE", WM_NCCREATE, nullptr, false},
        Case{"refused at WM_CREATE", WM_CREATE, nullptr, false},
        Case{"no parent", 0, goneParent, false}}) {
    wintest::DebugOutputRecorder debugOutput;
    ProbeLog log;
    const DWORD style = c.parent ? WS_CHILD : WS_POPUP;
    const HWND window = WindowBase::CreateOwnedByWindow(
        std::make_unique<Probe>(log, c.refuseAt), kProbe, {.style = style, .parent = c.parent});
    EXPECT_EQ(window != nullptr, c.made) << c.name;
    if (window) {
      EXPECT_EQ(log.freed, 0);
      DestroyWindow(window);
    }
    EXPECT_EQ(log.freed, 1) << c.name;
    EXPECT_EQ(debugOutput.Count("Norvane: CreateWindowExW failed for NorvWindowBaseProbe"),
              c.made ? 0 : 1)
        << c.name;
  }
}

TEST(WindowBaseTest, AClassNameHeldByAnotherProcedureMakesNoWindowAndSaysSo) {
  constexpr wchar_t kTaken[] = L"NorvWindowBaseTaken";
  const wintest::ForeignWindowClass foreign(kTaken);
  ASSERT_TRUE(foreign.registered());
  wintest::DebugOutputRecorder debugOutput;
  ProbeLog log;
  Probe probe(log);
  EXPECT_FALSE(probe.Create({.name = kTaken}, {.style = WS_POPUP}));
  EXPECT_EQ(probe.hwnd(), nullptr);
  EXPECT_TRUE(log.messages.empty());
  EXPECT_EQ(debugOutput.Count("Norvane: RegisterClassExW failed for NorvWindowBaseTaken"), 1);
}

}  // namespace
}  // namespace norv
