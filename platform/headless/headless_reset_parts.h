// Each part of the headless backend forgets its state here; Reset calls them all.
#pragma once

namespace headless::detail {
void ResetProgramFile();
void ResetWindows();
void ResetDisplay();
void ResetSound();
void ResetClock();
}  // namespace headless::detail
