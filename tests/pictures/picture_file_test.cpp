// PictureFile as a game meets it: names written as on Windows, and every file
// it cannot load leaves an empty picture for the purpose, a reason and a log
// line, and no box.
#include "pictures/picture_file.h"

#include <filesystem>
#include <string>

#include "display/pixel_format.h"
#include "gtest/gtest.h"
#include "image/image.h"
#include "pictures/png_io.h"
#include "platform/headless/control.h"
#include "tests/support/engine_fixture.h"

namespace {

class PictureFileTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
    }

    // A 2 x 1 RGBA picture: opaque red, then transparent green.
    static void WriteRedAndClear(const std::string& path) {
        png_io::PngImage picture;
        picture.width = 2;
        picture.height = 1;
        picture.hasAlpha = true;
        picture.pixels = {255, 0, 0, 255, 0, 255, 0, 0};
        std::string error;
        ASSERT_TRUE(png_io::WritePng(path, picture, error)) << error;
    }

    // Load must fail with this reason, leave an empty picture for the purpose,
    // log it and show no box.
    static void ExpectRefused(const char* name, const std::string& reason) {
        SCOPED_TRACE(name);
        Image image;
        WriteRedAndClear("good.png");
        PictureFile file;
        ASSERT_TRUE(file.Load("good.png", &image, DRAW_MASKED));
        EXPECT_FALSE(file.Load(name, &image, DRAW_ALPHA));
        EXPECT_EQ(file.Problem(), reason);
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
        EXPECT_EQ(image.Words(), nullptr);
        EXPECT_EQ(image.purpose, DRAW_ALPHA);
        EXPECT_NE(
            ReadDebugLog().find("PictureFile::Load: " + std::string(name) + ": " + reason + "\n"),
            std::string::npos)
            << ReadDebugLog();
        EXPECT_TRUE(headless::MessageBoxes().empty());
    }
};

TEST_F(PictureFileTest, LoadsAPngNamedWithBackslashesForItsPurpose) {
    std::filesystem::create_directory("Images");
    WriteRedAndClear("Images/ship.png");
    Image ship;
    PictureFile file;
    ASSERT_TRUE(file.Load("Images\\ship.png", &ship, DRAW_MASKED)) << file.Problem();
    ASSERT_EQ(ship.width, 2);
    ASSERT_EQ(ship.height, 1);
    EXPECT_EQ(ship.purpose, DRAW_MASKED);
    ASSERT_NE(ship.Words(), nullptr);
    // Red on 5:6:5, and the transparent pixel the colour key.
    EXPECT_EQ(ship.Words()[0], 0xF800);
    EXPECT_EQ(ship.Words()[1], 0);
    EXPECT_TRUE(file.Notes().empty());
}

TEST_F(PictureFileTest, WhatItCannotLoadLeavesAnEmptyPictureAndALogLine) {
    ExpectRefused("Images\\missing.png", "the file cannot be read");

    std::FILE* text = std::fopen("notes.txt", "wb");
    ASSERT_NE(text, nullptr);
    std::fputs("not a picture\n", text);
    std::fclose(text);
    ExpectRefused("notes.txt", "neither a PNG nor a TIFF file; save it as PNG or TIFF first");

    png_io::PngImage wide;
    wide.width = 131073;
    wide.height = 1;
    wide.pixels.assign(std::size_t(wide.width) * 3, 7);
    std::string error;
    ASSERT_TRUE(png_io::WritePng("wide.png", wide, error)) << error;
    ExpectRefused("wide.png",
                  "the picture is 131073 x 1 pixels; the engine holds at most 131072 a side and "
                  "67108864 in all");

    const std::string longName = std::string(96, 'a') + ".png";
    ExpectRefused(longName.c_str(), "the name is longer than the engine's 99 characters");
}

TEST_F(PictureFileTest, NoImageOrNoNameIsRefusedWithoutACrash) {
    PictureFile file;
    EXPECT_FALSE(file.Load("good.png", nullptr, DRAW_PLAIN));
    EXPECT_EQ(file.Problem(), "no image to load into");
    Image image;
    EXPECT_FALSE(file.Load(nullptr, &image, DRAW_PLAIN));
    EXPECT_EQ(file.Problem(), "the file cannot be read");
    EXPECT_EQ(image.purpose, DRAW_PLAIN);
}

}  // namespace
