// The engine's plain-text log, "debug.txt" in the working directory.
#pragma once

#include <cstdio>

class Debugger {
public:
    // Opens "debug.txt" and writes the header line.
    Debugger();
    // Closes the log.
    ~Debugger();
    Debugger(const Debugger&) = delete;
    Debugger& operator=(const Debugger&) = delete;

    // Closes any open stream, then opens path for writing (truncating). On failure
    // prints a line to standard output and leaves the log closed.
    void Open(const char* path);
    // Closes the stream if one is open.
    void Close();
    // Writes message, two spaces and detail, and flushes at once. Dropped while
    // no stream is open.
    void Write(const char* message, const char* detail);

    std::FILE* stream = nullptr;
};

extern Debugger Debug;
