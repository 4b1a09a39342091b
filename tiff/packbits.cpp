#include "tiff/packbits.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kLongestRun = 127;

// Length of the run of equal bytes starting at data[at], at most kLongestRun.
std::size_t RunAt(const std::uint8_t* data, std::size_t size, std::size_t at) {
    std::size_t run = 1;
    while (at + run < size && run < kLongestRun && data[at + run] == data[at]) ++run;
    return run;
}

}  // namespace

void PackBitsEncode(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& out) {
    std::size_t at = 0;
    while (at < size) {
        const std::size_t run = RunAt(data, size, at);
        if (run >= 2) {
            out.push_back(static_cast<std::uint8_t>(1 - static_cast<int>(run)));
            out.push_back(data[at]);
            at += run;
            continue;
        }
        // A literal stretch ends where a run of three or more begins: a run of
        // two costs as much inside the literal as on its own.
        std::size_t end = at + 1;
        while (end < size && end - at < kLongestRun && RunAt(data, size, end) < 3) ++end;
        out.push_back(static_cast<std::uint8_t>(end - at - 1));
        out.insert(out.end(), data + at, data + end);
        at = end;
    }
}

bool PackBitsDecode(const std::uint8_t* data, std::size_t size, std::uint8_t* out,
                    std::size_t capacity, std::size_t& written) {
    written = 0;
    std::size_t at = 0;
    while (at < size) {
        const int header = static_cast<std::int8_t>(data[at++]);
        if (header >= 0) {
            const std::size_t count = static_cast<std::size_t>(header) + 1;
            if (count > size - at || count > capacity - written) return false;
            std::memcpy(out + written, data + at, count);
            at += count;
            written += count;
        } else if (header != -128) {
            const std::size_t count = static_cast<std::size_t>(1 - header);
            if (at >= size || count > capacity - written) return false;
            std::memset(out + written, data[at++], count);
            written += count;
        }
    }
    return true;
}
