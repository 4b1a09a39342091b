// What a backend supplies to the shared DirectSound objects (dsound_objects.h):
// the device that really plays the buffers. Every rule of DirectSound itself
// (which requests are refused and with which code, the Lock/Unlock ring, play
// position and play state) is the shared objects' own.
#pragma once

namespace platform {

class SoundBuffer;
class SoundDevice;

// Whatever a backend keeps beside a shared object: a device's audio stream, a
// buffer's samples in the device's format, a mixer's place in a buffer.
struct BackendPart {
    virtual ~BackendPart() = default;
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;

    // A new DirectSound object opens the device its buffers play on; false when
    // there is none (DirectSoundCreate answers DSERR_NODRIVER).
    virtual bool Open(SoundDevice&) { return true; }
    // The object's last reference went: nothing of it plays afterwards.
    virtual void Close(SoundDevice&) {}
    // A buffer was made, or its memory written (Unlock). Called without the
    // device's mutex.
    virtual void Made(SoundBuffer&) {}
    virtual void Written(SoundBuffer&) {}
    // A buffer's play position was set; called with the device's mutex held.
    virtual void Moved(SoundBuffer&) {}
};

// The backend's sound output; each backend defines it.
SoundOutput& TheSoundOutput();

}  // namespace platform
