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

// A program that keeps its log Closed touches no file until it starts the
// game's log, which from then on is the ordinary one, reopened by start-up.
TEST_F(DebugLogTest, AClosedLogOpensNothingUntilStarted) {
    Debug.Close();
    std::FILE* old = std::fopen("debug.txt", "w");
    std::fputs("the game's last log\n", old);
    std::fclose(old);
    Debugger log{Debugger::Closed{}};
    log.Open("debug.txt");
    log.Write("dropped\n", "");
    EXPECT_EQ(ReadDebugLog(), "the game's last log\n");

    log.Start();
    log.Write("a\n", "");
    EXPECT_EQ(ReadDebugLog(), "* Debugging Output *\na\n  ");
    log.Open("debug.txt");
    log.Write("b\n", "");
    EXPECT_EQ(ReadDebugLog(), "b\n  ");
}

// A tool's log stays where the tool put it, start-up's reopen of debug.txt
// included, and goes nowhere when the tool names no file.
TEST_F(DebugLogTest, AKeptLogIgnoresOpen) {
    Debugger log{Debugger::Closed{}};
    log.KeepAt("tool.log");
    log.Write("a\n", "");
    log.Open("debug.txt");
    log.Write("b\n", "");
    log.KeepAt(nullptr);
    log.Open("debug.txt");
    log.Write("c\n", "");
    EXPECT_EQ(ReadFileText("tool.log"), "a\n  b\n  ");
    EXPECT_EQ(ReadDebugLog(), "");
    EXPECT_EQ(log.stream, nullptr);
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
