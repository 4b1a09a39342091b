#include "pictures/libtiff_file.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace pictures {
namespace {

// The most libtiff may allocate at once for one file. A header may declare
// strips and tiles of any size; libtiff then refuses them with an error
// instead of trying.
constexpr tmsize_t kMostLibTiffAllocates = tmsize_t{1} << 30;
// The largest file written in memory: the largest picture the engine
// holds, as RGBA, is a quarter of it.
constexpr std::uint64_t kLargestOutput = std::uint64_t{1} << 30;

}  // namespace

std::string OneLine(const char* text) {
    std::string line;
    for (const char* c = text; *c != '\0'; ++c) {
        const bool space = *c == '\n' || *c == '\r' || *c == '\t' || *c == ' ';
        if (!space)
            line += *c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    if (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

LibTiffFile::~LibTiffFile() {
    if (tiff_ != nullptr) TIFFClose(tiff_);
}

bool LibTiffFile::OpenFile(const std::string& path, const char* mode) {
    return Open(path.c_str(), mode);
}

bool LibTiffFile::OpenBytes(const std::uint8_t* bytes, std::size_t size) {
    bytes_ = bytes;
    size_ = size;
    return Open(nullptr, "r");
}

bool LibTiffFile::OpenOutput(std::vector<std::uint8_t>& out, const char* mode) {
    out.clear();
    out_ = &out;
    return Open(nullptr, mode);
}

bool LibTiffFile::Open(const char* name, const char* mode) {
    writing_ = mode[0] != 'r';
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (options == nullptr) {
        firstError_ = "libtiff cannot start";
        errorSeen_ = true;
        return false;
    }
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepError, this);
    TIFFOpenOptionsSetWarningHandlerExtR(options, DropWarning, nullptr);
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMostLibTiffAllocates);
    if (name != nullptr)
        tiff_ = TIFFOpenExt(name, mode, options);
    else
        tiff_ = TIFFClientOpenExt("memory", mode, this, Read, Write, Seek, CloseMemory, Size,
                                  MapBytes, UnmapNothing, options);
    // libtiff copies what it needs from the options.
    TIFFOpenOptionsFree(options);
    return tiff_ != nullptr;
}

bool LibTiffFile::Finish() {
    if (tiff_ == nullptr) return false;
    const bool flushed = !writing_ || TIFFFlush(tiff_) == 1;
    TIFFClose(tiff_);
    tiff_ = nullptr;
    return flushed && !errorSeen_;
}

std::string LibTiffFile::FirstError(const char* otherwise) const {
    return errorSeen_ ? firstError_ : otherwise;
}

void LibTiffFile::ForgetErrors() {
    errorSeen_ = false;
    firstError_.clear();
}

int LibTiffFile::KeepError(TIFF*, void* self, const char*, const char* format, va_list args) {
    auto& file = *static_cast<LibTiffFile*>(self);
    if (!file.errorSeen_) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, args);
        file.firstError_ = OneLine(text);
        file.errorSeen_ = true;
    }
    return 1;
}

int LibTiffFile::DropWarning(TIFF*, void*, const char*, const char*, va_list) {
    return 1;
}

tmsize_t LibTiffFile::Read(thandle_t self, void* buffer, tmsize_t count) {
    auto& file = *static_cast<LibTiffFile*>(self);
    const std::uint8_t* data = file.out_ != nullptr ? file.out_->data() : file.bytes_;
    const std::uint64_t size = file.out_ != nullptr ? file.out_->size() : file.size_;
    if (count <= 0 || file.at_ >= size) return 0;
    const std::uint64_t length = std::min<std::uint64_t>(std::uint64_t(count), size - file.at_);
    std::memcpy(buffer, data + file.at_, length);
    file.at_ += length;
    return static_cast<tmsize_t>(length);
}

tmsize_t LibTiffFile::Write(thandle_t self, void* buffer, tmsize_t count) {
    auto& file = *static_cast<LibTiffFile*>(self);
    if (file.out_ == nullptr || count < 0 || std::uint64_t(count) > kLargestOutput - file.at_)
        return -1;
    const std::uint64_t end = file.at_ + std::uint64_t(count);
    if (end > file.out_->size()) file.out_->resize(end);
    if (count > 0) std::memcpy(file.out_->data() + file.at_, buffer, std::size_t(count));
    file.at_ = end;
    return count;
}

toff_t LibTiffFile::Seek(thandle_t self, toff_t offset, int whence) {
    auto& file = *static_cast<LibTiffFile*>(self);
    const std::uint64_t base = whence == SEEK_CUR ? file.at_ : whence == SEEK_END ? Size(self) : 0;
    // Offsets backwards come as their two's complement, so the sum wraps to
    // the place meant; anywhere past any file handled here is refused.
    const std::uint64_t target = base + offset;
    if (target > kLargestOutput && target > Size(self)) return static_cast<toff_t>(-1);
    file.at_ = target;
    return target;
}

toff_t LibTiffFile::Size(thandle_t self) {
    const auto& file = *static_cast<LibTiffFile*>(self);
    return file.out_ != nullptr ? file.out_->size() : file.size_;
}

int LibTiffFile::CloseMemory(thandle_t) {
    return 0;
}

int LibTiffFile::MapBytes(thandle_t self, void** base, toff_t* size) {
    auto& file = *static_cast<LibTiffFile*>(self);
    if (file.bytes_ == nullptr) return 0;
    // libtiff only reads what it maps, as from a file it maps.
    *base = const_cast<std::uint8_t*>(file.bytes_);
    *size = file.size_;
    return 1;
}

void LibTiffFile::UnmapNothing(thandle_t, void*, toff_t) {}

}  // namespace pictures
