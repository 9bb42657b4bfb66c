#include "resident/win32/tray_menu.h"

namespace norv {

ScopedMenu CreateTrayMenu() {
  ScopedMenu owned(CreatePopupMenu());
  const HMENU menu = owned.get();
  if (!menu) return owned;
  AppendMenuW(menu, MF_STRING, kMenuSettings, L"設定...");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuRestore, L"復帰...");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuHelp, L"ﾍﾙﾌﾟ...");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kMenuExit, L"終了");
  return owned;
}

}  // namespace norv
