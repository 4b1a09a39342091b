#include "files/text_buffer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Line(TextBuffer& buffer, int index) {
    return std::string(buffer.text.get() + index * buffer.lineWidth);
}

void Type(TextBuffer& buffer, const std::string& keys) {
    for (char c : keys) buffer.PutChar(c);
}

TEST(TextBufferTest, FullLineWrapsToTheNextAndTheLastScrolls) {
    TextBuffer buffer;
    buffer.Init(3, 5);
    Type(buffer, "abcd");
    EXPECT_EQ(Line(buffer, 0), "abcd");
    EXPECT_EQ(buffer.line, 0);
    Type(buffer, "e");
    EXPECT_EQ(buffer.line, 1);
    EXPECT_EQ(Line(buffer, 1), "e");
    Type(buffer, "fghijkl");
    EXPECT_EQ(buffer.line, 2);
    EXPECT_EQ(Line(buffer, 2), "ijkl");
    EXPECT_EQ(buffer.column, 4);
    // Wrapping on the last line scrolls everything up by one.
    Type(buffer, "m");
    EXPECT_EQ(buffer.line, 2);
    EXPECT_EQ(Line(buffer, 0), "efgh");
    EXPECT_EQ(Line(buffer, 1), "ijkl");
    EXPECT_EQ(Line(buffer, 2), "m");
    EXPECT_EQ(buffer.cursor, buffer.CurrentLine() + 1);
}

TEST(TextBufferTest, CarriageReturnOnTheLastLineScrollsAndEmptiesIt) {
    TextBuffer buffer;
    buffer.Init(3, 5);
    Type(buffer, "a\rb\rc");
    EXPECT_EQ(buffer.line, 2);
    Type(buffer, "\r");
    EXPECT_EQ(buffer.line, 2);
    EXPECT_EQ(Line(buffer, 0), "b");
    EXPECT_EQ(Line(buffer, 1), "c");
    EXPECT_EQ(Line(buffer, 2), "");
    EXPECT_EQ(buffer.column, 0);
    EXPECT_EQ(buffer.cursor, buffer.CurrentLine());
}

TEST(TextBufferTest, BackspaceErasesWithinTheLineOnly) {
    TextBuffer buffer;
    buffer.Init(3, 5);
    Type(buffer, "x\r\b");
    EXPECT_EQ(buffer.line, 1);
    EXPECT_EQ(buffer.column, 0);
    EXPECT_EQ(Line(buffer, 0), "x");
    Type(buffer, "ab\b");
    EXPECT_EQ(Line(buffer, 1), "a");
    EXPECT_EQ(buffer.column, 1);
    Type(buffer, "c");
    EXPECT_EQ(Line(buffer, 1), "ac");
}

TEST(TextBufferTest, LinesAboveTheCurrentOne) {
    TextBuffer buffer;
    buffer.Init(3, 5);
    EXPECT_EQ(buffer.LineBefore(1), nullptr);
    EXPECT_EQ(buffer.LineBefore(0), buffer.CurrentLine());
    buffer.NewLine("hi");
    EXPECT_EQ(buffer.LineBefore(1), buffer.text.get());
    EXPECT_EQ(buffer.LineBefore(-5), nullptr);
}

TEST(TextBufferTest, NewLineCopiesTextAndCutsWhatDoesNotFit) {
    TextBuffer buffer;
    buffer.Init(2, 5);
    buffer.NewLine("hi");
    EXPECT_EQ(buffer.line, 1);
    EXPECT_EQ(buffer.column, 2);
    EXPECT_EQ(buffer.cursor, buffer.CurrentLine() + 2);
    EXPECT_EQ(Line(buffer, 1), "hi");

    buffer.NewLine("abcdefgh");
    EXPECT_EQ(Line(buffer, 0), "hi");
    EXPECT_EQ(Line(buffer, 1), "abcd");
    EXPECT_EQ(buffer.column, 4);
    // Full after the cut: the next character wraps instead of overwriting the end.
    Type(buffer, "z");
    EXPECT_EQ(Line(buffer, 0), "abcd");
    EXPECT_EQ(Line(buffer, 1), "z");
}

TEST(TextBufferTest, InitReplacesTheGridAndRefusesUnusableSizes) {
    TextBuffer buffer;
    buffer.PutChar('a');
    EXPECT_EQ(buffer.CurrentLine(), nullptr);
    buffer.Init(2, 4);
    Type(buffer, "abc\rd");
    buffer.Init(4, 3);
    EXPECT_EQ(buffer.lineCount, 4);
    EXPECT_EQ(buffer.lineWidth, 3);
    EXPECT_EQ(buffer.line, 0);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Line(buffer, i), "");
    // A width of 1 holds no characters at all.
    buffer.Init(3, 1);
    EXPECT_EQ(buffer.text, nullptr);
    Type(buffer, "abc\r\b");
    buffer.NewLine("x");
    EXPECT_EQ(buffer.LineBefore(0), nullptr);
}

}  // namespace
