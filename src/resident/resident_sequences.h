#pragma once

#include <string>

namespace norv {

struct AppState;
struct Services;
class TrayWindowView;

// Start-up before the tray window exists, with no other instance running: the program's folder,
// the two options from its settings file, the leftovers of writes an earlier run did not finish,
// then the first snapshot, which records the start-up positions. A first snapshot that fails (a
// shell still busy starting at logon) is taken again a few times, a second apart; false when none
// succeeded, and then the first one that later succeeds records the start. Then the desktop found
// is told to paint, in case an earlier run was killed in the middle of a move batch. A
// desktop without icons ends the program inside it, after telling the user.
bool BeginStartup(AppState& state, Services& services, std::u16string appDirectory);

// Start-up after the first snapshot: when the options say so, puts the icons where the last exit
// left them and snapshots again.
void BringBackLastExit(AppState& state, Services& services);

// The exit entry: records the desktop in "Norv.e01", puts icons back unless the options keep
// them, then unloads the tray window. Does not return when the program end does not.
void RunExitSequence(AppState& state, Services& services, TrayWindowView& view);

// Unload of the tray window, for any reason: the icon goes, the program ends at once.
void UnloadTrayWindow(Services& services, TrayWindowView& view);

}  // namespace norv
