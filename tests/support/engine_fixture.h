// Shared set-up for engine tests: a fresh headless machine and a fresh engine.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// Puts the global engine object back into the state of a newly started program.
void ResetEngine();
// Recreates the global debug log as at program start (header written).
void ResetDebugLog();
// The whole content of a file, or an empty string if it cannot be read.
std::string ReadFileText(const std::string& path);
// The content of debug.txt in the working folder.
std::string ReadDebugLog();

// Each test starts on a new headless machine with a new engine object and an
// empty debug.txt, in a working folder of its own (cases/<suite>.<test>).
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

private:
    std::filesystem::path startFolder_;
};
