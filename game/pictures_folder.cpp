#include "game/pictures_folder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/api/platform.h"
#include "shell/debugger.h"

#ifdef _WIN32
#include <direct.h>
#include <sys/stat.h>
#else
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#endif

namespace {

// The folder every picture name of the game begins with.
const char kPicturesFolder[] = "Images";

// Paths are kept as the system spells them, with no conversion that could fail.
#ifdef _WIN32
const char kSeparator = '\\';
const char kSeparators[] = "\\/";
char* ReadWorkingFolder(char* buffer, int size) {
    return _getcwd(buffer, size);
}
bool EnterFolder(const std::string& folder) {
    return _chdir(folder.c_str()) == 0;
}
bool IsFolder(const std::string& path) {
    struct _stat info;
    return _stat(path.c_str(), &info) == 0 && (info.st_mode & _S_IFDIR) != 0;
}
#else
const char kSeparator = '/';
const char kSeparators[] = "/";
char* ReadWorkingFolder(char* buffer, int size) {
    return getcwd(buffer, size);
}
bool EnterFolder(const std::string& folder) {
    return chdir(folder.c_str()) == 0;
}
bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
#endif

// The working folder, or "." when it cannot be read.
std::string WorkingFolder() {
    char buffer[4096];
    const char* folder = ReadWorkingFolder(buffer, static_cast<int>(sizeof buffer));
    return folder != nullptr ? folder : ".";
}

// The folder holding the running program; empty when the system cannot tell.
std::string ProgramFolder() {
    char path[4096];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return "";
    const std::string file(path, length);
    const std::string::size_type cut = file.find_last_of(kSeparators);
    return cut == std::string::npos ? "" : file.substr(0, cut + 1);
}

std::string PicturesIn(std::string folder) {
    if (folder.empty() || folder.find_last_of(kSeparators) != folder.size() - 1)
        folder += kSeparator;
    return folder + kPicturesFolder;
}

// A folder looked for as the message names it: a link names where it leads too,
// since that is the folder that is missing.
std::string Described(const std::string& path) {
#ifndef _WIN32
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (!error) return path + " (a link to " + target.string() + ")";
    }
#endif
    return path;
}

}  // namespace

void RequirePicturesFolder() {
    if (IsFolder(kPicturesFolder)) return;
    const std::string working = WorkingFolder();
    std::vector<std::string> lookedFor = {PicturesIn(working)};
    const std::string program = ProgramFolder();
    if (!program.empty() && PicturesIn(program) != lookedFor[0]) {
        if (IsFolder(PicturesIn(program)) && EnterFolder(program)) return;
        lookedFor.push_back(PicturesIn(program));
    }

    // The box names a folder a line; the log, which players and their helpers
    // read once the box is gone, names them on one.
    std::string text =
        "The game's pictures were not found: there is no folder\n" + Described(lookedFor[0]);
    std::string line =
        "RequirePicturesFolder: The game's pictures were not found: there is no "
        "folder " +
        Described(lookedFor[0]);
    for (std::size_t i = 1; i < lookedFor.size(); ++i) {
        text += "\nnor\n" + Described(lookedFor[i]);
        line += " nor " + Described(lookedFor[i]);
    }
    Debug.Write((line + ".\n").c_str(), "");
    text += lookedFor.size() == 1
                ? "\n\nStart the game from the folder that holds its Images folder."
                : "\n\nKeep the Images folder beside the program, or start the game from the "
                  "folder that holds it.";
    MessageBoxA(nullptr, text.c_str(), "Corvane Error", MB_OK);
    std::exit(-1);
}
