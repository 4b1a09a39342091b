#include "platform/common/program_file.h"

#include <cstring>
#include <filesystem>
#include <system_error>

namespace programfile {

std::string RunningProgram() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

DWORD CopyFileName(const std::string& path, LPSTR fileName, DWORD size) {
    if (fileName == nullptr || size == 0) return 0;
    if (path.size() < size) {
        std::memcpy(fileName, path.c_str(), path.size() + 1);
        return static_cast<DWORD>(path.size());
    }
    std::memcpy(fileName, path.data(), size - 1);
    fileName[size - 1] = '\0';
    return size;
}

}  // namespace programfile
