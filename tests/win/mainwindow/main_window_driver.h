#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mainwindow/main_window_view.h"
#include "support/child_process.h"
#include "support/user_input.h"

namespace norv::wintest {

// The main window in its own process (norv_mainwindow_host.exe), seen and used from outside as
// the user sees and uses it: window texts, the list's rows, clicks at screen points.
class MainWindowDriver {
 public:
  // Starts the host with the program folder `folder` and waits for its main window.
  static std::unique_ptr<MainWindowDriver> Start(const std::wstring& folder,
                                                 const std::wstring& extraArguments,
                                                 std::string* error);
  // Drives the main window `window` of a program the caller started and still owns.
  static std::unique_ptr<MainWindowDriver> Attach(HWND window, HANDLE process, std::string* error);

  HWND window() const { return window_; }
  HWND list() const { return list_; }
  // The host's process; only for a driver made by Start.
  ChildProcess& process() { return *process_; }

  std::vector<std::u16string> Rows() const;
  int SelectedRow() const;
  // The caption label of a command button, found by its caption and its place in the window.
  HWND Button(Command button) const;
  HWND OptionLabel(int option) const;
  // A point of the window's client area (design pixels at 96 DPI) on the screen.
  POINT ScreenPoint(int x, int y) const;
  // The centre of row `row` of the list on the screen.
  POINT RowPoint(int row) const;
  // Waits until the host has handled everything sent to it so far.
  bool Settle() const;

 private:
  MainWindowDriver(std::optional<ChildProcess> process, HANDLE processHandle, HWND window,
                   HWND list)
      : process_(std::move(process)), processHandle_(processHandle), window_(window), list_(list) {}
  static std::unique_ptr<MainWindowDriver> Open(std::optional<ChildProcess> process,
                                                HANDLE processHandle, HWND window,
                                                std::string* error);
  HWND LabelAt(const std::u16string& caption, RECT clientRect) const;

  std::optional<ChildProcess> process_;
  HANDLE processHandle_;
  HWND window_;
  HWND list_;
};

// A descendant of `parent` with this window text and, when given, this class; null when none.
HWND FindChildWithText(HWND parent, const std::u16string& text, const wchar_t* className = nullptr);
// The list boxes of `parent`, left to right.
std::vector<HWND> ListBoxesOf(HWND parent);
// The centre of row `row` of a list box on the screen.
POINT ListRowPoint(HWND list, int row);
// Clicks row `row` of a list box until it is the selected row; false when it never became so.
bool ClickListRow(HWND list, int row);

// The folder of the running test program.
std::wstring TestProgramFolder();

}  // namespace norv::wintest
