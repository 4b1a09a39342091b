// The working folder and file attributes of kernel32, over the system's own
// POSIX calls, for every backend without Windows.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/api/folder_link.h"
#include "platform/api/platform.h"

namespace {

// The working folder, however long; empty when it cannot be read.
std::string WorkingFolder() {
    std::string folder(256, '\0');
    while (getcwd(folder.data(), folder.size()) == nullptr) {
        if (errno != ERANGE) return "";
        folder.resize(folder.size() * 2);
    }
    folder.resize(std::strlen(folder.c_str()));
    return folder;
}

}  // namespace

// As on Windows: the length copied without its terminating null, or, when the
// buffer is too small, the size it must have with the null and nothing copied;
// 0 when the folder cannot be read.
DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    const std::string folder = WorkingFolder();
    if (folder.empty()) return 0;
    const DWORD length = static_cast<DWORD>(folder.size());
    if (buffer == nullptr || bufferLength <= length) return length + 1;
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return length;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR pathName) {
    return pathName != nullptr && chdir(pathName) == 0 ? TRUE : FALSE;
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    struct stat link;
    if (fileName == nullptr || lstat(fileName, &link) != 0) return INVALID_FILE_ATTRIBUTES;
    DWORD attributes = 0;
    if (S_ISLNK(link.st_mode)) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    struct stat target;
    if (stat(fileName, &target) == 0 && S_ISDIR(target.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}

std::string FolderLinkTarget(const char* path) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = path != nullptr ? readlink(path, target.data(), target.size()) : -1;
        if (length < 0) return "";
        // readlink does not say when it cut the target short: a full buffer may have.
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}
