// The working folder and file attributes as the backends without Windows answer
// them, the way Windows does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/api/platform.h"

namespace fs = std::filesystem;

namespace {

class FolderCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        start_ = fs::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const fs::path folder = fs::path("cases") / info->name();
        fs::remove_all(folder);
        fs::create_directories(folder);
        fs::current_path(folder);
    }
    void TearDown() override { fs::current_path(start_); }

    fs::path start_;
};

TEST_F(FolderCallsTest, TheWorkingFolderIsCopiedOrItsSizeIsToldAsWindowsDoes) {
    const std::string here = fs::current_path().string();
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    EXPECT_EQ(needed, here.size() + 1) << "a buffer too small is told the size with its null";
    char small[4] = "abc";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), needed);
    EXPECT_STREQ(small, "abc") << "nothing is copied into a buffer too small";
    std::string buffer(needed, 'x');
    EXPECT_EQ(GetCurrentDirectoryA(needed, buffer.data()), here.size());
    EXPECT_EQ(buffer.c_str(), here);

    fs::create_directories("inner");
    EXPECT_TRUE(SetCurrentDirectoryA("inner"));
    EXPECT_EQ(fs::current_path(), fs::path(here) / "inner");
    EXPECT_FALSE(SetCurrentDirectoryA("no such folder"));
    EXPECT_FALSE(SetCurrentDirectoryA(nullptr));
    EXPECT_EQ(fs::current_path(), fs::path(here) / "inner");
}

TEST_F(FolderCallsTest, AttributesTellFoldersFilesAndLinks) {
    fs::create_directories("folder");
    std::ofstream("file.txt") << "x";
    fs::create_directory_symlink("folder", "to_folder");
    fs::create_symlink("gone", "dangling");
    EXPECT_EQ(GetFileAttributesA("folder"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA("file.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA("to_folder"),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    EXPECT_EQ(GetFileAttributesA("dangling"), static_cast<DWORD>(FILE_ATTRIBUTE_REPARSE_POINT));
    EXPECT_EQ(GetFileAttributesA("missing"), static_cast<DWORD>(INVALID_FILE_ATTRIBUTES));
    EXPECT_EQ(GetFileAttributesA(nullptr), static_cast<DWORD>(INVALID_FILE_ATTRIBUTES));
}

}  // namespace
