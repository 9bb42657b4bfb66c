#include "main_window_driver.h"

#include <algorithm>

#include "mainwindow/win32/main_window_layout.h"
#include "support/build_paths.h"
#include "support/wait.h"
#include "support/window_finder.h"

namespace norv::wintest {
namespace {

namespace layout = main_window_layout;

struct LabelSearch {
  std::u16string caption;
  RECT rect;
  HWND parent;
  HWND found = nullptr;
};

RECT RectInClient(HWND child, HWND parent) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

RECT ToRect(DesignRect r) { return {r.x, r.y, r.x + r.width, r.y + r.height}; }

}  // namespace

std::unique_ptr<MainWindowDriver> MainWindowDriver::Start(const std::wstring& folder,
                                                          const std::wstring& extraArguments,
                                                          std::string* error) {
  std::wstring arguments = L"--folder " + QuoteArgument(folder);
  if (!extraArguments.empty()) arguments += L" " + extraArguments;
  std::optional<ChildProcess> process =
      ChildProcess::Start(WindowsPath(NORV_MAINWINDOW_HOST_EXE), arguments);
  if (!process) {
    if (error) *error = "norv_mainwindow_host.exe did not start";
    return nullptr;
  }
  HWND window = WaitForTopWindow(L"Norv_M", nullptr, process->id(), 20000);
  const HANDLE handle = process->handle();
  return Open(std::move(process), handle, window, error);
}

std::unique_ptr<MainWindowDriver> MainWindowDriver::Attach(HWND window, HANDLE process,
                                                           std::string* error) {
  return Open(std::nullopt, process, window, error);
}

std::unique_ptr<MainWindowDriver> MainWindowDriver::Open(std::optional<ChildProcess> process,
                                                         HANDLE processHandle, HWND window,
                                                         std::string* error) {
  if (!window || !WaitUntil([&] { return IsWindowVisible(window) != FALSE; })) {
    if (error) *error = "the main window did not appear";
    return nullptr;
  }
  HWND list = FindDescendant(window, L"ListBox");
  if (!list) {
    if (error) *error = "the main window has no list";
    return nullptr;
  }
  auto driver = std::unique_ptr<MainWindowDriver>(
      new MainWindowDriver(std::move(process), processHandle, window, list));
  driver->Settle();
  return driver;
}

std::vector<std::u16string> MainWindowDriver::Rows() const {
  std::vector<std::u16string> rows;
  const auto count = static_cast<int>(SendMessageW(list_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(list_, LB_GETTEXTLEN, i, 0);
    if (length < 0) break;
    std::u16string row(static_cast<size_t>(length) + 1, u'\0');
    const auto got = SendMessageW(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(row.data()));
    row.resize(got < 0 ? 0 : static_cast<size_t>(got));
    rows.push_back(row);
  }
  return rows;
}

int MainWindowDriver::SelectedRow() const {
  return static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
}

HWND MainWindowDriver::LabelAt(const std::u16string& caption, RECT clientRect) const {
  LabelSearch search{caption, clientRect, window_};
  EnumChildWindows(
      window_,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<LabelSearch*>(data);
        if (WindowText(child) != s->caption) return TRUE;
        const RECT place = RectInClient(child, s->parent);
        if (!EqualRect(&s->rect, &place)) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND MainWindowDriver::Button(Command button) const {
  const layout::ButtonPlace& place = layout::kButtons[static_cast<size_t>(button)];
  DesignRect rect = place.label;
  if (place.panel >= 0) {
    rect.x += layout::kGroupPanels[static_cast<size_t>(place.panel)].x;
    rect.y += layout::kGroupPanels[static_cast<size_t>(place.panel)].y;
  }
  static const char16_t* const kCaptions[] = {u"非表示", u"表示",     u"非表示",
                                              u"表示",   u"自動整列", u"名前を付けて保存",
                                              u"復帰",   u"ﾀｽｸﾄﾚｲへ"};
  return LabelAt(kCaptions[static_cast<size_t>(button)], ToRect(rect));
}

HWND MainWindowDriver::OptionLabel(int option) const {
  static const char16_t* const kCaptions[] = {u"起動時には前回終了時の状態で表示",
                                              u"終了時には起動時の状態に戻さない"};
  return LabelAt(kCaptions[option], ToRect(layout::kOptions[static_cast<size_t>(option)].label));
}

POINT MainWindowDriver::ScreenPoint(int x, int y) const {
  POINT point{x, y};
  ClientToScreen(window_, &point);
  return point;
}

POINT MainWindowDriver::RowPoint(int row) const { return ListRowPoint(list_, row); }

POINT ListRowPoint(HWND list, int row) {
  const auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  const auto height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  POINT point{client.right / 2, (row - top) * height + height / 2};
  ClientToScreen(list, &point);
  return point;
}

bool ClickListRow(HWND list, int row) {
  // Under a loaded Wine a synthesized click now and then never reaches the list box; a user
  // would click again, and so does this, a few times at most.
  constexpr int kAttempts = 3;
  constexpr DWORD kAttemptMs = 3000;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    ClickAt(ListRowPoint(list, row));
    if (WaitUntil([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == row; }, kAttemptMs)) {
      return true;
    }
  }
  return false;
}

HWND FindChildWithText(HWND parent, const std::u16string& text, const wchar_t* className) {
  struct Search {
    const std::u16string& text;
    const wchar_t* className;
    HWND found = nullptr;
  } search{text, className};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (s->className && ClassNameOf(child) != reinterpret_cast<const char16_t*>(s->className)) {
          return TRUE;
        }
        if (WindowText(child) != s->text) return TRUE;
        s->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> ListBoxesOf(HWND parent) {
  std::vector<HWND> lists;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        if (ClassNameOf(child) == u"ListBox")
          reinterpret_cast<std::vector<HWND>*>(data)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&lists));
  std::sort(lists.begin(), lists.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return lists;
}

bool MainWindowDriver::Settle() const {
  // Sent messages and the work they started are done once this answers. Input still queued may be
  // handled after it, so a test that needs a key or click handled waits for its effect instead.
  WaitForInputIdle(processHandle_, 5000);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result) != 0;
}

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\'));
}

}  // namespace norv::wintest
