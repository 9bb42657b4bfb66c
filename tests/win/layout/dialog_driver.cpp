#include "dialog_driver.h"

#include "layout/win32/layout_dialogs.h"
#include "support/build_paths.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {
namespace {

struct TextSearch {
  const std::u16string* text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchText(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<TextSearch*>(param);
  if (WindowText(hwnd) != *search.text) return TRUE;
  search.found = hwnd;
  return FALSE;
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

DialogDriver::DialogDriver(std::function<void(DialogDriver&)> script)
    : thread_([this, script = std::move(script)] { script(*this); }) {}

DialogDriver::~DialogDriver() {
  if (thread_.joinable()) thread_.join();
}

std::vector<std::string> DialogDriver::Finish() {
  if (thread_.joinable()) thread_.join();
  return complaints_;
}

bool DialogDriver::Expect(bool condition, const std::string& what) {
  if (!condition) complaints_.push_back(what);
  return condition;
}

HWND DialogDriver::WaitForDialog(const wchar_t* className) {
  HWND dialog = WaitForTopWindow(className, nullptr, GetCurrentProcessId());
  const bool shown = dialog && WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; });
  Expect(shown, "the dialog did not appear");
  return shown ? dialog : nullptr;
}

HWND DialogDriver::Child(HWND dialog, int id) {
  HWND child = dialog ? GetDlgItem(dialog, id) : nullptr;
  Expect(child != nullptr, "control " + std::to_string(id) + " not found");
  return child;
}

HWND DialogDriver::LabelWithText(HWND dialog, const std::u16string& text) {
  TextSearch search{&text};
  if (dialog) EnumChildWindows(dialog, &MatchText, reinterpret_cast<LPARAM>(&search));
  Expect(search.found != nullptr, "no control shows " + U16ToUtf8(text));
  return search.found;
}

void DialogDriver::Click(HWND control) {
  if (!control) return;
  PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
  PostMessageW(control, WM_LBUTTONUP, 0, Point(5, 5));
}

void DialogDriver::PressKey(HWND control, WPARAM key) {
  if (!control) return;
  PostMessageW(control, WM_KEYDOWN, key, 1);
  PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

void DialogDriver::SetText(HWND control, const std::u16string& text) {
  if (control) SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::u16string> DialogDriver::Rows(HWND list) {
  std::vector<std::u16string> rows;
  if (!list) return rows;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    std::u16string row(static_cast<size_t>(length) + 1, u'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
    row.resize(static_cast<size_t>(length));
    rows.push_back(row);
  }
  return rows;
}

void DialogDriver::ClickRow(HWND list, int row) {
  RECT item{};
  if (!list || SendMessageW(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
    Expect(false, "row " + std::to_string(row) + " not found");
    return;
  }
  const LPARAM at = Point((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list, WM_LBUTTONUP, 0, at);
}

DialogDriver::Message DialogDriver::AnswerMessageBox(int id) {
  const std::optional<MessageBoxView> box = WaitForMessageBox(GetCurrentProcessId());
  if (!Expect(box.has_value(), "no message box appeared")) return {};
  Expect(PressButton(box->hwnd, id), "the message box has no such button");
  Expect(WaitUntil([&] { return !IsWindow(box->hwnd); }), "the message box stayed");
  return {box->title, box->text};
}

namespace {

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == OwnerWindow::kUnloadDialogs) {
    auto* dialogs = reinterpret_cast<LayoutDialogs*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (dialogs) dialogs->UnloadOpenDialog();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

OwnerWindow::OwnerWindow(LayoutDialogs& dialogs) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &OwnerProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"NorvTestOwner";
  RegisterClassExW(&windowClass);
  hwnd_ = CreateWindowExW(0, L"NorvTestOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                          200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_) SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialogs));
}

OwnerWindow::~OwnerWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

}  // namespace norv::wintest
