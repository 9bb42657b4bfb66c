#include "support/user_input.h"

#include <cstdlib>

#include "support/wait.h"

namespace norv::wintest {

void ClickAt(POINT screen) {
  // The pointer moves onto the target first and the button goes down only once the pointer is
  // seen there: under Wine a late echo of the previous move can otherwise put the press back
  // where the last click was.
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = MulDiv(screen.x, 65536, width) + 1;
  move.mi.dy = MulDiv(screen.y, 65536, height) + 1;
  move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  const auto there = [&] {
    POINT cursor{};
    return GetCursorPos(&cursor) && std::abs(cursor.x - screen.x) <= 1 &&
           std::abs(cursor.y - screen.y) <= 1;
  };
  for (int attempt = 0; attempt < 3 && !there(); ++attempt) {
    SendInput(1, &move, sizeof(INPUT));
    WaitUntil(there, 1000);
  }
  INPUT buttons[2] = {};
  for (INPUT& input : buttons) input.type = INPUT_MOUSE;
  buttons[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  buttons[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, buttons, sizeof(INPUT));
}

void ClickCentreOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  ClickAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PressKey(WORD virtualKey) {
  INPUT inputs[2] = {};
  inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = inputs[1].ki.wVk = virtualKey;
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, inputs, sizeof(INPUT));
}

}  // namespace norv::wintest
