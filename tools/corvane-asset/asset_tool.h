// What the commands of corvane-asset share: verdicts and exit statuses, error
// lines, purposes, and running the engine's loaders on a file by its short name.
#pragma once

#include <string>

namespace asset {

// What the engine does with a file.
enum class Outcome {
    Loads,         // loads the picture or sound in the file
    LoadsWrongly,  // loads without complaint, but not what the file holds
    Refused,       // refuses it (a picture: the game ends with exit code -1)
};

// Exit statuses: 0 loads, 1 the command failed, 2 refused, 3 loads wrongly.
constexpr int kExitError = 1;
int ExitStatus(Outcome outcome);
// "loads", "loads wrongly", "would be refused".
const char* OutcomeWords(Outcome outcome);

// Prints "corvane-asset: MESSAGE" on standard error; returns kExitError.
int Fail(const std::string& message);
// Prints "corvane-asset: note: MESSAGE" on standard error.
void Note(const std::string& message);

// True when an argument after the command is --help or -h.
bool WantsHelp(int argc, char** argv);

// Takes an argument that is no option as the command's input file, then as its
// output file. On an option or a third file returns false and sets error.
bool TakeFileArgument(const char* argument, const char*& in, const char*& out, std::string& error);

// The purpose named by plain, masked, alpha or additive (DRAW_PLAIN ...
// DRAW_ADDITIVE), 0 for any other word.
int ParsePurpose(const std::string& word);

// Makes the file's folder the working folder while it lives, so that the
// engine's loaders get the short name the game would give them; the engine's
// files take names of at most 99 characters.
class InFileFolder {
public:
    explicit InFileFolder(const std::string& path);
    ~InFileFolder();
    InFileFolder(const InFileFolder&) = delete;
    InFileFolder& operator=(const InFileFolder&) = delete;

    // The file's name within its folder.
    const char* Name() const { return name.c_str(); }
    // False when the name is too long for the engine.
    bool Fits() const;

private:
    std::string name;
    std::string previous;  // empty when the folder did not change
};

}  // namespace asset
