#include "support/program_folder.h"

#include <windows.h>

#include "support/build_paths.h"

namespace norv::wintest {

ProgramFolder::ProgramFolder() {
  const std::wstring built = WindowsPath(NORV_EXE_PATH);
  const std::wstring builtFolder = built.substr(0, built.find_last_of(L'\\'));
  ready_ =
      folder_.created() && CopyFileW(built.c_str(), exe().c_str(), TRUE) &&
      CopyFileW((builtFolder + L"\\Norvane.html").c_str(), File(L"Norvane.html").c_str(), TRUE);
}

}  // namespace norv::wintest
