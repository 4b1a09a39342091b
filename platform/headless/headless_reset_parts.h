// Each part of the headless backend forgets its state here; Reset calls them all.
#pragma once

#include <string>

namespace headless::detail {
void ResetProgramFile();
void ResetWindows();
void ResetDisplay();
void ResetSound();
void ResetClock();

// The file GetModuleFileNameA names: the stand-in, else the real program's.
std::string ProgramFile();
}  // namespace headless::detail
