#include "files/text_buffer.h"

#include <cstring>

void TextBuffer::Init(std::int32_t count, std::int32_t width) {
    text.reset();
    cursor = nullptr;
    lineCount = 0;
    lineWidth = 0;
    line = 0;
    column = 0;
    // A width of 1 would leave no room for any character beside the terminator.
    if (count < 1 || width < 2) return;
    lineCount = count;
    lineWidth = width;
    const std::size_t bytes = static_cast<std::size_t>(count) * static_cast<std::size_t>(width);
    text = std::make_unique<char[]>(bytes);
    cursor = text.get();
}

char* TextBuffer::CurrentLine() {
    if (!text) return nullptr;
    return text.get() + static_cast<std::size_t>(line) * lineWidth;
}

char* TextBuffer::LineBefore(std::int32_t n) {
    if (!text) return nullptr;
    const std::int64_t target = static_cast<std::int64_t>(line) - n;
    if (target < 0 || target >= lineCount) return nullptr;
    return text.get() + static_cast<std::size_t>(target) * lineWidth;
}

void TextBuffer::Scroll() {
    if (!text) return;
    const std::size_t width = static_cast<std::size_t>(lineWidth);
    const std::size_t moved = static_cast<std::size_t>(lineCount - 1) * width;
    std::memmove(text.get(), text.get() + width, moved);
    std::memset(text.get() + moved, 0, width);
}

void TextBuffer::NewLine(const char* newText) {
    if (!text) return;
    if (line == lineCount - 1)
        Scroll();
    else
        ++line;
    cursor = CurrentLine();
    column = 0;
    if (newText != nullptr) {
        // Bounded copy padded with zeros; an over-long text is cut so that the
        // line keeps its terminator.
        std::strncpy(cursor, newText, static_cast<std::size_t>(lineWidth));
        cursor[lineWidth - 1] = '\0';
        const std::int32_t length = static_cast<std::int32_t>(std::strlen(cursor));
        column = length;
        cursor += length;
    }
}

void TextBuffer::PutChar(char c) {
    if (!text) return;
    if (c == 13) {
        NewLine(nullptr);
        return;
    }
    if (c == 8) {
        if (column > 0) {
            --cursor;
            --column;
            *cursor = '\0';
        }
        return;
    }
    if (column == lineWidth - 1) NewLine(nullptr);
    *cursor++ = c;
    ++column;
}
