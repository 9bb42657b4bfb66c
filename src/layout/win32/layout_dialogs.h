#pragma once

#include <windows.h>

namespace norv {

struct AppState;
struct Services;
class IconListSink;

// The save dialog, modal over owner; returns when it has been unloaded. While it writes a layout
// it rebuilds the main window's icon list through `list`.
void RunSaveDialog(HWND owner, AppState& state, Services& services, IconListSink& list);
// The restore dialog, modal over owner (the main window or the tray window).
void RunRestoreDialog(HWND owner, AppState& state, Services& services);
// Closes whichever of the two dialogs is loaded, without running its command.
void UnloadLayoutDialogs();

}  // namespace norv
