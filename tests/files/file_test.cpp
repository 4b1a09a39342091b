#include "files/file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/engine_fixture.h"

namespace {

namespace fs = std::filesystem;

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

using FileTest = EngineTest;

// What the stream that Open chose allows, observed on a file holding "hello":
// a read at the start, then a write of 'X' after seeking to the start.
struct Observed {
    bool readable;
    bool writable;
    std::string contentAfterWrite;
};

Observed Observe(File& file) {
    Observed seen{};
    std::FILE* s = file.stream;
    std::fseek(s, 0, SEEK_SET);
    std::clearerr(s);
    std::fgetc(s);
    seen.readable = !std::ferror(s);
    std::fseek(s, 0, SEEK_SET);
    std::clearerr(s);
    const int put = std::fputc('X', s);
    seen.writable = put != EOF && std::fflush(s) == 0 && !std::ferror(s);
    file.Close();
    seen.contentAfterWrite = ReadFileText("data.bin");
    return seen;
}

struct ModeCase {
    const char* label;
    std::int32_t flags;
    bool fileExists;
    bool readable;
    bool writable;
    const char* content;  // after a write of 'X' at offset 0 over "hello"
    const char* log;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << c.label;
}

class FileModeTest : public EngineTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(FileModeTest, OpensWithTheModeItsFlagsCallFor) {
    const ModeCase& c = GetParam();
    if (c.fileExists) WriteBytes("data.bin", "hello");
    File file;
    ASSERT_EQ(file.Open("data.bin", c.flags), FILE_OK);
    EXPECT_EQ(file.flags, c.flags);
    EXPECT_STREQ(file.name, "data.bin");
    const Observed seen = Observe(file);
    EXPECT_EQ(seen.readable, c.readable);
    EXPECT_EQ(seen.writable, c.writable);
    EXPECT_EQ(seen.contentAfterWrite, c.content);
    EXPECT_EQ(ReadDebugLog(), c.log);
    EXPECT_EQ(file.flags, FILE_NOTOPEN);
}

const char kLeaveEofWarning[] =
    "File::Open: (Warning only) FILE_LEAVEEOF only has meaning with FILE_APPEND.\n  ";
const char kAutocreateWarning[] =
    "File::Open: (Warning only) FILE_AUTOCREATE has no meaning when using FILE_READ without "
    "FILE_APPEND or FILE_WRITE.\n  ";

INSTANTIATE_TEST_SUITE_P(
    Modes, FileModeTest,
    ::testing::Values(
        ModeCase{"rb", FILE_READ | RANDOM, true, true, false, "hello", ""},
        ModeCase{"rt", FILE_READ | SEQUENTIAL, true, true, false, "hello", ""},
        ModeCase{"rb_autocreate_warns", FILE_READ | FILE_AUTOCREATE | RANDOM, true, true, false,
                 "hello", kAutocreateWarning},
        ModeCase{"rb_leaveeof_warns", FILE_READ | FILE_LEAVEEOF | RANDOM, true, true, false,
                 "hello", kLeaveEofWarning},
        ModeCase{"wb_empties", FILE_WRITE | RANDOM, true, false, true, "X", ""},
        ModeCase{"wb_autocreate_empties", FILE_WRITE | FILE_AUTOCREATE | RANDOM, true, false, true,
                 "X", ""},
        ModeCase{"wb_creates", FILE_WRITE | FILE_AUTOCREATE | RANDOM, false, false, true, "X", ""},
        ModeCase{"r_plus_t_keeps", FILE_READ | FILE_WRITE | SEQUENTIAL, true, true, true, "Xello",
                 ""},
        ModeCase{"w_plus_t_empties", FILE_READ | FILE_WRITE | FILE_AUTOCREATE | SEQUENTIAL, true,
                 true, true, "X", ""},
        ModeCase{"w_plus_b_creates", FILE_READ | FILE_WRITE | FILE_AUTOCREATE | RANDOM, false, true,
                 true, "X", ""},
        ModeCase{"a_plus_b", FILE_APPEND | RANDOM, true, true, true, "helloX", ""},
        ModeCase{"ab", FILE_APPEND | FILE_LEAVEEOF | RANDOM, true, false, true, "helloX", ""},
        ModeCase{"ab_creates", FILE_APPEND | FILE_LEAVEEOF | FILE_AUTOCREATE | RANDOM, false, false,
                 true, "X", ""},
        ModeCase{"a_plus_b_creates", FILE_APPEND | FILE_AUTOCREATE | RANDOM, false, true, true, "X",
                 ""},
        ModeCase{"wb_leaveeof_warns", FILE_WRITE | FILE_LEAVEEOF | RANDOM, true, false, true, "X",
                 kLeaveEofWarning}),
    [](const ::testing::TestParamInfo<ModeCase>& info) { return info.param.label; });

struct NotFoundCase {
    const char* label;
    std::int32_t flags;
    const char* log;
};

void PrintTo(const NotFoundCase& c, std::ostream* os) {
    *os << c.label;
}

class FileNotFoundTest : public EngineTest, public ::testing::WithParamInterface<NotFoundCase> {};

TEST_P(FileNotFoundTest, MissingFileIsLoggedAndReturnedWithTheFileLeftClosed) {
    const NotFoundCase& c = GetParam();
    File file;
    EXPECT_EQ(file.Open("missing.bin", c.flags), FILE_NOTFOUND);
    EXPECT_EQ(file.flags, FILE_NOTOPEN);
    EXPECT_STREQ(file.name, "");
    EXPECT_EQ(file.stream, nullptr);
    EXPECT_FALSE(fs::exists("missing.bin"));
    EXPECT_EQ(ReadDebugLog(), c.log);
    file.Close();
    EXPECT_EQ(file.flags, FILE_NOTOPEN);
}

INSTANTIATE_TEST_SUITE_P(
    Missing, FileNotFoundTest,
    ::testing::Values(
        NotFoundCase{"read", FILE_READ | RANDOM, "File::Open: File does not exist for read.\n  "},
        NotFoundCase{"read_autocreate", FILE_READ | FILE_AUTOCREATE | RANDOM,
                     "File::Open: (Warning only) FILE_AUTOCREATE has no meaning when using "
                     "FILE_READ without FILE_APPEND or FILE_WRITE.\n  File::Open: File does not "
                     "exist for read.\n  "},
        NotFoundCase{"write", FILE_WRITE | RANDOM,
                     "File::Open: File does not exist for write (Use FILE_AUTOCREATE is "
                     "desired).\n  "},
        NotFoundCase{"read_write", FILE_READ | FILE_WRITE | SEQUENTIAL,
                     "File::Open: File does not exist for read/write. (Use FILE_AUTOCREATE if "
                     "desired)\n  "},
        NotFoundCase{"append", FILE_APPEND | FILE_LEAVEEOF | RANDOM,
                     "File::Open: File does not exist for append. (Use FILE_AUTOCREATE if "
                     "desired)\n  "},
        // The direction step runs first, so a missing file is reported before the
        // misused flags that would otherwise end the process.
        NotFoundCase{"no_access_mode", FILE_READ, "File::Open: File does not exist for read.\n  "},
        NotFoundCase{"with_notopen", FILE_READ | FILE_NOTOPEN | RANDOM,
                     "File::Open: File does not exist for read.\n  "},
        NotFoundCase{"both_access_modes", FILE_WRITE | RANDOM | SEQUENTIAL,
                     "File::Open: File does not exist for write (Use FILE_AUTOCREATE is "
                     "desired).\n  "}),
    [](const ::testing::TestParamInfo<NotFoundCase>& info) { return info.param.label; });

struct MisuseCase {
    const char* label;
    std::int32_t flags;
    const char* path;
    const char* log;
};

void PrintTo(const MisuseCase& c, std::ostream* os) {
    *os << c.label;
}

class FileMisuseDeathTest : public EngineTest, public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(FileMisuseDeathTest, EndsTheProcessWithStatusMinusOneAfterTheLogLine) {
    const MisuseCase& c = GetParam();
    WriteBytes("data.bin", "hello");
    EXPECT_EXIT(
        {
            File file;
            file.Open(c.path, c.flags);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(ReadDebugLog(), std::string(c.log) + "  ");
    EXPECT_EQ(ReadFileText("data.bin"), "hello");
}

INSTANTIATE_TEST_SUITE_P(
    Misuse, FileMisuseDeathTest,
    ::testing::Values(
        MisuseCase{"append_and_read", FILE_APPEND | FILE_READ | RANDOM, "data.bin",
                   "File::Open: Cannot open file in both APPEND and READ modes.\n"},
        MisuseCase{"append_and_write", FILE_APPEND | FILE_WRITE | RANDOM, "data.bin",
                   "File::Open: Cannot open file in both APPEND and WRITE modes.\n"},
        MisuseCase{"no_direction", RANDOM | FILE_AUTOCREATE, "data.bin",
                   "File::Open: Must open file using FILE_APPEND, FILE_READ, or FILE_WRITE.\n"},
        MisuseCase{"notopen", FILE_NOTOPEN | FILE_READ | RANDOM, "data.bin",
                   "File::Open: Cannot open a file using FILE_NOTOPEN command!!\n"},
        MisuseCase{"both_access_modes", FILE_READ | RANDOM | SEQUENTIAL, "data.bin",
                   "File::Open: Cannot open in SEQUENTIAL and RANDOM access modes.\n"},
        MisuseCase{"no_access_mode", FILE_READ, "data.bin",
                   "File::Open: Must open in SEQUENTIAL or RANDOM access mode.\n"},
        MisuseCase{"unopenable", FILE_WRITE | FILE_AUTOCREATE | RANDOM, "no-folder/data.bin",
                   "File::Open: Unable to open file (reason unknown)\n"}),
    [](const ::testing::TestParamInfo<MisuseCase>& info) { return info.param.label; });

TEST_F(FileTest, BackslashPathsReachTheFileAndTheNameKeepsThem) {
    fs::create_directories("Images");
    WriteBytes("Images/pic.bin", "abc");
    EXPECT_EQ(File::Exists("Images\\pic.bin"), FILE_FOUND);
    EXPECT_EQ(File::Exists("Images\\none.bin"), FILE_NOTFOUND);
    File file;
    ASSERT_EQ(file.Open("Images\\pic.bin", FILE_READ | RANDOM), FILE_OK);
    EXPECT_STREQ(file.name, "Images\\pic.bin");
    char bytes[3];
    EXPECT_EQ(file.Read(3, bytes), FILE_OK);
    EXPECT_EQ(std::string(bytes, 3), "abc");
}

TEST_F(FileTest, PathsOfAHundredCharactersAreRefusedWithoutTouchingTheDisk) {
    const std::string longest(99, 'p');
    const std::string tooLong(100, 'p');
    File file;
    EXPECT_EQ(file.Open(tooLong.c_str(), FILE_WRITE | FILE_AUTOCREATE | RANDOM), FILE_NOTFOUND);
    EXPECT_FALSE(fs::exists(tooLong));
    EXPECT_EQ(file.flags, FILE_NOTOPEN);
    EXPECT_EQ(ReadDebugLog(), "File::Open: File name is too long (99 characters at most).\n  ");

    ASSERT_EQ(file.Open(longest.c_str(), FILE_WRITE | FILE_AUTOCREATE | RANDOM), FILE_OK);
    EXPECT_EQ(std::string(file.name), longest);
    file.Close();
    EXPECT_TRUE(fs::exists(longest));
}

TEST_F(FileTest, OpeningAgainClosesTheStreamHeldBefore) {
    File file;
    ASSERT_EQ(file.Open("first.bin", FILE_WRITE | FILE_AUTOCREATE | RANDOM), FILE_OK);
    EXPECT_EQ(file.WriteString("kept"), 0);
    ASSERT_EQ(file.Open("second.bin", FILE_WRITE | FILE_AUTOCREATE | RANDOM), FILE_OK);
    // The first stream was flushed and closed, not dropped.
    EXPECT_EQ(ReadFileText("first.bin"), "kept");
    EXPECT_STREQ(file.name, "second.bin");
}

TEST_F(FileTest, ReadsRunningIntoTheEndReportEofOnlyOncePastIt) {
    WriteBytes("data.bin", "abcdef");
    File file("data.bin", FILE_READ | RANDOM);
    ASSERT_EQ(file.flags, FILE_READ | RANDOM);
    char buffer[4] = {};

    // A zero-byte read transfers nothing: a read error before the end...
    EXPECT_EQ(file.Read(0, buffer), FILE_READERR);
    EXPECT_EQ(file.Read(4, buffer), FILE_OK);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    // ...exactly the last bytes leave the indicator clear...
    EXPECT_EQ(file.Read(2, buffer), FILE_OK);
    EXPECT_EQ(file.EndOfFile(), 0);
    // ...and the next read sets it.
    EXPECT_EQ(file.Read(4, buffer), FILE_EOF);
    EXPECT_NE(file.EndOfFile(), 0);
    EXPECT_EQ(file.Read(0, buffer), FILE_EOF);

    // A short read keeps the bytes that were there.
    file.Seek(4);
    EXPECT_EQ(file.Read(4, buffer), FILE_EOF);
    EXPECT_EQ(std::string(buffer, 2), "ef");
}

TEST_F(FileTest, ReadCharGivesEachByteThenFfAtTheEnd) {
    WriteBytes("data.bin", std::string("\x01\xfe", 2));
    File file("data.bin", FILE_READ | RANDOM);
    std::uint8_t c = 0;
    EXPECT_EQ(file.ReadChar(c), FILE_OK);
    EXPECT_EQ(c, 0x01);
    EXPECT_EQ(file.ReadChar(c), FILE_OK);
    EXPECT_EQ(c, 0xFE);
    EXPECT_EQ(file.EndOfFile(), 0);
    EXPECT_EQ(file.ReadChar(c), FILE_EOF);
    EXPECT_EQ(c, 0xFF);
}

TEST_F(FileTest, ShortsAndLongsTravelAsRawHostOrderBytes) {
    {
        File out("data.bin", FILE_WRITE | FILE_AUTOCREATE | RANDOM);
        EXPECT_EQ(out.WriteShort(0x1234), FILE_OK);
        EXPECT_EQ(out.WriteLong(0x89ABCDEFu), FILE_OK);
        EXPECT_EQ(out.WriteChar(0x141), FILE_OK);
    }
    EXPECT_EQ(ReadFileText("data.bin"), std::string("\x34\x12\xEF\xCD\xAB\x89\x41", 7));
    File in("data.bin", FILE_READ | RANDOM);
    std::uint16_t s = 0;
    std::uint32_t l = 0;
    EXPECT_EQ(in.ReadShort(s), FILE_OK);
    EXPECT_EQ(in.ReadLong(l), FILE_OK);
    EXPECT_EQ(s, 0x1234);
    EXPECT_EQ(l, 0x89ABCDEFu);
}

TEST_F(FileTest, TransfersAgainstTheDirectionReportTheMissingFlag) {
    WriteBytes("data.bin", "hello");
    File reader("data.bin", FILE_READ | RANDOM);
    EXPECT_EQ(reader.Write(1, "x"), FILE_NOWRITE);
    EXPECT_EQ(reader.WriteChar('x'), FILE_NOWRITE);
    reader.Close();
    EXPECT_EQ(ReadFileText("data.bin"), "hello");

    File writer("out.bin", FILE_WRITE | FILE_AUTOCREATE | RANDOM);
    char buffer[2];
    std::uint8_t c;
    EXPECT_EQ(writer.Read(2, buffer), FILE_NOREAD);
    EXPECT_EQ(writer.ReadChar(c), FILE_NOREAD);
    File appender("out.bin", FILE_APPEND | RANDOM);
    EXPECT_EQ(appender.Write(2, "ok"), FILE_OK);
    // Transfers never log.
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(FileTest, SeekToStartAndEndAndTell) {
    WriteBytes("data.bin", "0123456789");
    File file("data.bin", FILE_READ | RANDOM);
    file.Seek(-2);
    EXPECT_EQ(file.Tell(), 10);
    file.Seek(-1);
    EXPECT_EQ(file.Tell(), 0);
    file.Seek(7);
    std::uint8_t c = 0;
    file.ReadChar(c);
    EXPECT_EQ(c, '7');
    EXPECT_EQ(file.Tell(), 8);
}

TEST_F(FileTest, LinesAndStrings) {
    {
        File out("text.txt", FILE_WRITE | FILE_AUTOCREATE | SEQUENTIAL);
        EXPECT_EQ(out.WriteString("first\n"), 0);
        EXPECT_EQ(out.WriteString("last"), 0);
    }
    File in("text.txt", FILE_READ | SEQUENTIAL);
    char line[500];
    EXPECT_EQ(in.ReadLine(line), 0);
    EXPECT_STREQ(line, "first\n");
    // The last line has no newline: the read stops at the end of the file.
    EXPECT_EQ(in.ReadLine(line), 1);
    EXPECT_STREQ(line, "last");
}

TEST_F(FileTest, LongLinesComeInPiecesOf499Characters) {
    WriteBytes("text.txt", std::string(600, 'a') + "\n");
    File in("text.txt", FILE_READ | SEQUENTIAL);
    std::vector<char> line(500, 'z');
    EXPECT_EQ(in.ReadLine(line.data()), 0);
    EXPECT_EQ(std::string(line.data()), std::string(499, 'a'));
    EXPECT_EQ(in.ReadLine(line.data()), 0);
    EXPECT_EQ(std::string(line.data()), std::string(101, 'a') + "\n");
}

TEST_F(FileTest, ExistsLeavesTheFileAlone) {
    WriteBytes("data.bin", "x");
    File file;
    EXPECT_EQ(file.Exists("data.bin"), FILE_FOUND);
    EXPECT_EQ(file.Exists("nothing.bin"), FILE_NOTFOUND);
    EXPECT_EQ(file.flags, FILE_NOTOPEN);
    EXPECT_STREQ(file.name, "");
}

}  // namespace
