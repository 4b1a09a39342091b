/// @file
/// A fixed grid of text lines that behaves like a scrolling console; every line
/// stays NUL-terminated inside its width, so each can be handed out as a string.
#pragma once

#include <cstdint>
#include <memory>

/// Lines of text kept as a console keeps them, for a game's own text display.
class TextBuffer {
public:
    /// A buffer without a grid (Init gives it one).
    TextBuffer() = default;

    /// Replaces the grid with count lines of width bytes each (the terminator
    /// included), zero-filled, cursor at the top left. A count below 1 or a
    /// width below 2 leaves the buffer without a grid, and then every operation
    /// does nothing (pointers come back null).
    void Init(std::int32_t count, std::int32_t width);
    /// Start of the current line.
    char* CurrentLine();
    /// The line n lines above the current one, or null outside the grid.
    char* LineBefore(std::int32_t n);
    /// Appends c; 13 starts a new line, 8 erases the last character of the line.
    void PutChar(char c);
    /// Moves to the start of the next line (scrolling on the last one) and, when
    /// text is given, copies it there, cut to lineWidth - 1 characters.
    void NewLine(const char* text);
    /// Moves every line up by one and clears the last; the cursor stays.
    void Scroll();

    std::int32_t lineCount = 0;    ///< lines in the grid
    std::int32_t lineWidth = 0;    ///< bytes of each line, its terminator included
    std::int32_t line = 0;         ///< the cursor's line, from 0 at the top
    std::int32_t column = 0;       ///< the cursor's column, from 0
    std::unique_ptr<char[]> text;  ///< lineCount x lineWidth bytes, owned
    char* cursor = nullptr;        ///< text + line * lineWidth + column
};
