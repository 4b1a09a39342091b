// Where a window puts the engine's picture: as SDL's renderer lays out a
// logical size (whole numbers in a window, the aspect ratio kept in full
// screen), and the way back from a window pixel to the picture's.
#include "platform/sdl/sdl_picture_layout.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using sdl::PicturePlace;
using sdl::PlacePicture;

void ExpectPlace(const PicturePlace& place, int x, int y, int width, int height, int whole) {
    EXPECT_EQ(place.x, x);
    EXPECT_EQ(place.y, y);
    EXPECT_EQ(place.width, width);
    EXPECT_EQ(place.height, height);
    EXPECT_EQ(place.wholeScale, whole);
}

TEST(SdlPictureLayout, WindowsEnlargeByWholeNumbersAndFullScreenKeepsTheShape) {
    ExpectPlace(PlacePicture(800, 500, 1600, 1000, true), 0, 0, 1600, 1000, 2);
    // A window taller than twice the picture still shows it twice as large.
    ExpectPlace(PlacePicture(800, 500, 1700, 1300, true), 50, 150, 1600, 1000, 2);
    // A window smaller than the picture shows its middle.
    ExpectPlace(PlacePicture(800, 500, 700, 400, true), -50, -50, 800, 500, 1);
    // Full screen: bars above and below, or beside, and whole where it fits so.
    ExpectPlace(PlacePicture(800, 500, 2400, 1600, false), 0, 50, 2400, 1500, 3);
    ExpectPlace(PlacePicture(800, 500, 1920, 1080, false), 96, 0, 1728, 1080, 0);
    ExpectPlace(PlacePicture(160, 120, 1024, 768, false), 0, 0, 1024, 768, 0);
    ExpectPlace(PlacePicture(0, 500, 1024, 768, false), 0, 0, 0, 0, 0);
}

// Every window pixel inside the place lies over a canvas pixel and the bars over
// none; where the canvas is enlarged, its pixels come in order with none left out.
TEST(SdlPictureLayout, WindowPixelsLeadBackToThePixelsTheyShow) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int canvasWidth = 1 + static_cast<int>(random() % 300);
        const int canvasHeight = 1 + static_cast<int>(random() % 300);
        const int windowWidth = 1 + static_cast<int>(random() % 1200);
        const int windowHeight = 1 + static_cast<int>(random() % 1200);
        const bool whole = random() % 2 == 0;
        const PicturePlace place =
            PlacePicture(canvasWidth, canvasHeight, windowWidth, windowHeight, whole);
        SCOPED_TRACE(std::to_string(canvasWidth) + "x" + std::to_string(canvasHeight) + " in " +
                     std::to_string(windowWidth) + "x" + std::to_string(windowHeight));
        if (!whole) {
            EXPECT_LE(place.width, windowWidth);
            EXPECT_LE(place.height, windowHeight);
            EXPECT_TRUE(place.width == windowWidth || place.height == windowHeight);
        }
        const bool enlarged = place.width >= canvasWidth;
        int previous = -1;
        for (int x = place.x - 2; x < place.x + place.width + 2; ++x) {
            int canvasX = x;
            int canvasY = place.y;
            const bool inside = x >= place.x && x < place.x + place.width;
            ASSERT_EQ(sdl::CanvasPoint(place, canvasWidth, canvasHeight, canvasX, canvasY), inside)
                << "column " << x;
            if (!inside) continue;
            ASSERT_TRUE(canvasX >= previous && canvasX < canvasWidth) << "column " << x;
            if (enlarged) {
                ASSERT_LE(canvasX, previous + 1) << "column " << x;
            }
            if (place.wholeScale > 0) {
                ASSERT_EQ(canvasX, (x - place.x) / place.wholeScale);
            }
            previous = canvasX;
        }
        if (enlarged) {
            EXPECT_EQ(previous, canvasWidth - 1);
        }
    }
}

}  // namespace
