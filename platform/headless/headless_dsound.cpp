#include <memory>
#include <utility>
#include <vector>

#include "platform/api/platform.h"
#include "platform/headless/faults.h"
#include "platform/headless/headless_reset_parts.h"
#include "platform/headless/headless_sound_buffers.h"
#include "platform/headless/sound_control.h"

namespace headless {
namespace detail {
namespace {

HRESULT Answer(Op op, std::vector<long long> args, HRESULT result) {
    Record(op, std::move(args), "", result);
    return result;
}

// The sound device. Its buffers are the headless sound buffers (sound_buffers.h).
class HeadlessDirectSound final : public IDirectSound {
public:
    ULONG Release() override {
        long ignored = 0;
        TakeFault(Op::Release, &ignored);
        if (refs_ > 0) --refs_;
        Record(Op::Release, {static_cast<long long>(refs_)}, "directsound",
               static_cast<long>(refs_));
        return refs_;
    }

    HRESULT CreateSoundBuffer(LPCDSBUFFERDESC desc, IDirectSoundBuffer** buffer,
                              IUnknown*) override {
        if (!alive()) {
            if (buffer != nullptr) *buffer = nullptr;
            return Answer(Op::CreateSoundBuffer, {}, DSERR_GENERIC);
        }
        return headless::detail::CreateSoundBuffer(desc, buffer);
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        const std::vector<long long> args = {
            static_cast<long long>(reinterpret_cast<std::intptr_t>(window)), level};
        long fault = 0;
        if (TakeFault(Op::SoundCooperativeLevel, &fault))
            return Answer(Op::SoundCooperativeLevel, args, fault);
        if (!alive()) return Answer(Op::SoundCooperativeLevel, args, DSERR_GENERIC);
        // Levels run from DSSCL_NORMAL (1) to DSSCL_WRITEPRIMARY (4).
        if (window == nullptr || level < DSSCL_NORMAL || level > 4)
            return Answer(Op::SoundCooperativeLevel, args, DSERR_INVALIDPARAM);
        return Answer(Op::SoundCooperativeLevel, args, DS_OK);
    }

    bool alive() const { return refs_ > 0; }

private:
    ULONG refs_ = 1;
};

// Objects stay allocated until the backend is reset, so a released pointer
// answers errors instead of touching freed memory.
std::vector<std::unique_ptr<HeadlessDirectSound>>& Devices() {
    static std::vector<std::unique_ptr<HeadlessDirectSound>> devices;
    return devices;
}

}  // namespace

void ResetSound() {
    ResetSoundBuffers();
    Devices().clear();
}

}  // namespace detail

int LiveSoundDevices() {
    int count = 0;
    for (const auto& device : detail::Devices()) count += device->alive() ? 1 : 0;
    return count;
}

}  // namespace headless

HRESULT WINAPI DirectSoundCreate(const GUID* device, IDirectSound** directSound, IUnknown* outer) {
    using namespace headless;
    const std::vector<long long> args = {device != nullptr ? 1 : 0};
    if (directSound != nullptr) *directSound = nullptr;
    long fault = 0;
    if (detail::TakeFault(Op::DirectSoundCreate, &fault))
        return detail::Answer(Op::DirectSoundCreate, args, fault);
    // Only the default device exists.
    if (directSound == nullptr || outer != nullptr || device != nullptr)
        return detail::Answer(Op::DirectSoundCreate, args, DSERR_INVALIDPARAM);
    detail::Devices().push_back(std::make_unique<detail::HeadlessDirectSound>());
    *directSound = detail::Devices().back().get();
    return detail::Answer(Op::DirectSoundCreate, args, DS_OK);
}
