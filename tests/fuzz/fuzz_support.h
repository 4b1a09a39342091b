// What the fuzz targets share: the engine set up once (the debug log sent to
// /dev/null, which a long run would fill, and the 5:6:5 display format images
// are converted to), the input as a file the engine's loaders can open, and a
// guard that turns the engine's deliberate exit on a file it refuses into an
// ordinary outcome of the run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace fuzz {

// How a guarded load ended: it returned, or the engine ended the process
// with `status` (the exit was caught and the process goes on).
struct Outcome {
    bool exited = false;
    int status = 0;
};

// Writes the input to a file of this process, named with the suffix, and
// returns its path.
const std::string& WriteInput(const std::uint8_t* data, std::size_t size, const char* suffix);

// Runs load. If it calls exit, the call returns to here instead, and every
// stream the load opened and left open is closed, so the leak checker stays
// useful. The objects load works on must live outside it: the frames between
// the exit and here are left without running their destructors.
Outcome RunGuarded(const std::function<void()>& load);

// Ends the run as a crash, naming the property that failed.
[[noreturn]] void Fail(const char* property, const char* file, int line);

}  // namespace fuzz

// A property every input must have; a failure is saved by the fuzzer like a crash.
#define FUZZ_CHECK(condition, property) \
    ((condition) ? (void)0 : fuzz::Fail(property, __FILE__, __LINE__))
