#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace norv {
class LayoutDialogs;
}  // namespace norv

namespace norv::wintest {

// Plays the user of a modal dialog from a second thread while the test's thread runs the dialog.
// What the user saw is recorded, and checked by the test once the dialog has returned.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(DialogDriver&)> script);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  // Waits for the script to end; its complaints, empty when all went as expected.
  std::vector<std::string> Finish();

  // Steps for the script. A step that cannot be done records a complaint and returns nothing.
  HWND WaitForDialog(const wchar_t* className);
  HWND Child(HWND dialog, int id);
  HWND LabelWithText(HWND dialog, const std::u16string& text);
  void Click(HWND control);
  void PressKey(HWND control, WPARAM key);
  void SetText(HWND control, const std::u16string& text);
  std::vector<std::u16string> Rows(HWND list);
  void ClickRow(HWND list, int row);
  // Answers the message box that appears next with the button `id`; its text and title.
  struct Message {
    std::u16string title;
    std::u16string text;
  };
  Message AnswerMessageBox(int id);
  bool Expect(bool condition, const std::string& what);

 private:
  std::vector<std::string> complaints_;
  std::thread thread_;
};

// A plain top-level window standing in for the main window that opens the dialogs. Posting it
// kUnloadDialogs does what the main window's unload does to the dialogs.
class OwnerWindow {
 public:
  static constexpr UINT kUnloadDialogs = WM_APP + 1;

  explicit OwnerWindow(LayoutDialogs& dialogs);
  ~OwnerWindow();
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace norv::wintest
