#pragma once

#include "core/app_state.h"
#include "core/settings.h"
#include "resident/resident_sequences.h"
#include "resident/tray_window.h"
#include "support/fake_services.h"

namespace norv::test {

// The program's first steps before its tray window exists, then the tray window's start.
inline void StartLikeNorvExe(FakePlatform& p, TrayWindow& tray) {
  p.state.mainWindowOpen = false;
  p.state.table.firstSnapshotPending = true;
  p.state.appDirectory = u"C:\\Norv";
  LoadOptions(p.state, p.profile);
  TakeFirstSnapshot(p.state.table, p.services);
  tray.Start();
}

}  // namespace norv::test
