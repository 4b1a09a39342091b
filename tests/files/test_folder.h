// A fixture that runs each test in an empty folder of its own, with its own
// debug.txt, so that tests of one program may run side by side.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/engine_fixture.h"

class FolderTest : public EngineTest {
protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string folder = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : folder)
            if (c == '/') c = '_';
        home_ = fs::current_path();
        fs::create_directories(home_ / folder);
        for (const auto& entry : fs::directory_iterator(home_ / folder)) fs::remove_all(entry);
        fs::current_path(home_ / folder);
        EngineTest::SetUp();
    }

    void TearDown() override {
        EngineTest::TearDown();
        std::filesystem::current_path(home_);
    }

private:
    std::filesystem::path home_;
};
