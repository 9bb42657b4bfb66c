#pragma once

#include <string>
#include <vector>

namespace norv {

// The program's arguments after its own name, as the system splits a command line.
std::vector<std::u16string> ProgramArguments();

// Norv.exe started with a command: carries it out, through the resident Norvane when one runs,
// and returns the exit code. It never becomes resident and never shows a message box.
int RunCommandProcess(const std::vector<std::u16string>& arguments);

}  // namespace norv
