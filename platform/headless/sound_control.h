// Controls of the headless DirectSound.
#pragma once

namespace headless {

// DirectSound device objects created and not yet released.
int LiveSoundDevices();

}  // namespace headless
