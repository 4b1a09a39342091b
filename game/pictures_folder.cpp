#include "game/pictures_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/api/folder_link.h"
#include "platform/api/platform.h"
#include "shell/debugger.h"

namespace {

// The folder every picture name of the game begins with.
const char kPicturesFolder[] = "Images";

// Paths are kept as the system spells them, with no conversion that could
// fail: the system's own separator joins them, and the program's file may
// name its folder with either separator where the system takes both.
const char kSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
const char kSeparators[] = {kSeparator, '/', '\0'};

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The working folder, or "." when it cannot be read.
std::string WorkingFolder() {
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    std::string folder(size, '\0');
    const DWORD length = size > 0 ? GetCurrentDirectoryA(size, folder.data()) : 0;
    if (length == 0 || length >= size) return ".";
    folder.resize(length);
    return folder;
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
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return path;
    const std::string target = FolderLinkTarget(path.c_str());
    return target.empty() ? path : path + " (a link to " + target + ")";
}

}  // namespace

void RequirePicturesFolder() {
    if (IsFolder(kPicturesFolder)) return;
    const std::string working = WorkingFolder();
    std::vector<std::string> lookedFor = {PicturesIn(working)};
    const std::string program = ProgramFolder();
    if (!program.empty() && PicturesIn(program) != lookedFor[0]) {
        if (IsFolder(PicturesIn(program)) && SetCurrentDirectoryA(program.c_str())) return;
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
