#pragma once

namespace norv::wintest {

// Puts files, folders and shortcuts named like the sample test desktop's icons into the user's
// desktop folder, so the preview finds real items with real icons. Items the shell's desktop
// already shows (the recycle bin, the computer) are left to it. Idempotent.
void CreateSampleDesktopFiles();

}  // namespace norv::wintest
