#include "tests/support/test_hooks.h"

#include "shell/windx.h"

namespace testhooks {
std::function<void()> onInitialize;
std::function<int()> onRun;
int runCalls = 0;

void Reset() {
    onInitialize = nullptr;
    onRun = nullptr;
    runCalls = 0;
}
}  // namespace testhooks

void initialize() {
    if (testhooks::onInitialize) testhooks::onInitialize();
}

int run() {
    ++testhooks::runCalls;
    return testhooks::onRun ? testhooks::onRun() : 1;
}
