#include "tests/support/engine_fixture.h"

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

std::string ReadDebugLog() { return ReadFileText("debug.txt"); }

void EngineTest::SetUp() {
    headless::Reset();
    ResetEngine();
    // An empty log, as after the reopen at start-up.
    Debug.Open("debug.txt");
}

void EngineTest::TearDown() { headless::Reset(); }
