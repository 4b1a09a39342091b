/// @file
/// The platform calls a backend may watch. The shared objects of platform/common
/// pass every call through Answer, so a backend that records calls and makes
/// them fail on request (the headless one) does so in one place; the others
/// watch nothing.
#pragma once

#include <cstddef>
#include <initializer_list>

#include "platform/api/platform.h"

namespace platform {

/// Calls whose results a watcher can choose, then calls that are only observed:
/// Release cannot fail (it is counted and recorded only); Unlock, GetSurfaceDesc
/// and ReleaseDC can.
enum class PlatformCall {
    RegisterClass,
    CreateWindow,
    UpdateWindow,
    DirectDrawCreate,
    SetCooperativeLevel,
    SetDisplayMode,
    CreateSurface,
    GetAttachedSurface,
    Lock,
    Flip,
    BltFast,
    IsLost,
    Restore,
    GetDC,
    WaitForVerticalBlank,
    DirectSoundCreate,
    SoundCooperativeLevel,
    CreateSoundBuffer,
    GetCaps,
    SoundLock,
    SoundUnlock,
    SoundRestore,
    SoundPlay,
    SoundStop,
    SoundSetPosition,
    SoundSetVolume,
    SoundSetPan,
    SoundGetStatus,
    SoundRelease,
    Unlock,
    GetSurfaceDesc,
    ReleaseDC,
    Release,
};

/// @cond ENGINE_INTERNALS

// A call's arguments as numbers, kept without allocating: a call has a dozen at most.
class CallArgs {
public:
    static constexpr std::size_t kMost = 12;

    CallArgs() = default;
    CallArgs(std::initializer_list<long long> values) {
        for (long long value : values) Add(value);
    }
    // Values past kMost are dropped.
    void Add(long long value) {
        if (count_ < kMost) values_[count_++] = value;
    }
    const long long* begin() const { return values_; }
    const long long* end() const { return values_ + count_; }
    std::size_t size() const { return count_; }

private:
    long long values_[kMost] = {};
    std::size_t count_ = 0;
};

// What watches the calls; the default watches nothing.
class CallWatcher {
public:
    virtual ~CallWatcher() = default;
    // Counts a call; true, with the result to answer, when a fault is due.
    virtual bool TakeFault(PlatformCall, long*) { return false; }
    // One call, its arguments, a text argument (may be empty) and its answer.
    virtual void Record(PlatformCall, const CallArgs&, const char*, long) {}
};

// The backend's watcher; each backend defines it.
CallWatcher& Watcher();

// Runs one call: a fault that is due answers in place of work(); either way the
// call is recorded with `args` as they stand once work has run (work may add
// to them) and with its answer, which is returned as work's type.
template <typename Work>
auto Answer(PlatformCall call, CallArgs& args, const char* text, Work&& work) -> decltype(work()) {
    CallWatcher& watcher = Watcher();
    long result = 0;
    if (!watcher.TakeFault(call, &result)) result = static_cast<long>(work());
    watcher.Record(call, args, text, result);
    return static_cast<decltype(work())>(result);
}

template <typename Work>
auto Answer(PlatformCall call, CallArgs&& args, const char* text, Work&& work) -> decltype(work()) {
    return Answer(call, args, text, work);
}

// A call that cannot fail, such as Release: counted, and recorded with its answer.
inline void Note(PlatformCall call, const CallArgs& args, const char* text, long result) {
    long ignored = 0;
    Watcher().TakeFault(call, &ignored);
    Watcher().Record(call, args, text, result);
}

/// @endcond

}  // namespace platform
