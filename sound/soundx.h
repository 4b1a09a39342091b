/// @file
/// One PCM sound in memory, loaded from a RIFF WAVE file, and its ties to the
/// engine's sound table (see WinDX::PlaySound).
#pragma once

#include <cstdint>
#include <memory>

class File;
class ByteOrder;

/// One sound loaded from a WAV file, played through Corvane.PlaySound.
class SoundX {
public:
    /// An empty sound: no samples, not registered (slot -1), marked changed.
    SoundX();
    /// Releases the samples. A registered sound must outlive its plays.
    ~SoundX();
    SoundX(const SoundX&) = delete;
    SoundX& operator=(const SoundX&) = delete;

    /// Loads an uncompressed PCM WAV file. A missing file or a malformed header
    /// shows a message box and ends the process with exit status -1. Answers
    /// false, keeping the sound as it was, for a file in another encoding (quietly)
    /// or with a format no sound can have (logged); true when loaded.
    bool Load(const char* path);
    /// Why a PCM format chunk is refused (its size in bytes and the values it
    /// holds), or null if Load accepts it: the refusals that would otherwise
    /// divide by zero.
    static const char* FormatProblem(std::uint32_t formatSize, std::uint16_t channels,
                                     std::uint16_t bits, std::int32_t rate);
    /// Keeps only the first `seconds` of the sound (nothing happens if it is not
    /// longer than that) and marks it changed.
    void Shorten(float seconds);

    /// True while the engine's buffer does not hold this sound's current samples.
    bool NeedsUpload() const { return slot == -1 || changed == 1; }

    /// Samples per second, per channel.
    std::int32_t GetRate() const { return rate; }
    /// Bits per sample: 8 (unsigned) or 16 (signed little-endian) when playable.
    std::uint16_t GetBits() const { return bits; }
    /// 1 = mono, 2 = stereo.
    std::uint16_t GetChannels() const { return channels; }
    /// Sample frames held (one sample per channel each).
    std::int32_t GetFrames() const { return frames; }
    /// Length in seconds: frames / rate.
    float GetDuration() const { return duration; }
    /// Bytes of sample data held.
    std::int32_t GetLength() const { return length; }
    /// The sample bytes as stored in the file, interleaved; owned by the sound,
    /// null while empty.
    const std::uint8_t* GetData() const { return data.get(); }
    /// Index in the engine's sound table, -1 until first played.
    std::int32_t GetSlot() const { return slot; }
    /// @cond ENGINE_INTERNALS
    // The engine's sound registration keeps these.
    void SetSlot(std::int32_t newSlot) { slot = newSlot; }
    // 1 = the samples changed since they were last copied to the sound's buffer.
    void SetChanged(std::uint8_t flag) { changed = flag; }
    /// @endcond

private:
    // Reads four bytes and answers whether they are the tag.
    bool MatchTag(File& file, ByteOrder& order, const char* tag);
    // Reads a little-endian 32-bit size into out; always true.
    bool ReadSize(File& file, ByteOrder& order, std::uint32_t* out);
    // Shows the invalid-format message box and ends the process.
    [[noreturn]] void FormatError();
    // Reads the PCM format chunk's values after its size into the sound; false,
    // leaving the sound as it was, for another encoding or a format Load refuses.
    bool ReadFormat(File& file, ByteOrder& order, std::uint32_t formatSize, const char* path);
    // Scans the chunks after the format chunk, reading each "data" chunk.
    void ReadChunks(File& file, ByteOrder& order);
    // Reads a "data" chunk of `size` bytes that starts at the file's position.
    void ReadData(File& file, std::uint32_t size);

    std::int32_t rate = 0;
    std::uint16_t bits = 0;
    std::uint16_t channels = 0;
    float duration = 0.0f;
    std::int32_t frames = 0;
    std::int32_t length = 0;
    std::unique_ptr<std::uint8_t[]> data;
    std::int32_t slot = -1;
    std::uint8_t changed = 1;
};
