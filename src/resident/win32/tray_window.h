#pragma once

#include <windows.h>

namespace norv {

struct AppState;
struct Services;

// The shell reports mouse events on the icon with this message, the mouse message number in the
// low word of lParam.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

// Creates the tray window after the program's first snapshot, finishes the start-up in it and
// handles events until the program ends. The program icon comes from `instance`'s resources.
int RunTrayWindow(HINSTANCE instance, AppState& state, Services& services);

}  // namespace norv
