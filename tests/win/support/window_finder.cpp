#include "support/window_finder.h"

#include "support/wait.h"

namespace norv::wintest {
namespace {

// A message box's text control.
constexpr int kMessageTextId = 0xFFFF;

struct TopSearch {
  DWORD processId;
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto& search = *reinterpret_cast<TopSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (search.processId != 0 && owner != search.processId) return TRUE;
  if (search.className && ClassNameOf(hwnd) != reinterpret_cast<const char16_t*>(search.className))
    return TRUE;
  search.found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

}  // namespace

std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className) {
  TopSearch search{processId, className, {}};
  EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopWindow(const wchar_t* className, const wchar_t* title, DWORD processId,
                      DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND hwnd : TopWindowsOf(processId, className)) {
          if (!title || WindowText(hwnd) == reinterpret_cast<const char16_t*>(title)) {
            found = hwnd;
            return true;
          }
        }
        return false;
      },
      timeoutMs);
  return found;
}

HWND FindDescendant(HWND parent, const wchar_t* className) {
  for (HWND child : Children(parent)) {
    if (ClassNameOf(child) == reinterpret_cast<const char16_t*>(className)) return child;
    if (HWND inner = FindDescendant(child, className)) return inner;
  }
  return nullptr;
}

std::u16string WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
    return {};
  }
  std::u16string text(length + 1, u'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, 5000, &copied)) {
    return {};
  }
  text.resize(copied < length ? copied : length);
  return text;
}

std::u16string ClassNameOf(HWND hwnd) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(hwnd, name, 256);
  return std::u16string(reinterpret_cast<const char16_t*>(name), n > 0 ? n : 0);
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
  HWND box = WaitForTopWindow(L"#32770", nullptr, processId, timeoutMs);
  if (!box) return std::nullopt;
  MessageBoxView view;
  view.hwnd = box;
  view.title = WindowText(box);
  for (HWND child : Children(box)) {
    const std::u16string cls = ClassNameOf(child);
    if (cls == u"Button") {
      view.buttons.push_back(WindowText(child));
    } else if (cls == u"Static" && GetDlgCtrlID(child) == kMessageTextId) {
      view.text = WindowText(child);
    }
  }
  return view;
}

bool PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  if (!button) return false;
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                      reinterpret_cast<LPARAM>(button));
}

bool PressButton(HWND dialog, const std::u16string& caption) {
  for (HWND child : Children(dialog)) {
    if (ClassNameOf(child) == u"Button" && WindowText(child) == caption) {
      return PressButton(dialog, GetDlgCtrlID(child));
    }
  }
  return false;
}

}  // namespace norv::wintest
