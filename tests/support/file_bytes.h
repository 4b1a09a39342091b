// Whole files as bytes, for tests that write inputs and read outputs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// Writes the bytes as the whole file, replacing what was there.
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
// The whole content of a file; empty when it cannot be read.
std::vector<std::uint8_t> ReadBytes(const std::string& path);

}  // namespace testsupport
