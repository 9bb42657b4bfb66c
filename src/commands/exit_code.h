#pragma once

namespace norv {

// How a command ends, as the exit code scripts and scheduled tasks see.
enum class ExitCode : int {
  kDone = 0,
  kBadCommandLine = 1,
  // The layout name was refused, the layout does not exist, exists already without /overwrite,
  // or could not be written.
  kLayoutRefused = 2,
  kNeedsResident = 3,
  // No desktop view, no icons, or the shell did not answer.
  kDesktopUnreadable = 4,
  kResidentBusy = 5,
  // The resident Norvane could not take the request: it runs at another integrity level (one of
  // the two as administrator), or it refused the request as malformed (another version).
  kResidentRefused = 6,
};

}  // namespace norv
