#include "tools/corvane-asset/asset_tool.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/file.h"
#include "image/image.h"

namespace asset {

int ExitStatus(Outcome outcome) {
    switch (outcome) {
        case Outcome::Loads:
            return 0;
        case Outcome::Refused:
            return 2;
        case Outcome::LoadsWrongly:
            return 3;
    }
    return kExitError;
}

const char* OutcomeWords(Outcome outcome) {
    switch (outcome) {
        case Outcome::Loads:
            return "loads";
        case Outcome::LoadsWrongly:
            return "loads wrongly";
        case Outcome::Refused:
            return "would be refused";
    }
    return "";
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "corvane-asset: %s\n", message.c_str());
    return kExitError;
}

void Note(const std::string& message) {
    std::fprintf(stderr, "corvane-asset: note: %s\n", message.c_str());
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

bool TakeFileArgument(const char* argument, const char*& in, const char*& out, std::string& error) {
    if (argument[0] == '-') {
        error = std::string("unknown option '") + argument + "'";
        return false;
    }
    if (in == nullptr) {
        in = argument;
    } else if (out == nullptr) {
        out = argument;
    } else {
        error = "one input and one output file, not '" + std::string(argument) + "' too";
        return false;
    }
    return true;
}

int ParsePurpose(const std::string& word) {
    if (word == "plain") return DRAW_PLAIN;
    if (word == "masked") return DRAW_MASKED;
    if (word == "alpha") return DRAW_ALPHA;
    if (word == "additive") return DRAW_ADDITIVE;
    return 0;
}

InFileFolder::InFileFolder(const std::string& path) {
    const std::filesystem::path file(path);
    name = file.filename().string();
    std::error_code error;
    if (!file.has_parent_path()) return;
    const std::filesystem::path here = std::filesystem::current_path(error);
    if (error) return;
    std::filesystem::current_path(file.parent_path(), error);
    if (error) {
        name = path;
        return;
    }
    previous = here.string();
}

InFileFolder::~InFileFolder() {
    std::error_code ignored;
    if (!previous.empty()) std::filesystem::current_path(previous, ignored);
}

bool InFileFolder::Fits() const {
    return name.size() < FILE_NAME_SIZE;
}

}  // namespace asset
