// The game hooks for tests that run the engine's entry point: each test sets
// what initialize and run do.
#pragma once

#include <functional>

namespace testhooks {
extern std::function<void()> onInitialize;
extern std::function<int()> onRun;
// Number of run calls since the last Reset.
extern int runCalls;
void Reset();
}  // namespace testhooks
