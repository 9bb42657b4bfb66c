#pragma once

#include <windows.h>

#include "core/win32/scoped_handles.h"

namespace norv {

// Menu entry identifiers, in menu order.
enum TrayMenuId : UINT {
  kMenuSettings = 1,
  kMenuRestore = 2,
  kMenuHelp = 3,
  kMenuExit = 4,
};

// The tray menu: "設定...", "復帰...", "ﾍﾙﾌﾟ...", "終了" with a separator between each two.
ScopedMenu CreateTrayMenu();

}  // namespace norv
