// Corvane example: camera
//
// Shows:    a wireframe house turned by a matrix every frame and seen through
//           the camera: vectors (VectorF) for the corners, matrices (MatrixF)
//           for the turn, the camera (Camera) to orbit and project, and lines
//           drawn a pixel at a time (DrawPixel).
// Controls: arrow keys orbit the camera, A and Z move it nearer and farther,
//           Space stops and starts the turning, Escape quits.
// Assets:   none: everything is drawn with pixels.
// Test:     keys "left:20,up:15,a:12,space:1" frame 60
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "corvane.h"

namespace {

// The house in world units, z up: a cube from -50 to 50 and a roof to 100.
const VectorF kCorners[] = {{-50, -50, -50}, {50, -50, -50}, {50, 50, -50}, {-50, 50, -50},
                            {-50, -50, 50},  {50, -50, 50},  {50, 50, 50},  {-50, 50, 50},
                            {0, -50, 100},   {0, 50, 100}};
const int kEdges[][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4},
                         {1, 5}, {2, 6}, {3, 7}, {4, 8}, {5, 8}, {6, 9}, {7, 9}, {8, 9}};

Camera camera;
double azimuth = 30, elevation = 25, distance = 900;  // degrees, degrees, world units
double turn = 0;                                      // the house's own angle, degrees
bool turning = true;

// DrawPixel always stores (r << 10) + (g << 5) + b, the 5:5:5 layout, whatever
// the display's format; a word of the display's own format is split that way.
void Plot(int x, int y, int r8, int g8, int b8) {
    const int word = ((r8 >> (8 - RedBits)) << RedShift) | ((g8 >> (8 - GreenBits)) << GreenShift) |
                     ((b8 >> (8 - BlueBits)) << BlueShift);
    Corvane.DrawPixel(x, y, word >> 10, (word >> 5) & 31, word & 31);
}

// A straight line, one pixel per step along its longer side. DrawPixel keeps
// to the frame, so a line may run off the screen.
void Line(int x0, int y0, int x1, int y1, int r8, int g8, int b8) {
    const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i <= steps; ++i)
        Plot(x0 + (x1 - x0) * i / std::max(steps, 1), y0 + (y1 - y0) * i / std::max(steps, 1), r8,
             g8, b8);
}

// A 4 x 4 matrix that turns points by `degrees` in the plane of two axes (0 x,
// 1 y, 2 z): Turn(0, 1, d) turns about z, from x towards y. Points are rows
// multiplied from the left, so the sines sit this way round.
MatrixF Turn(int a, int b, double degrees) {
    MatrixF m(4, 4);
    for (int i = 0; i < 4; ++i) m(i, i) = 1;
    const double c = std::cos(degrees * CAMERA_DEGREES), s = std::sin(degrees * CAMERA_DEGREES);
    m(a, a) = c;
    m(a, b) = s;
    m(b, a) = -s;
    m(b, b) = c;
    return m;
}

// The keys held and typed move the camera and start or stop the turning;
// true once Escape was typed.
bool Steer() {
    if (Corvane.IsKeyDown(VK_LEFT)) azimuth -= 1.5;
    if (Corvane.IsKeyDown(VK_RIGHT)) azimuth += 1.5;
    if (Corvane.IsKeyDown(VK_UP) && elevation < 85) elevation += 1;
    if (Corvane.IsKeyDown(VK_DOWN) && elevation > -85) elevation -= 1;
    if (Corvane.IsKeyDown('A') && distance > 300) distance -= 6;
    if (Corvane.IsKeyDown('Z') && distance < 1500) distance += 6;
    bool quit = false;
    for (char c = Corvane.GetKey(); c != 0; c = Corvane.GetKey()) {
        if (c == ' ') turning = !turning;
        if (c == VK_ESCAPE) quit = true;
    }
    return quit;
}

// The ground, 50 below the house: a grid of lines, each drawn only when both
// its ends are in front of the eye.
void DrawGround() {
    for (int g = -200; g <= 200; g += 40) {
        int ax, ay, bx, by;
        double ad, bd;
        camera.Project(VectorF(g, -200, -50), ax, ay, ad);
        camera.Project(VectorF(g, 200, -50), bx, by, bd);
        if (ad > 0 && bd > 0) Line(ax, ay, bx, by, 40, 90, 60);
        camera.Project(VectorF(-200, g, -50), ax, ay, ad);
        camera.Project(VectorF(200, g, -50), bx, by, bd);
        if (ad > 0 && bd > 0) Line(ax, ay, bx, by, 40, 90, 60);
    }
}

// Every corner turned and projected, then the edges between them, the walls
// blue and the roof orange, brighter the nearer they are.
void DrawHouse() {
    // The house turns about its upright and leans back a little: two matrices
    // multiplied into one, applied in that order.
    MatrixF place = Turn(0, 1, turn);
    place *= Turn(1, 2, 12);
    int sx[10], sy[10];
    double depth[10];
    for (int i = 0; i < 10; ++i) {
        VectorF corner = kCorners[i];
        corner.Transform(place);
        camera.Project(corner, sx[i], sy[i], depth[i]);
    }
    for (const auto& e : kEdges) {
        if (depth[e[0]] <= 0 || depth[e[1]] <= 0) continue;  // behind the eye
        const double closeness = (distance + 120 - (depth[e[0]] + depth[e[1]]) / 2) / 240;
        const double light = 0.45 + 0.55 * std::min(1.0, std::max(0.0, closeness));
        const bool roof = e[1] >= 8;
        Line(sx[e[0]], sy[e[0]], sx[e[1]], sy[e[1]], static_cast<int>(light * (roof ? 255 : 140)),
             static_cast<int>(light * (roof ? 170 : 190)),
             static_cast<int>(light * (roof ? 80 : 255)));
    }
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, 800, 500);
    camera.SetViewport(0, 0, 800, 500);
    // The view window is 0.6 of the near distance wide: a narrower field
    // of view than the default, so the house is not stretched at the edges.
    camera.SetViewSize(0.6);
}

int run() {
    // Update
    const bool quit = Steer();
    if (turning) turn += 1;
    camera.Orbit(VectorF(azimuth, elevation, distance));  // round the origin, where it looks

    // Draw
    if (Corvane.LockSurface()) {
        Corvane.ClearScreen();
        DrawGround();
        DrawHouse();
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(Colour(255, 255, 255));
    Corvane.DrawText(8, 8, "arrows: orbit   A/Z: nearer/farther   Space: stop turning   Esc: quit");
    char status[96];
    std::snprintf(status, sizeof status, "azimuth %.0f   elevation %.0f   distance %.0f", azimuth,
                  elevation, distance);
    Corvane.SetTextColour(Colour(170, 200, 255));
    Corvane.DrawText(8, 476, status);

    // Escape ends the game once this frame is shown, as the close box does.
    if (quit) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
