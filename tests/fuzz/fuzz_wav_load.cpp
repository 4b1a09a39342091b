// The WAV loader: beyond what the sanitizers see, a load that ends the process
// does so with exit code -1 after its message box, a refused file leaves the
// sound as it was, and a loaded one holds whole frames of bytes the file had.
#include <cstddef>
#include <cstdint>

#include "platform/headless/control.h"
#include "sound/soundx.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string& path = fuzz::WriteInput(data, size, ".wav");
    SoundX sound;
    bool loaded = false;
    const fuzz::Outcome outcome = fuzz::RunGuarded([&] { loaded = sound.Load(path.c_str()); });
    const std::size_t boxes = headless::MessageBoxes().size();
    headless::ClearMessageBoxes();

    if (outcome.exited) {
        FUZZ_CHECK(outcome.status == -1 && boxes == 1,
                   "a malformed file ends the load with its box and exit code -1");
        return 0;
    }
    FUZZ_CHECK(boxes == 0, "a file that loads, or is refused quietly, shows no box");
    if (!loaded) {
        FUZZ_CHECK(sound.GetData() == nullptr && sound.GetLength() == 0 && sound.GetFrames() == 0 &&
                       sound.GetRate() == 0,
                   "a refused file leaves the sound as it was");
        return 0;
    }
    const std::int32_t length = sound.GetLength();
    FUZZ_CHECK(length >= 0 && static_cast<std::size_t>(length) <= size,
               "the samples are never more than the file");
    FUZZ_CHECK(length == 0 || sound.GetData() != nullptr, "the samples are held");
    const std::int32_t frameBytes = (sound.GetBits() / 8) * sound.GetChannels();
    if (sound.GetData() != nullptr) {
        FUZZ_CHECK(frameBytes > 0 && sound.GetFrames() == length / frameBytes,
                   "frames are the length divided by the bytes of a frame");
        FUZZ_CHECK(sound.GetRate() > 0, "a sound with samples has a rate");
    }

    // Halving a sound of some length keeps whole frames of what it had; a sound
    // without a whole frame is left as it is.
    const bool shortens = sound.GetDuration() > 0.0f;
    sound.Shorten(sound.GetDuration() / 2);
    if (shortens)
        FUZZ_CHECK(
            sound.GetLength() <= length && sound.GetLength() == sound.GetFrames() * frameBytes,
            "a halved sound holds whole frames of what it had");
    else
        FUZZ_CHECK(sound.GetLength() == length, "a sound without a frame is not shortened");
    return 0;
}
