#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "display/pixel_format.h"
#include "shell/debugger.h"

// The fuzz programs are linked with --wrap=exit, --wrap=fopen and --wrap=fclose:
// every call to these, in the engine and in libFuzzer alike, comes here first.
extern "C" {
[[noreturn]] void __real_exit(int status);
std::FILE* __real_fopen(const char* path, const char* mode);
int __real_fclose(std::FILE* stream);
[[noreturn]] void __wrap_exit(int status);
std::FILE* __wrap_fopen(const char* path, const char* mode);
int __wrap_fclose(std::FILE* stream);
}

namespace {

std::jmp_buf* guard = nullptr;        // set while a guarded load runs
int exitStatus = 0;                   // the status the load exited with
std::vector<std::FILE*> openStreams;  // opened by the guarded load, not closed yet

}  // namespace

extern "C" void __wrap_exit(int status) {
    if (guard == nullptr) __real_exit(status);
    exitStatus = status;
    std::longjmp(*guard, 1);
}

extern "C" std::FILE* __wrap_fopen(const char* path, const char* mode) {
    std::FILE* stream = __real_fopen(path, mode);
    if (stream != nullptr && guard != nullptr) openStreams.push_back(stream);
    return stream;
}

extern "C" int __wrap_fclose(std::FILE* stream) {
    openStreams.erase(std::remove(openStreams.begin(), openStreams.end(), stream),
                      openStreams.end());
    return __real_fclose(stream);
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Debug.Open("/dev/null");
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
    return 0;
}

namespace fuzz {

const std::string& WriteInput(const std::uint8_t* data, std::size_t size, const char* suffix) {
    static std::string path;
    if (path.empty()) {
        const char* folder = std::getenv("TMPDIR");
        path = std::string(folder != nullptr ? folder : "/tmp") + "/corvane-fuzz-" +
               std::to_string(getpid()) + suffix;
        // A run that ends normally leaves no input behind; a crash keeps the
        // last one, which the fuzzer has saved as well.
        std::atexit([] { std::remove(path.c_str()); });
    }
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) Fail("the input can be written to a file", __FILE__, __LINE__);
    if (size > 0) std::fwrite(data, 1, size, out);
    std::fclose(out);
    return path;
}

Outcome RunGuarded(const std::function<void()>& load) {
    Outcome outcome;
    std::jmp_buf here;
    if (setjmp(here) == 0) {
        guard = &here;
        load();
    } else {
        outcome.exited = true;
        outcome.status = exitStatus;
    }
    guard = nullptr;
    // What the load's files would have closed in their destructors.
    while (!openStreams.empty()) std::fclose(openStreams.back());
    return outcome;
}

void Fail(const char* property, const char* file, int line) {
    std::fprintf(stderr, "fuzz: property failed: %s (%s:%d)\n", property, file, line);
    std::abort();
}

}  // namespace fuzz
