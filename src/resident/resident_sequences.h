#pragma once

namespace norv {

struct AppState;
struct IconTable;
struct Services;
class TrayWindowView;

// The start-up's first snapshot, which records where every icon started. One that fails part-way
// (a shell still busy starting at logon) is taken again a few times, seconds apart, before the
// program settles; false when none succeeded, and then the first snapshot that later succeeds
// records the start.
bool TakeFirstSnapshot(IconTable& table, Services& services);

// Start-up after the first snapshot: with ReCover[0] exactly 1, puts the icons where the last
// exit left them and snapshots again.
void BringBackLastExit(AppState& state, Services& services);

// The exit entry: records the desktop in "Norv.e01", puts icons back unless ReCover[1] says
// otherwise, then unloads the tray window. Does not return when the program end does not.
void RunExitSequence(AppState& state, Services& services, TrayWindowView& view);

// Unload of the tray window, for any reason: the icon goes, the program ends at once.
void UnloadTrayWindow(Services& services, TrayWindowView& view);

}  // namespace norv
