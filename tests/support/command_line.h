// A Windows command line as the arguments of a test runner: the SDL backend
// starts every program in WinMain with its arguments joined by blanks.
#pragma once

#include <string>
#include <vector>

#include "platform/api/platform.h"

namespace testsupport {

// The program's name and the blank-separated words of the command line, as
// argc and argv; argv ends with a null pointer and lives as long as this.
class CommandLineArgs {
public:
    CommandLineArgs(const char* program, LPCSTR commandLine);
    CommandLineArgs(const CommandLineArgs&) = delete;
    CommandLineArgs& operator=(const CommandLineArgs&) = delete;

    int* Argc() { return &argc_; }
    char** Argv() { return pointers_.data(); }

private:
    std::vector<std::string> words_;
    std::vector<char*> pointers_;
    int argc_ = 0;
};

}  // namespace testsupport
