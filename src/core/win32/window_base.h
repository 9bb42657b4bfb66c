#pragma once

#include <windows.h>

#include <memory>

namespace norv {

// A window class of ours; its window procedure is always WindowBase's.
struct WindowClass {
  const wchar_t* name = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  // Null: the program's own module.
  HINSTANCE instance = nullptr;
};

// The rest of what CreateWindowExW takes.
struct WindowShape {
  const wchar_t* text = L"";
  DWORD style = 0;
  DWORD exStyle = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  // The parent of a child window, the owner of a top-level one.
  HWND parent = nullptr;
  // A child control's identifier (GetDlgItem).
  int childId = 0;
};

// The object behind one window of ours. From WM_NCCREATE to WM_NCDESTROY, GWLP_USERDATA points
// at it and every message goes to HandleMessage; after WM_NCDESTROY nothing reaches it.
//
// Either the object owns its window: it calls Create once it is fully constructed, so its own
// HandleMessage sees the creation messages; made as DestroysWindowFirst<...> (as every chromed
// window is), its own HandleMessage also sees the last ones, otherwise they get the default
// handling. Or the window owns its object: CreateOwnedByWindow hands the object over and the
// window deletes it after WM_NCDESTROY.
class WindowBase {
 public:
  virtual ~WindowBase();
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

  HWND hwnd() const { return hwnd_; }

  // The object behind `window` when it is a window of ours, else null.
  static WindowBase* FromHandle(HWND window);

  // How many messages windows of ours on this thread are handling right now, each inside the one
  // before: a menu's, dialog's or message box's loop, and a wait for another program's answer,
  // let further messages in while the handler that started them has not returned.
  static int MessagesInProgress();

  // Creates a window that owns `object`. Returns null when the class or the window could not be
  // made (a diagnostic line says why); the object is then freed already.
  static HWND CreateOwnedByWindow(std::unique_ptr<WindowBase> object,
                                  const WindowClass& windowClass, const WindowShape& shape);

 protected:
  WindowBase() = default;

  // Registers the class on its first use and creates the window; false, with a diagnostic line,
  // when either fails.
  bool Create(const WindowClass& windowClass, const WindowShape& shape);
  // Destroys the window if it is still there.
  void DestroyOwnWindow();
  // Every message of the window, WM_NCDESTROY included. The default is DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  struct Handover;
  static HWND CreateFor(Handover& handover, const WindowClass& windowClass,
                        const WindowShape& shape);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
  bool ownedByWindow_ = false;
};

// An object that owns its window, made so that its window is destroyed before any part of it
// goes: the handling of the last messages (a main window's unload writes the options) runs in the
// whole object. A window still there when WindowBase's own destructor runs would get only the
// default handling.
template <class Window>
class DestroysWindowFirst final : public Window {
 public:
  using Window::Window;
  ~DestroysWindowFirst() override { this->DestroyOwnWindow(); }
};

// A window of a class that is not ours (a list box, a text box, a tooltip), with a diagnostic line
// when it cannot be made.
HWND CreateControl(const wchar_t* className, const WindowShape& shape);

}  // namespace norv
