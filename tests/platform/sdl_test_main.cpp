// The SDL backend's tests start like every SDL program: the backend's main calls
// WinMain, here with the test runner's arguments in the command line.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/api/platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    std::vector<std::string> words = {"sdl_backend_tests"};
    std::istringstream split(commandLine != nullptr ? commandLine : "");
    for (std::string word; split >> word;) words.push_back(word);
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    testing::InitGoogleTest(&argc, argv.data());
    return RUN_ALL_TESTS();
}
