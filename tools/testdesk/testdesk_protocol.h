#pragma once

// How tests talk to testdesk.exe, the stand-in shell desktop of the Windows tests.
//
// testdesk.exe creates the desktop windows (Progman "Program Manager" > SHELLDLL_DefView >
// SysListView32, or the view under a WorkerW window) and, once they are complete, a hidden
// top-level control window of class kControlClass. A test finds that window and sends it
// WM_COPYDATA: dwData is a Command, lpData its argument. SendMessage returns 1 when the command
// was carried out, 0 when not.
//
// Command line:
//   testdesk.exe --probe    exit code 0 when a test desktop is running and complete, else 1
//   testdesk.exe [--sample | --empty | --generate N | --description FILE]
//                [--workerw | --workerw-under-progman] [--size WxH] [--exit-after MS]
//                [--folder-view]
//   --sample (the default)  the Japanese sample desktop
//   --empty                 a desktop list view without items
//   --generate N            N items "アイコン0001"... in a dense grid on the screen
//   --description FILE      items from a description file (format below)
//   --workerw               the view lives under a top-level WorkerW window (Progman stays, empty)
//   --workerw-under-progman the view lives under a WorkerW child of Progman
//   --size WxH              the desktop windows' size instead of the whole virtual screen
//   --exit-after MS         quit by itself after MS milliseconds
//   --folder-view           also serve the shell's folder view over the same list view to other
//                           processes, as Explorer does (below)
// Exit code 0 after a quit, 2 for a bad command line or description file (message on stderr).
//
// The folder view (--folder-view): testdesk registers a class object of its own (a new class id
// each run) and points the shell-windows class at it (a TreatAs key under HKEY_LOCAL_MACHINE), so
// that a program's lookup of the desktop's window finds testdesk's view; testdesk_proxy.dll,
// registered as the proxy/stub of IFolderView, IFolderView2, IEnumIDList and IPersistFolder2,
// carries item ids whole. Both go when it quits
// (a desktop started without --folder-view removes a TreatAs key left by one that was killed). The
// view's items are the list view's, in its order; an item's id is that of a file of the item's text
// on the desktop (the file need not exist), so the desktop folder of any process of the same Wine
// prefix names it. Positions read through either way agree. Positions set through the folder view
// are kept; those set by list-view messages from another process show until kRefresh puts the kept
// ones back. Calls run on the desktop's thread, so kHang and kHangAtRequest hold them too, and
// kVanish, kRestart and kVanishAfterRequests fail them as a dead shell's would (RPC_E_DISCONNECTED;
// the lookup answers "no such window" while there is no view). Its list view never shows scroll
// bars.
//
// Description file: UTF-8 text, one item per line, "X Y IMAGE TEXT": X and Y the item's position
// (signed decimal), IMAGE its image index, then one space and the text, which is the rest of the
// line (it may contain and end in spaces). Blank lines and lines starting with '#' are skipped;
// a trailing CR is ignored.
//
// Report file (written by kReport): UTF-8, one fact per line:
//   present 1|0                     whether the desktop's view exists
//   client W H                      the list view's client size (0 0 when absent)
//   item INDEX X Y IMAGE TEXT       every item in index order (TEXT: rest of line)
//   request 0xMSG COUNT             list-view requests (LVM_* messages) received since the last
//                                   reset, by message, from other processes and this one alike;
//                                   testdesk's own requests are not counted
//   folderview CALLS                calls received through the folder view since the last reset
//   redraw ON OFFS ONS              whether the list view's redraw is on (1) or off (0), as the
//                                   last WM_SETREDRAW left it (a new view draws), and how many
//                                   WM_SETREDRAW switched it off and on since the last reset
//   late-into-freed N               requests held up by kHangAtRequest whose answer would have gone
//                                   into memory the caller had freed meanwhile (not written)
//   end                             last line, so a reader knows the file is whole

#include <cstdint>

namespace norv::testdesk {

inline constexpr wchar_t kControlClass[] = L"NorvTestDeskControl";

enum class Command : uintptr_t {
  // lpData: UTF-16 path of the report file to write (no NUL needed).
  kReport = 1,
  kResetCounts = 2,
  // Destroys the desktop's view (SHELLDLL_DefView and its list view), keeping the items (with
  // their current positions) for kAppear. Progman (or WorkerW) stays, empty, where it lay.
  kVanish = 3,
  // Creates the view anew with the kept items and broadcasts "TaskbarCreated".
  kAppear = 4,
  // kVanish now, then kAppear after lpData's uint32_t milliseconds (0 or no data: at once, after
  // the reply), as when the shell restarts.
  kRestart = 5,
  // Lets lpData's uint32_t more list-view requests through, then the view stops answering (every
  // further request returns 0) and the desktop's view vanishes as soon as testdesk gets to it: the
  // shell dying in the middle of a caller's work.
  kVanishAfterRequests = 6,
  // Replaces all items by those of the description file at lpData's UTF-16 path.
  kLoadDescription = 7,
  // Ends testdesk.exe (exit code 0) after the reply.
  kQuit = 8,
  // Deletes the item at lpData's uint32_t index, as when the user deletes a file on the desktop;
  // the items after it move up one index. 0 when there is no such item.
  kDeleteItem = 9,
  // From the reply on, the desktop's thread answers nothing (every window of testdesk, the list
  // view among them) for lpData's uint32_t milliseconds: a busy or hung shell.
  kHang = 10,
  // lpData: uint32_t width, height and delay in milliseconds. Broadcasts WM_DISPLAYCHANGE for a
  // screen of that size, then after the delay (0: at once) gives the desktop windows that size,
  // as a shell does after a monitor was added or the resolution changed.
  kResize = 11,
  // lpData: uint32_t requests and milliseconds. The list view handles that many more list-view
  // requests, the last of them only after doing nothing for those milliseconds: a shell that
  // turns busy in the middle of a caller's work.
  kHangAtRequest = 12,
  // What the shell does on F5 or at the next logon: every icon goes back to its kept position,
  // the last one set through the folder view (or the one it was loaded with). Positions set by
  // list-view messages from another process are lost. 0 while the desktop has no view.
  kRefresh = 13,
  // lpData: uint32_t requests and milliseconds. As kVanishAfterRequests, then the view comes back
  // after those milliseconds (as kAppear) with the positions its items had when this command
  // came: a shell that restarts in the middle of a caller's moves and has kept none of them.
  kRestartAfterRequests = 14,
};

inline constexpr int kExitBadArguments = 2;

}  // namespace norv::testdesk
