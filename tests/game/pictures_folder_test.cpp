// Where the game finds its pictures when it is not started beside them.
#include <filesystem>
#include <regex>
#include <string>

#include "platform/headless/control.h"
#include "tests/game/game_frame_fixture.h"
#include "tools/corvane-replay/game_reset.h"

namespace fs = std::filesystem;

namespace {

using gametest::GameFrameTest;

replay::Options StartIn(const std::string& folder, const fs::path& programFile) {
    replay::Options options;
    options.folder = folder;
    options.frames = 1;
    options.captureAt = {1};
    options.echoMessageBoxes = true;
    options.resetGame = replay::ResetGame;
    options.setUp = [programFile] { headless::SetProgramFile(programFile.string()); };
    return options;
}

std::string Escaped(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)");
}

TEST_F(GameFrameTest, StartedElsewhereItPlaysFromTheProgramsFolder) {
    fs::create_directories("elsewhere");
    fs::create_directories("program");
    fs::rename("Images", "program/Images");
    const fs::path program = fs::absolute("program");

    const replay::Result beside = replay::Run(StartIn("program", program / "corvane"));
    const std::string besideLog = ReadFileText("program/debug.txt");
    fs::remove("program/debug.txt");
    const replay::Result moved = replay::Run(StartIn("elsewhere", program / "corvane"));

    EXPECT_EQ(moved.exitCode, 0);
    EXPECT_TRUE(moved.messageBoxes.empty()) << moved.messageBoxes.front();
    ASSERT_EQ(moved.captures.size(), 1u);
    ASSERT_EQ(beside.captures.size(), 1u);
    EXPECT_TRUE(moved.captures[0].picture.pixels == beside.captures[0].picture.pixels);
    EXPECT_NE(besideLog.find("Initialization finished OK"), std::string::npos) << besideLog;
    EXPECT_EQ(ReadFileText("program/debug.txt"), besideLog);
}

TEST_F(GameFrameTest, WithoutPicturesOneBoxNamesEveryFolderLookedFor) {
    fs::create_directories("elsewhere");
    fs::create_directories("program");
    fs::create_symlink("../gone", "elsewhere/Images");
    fs::remove_all("Images");
    const fs::path working = fs::absolute("elsewhere");
    const fs::path program = fs::absolute("program");
    const std::string message =
        "\\[Corvane Error\\] The game's pictures were not found: there is no folder\n" +
        Escaped((working / "Images").string()) + " \\(a link to \\.\\./gone\\)\nnor\n" +
        Escaped((program / "Images").string()) +
        "\n\nKeep the Images folder beside the program, or start the game from the folder "
        "that holds it\\.\n";
    EXPECT_EXIT(replay::Run(StartIn("elsewhere", program / "corvane")),
                ::testing::ExitedWithCode(255), message);
    // The log of the folder the game stayed in says the same, on one line.
    EXPECT_EQ(ReadFileText("elsewhere/debug.txt"),
              "* Debugging Output *\nRequirePicturesFolder: The game's pictures were not found: "
              "there is no folder " +
                  (working / "Images").string() + " (a link to ../gone) nor " +
                  (program / "Images").string() + ".\n  ");
}

}  // namespace
