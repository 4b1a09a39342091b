/// @file
/// The engine's wrapper around one buffered standard I/O stream. Transfers are
/// raw: byte order is the caller's business (see ByteOrder).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

/// @name Flag bits of File::Open; the same set is kept in File::flags
///@{
constexpr std::int32_t FILE_NOTOPEN = 1;      ///< not open (File::flags only; Open refuses it)
constexpr std::int32_t RANDOM = 2;            ///< binary access
constexpr std::int32_t SEQUENTIAL = 4;        ///< text access
constexpr std::int32_t FILE_READ = 8;         ///< for reading
constexpr std::int32_t FILE_WRITE = 16;       ///< for writing
constexpr std::int32_t FILE_APPEND = 32;      ///< for adding at the end
constexpr std::int32_t FILE_AUTOCREATE = 64;  ///< made when missing (writing, appending)
constexpr std::int32_t FILE_LEAVEEOF = 128;   ///< with FILE_APPEND: only appending, no reading
///@}

/// @name Result codes of Open, Exists and the transfers
///@{
constexpr std::int32_t FILE_OK = 0;        ///< done
constexpr std::int32_t FILE_EOF = 1;       ///< the end of the file came first
constexpr std::int32_t FILE_READERR = 2;   ///< reading failed
constexpr std::int32_t FILE_WRITEERR = 3;  ///< writing failed
constexpr std::int32_t FILE_NOREAD = 4;    ///< the file is not open for reading
constexpr std::int32_t FILE_NOWRITE = 5;   ///< the file is not open for writing
constexpr std::int32_t FILE_NOTFOUND = 6;  ///< no such file (or none could be opened)
constexpr std::int32_t FILE_FOUND = 7;     ///< the file can be opened for reading
///@}

/// Size of the name field: paths hold at most 99 characters.
constexpr std::size_t FILE_NAME_SIZE = 100;

/// One file opened for reading, writing or appending, binary or text.
class File {
public:
    /// A File that is not open.
    File();
    /// Opens path with the flag set; the result is dropped.
    File(const char* path, std::int32_t flagSet);
    /// Closes the stream if one is open.
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    /// Checks the flag set, builds the stream mode and opens path. Returns FILE_OK
    /// or FILE_NOTFOUND (logged); misused flags and streams that cannot be
    /// opened end the process with exit status -1 after a log line.
    std::int32_t Open(const char* path, std::int32_t flagSet);
    /// Flushes and closes the stream; a closed File stays closed.
    void Close();
    /// FILE_FOUND if path can be opened for reading, else FILE_NOTFOUND.
    static std::int32_t Exists(const char* path);

    /// One item of count bytes; FILE_OK, FILE_EOF, FILE_READERR or FILE_NOREAD.
    std::int32_t Read(std::size_t count, void* buffer);
    /// One item of count bytes; FILE_OK, FILE_WRITEERR or FILE_NOWRITE.
    std::int32_t Write(std::size_t count, const void* buffer);
    /// One byte; at the end of the file the byte is 0xFF and the result FILE_EOF.
    std::int32_t ReadChar(std::uint8_t& c);
    /// Writes the low 8 bits of c.
    std::int32_t WriteChar(int c);
    ///@{
    /// Two and four raw bytes in host order, unconverted.
    std::int32_t ReadShort(std::uint16_t& value);
    std::int32_t WriteShort(std::uint16_t value);
    std::int32_t ReadLong(std::uint32_t& value);
    std::int32_t WriteLong(std::uint32_t value);
    ///@}
    /// One line of at most 499 characters into a buffer of at least 500 bytes,
    /// newline kept; returns 1 when the end of the file has been reached, else 0.
    int ReadLine(char* buffer);
    /// Writes text without adding a newline; always returns 0.
    int WriteString(const char* text);
    /// -1: start of the file; -2: end of the file; else that byte offset.
    void Seek(std::int32_t position);
    /// Current byte offset.
    std::int32_t Tell();
    /// Nonzero once a read has tried to go past the end of the file.
    int EndOfFile();

    std::int32_t flags = FILE_NOTOPEN;  ///< the flag set the file was opened with
    char name[FILE_NAME_SIZE] = {};     ///< the path as the caller gave it
    std::FILE* stream = nullptr;        ///< the open stream, owned; null when closed
};
