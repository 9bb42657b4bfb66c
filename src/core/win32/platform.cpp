#include "core/win32/platform.h"

#include "core/win32/com_scope.h"
#include "core/win32/file_system.h"
#include "core/win32/folder_view/desktop_bridge.h"
#include "core/win32/list_view_desktop.h"
#include "core/win32/platform_services.h"
#include "core/win32/wide_text.h"

namespace norv {

struct Win32Platform::Parts {
  // COM on the program's own thread for the whole run, as the shell's functions it calls (opening
  // the help page, reading icons) expect; the folder view has a thread of its own.
  ComScope com;
  ListViewDesktop listView;
  // Explorer's folder view where it holds that list view, the list-view messages elsewhere.
  DesktopBridge desktop{listView, [this] { return listView.handle(); }};
  Win32FileSystem files;
  Win32ProfileFile profile;
  MessageBoxMessages messages;
  ExitProcessEnd programEnd;
  SleepPause pause;
};

Win32Platform::Win32Platform()
    : parts_(std::make_unique<Parts>()),
      services_(std::make_unique<Services>(Services{parts_->desktop.desktop(), parts_->files,
                                                    parts_->profile, parts_->messages,
                                                    parts_->programEnd, parts_->pause})) {}

Win32Platform::~Win32Platform() = default;

std::u16string DirectoryOfProgramPath(std::u16string_view programPath) {
  const size_t separator = programPath.find_last_of(u'\\');
  if (separator == std::u16string_view::npos) return {};
  std::u16string directory(programPath.substr(0, separator));
  if (!directory.empty() && directory.back() == u':') directory.push_back(u'\\');
  return directory;
}

std::u16string ProgramDirectory() {
  // The path may be longer than MAX_PATH; grow the buffer until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return DirectoryOfProgramPath(FromWide(path));
}

}  // namespace norv
