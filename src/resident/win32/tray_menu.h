#pragma once

#include <windows.h>

namespace norv {

// Menu entry identifiers, in menu order.
enum TrayMenuId : UINT {
  kMenuSettings = 1,
  kMenuRestore = 2,
  kMenuHelp = 3,
  kMenuExit = 4,
};

// The tray menu: "設定...", "復帰...", "ﾍﾙﾌﾟ...", "終了" with a separator between each two.
// The caller destroys it.
HMENU CreateTrayMenu();

}  // namespace norv
