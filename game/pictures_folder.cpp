#include "game/pictures_folder.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/api/platform.h"

#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace {

// The folder every picture name of the game begins with.
const char kPicturesFolder[] = "Images";

// The working folder as the system spells it (no conversion that could fail),
// or "." when it cannot be read.
std::string WorkingFolder() {
    char buffer[4096];
#ifdef _WIN32
    const char* folder = _getcwd(buffer, static_cast<int>(sizeof buffer));
#else
    const char* folder = getcwd(buffer, sizeof buffer);
#endif
    return folder != nullptr ? folder : ".";
}

}  // namespace

void RequirePicturesFolder() {
    std::error_code error;
    if (std::filesystem::is_directory(kPicturesFolder, error)) return;
#ifdef _WIN32
    const char separator = '\\';
#else
    const char separator = '/';
#endif
    std::string folder = WorkingFolder();
    if (folder.empty() || folder.back() != separator) folder += separator;
    folder += kPicturesFolder;
    const std::string text = "The game's pictures were not found: there is no folder\n" + folder +
                             "\n\nStart the game from the folder that holds its " +
                             kPicturesFolder + " folder.";
    MessageBoxA(nullptr, text.c_str(), "Corvane Error", MB_OK);
    std::exit(-1);
}
