#include "files/file.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/debugger.h"

namespace {

void Log(const char* message) {
    Debug.Write(message, "");
}

[[noreturn]] void Stop(const char* message) {
    Log(message);
    std::exit(-1);
}

// The game names its files with backslashes; on systems whose separator is
// '/' they are turned into slashes before the path reaches the C library.
std::string HostPath(const char* path) {
    std::string host(path);
#ifndef _WIN32
    for (char& c : host)
        if (c == '\\') c = '/';
#endif
    return host;
}

// Whether the file must exist already (no FILE_AUTOCREATE) and does not.
bool MustExistButMissing(const char* path, std::int32_t f) {
    return !(f & FILE_AUTOCREATE) && File::Exists(path) == FILE_NOTFOUND;
}

// Puts the stream mode for FILE_APPEND in mode; false (logged) when the file
// must exist and does not.
bool AppendMode(const char* path, std::int32_t f, std::string& mode) {
    if (f & FILE_READ) Stop("File::Open: Cannot open file in both APPEND and READ modes.\n");
    if (f & FILE_WRITE) Stop("File::Open: Cannot open file in both APPEND and WRITE modes.\n");
    mode = "a";
    if (MustExistButMissing(path, f)) {
        Log("File::Open: File does not exist for append. (Use FILE_AUTOCREATE if desired)\n");
        return false;
    }
    if (!(f & FILE_LEAVEEOF)) mode += "+";
    return true;
}

// Puts the stream mode for FILE_READ, FILE_WRITE or both in mode; false
// (logged) when the file must exist and does not.
bool TransferMode(const char* path, std::int32_t f, std::string& mode) {
    if (f & FILE_LEAVEEOF)
        Log("File::Open: (Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.\n");
    if ((f & FILE_READ) && (f & FILE_WRITE)) {
        if (MustExistButMissing(path, f)) {
            Log("File::Open: File does not exist for read/write. (Use FILE_AUTOCREATE if "
                "desired)\n");
            return false;
        }
        mode = (f & FILE_AUTOCREATE) ? "w+" : "r+";
    } else if (f & FILE_READ) {
        if (f & FILE_AUTOCREATE)
            Log("File::Open: (Warning only) FILE_AUTOCREATE has no meaning when using "
                "FILE_READ without FILE_APPEND or FILE_WRITE.\n");
        if (File::Exists(path) == FILE_NOTFOUND) {
            Log("File::Open: File does not exist for read.\n");
            return false;
        }
        mode = "r";
    } else if (f & FILE_WRITE) {
        if (MustExistButMissing(path, f)) {
            Log("File::Open: File does not exist for write (Use FILE_AUTOCREATE is desired).\n");
            return false;
        }
        mode = "w";
    } else {
        Stop("File::Open: Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.\n");
    }
    return true;
}

// Adds the access letter ("b" or "t") to mode.
void AddAccessMode(std::int32_t f, std::string& mode) {
    if ((f & RANDOM) && (f & SEQUENTIAL))
        Stop("File::Open: Cannot open in SEQUENTIAL and RANDOM access modes.\n");
    if (f & RANDOM)
        mode += "b";
    else if (f & SEQUENTIAL)
        mode += "t";
    else
        Stop("File::Open: Must open in SEQUENTIAL or RANDOM access mode.\n");
}

}  // namespace

File::File() = default;

File::File(const char* path, std::int32_t flagSet) {
    Open(path, flagSet);
}

File::~File() {
    Close();
}

std::int32_t File::Open(const char* path, std::int32_t f) {
    if (path == nullptr) {
        Log("File::Open: No file name given.\n");
        return FILE_NOTFOUND;
    }
    if (std::strlen(path) >= FILE_NAME_SIZE) {
        Log("File::Open: File name is too long (99 characters at most).\n");
        return FILE_NOTFOUND;
    }

    std::string mode;
    const bool found = (f & FILE_APPEND) ? AppendMode(path, f, mode) : TransferMode(path, f, mode);
    if (!found) return FILE_NOTFOUND;
    // Checked only now, so that a missing file is reported first.
    if (f & FILE_NOTOPEN) Stop("File::Open: Cannot open a file using FILE_NOTOPEN command!!\n");
    AddAccessMode(f, mode);

    // A stream still held from an earlier Open would otherwise be lost.
    Close();
    std::strcpy(name, path);
    flags = f;
    stream = std::fopen(HostPath(path).c_str(), mode.c_str());
    if (stream == nullptr) Stop("File::Open: Unable to open file (reason unknown)\n");
    return FILE_OK;
}

void File::Close() {
    if (!(flags & FILE_NOTOPEN) && stream != nullptr) {
        std::fflush(stream);
        std::fclose(stream);
    }
    stream = nullptr;
    flags = FILE_NOTOPEN;
}

std::int32_t File::Exists(const char* path) {
    if (path == nullptr) return FILE_NOTFOUND;
    std::FILE* probe = std::fopen(HostPath(path).c_str(), "r");
    if (probe == nullptr) return FILE_NOTFOUND;
    std::fclose(probe);
    return FILE_FOUND;
}

std::int32_t File::Read(std::size_t count, void* buffer) {
    const std::size_t items = stream != nullptr ? std::fread(buffer, count, 1, stream) : 0;
    if (!(flags & FILE_READ)) return FILE_NOREAD;
    if (items == 1) return FILE_OK;
    if (std::feof(stream)) return FILE_EOF;
    return FILE_READERR;
}

std::int32_t File::Write(std::size_t count, const void* buffer) {
    const std::size_t items = stream != nullptr ? std::fwrite(buffer, count, 1, stream) : 0;
    if (!(flags & (FILE_WRITE | FILE_APPEND))) return FILE_NOWRITE;
    if (items == 1) return FILE_OK;
    return FILE_WRITEERR;
}

std::int32_t File::ReadChar(std::uint8_t& c) {
    const int read = stream != nullptr ? std::fgetc(stream) : EOF;
    c = static_cast<std::uint8_t>(read & 0xFF);
    if (!(flags & FILE_READ)) return FILE_NOREAD;
    if (std::feof(stream)) return FILE_EOF;
    if (std::ferror(stream)) return FILE_READERR;
    return FILE_OK;
}

std::int32_t File::WriteChar(int c) {
    if (stream != nullptr) std::fputc(c & 0xFF, stream);
    if (!(flags & (FILE_WRITE | FILE_APPEND))) return FILE_NOWRITE;
    if (std::ferror(stream)) return FILE_WRITEERR;
    return FILE_OK;
}

std::int32_t File::ReadShort(std::uint16_t& value) {
    return Read(sizeof value, &value);
}

std::int32_t File::WriteShort(std::uint16_t value) {
    return Write(sizeof value, &value);
}

std::int32_t File::ReadLong(std::uint32_t& value) {
    return Read(sizeof value, &value);
}

std::int32_t File::WriteLong(std::uint32_t value) {
    return Write(sizeof value, &value);
}

int File::ReadLine(char* buffer) {
    if (stream == nullptr) {
        buffer[0] = '\0';
        return 1;
    }
    if (std::fgets(buffer, 500, stream) == nullptr) buffer[0] = '\0';
    return std::feof(stream) ? 1 : 0;
}

int File::WriteString(const char* text) {
    if (stream != nullptr) std::fputs(text, stream);
    return 0;
}

void File::Seek(std::int32_t position) {
    if (stream == nullptr) return;
    if (position == -1)
        std::fseek(stream, 0, SEEK_SET);
    else if (position == -2)
        std::fseek(stream, 0, SEEK_END);
    else
        std::fseek(stream, position, SEEK_SET);
}

std::int32_t File::Tell() {
    if (stream == nullptr) return -1;
    return static_cast<std::int32_t>(std::ftell(stream));
}

int File::EndOfFile() {
    if (stream == nullptr) return 1;
    return std::feof(stream) ? 1 : 0;
}
