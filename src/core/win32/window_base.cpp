#include "core/win32/window_base.h"

#include "core/win32/diagnostics.h"

namespace norv {

// What the window procedure takes from CreateWindowExW at WM_NCCREATE.
struct WindowBase::Handover {
  WindowBase* object;
  bool taken = false;
};

namespace {

thread_local int messagesInProgress = 0;

HINSTANCE ModuleOf(const WindowClass& windowClass) {
  return windowClass.instance ? windowClass.instance : GetModuleHandleW(nullptr);
}

bool RegisterOnce(const WindowClass& windowClass, WNDPROC procedure) {
  const HINSTANCE instance = ModuleOf(windowClass);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, windowClass.name, &existing)) {
    if (existing.lpfnWndProc == procedure) return true;
    // Another class under our name would never hand its windows to us.
    ReportFailure(L"RegisterClassExW", windowClass.name, ERROR_CLASS_ALREADY_EXISTS);
    return false;
  }
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  registered.lpfnWndProc = procedure;
  registered.hInstance = instance;
  registered.hCursor = windowClass.cursor;
  registered.hbrBackground = windowClass.background;
  registered.hIcon = windowClass.icon;
  registered.hIconSm = windowClass.smallIcon;
  registered.lpszClassName = windowClass.name;
  if (RegisterClassExW(&registered)) return true;
  ReportFailure(L"RegisterClassExW", windowClass.name, GetLastError());
  return false;
}

HWND CreateWindowOf(const wchar_t* className, HINSTANCE instance, const WindowShape& shape,
                    void* createParameter) {
  const HWND window = CreateWindowExW(shape.exStyle, className, shape.text, shape.style, shape.x,
                                      shape.y, shape.width, shape.height, shape.parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(shape.childId)),
                                      instance, createParameter);
  if (!window) ReportFailure(L"CreateWindowExW", className, GetLastError());
  return window;
}

}  // namespace

WindowBase::~WindowBase() {
  // The derived parts are gone already, so the window's last messages get the default handling.
  DestroyOwnWindow();
}

void WindowBase::DestroyOwnWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

WindowBase* WindowBase::FromHandle(HWND window) {
  if (!window ||
      GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&Procedure)) {
    return nullptr;
  }
  return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND WindowBase::CreateOwnedByWindow(std::unique_ptr<WindowBase> object,
                                     const WindowClass& windowClass, const WindowShape& shape) {
  object->ownedByWindow_ = true;
  Handover handover{object.get()};
  const HWND window = CreateFor(handover, windowClass, shape);
  // From WM_NCCREATE on the window owns the object; a window that failed after that has freed it.
  if (handover.taken) static_cast<void>(object.release());
  return window;
}

bool WindowBase::Create(const WindowClass& windowClass, const WindowShape& shape) {
  Handover handover{this};
  return CreateFor(handover, windowClass, shape) != nullptr;
}

int WindowBase::MessagesInProgress() { return messagesInProgress; }

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND WindowBase::CreateFor(Handover& handover, const WindowClass& windowClass,
                           const WindowShape& shape) {
  if (!RegisterOnce(windowClass, &Procedure)) return nullptr;
  return CreateWindowOf(windowClass.name, ModuleOf(windowClass), shape, &handover);
}

LRESULT CALLBACK WindowBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* handover =
        static_cast<Handover*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (handover) {
      handover->object->hwnd_ = window;
      handover->taken = true;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handover->object));
    }
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  ++messagesInProgress;
  const LRESULT result = self->HandleMessage(message, wParam, lParam);
  --messagesInProgress;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    if (self->ownedByWindow_) delete self;
  }
  return result;
}

HWND CreateControl(const wchar_t* className, const WindowShape& shape) {
  return CreateWindowOf(className, GetModuleHandleW(nullptr), shape, nullptr);
}

}  // namespace norv
