#pragma once

#include <windows.h>

namespace norv {

struct AppState;
struct Services;
class MainWindowView;

// Creates and shows the main window, modeless, and returns at once. Its load handling sets
// state.mainWindowOpen; its unload (close box or "ﾀｽｸﾄﾚｲへ") writes the options and clears it.
void OpenMainWindow(HINSTANCE instance, HICON programIcon, AppState& state, Services& services);
// The main window's handle while it is loaded, else null.
HWND MainWindowHandle();
// The loaded main window as its behaviour drives it, else null.
MainWindowView* LoadedMainWindowView();

}  // namespace norv
