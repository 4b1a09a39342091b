// One file opened through libtiff: by name, on bytes in memory, or writing into
// a buffer in memory. libtiff's errors are kept here for the caller's own
// messages instead of being printed; its warnings (unknown tags, deprecated
// compressions) are dropped.
#pragma once

#include <tiffio.h>

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

// A message of libtiff's on one line: its line breaks and tabs become spaces.
std::string OneLine(const char* text);

class LibTiffFile {
public:
    LibTiffFile() = default;
    // Closes the file (a file being written is finished first).
    ~LibTiffFile();
    // libtiff keeps a pointer to the object while the file is open.
    LibTiffFile(const LibTiffFile&) = delete;
    LibTiffFile& operator=(const LibTiffFile&) = delete;

    // mode as TIFFOpen's ("r", "wl"). Each returns false when libtiff cannot
    // open it; FirstError then says why.
    bool OpenFile(const std::string& path, const char* mode);
    // Reads bytes that the caller keeps unchanged while this is open.
    bool OpenBytes(const std::uint8_t* bytes, std::size_t size);
    // Writes into out, which grows as libtiff writes; complete once Finish
    // returns true.
    bool OpenOutput(std::vector<std::uint8_t>& out, const char* mode);
    // Writes what libtiff still holds and closes; false when that failed.
    bool Finish();

    TIFF* get() const { return tiff_; }

    // True when libtiff reported an error since opening or ForgetErrors.
    bool ErrorSeen() const { return errorSeen_; }
    // The first of those errors, or otherwise when there was none.
    std::string FirstError(const char* otherwise) const;
    void ForgetErrors();

private:
    bool Open(const char* name, const char* mode);
    static int KeepError(TIFF*, void* self, const char* module, const char* format, va_list args);
    static int DropWarning(TIFF*, void*, const char*, const char*, va_list);
    static tmsize_t Read(thandle_t self, void* buffer, tmsize_t count);
    static tmsize_t Write(thandle_t self, void* buffer, tmsize_t count);
    static toff_t Seek(thandle_t self, toff_t offset, int whence);
    static toff_t Size(thandle_t self);
    static int CloseMemory(thandle_t);
    // Bytes being read are handed to libtiff as a file it maps, so that they
    // are read exactly as TIFFOpen reads a file of the same bytes.
    static int MapBytes(thandle_t self, void** base, toff_t* size);
    static void UnmapNothing(thandle_t, void*, toff_t);

    TIFF* tiff_ = nullptr;
    bool writing_ = false;
    bool errorSeen_ = false;
    std::string firstError_;
    // A file in memory: the bytes read, or the buffer written.
    const std::uint8_t* bytes_ = nullptr;
    std::vector<std::uint8_t>* out_ = nullptr;
    std::uint64_t size_ = 0;
    std::uint64_t at_ = 0;
};

}  // namespace pictures
