/// @file
/// Everything a test or tool needs to drive and observe the headless platform.
#pragma once

#include <string>

#include "platform/headless/clock_control.h"
#include "platform/headless/display_control.h"
#include "platform/headless/faults.h"
#include "platform/headless/sound_control.h"
#include "platform/headless/window_control.h"

namespace headless {

/// Back to a new machine: default desktop, no windows, no faults, no records.
void Reset();

/// The file GetModuleFileNameA names as the running program: `path`, or the real
/// program's when empty (as after Reset).
void SetProgramFile(const std::string& path);

}  // namespace headless
