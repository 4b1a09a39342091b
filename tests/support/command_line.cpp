#include "tests/support/command_line.h"

#include <sstream>

namespace testsupport {

CommandLineArgs::CommandLineArgs(const char* program, LPCSTR commandLine) {
    words_.push_back(program);
    std::istringstream split(commandLine != nullptr ? commandLine : "");
    for (std::string word; split >> word;) words_.push_back(word);
    for (auto& word : words_) pointers_.push_back(word.data());
    argc_ = static_cast<int>(pointers_.size());
    pointers_.push_back(nullptr);
}

}  // namespace testsupport
