// testdesk.exe: a stand-in shell desktop for the Windows tests and for trying Norvane out.
// Command line and test protocol: testdesk_protocol.h.

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "control_window.h"
#include "desk_items.h"
#include "desktop_windows.h"
#include "folder_view_server.h"
#include "item_id_proxy.h"
#include "request_counter.h"
#include "shell_registration.h"
#include "testdesk_protocol.h"
#include "whole_file.h"

namespace norv::testdesk {
namespace {

struct Options {
  std::vector<DeskItem> items;
  DeskHost host = DeskHost::kProgman;
  SIZE size{};
  UINT exitAfterMs = 0;
  bool folderView = false;
};

bool ReadNumber(const wchar_t* text, long& value) {
  wchar_t* end = nullptr;
  value = std::wcstol(text, &end, 10);
  return end != text && *end == L'\0';
}

std::optional<std::vector<DeskItem>> LoadDescription(const std::wstring& path,
                                                     std::wstring& error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) {
    error = L"cannot open " + path;
    return std::nullopt;
  }
  return ParseDescription(bytes, error);
}

std::optional<Options> ParseOptions(int argc, wchar_t** argv, std::wstring& error) {
  Options options;
  options.items = SampleDesktop();
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long number = 0;
    if (arg == L"--sample") {
      options.items = SampleDesktop();
    } else if (arg == L"--empty") {
      options.items.clear();
    } else if (arg == L"--generate" && hasValue && ReadNumber(argv[++i], number) && number >= 0 &&
               number <= 100000) {
      options.items = GeneratedDesktop(static_cast<int>(number));
    } else if (arg == L"--description" && hasValue) {
      auto items = LoadDescription(argv[++i], error);
      if (!items) return std::nullopt;
      options.items = std::move(*items);
    } else if (arg == L"--workerw") {
      options.host = DeskHost::kWorkerW;
    } else if (arg == L"--workerw-under-progman") {
      options.host = DeskHost::kWorkerWUnderProgman;
    } else if (arg == L"--size" && hasValue &&
               std::swscanf(argv[++i], L"%ldx%ld", &options.size.cx, &options.size.cy) == 2 &&
               options.size.cx > 0 && options.size.cy > 0) {
    } else if (arg == L"--folder-view") {
      options.folderView = true;
    } else if (arg == L"--exit-after" && hasValue && ReadNumber(argv[++i], number) && number > 0) {
      options.exitAfterMs = static_cast<UINT>(number);
    } else {
      error = L"bad argument: " + arg;
      return std::nullopt;
    }
  }
  if (options.size.cx == 0) {
    options.size = {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  }
  return options;
}

// The folder view's DLL lies beside testdesk.exe.
std::wstring ProxyDllPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  folder.erase(folder.find_last_of(L'\\') + 1);
  return folder + kItemIdProxyDll;
}

int Serve(HINSTANCE instance, Options& options) {
  RequestCounter counter;
  DesktopWindows desktop(instance, options.host, options.size, counter);
  std::optional<FolderViewServer> folderView;
  if (!options.folderView) ShellRegistration::RemoveLeftovers();
  if (options.folderView) {
    std::wstring error;
    if (!folderView.emplace(desktop, counter).Start(ProxyDllPath(), error)) {
      std::fprintf(stderr, "testdesk: %s\n", WideToUtf8(error).c_str());
      return 1;
    }
  }
  ControlWindow control(instance, desktop, counter, folderView ? &*folderView : nullptr,
                        std::move(options.items));
  if (!control.Create(options.exitAfterMs)) {
    std::fprintf(stderr, "testdesk: cannot create the desktop windows\n");
    return 1;
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

int Run(HINSTANCE instance) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc == 2 && std::wstring(argv[1]) == L"--probe") {
    LocalFree(argv);
    return FindWindowW(kControlClass, nullptr) ? 0 : 1;
  }
  std::wstring error;
  auto options = ParseOptions(argc, argv, error);
  LocalFree(argv);
  if (!options) {
    std::fprintf(stderr, "testdesk: %s\n", WideToUtf8(error).c_str());
    return kExitBadArguments;
  }
  // Positions are physical pixels, as for the real desktop of a DPI-aware program.
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  if (!RegisterDesktopClasses(instance)) return 1;
  // The folder view's calls arrive as messages of this thread, the desktop's.
  const bool com =
      options->folderView && SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  if (options->folderView && !com) {
    std::fprintf(stderr, "testdesk: cannot start COM\n");
    return 1;
  }
  const int code = Serve(instance, *options);
  if (com) CoUninitialize();
  return code;
}

}  // namespace
}  // namespace norv::testdesk

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return norv::testdesk::Run(instance);
}
