#pragma once

#include "commands/exit_code.h"

namespace norv {

class CommandOutput;

// /diagnose: what this desktop looks like to Norvane, one fact a line, for a bug report: the
// Windows version, the way to the desktop and why, the window chain, the desktop area, every
// monitor, the view's arrange flags, the icons, and a round trip of the first icon to the hiding
// point and back. The last line is "OK" (kDone) or what failed (kDesktopUnreadable). It touches
// nothing but the first icon, which it leaves where it was.
ExitCode DiagnoseDesktop(CommandOutput& out);

}  // namespace norv
