/// @file
/// The engine's plain-text log, "debug.txt" in the working directory.
#pragma once

#include <cstdio>

/// A log of lines, each written and flushed at once: the engine's is Debug.
class Debugger {
public:
    /// Opens "debug.txt" and writes the header line: the game's log, from the
    /// program's start.
    Debugger();
    /// The mark of a log made closed.
    struct Closed {};
    /// A log that opens nothing, whatever Open names, until the program calls
    /// Start or KeepAt: for a program that decides once it runs whether it
    /// keeps the game's log (a tool, or a game asked only for --help).
    explicit Debugger(Closed);
    /// Closes the log.
    ~Debugger();
    Debugger(const Debugger&) = delete;
    Debugger& operator=(const Debugger&) = delete;

    /// What the first constructor does, for a log made Closed: "debug.txt"
    /// opened and the header written, and every later Open obeyed.
    void Start();
    /// From now on the log is the file at path, created or emptied now, or
    /// nowhere when path is null; a later Open leaves it there. A tool's log
    /// goes only where the tool says.
    void KeepAt(const char* path);
    /// Closes any open stream, then opens path for writing (truncating). On failure
    /// prints a line to standard output and leaves the log closed.
    void Open(const char* path);
    /// Closes the stream if one is open.
    void Close();
    /// Writes message, two spaces and detail, and flushes at once. Dropped while
    /// no stream is open.
    void Write(const char* message, const char* detail);

    std::FILE* stream = nullptr;  ///< the open log, owned; null when closed

private:
    bool placeKept = false;  // set by KeepAt (and Closed): Open does nothing
};

/// The engine's one log. Every program on the engine gets the game's (opened
/// during static construction) unless it links shell/closed_debug_log.cpp,
/// which defines it Closed (corvane_add_program's CLOSED_LOG).
extern Debugger Debug;
