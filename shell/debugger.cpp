#include "shell/debugger.h"

Debugger::Debugger() {
    Start();
}

Debugger::Debugger(Closed) : placeKept(true) {}

Debugger::~Debugger() {
    Close();
    stream = nullptr;
}

void Debugger::Start() {
    placeKept = false;
    Open("debug.txt");
    if (stream != nullptr) std::fprintf(stream, "* Debugging Output *\n");
}

void Debugger::KeepAt(const char* path) {
    placeKept = false;
    if (path != nullptr)
        Open(path);
    else
        Close();
    placeKept = true;
}

void Debugger::Open(const char* path) {
    if (placeKept) return;
    Close();
    // Text mode: each newline becomes the platform's line end.
    stream = std::fopen(path, "w+t");
    if (stream == nullptr) std::printf("DEBUGGER ERROR: Unable to open debug log file.\n");
}

void Debugger::Close() {
    if (stream != nullptr) {
        std::fclose(stream);
        stream = nullptr;
    }
}

void Debugger::Write(const char* message, const char* detail) {
    if (stream == nullptr) return;
    // Every caller passes a message ending in a newline and an empty detail, so
    // each later line of the file starts with the two spaces.
    std::fprintf(stream, "%s  %s", message, detail);
    std::fflush(stream);
}
