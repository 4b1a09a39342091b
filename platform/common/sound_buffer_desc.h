// The checks DirectSound makes on a secondary buffer's description, shared by
// the backends so both refuse exactly the same requests.
#pragma once

#include "platform/api/platform.h"

namespace soundmix {

// DS_OK for a description DirectSound accepts: its own structure size, only
// the frequency, pan and volume controls, an 8- or 16-bit PCM format of one or
// two channels at 100..200000 frames per second with consistent block alignment
// and byte rate, and 4 bytes up to 0x0FFFFFFF bytes in whole frames. Otherwise
// DSERR_INVALIDPARAM or DSERR_BADFORMAT, as DirectSound answers.
HRESULT CheckBufferDescription(LPCDSBUFFERDESC desc);

}  // namespace soundmix
