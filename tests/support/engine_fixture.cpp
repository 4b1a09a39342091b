#include "tests/support/engine_fixture.h"

#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "platform/headless/control.h"
#include "shell/debugger.h"
#include "shell/windx.h"

void ResetEngine() {
    Corvane.~WinDX();
    ::new (&Corvane) WinDX();
}

void ResetDebugLog() {
    Debug.~Debugger();
    ::new (&Debug) Debugger();
}

std::string ReadFileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReadDebugLog() {
    return ReadFileText("debug.txt");
}

void EngineTest::SetUp() {
    // CTest runs the cases of a program in parallel, each as its own process:
    // each case works in a folder of its own so their files never collide.
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string folder = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : folder)
        if (c == '/') c = '_';
    startFolder_ = std::filesystem::current_path();
    const std::filesystem::path work = startFolder_ / "cases" / folder;
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work);
    std::filesystem::current_path(work);

    headless::Reset();
    ResetEngine();
    // An empty log, as after the reopen at start-up.
    Debug.Open("debug.txt");
}

void EngineTest::TearDown() {
    headless::Reset();
    // Leave the log open on a file in the case's folder: the next case reopens it.
    std::filesystem::current_path(startFolder_);
}
