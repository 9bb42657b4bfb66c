#pragma once

#include <string>

namespace norv {

// Creates (or overwrites) the shortcut "Norv" in the user's Startup folder, pointing to
// appDirectory + "\Norv.exe" with no arguments and appDirectory as its working folder.
// False when the shortcut could not be written.
bool RegisterStartupShortcut(const std::u16string& appDirectory);

}  // namespace norv
