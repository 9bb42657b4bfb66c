#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace norv::wintest {

// The first visible-or-not top-level window of `className` (nullptr: any class) with the caption
// `title` (nullptr: any) that belongs to process `processId` (0: any process), waiting up to
// `timeoutMs` for it to appear. nullptr when none appeared.
HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD processId = 0,
                      DWORD timeoutMs = 10000);

// Every top-level window of process `processId` with the given class (nullptr: any).
std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className = nullptr);

// A descendant of `parent` with the given class, depth first; nullptr when none.
HWND FindDescendant(HWND parent, const wchar_t* className);

// A window's text, also of another process's window (asked with WM_GETTEXT).
std::u16string WindowText(HWND hwnd);
std::u16string ClassNameOf(HWND hwnd);

// A message box of process `processId` as the user sees it.
struct MessageBoxView {
  HWND hwnd = nullptr;
  std::u16string title;
  std::u16string text;
  std::vector<std::u16string> buttons;  // captions, in window order
};

// Waits for a message box (a "#32770" dialog) of process `processId` to appear.
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, DWORD timeoutMs = 10000);

// Presses a dialog's button, by id (IDOK, IDYES, ...) or by caption; false when there is none.
bool PressButton(HWND dialog, int id);
bool PressButton(HWND dialog, const std::u16string& caption);

}  // namespace norv::wintest
