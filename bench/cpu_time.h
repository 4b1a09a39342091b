// This process's CPU time, and the median time of a routine over repeated runs
// of it, for benchmarks that run where Google Benchmark does not (Windows).
#pragma once

#include <algorithm>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <ctime>
#endif

// Seconds of CPU time this process has used.
inline double CpuSeconds() {
#ifdef _WIN32
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    const auto ticks = [](const FILETIME& t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
#else
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

// What CpuSeconds reads, for the report.
inline const char* CpuTimeSource() {
#ifdef _WIN32
    return "GetProcessTimes";
#else
    return "CLOCK_PROCESS_CPUTIME_ID";
#endif
}

// Nanoseconds per call of a routine, called until at least `seconds` of CPU
// time have passed.
inline double NanosecondsPerCall(void (*routine)(), double seconds) {
    long calls = 0;
    const double start = CpuSeconds();
    double elapsed = 0;
    // Batches of calls, so that a coarse clock (Windows counts in scheduler
    // ticks) is read rarely against the time measured.
    for (long batch = 1; elapsed < seconds; batch *= 2) {
        for (long i = 0; i < batch; ++i) routine();
        calls += batch;
        elapsed = CpuSeconds() - start;
    }
    return elapsed * 1e9 / static_cast<double>(calls);
}

inline double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
