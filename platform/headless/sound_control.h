// Controls of the headless DirectSound.
#pragma once

namespace headless {
}  // namespace headless
