// What Norv.exe may do to the rest of the system: which libraries it takes, what it asks of the
// shell's process, where it writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cwctype>

#include "core/win32/wide_text.h"
#include "import_hook.h"
#include "layout/recording_views.h"
#include "layout/restore_dialog.h"
#include "layout/save_dialog.h"
#include "mainwindow/headless_main_window_view.h"
#include "mainwindow/main_window.h"
#include "pe_imports.h"
#include "resident/recording_tray_view.h"
#include "resident/resident_sequences.h"
#include "resident/tray_window.h"
#include "support/build_paths.h"
#include "support/fake_displays.h"
#include "support/program_services.h"
#include "support/test_desk.h"

namespace norv {
namespace {

using hardening::ImportHook;
using wintest::DeskItem;
using wintest::ProgramServices;
using wintest::TestDesk;
using wintest::TestDeskOptions;
using wintest::TestFolder;

std::wstring NorvExe() { return wintest::WindowsPath(NORV_EXE_PATH); }

std::string Manifest() {
  const HMODULE module = LoadLibraryExW(NorvExe().c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  std::string text;
  if (resource) {
    text.assign(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                SizeofResource(module, resource));
  }
  FreeLibrary(module);
  return text;
}

// Libraries Windows 10 and 11 always load from the system folder (the KnownDLLs list), whatever
// lies beside the program or in the current directory.
const std::set<std::string> kKnownLibraries{
    "advapi32.dll", "clbcatq.dll",  "combase.dll",  "comdlg32.dll", "coml2.dll",    "difxapi.dll",
    "gdi32.dll",    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",    "kernel32.dll", "msctf.dll",
    "msvcrt.dll",   "normaliz.dll", "nsi.dll",      "ole32.dll",    "oleaut32.dll", "psapi.dll",
    "rpcrt4.dll",   "sechost.dll",  "setupapi.dll", "shcore.dll",   "shell32.dll",  "shlwapi.dll",
    "user32.dll",   "wldap32.dll",  "ws2_32.dll"};

// Functions that change files or settings, by the library that exports them. The program may use
// only those that the session below watches.
const std::map<std::string, std::set<std::string>> kChangingFunctions{
    {"kernel32.dll",
     {"CreateFileA",
      "CreateFileW",
      "CreateFile2",
      "MoveFileA",
      "MoveFileW",
      "MoveFileExA",
      "MoveFileExW",
      "MoveFileWithProgressW",
      "DeleteFileA",
      "DeleteFileW",
      "CopyFileA",
      "CopyFileW",
      "CopyFileExW",
      "CopyFile2",
      "ReplaceFileA",
      "ReplaceFileW",
      "CreateDirectoryA",
      "CreateDirectoryW",
      "CreateDirectoryExW",
      "RemoveDirectoryA",
      "RemoveDirectoryW",
      "SetFileAttributesA",
      "SetFileAttributesW",
      "CreateHardLinkW",
      "CreateSymbolicLinkW",
      "WritePrivateProfileStringA",
      "WritePrivateProfileStringW",
      "WritePrivateProfileSectionW",
      "WritePrivateProfileStructW",
      "WriteProfileStringA",
      "WriteProfileStringW"}},
    {"msvcrt.dll",
     {"fopen", "_wfopen", "_wfopen_s", "fopen_s", "_open", "_wopen", "_sopen", "_wsopen",
      "_wsopen_s", "rename", "_wrename", "remove", "_wremove", "_unlink", "_wunlink", "_mkdir",
      "_wmkdir"}},
    {"advapi32.dll",
     {"RegCreateKeyA", "RegCreateKeyW", "RegCreateKeyExA", "RegCreateKeyExW", "RegSetValueA",
      "RegSetValueW", "RegSetValueExA", "RegSetValueExW", "RegSetKeyValueW", "RegDeleteKeyW",
      "RegDeleteValueW"}},
    {"shell32.dll", {"SHFileOperationA", "SHFileOperationW", "SHCreateDirectoryExW"}},
};
const std::set<std::string> kWatchedFunctions{"CreateFileW", "MoveFileExW", "DeleteFileW",
                                              "WritePrivateProfileStringW", "CreateDirectoryW"};

// Ways into another process beyond reading and writing its memory. (The threads runtime brings
// DuplicateHandle and SetThreadContext for its own threads; without a handle to the shell's
// process opened for more, they cannot reach it.)
const std::set<std::string> kIntrusiveFunctions{
    "CreateRemoteThread", "CreateRemoteThreadEx", "NtOpenProcess",     "DebugActiveProcess",
    "OpenThread",         "QueueUserAPC",         "SetWindowsHookExA", "SetWindowsHookExW",
    "VirtualProtectEx",   "NtCreateThreadEx"};

TEST(NorvExeImportsTest, EveryLibraryComesFromTheSystemFolderAndNoneIsLoadedLate) {
  const auto imports = hardening::ReadProgramImports(NorvExe());
  ASSERT_TRUE(imports) << "Norv.exe could not be read";
  ASSERT_TRUE(imports->imports.count("kernel32.dll"));
  for (const auto& [library, functions] : imports->imports) {
    // The common controls are a side-by-side assembly that the manifest takes from WinSxS.
    if (library == "comctl32.dll") {
      EXPECT_NE(Manifest().find("name=\"Microsoft.Windows.Common-Controls\""), std::string::npos)
          << "comctl32.dll without the manifest's dependency is looked for beside Norv.exe";
      continue;
    }
    EXPECT_TRUE(kKnownLibraries.count(library)) << library << " could be planted beside Norv.exe";
  }
  EXPECT_TRUE(imports->delayLoaded.empty());
}

TEST(NorvExeImportsTest, ChangesGoOnlyThroughWatchedFunctionsAndNoProcessIsEnteredFurther) {
  const auto imports = hardening::ReadProgramImports(NorvExe());
  ASSERT_TRUE(imports);
  for (const auto& [library, functions] : imports->imports) {
    const auto changing = kChangingFunctions.find(library);
    for (const std::string& function : functions) {
      if (changing != kChangingFunctions.end() && changing->second.count(function)) {
        EXPECT_TRUE(kWatchedFunctions.count(function))
            << library << "!" << function << " changes files; watch it in the session below";
      }
      EXPECT_FALSE(kIntrusiveFunctions.count(function)) << library << "!" << function;
    }
  }
  EXPECT_TRUE(imports->imports.at("kernel32.dll").count("OpenProcess"));
}

// What the program's code asked of the system, recorded by the stand-ins below.
struct Asked {
  std::vector<DWORD> processAccess;
  std::vector<std::wstring> changedPaths;
  std::set<std::string> functionsSeen;
  bool watching = false;
};
Asked asked;
ImportHook* openProcessHook = nullptr;
ImportHook* createFileHook = nullptr;
ImportHook* moveFileHook = nullptr;
ImportHook* deleteFileHook = nullptr;
ImportHook* profileHook = nullptr;
ImportHook* createDirectoryHook = nullptr;

template <typename F>
F Original(ImportHook* hook) {
  return reinterpret_cast<F>(hook->original());
}

void Changes(const char* function, const wchar_t* path) {
  if (!asked.watching) return;
  asked.functionsSeen.insert(function);
  asked.changedPaths.push_back(path ? path : L"");
}

HANDLE WINAPI OpenProcessStandIn(DWORD access, BOOL inherit, DWORD id) {
  asked.processAccess.push_back(inherit ? access | 0x80000000u : access);
  return Original<decltype(&OpenProcess)>(openProcessHook)(access, inherit, id);
}

HANDLE WINAPI CreateFileStandIn(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                DWORD disposition, DWORD flags, HANDLE model) {
  constexpr DWORD kChanging = GENERIC_WRITE | GENERIC_ALL | FILE_WRITE_DATA | FILE_APPEND_DATA |
                              FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA | DELETE | WRITE_DAC |
                              WRITE_OWNER;
  if ((access & kChanging) || disposition != OPEN_EXISTING) Changes("CreateFileW", path);
  return Original<decltype(&CreateFileW)>(createFileHook)(path, access, share, sa, disposition,
                                                          flags, model);
}

BOOL WINAPI MoveFileStandIn(LPCWSTR from, LPCWSTR to, DWORD flags) {
  Changes("MoveFileExW", from);
  Changes("MoveFileExW", to);
  return Original<decltype(&MoveFileExW)>(moveFileHook)(from, to, flags);
}

BOOL WINAPI DeleteFileStandIn(LPCWSTR path) {
  Changes("DeleteFileW", path);
  return Original<decltype(&DeleteFileW)>(deleteFileHook)(path);
}

BOOL WINAPI ProfileStandIn(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR file) {
  // Without a file name the system writes to win.ini in the Windows folder.
  Changes("WritePrivateProfileStringW", file);
  return Original<decltype(&WritePrivateProfileStringW)>(profileHook)(section, key, value, file);
}

BOOL WINAPI CreateDirectoryStandIn(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes) {
  Changes("CreateDirectoryW", path);
  return Original<decltype(&CreateDirectoryW)>(createDirectoryHook)(path, attributes);
}

class HookedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    asked = Asked{};
    openProcessHook = &openProcess_;
    createFileHook = &createFile_;
    moveFileHook = &moveFile_;
    deleteFileHook = &deleteFile_;
    profileHook = &profile_;
    createDirectoryHook = &createDirectory_;
    for (const ImportHook* hook :
         {&openProcess_, &createFile_, &moveFile_, &deleteFile_, &profile_, &createDirectory_})
      ASSERT_TRUE(hook->installed());
  }

  ImportHook openProcess_{"kernel32.dll", "OpenProcess",
                          reinterpret_cast<void*>(&OpenProcessStandIn)};
  ImportHook createFile_{"kernel32.dll", "CreateFileW",
                         reinterpret_cast<void*>(&CreateFileStandIn)};
  ImportHook moveFile_{"kernel32.dll", "MoveFileExW", reinterpret_cast<void*>(&MoveFileStandIn)};
  ImportHook deleteFile_{"kernel32.dll", "DeleteFileW",
                         reinterpret_cast<void*>(&DeleteFileStandIn)};
  ImportHook profile_{"kernel32.dll", "WritePrivateProfileStringW",
                      reinterpret_cast<void*>(&ProfileStandIn)};
  ImportHook createDirectory_{"kernel32.dll", "CreateDirectoryW",
                              reinterpret_cast<void*>(&CreateDirectoryStandIn)};
};

TEST_F(HookedTest, TheShellsProcessIsOpenedForMemoryOperationsOnly) {
  std::string error;
  const auto desk = TestDesk::Start(TestDeskOptions::Generated(12), &error);
  ASSERT_TRUE(desk) << error;
  ProgramServices program;
  IconTable table;
  table.firstSnapshotPending = true;
  ASSERT_TRUE(SnapshotDesktop(table, program.services));
  ASSERT_TRUE(program.services.desktop.SetItemPosition(3, 500, 400));
  ASSERT_TRUE(program.services.desktop.ArrangeIcons());
  ASSERT_TRUE(SnapshotDesktop(table, program.services));

  ASSERT_FALSE(asked.processAccess.empty());
  for (const DWORD access : asked.processAccess)
    EXPECT_EQ(access,
              static_cast<DWORD>(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE));
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t full[4 * MAX_PATH];
  const DWORD length =
      GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
  std::wstring result(full, length < std::size(full) ? length : 0);
  std::transform(result.begin(), result.end(), result.begin(), ::towlower);
  return result;
}

// A whole run: start-up with the last exit brought back, layouts saved (some under names that point
// elsewhere), restored and deleted, the options saved, the help opened, the exit.
TEST_F(HookedTest, ARunChangesFilesInTheProgramsFolderOnlyWhateverTheLayoutNames) {
  std::string error;
  const auto desk = TestDesk::Start(TestDeskOptions::Sample(), &error);
  ASSERT_TRUE(desk) << error;
  TestFolder parent;
  const std::u16string folderPath = parent / u"Norvane";
  ASSERT_TRUE(CreateDirectoryW(Wide(folderPath), nullptr));
  TestFolder folder(folderPath);
  ASSERT_TRUE(wintest::WriteFileBytes(folder / u"Norvane.html", "<html></html>"));
  ASSERT_TRUE(wintest::WriteFileBytes(folder / u"Norv.ini", "[Section]\r\nReCover_0=1\r\n"));

  ProgramServices program;
  AppState state;
  asked.watching = true;

  ASSERT_TRUE(BeginStartup(state, program.services, folder.path()));
  BringBackLastExit(state, program.services);

  for (const std::u16string name :
       {u"配置", u"..\\外", u"..\\..\\外", u"C:\\外", u"/外", u"\\\\?\\C:\\外", u"外\\..\\配置2",
        u"CON", u"NUL.txt", u"LPT1", u"a:b", u"..", u"."}) {
    test::RecordingSaveView view;
    view.name = name;
    test::RecordingList list{state.table};
    SaveDialog dialog(view, state, program.services, list);
    dialog.SaveLayout();
  }
  for (const int button : {kRestoreButton, kDeleteButton}) {
    test::RecordingRestoreView view;
    RestoreDialog dialog(view, state, program.services);
    dialog.Load();
    dialog.SelectionChanged(0);
    dialog.RunCommand(button);
  }
  {
    HeadlessMainWindowView view;
    MainWindow window(state, program.services, view);
    window.Load();
    window.Unload();
  }
  test::RecordingTrayView tray;
  test::FakeDisplays displays;
  TrayWindow resident(state, program.services, tray, displays);
  resident.Run(TrayCommand::kHelp);
  // Following the displays records the arrangement in its own folder, here at the exit.
  state.followDisplays = 1;
  resident.follower().SwitchedOn();
  EXPECT_THROW(resident.Run(TrayCommand::kExit), test::ProgramEnded);
  asked.watching = false;

  // Every watched way was used, and each time inside the folder.
  EXPECT_EQ(asked.functionsSeen, kWatchedFunctions);
  const std::wstring inside = FullPath(Wide(folder.path())) + L"\\";
  for (const std::wstring& path : asked.changedPaths) {
    const std::wstring full = FullPath(path);
    EXPECT_EQ(full.substr(0, inside.size()), inside)
        << wintest::U16ToUtf8(std::u16string(path.begin(), path.end()));
  }
  ASSERT_EQ(tray.documents.size(), 1u);
  EXPECT_EQ(tray.documents[0], folder / u"Norvane.html");
  // Nothing beside the folder.
  EXPECT_EQ(parent.Names(), std::vector<std::u16string>{u"Norvane"});
  // What the run kept: the help, the settings, the last exit, the arrangement of the displays; the
  // one layout saved was deleted.
  EXPECT_EQ(folder.Names(),
            (std::vector<std::u16string>{u"Displays", u"Norv.e01", u"Norv.ini", u"Norvane.html"}));
  const std::u16string displaysFolder = folder / u"Displays";
  for (const wchar_t* name : {L"\\1.ppx", L"\\index.txt"})
    EXPECT_TRUE(DeleteFileW((std::wstring(Wide(displaysFolder)) + name).c_str()));
  EXPECT_TRUE(RemoveDirectoryW(Wide(displaysFolder)));
  for (const std::u16string& name : folder.Names()) DeleteFileW(Wide(folder / name));
  RemoveDirectoryW(Wide(folder.path()));
}

}  // namespace
}  // namespace norv
