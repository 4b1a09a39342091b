#include <cstdio>

#include "shell/debugger.h"
#include "tests/support/engine_fixture.h"

namespace {

using DebugLogTest = EngineTest;

TEST_F(DebugLogTest, NewLogHoldsOnlyTheHeader) {
    ResetDebugLog();
    // The header is not flushed by itself; closing the log writes it out.
    Debug.Close();
    EXPECT_EQ(ReadDebugLog(), "* Debugging Output *\n");
}

TEST_F(DebugLogTest, EachLineIsFollowedByTwoSpacesThatOpenTheNext) {
    Debug.Write("a\n", "");
    Debug.Write("b\n", "");
    EXPECT_EQ(ReadDebugLog(), "a\n  b\n  ");
}

TEST_F(DebugLogTest, DetailFollowsTheMessageAfterTwoSpaces) {
    Debug.Write("message", "detail");
    EXPECT_EQ(ReadDebugLog(), "message  detail");
}

TEST_F(DebugLogTest, ReopeningTruncatesAndWritesAfterCloseAreDropped) {
    Debug.Write("old\n", "");
    Debug.Open("debug.txt");
    Debug.Write("new\n", "");
    Debug.Close();
    Debug.Write("dropped\n", "");
    EXPECT_EQ(ReadDebugLog(), "new\n  ");
}

TEST_F(DebugLogTest, FailedOpenPrintsAndLeavesTheLogClosed) {
    testing::internal::CaptureStdout();
    Debug.Open("no-such-folder/debug.txt");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "DEBUGGER ERROR: Unable to open debug log file.\n");
    EXPECT_EQ(Debug.stream, nullptr);
    Debug.Write("nothing happens\n", "");
}

}  // namespace
