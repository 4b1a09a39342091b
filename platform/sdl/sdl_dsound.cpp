#include <SDL.h>

#include "platform/api/platform.h"

// The sound device is not built yet: no sound object can be had.
HRESULT WINAPI DirectSoundCreate(const GUID*, IDirectSound** directSound, IUnknown*) {
    if (directSound != nullptr) *directSound = nullptr;
    return DSERR_NODRIVER;
}
