// Controls of the headless DirectDraw: surface formats and presented frames.
#pragma once

namespace headless {
}  // namespace headless
