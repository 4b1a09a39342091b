#include "shell/release_interface.h"
#include "shell/windx.h"

bool WinDX::StartDirectSound() {
    if (FAILED(DirectSoundCreate(nullptr, &directSound, nullptr))) {
        status = SOUNDINIT_FAILED;
        return false;
    }
    if (FAILED(directSound->SetCooperativeLevel(window, DSSCL_NORMAL))) {
        // The released device is forgotten, so nothing can reach it afterwards.
        ReleaseInterface(directSound);
        status = SOUNDCOOP_FAILED;
        return false;
    }
    return true;
}
