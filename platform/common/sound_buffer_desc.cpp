#include "platform/common/sound_buffer_desc.h"

namespace soundmix {
namespace {

constexpr DWORD kMinBufferBytes = 4;
constexpr DWORD kMaxBufferBytes = 0x0FFFFFFF;
constexpr DWORD kMinRate = 100;
constexpr DWORD kMaxRate = 200000;
constexpr DWORD kKnownFlags = DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;

HRESULT CheckFormat(const WAVEFORMATEX& format) {
    if (format.wFormatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
    if (format.nChannels != 1 && format.nChannels != 2) return DSERR_BADFORMAT;
    if (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) return DSERR_BADFORMAT;
    if (format.nSamplesPerSec < kMinRate || format.nSamplesPerSec > kMaxRate)
        return DSERR_BADFORMAT;
    const DWORD blockAlign = format.nChannels * (format.wBitsPerSample / 8u);
    if (format.nBlockAlign != blockAlign) return DSERR_BADFORMAT;
    if (format.nAvgBytesPerSec != format.nSamplesPerSec * blockAlign) return DSERR_BADFORMAT;
    return DS_OK;
}

}  // namespace

HRESULT CheckBufferDescription(LPCDSBUFFERDESC desc) {
    if (desc == nullptr || desc->dwSize != sizeof(DSBUFFERDESC)) return DSERR_INVALIDPARAM;
    if ((desc->dwFlags & ~kKnownFlags) != 0) return DSERR_INVALIDPARAM;
    if (desc->dwReserved != 0 || desc->lpwfxFormat == nullptr) return DSERR_INVALIDPARAM;
    const HRESULT format = CheckFormat(*desc->lpwfxFormat);
    if (format != DS_OK) return format;
    if (desc->dwBufferBytes < kMinBufferBytes || desc->dwBufferBytes > kMaxBufferBytes)
        return DSERR_INVALIDPARAM;
    if (desc->dwBufferBytes % desc->lpwfxFormat->nBlockAlign != 0) return DSERR_INVALIDPARAM;
    return DS_OK;
}

}  // namespace soundmix
