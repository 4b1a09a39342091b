#include "math/camera.h"

#include <cmath>

#include "tests/support/engine_fixture.h"

namespace {

using CameraTest = EngineTest;

struct ScreenPoint {
    int x;
    int y;
    double depth;
};

ScreenPoint Project(Camera& camera, double x, double y, double z) {
    ScreenPoint p = {0, 0, 0.0};
    camera.Project(VectorF(x, y, z), p.x, p.y, p.depth);
    return p;
}

void ExpectNear(const VectorF& v, double x, double y, double z, double tolerance = 1e-9) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST_F(CameraTest, NewCameraProjectsTheWorldAxes) {
    Camera camera;
    const ScreenPoint origin = Project(camera, 0, 0, 0);
    EXPECT_EQ(origin.x, 400);
    EXPECT_EQ(origin.y, 300);
    const double eyeDistance = std::sqrt(150.0 * 150.0 * 2 + 40.0 * 40.0);
    EXPECT_NEAR(eyeDistance, 215.8703, 1e-4);
    EXPECT_NEAR(origin.depth, eyeDistance * 5000.0 / 4999.0, 1e-9);
    EXPECT_NEAR(origin.depth, 215.9135, 1e-4);

    const ScreenPoint xAxis = Project(camera, 10, 0, 0);
    EXPECT_EQ(xAxis.x, 425);
    EXPECT_EQ(xAxis.y, 296);
    const ScreenPoint zAxis = Project(camera, 0, 0, 10);
    EXPECT_EQ(zAxis.x, 400);
    EXPECT_EQ(zAxis.y, 264);
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(CameraTest, NewCameraState) {
    Camera camera;
    const double half = std::sqrt(0.5);
    ExpectNear(camera.side, half, -half, 0.0);
    ExpectNear(camera.from, -150.0, -150.0, 40.0, 0.0);
    ExpectNear(camera.up, 0.0, 0.0, 1.0, 0.0);
    EXPECT_NEAR(camera.dir.Dot(camera.dir), 1.0, 1e-12);
    EXPECT_EQ(camera.centerX, 400);
    EXPECT_EQ(camera.centerY, 300);
}

TEST_F(CameraTest, OrbitPlacesTheEyeAroundTheTarget) {
    Camera camera;
    camera.Orbit(VectorF(0, 0, 100));
    ExpectNear(camera.from, 0.0, -100.0, 0.0);
    ExpectNear(camera.dir, 0.0, 1.0, 0.0);

    // The degree factor takes pi as 3.141592, so a quarter turn is not exact.
    camera.Orbit(VectorF(90, 0, 100));
    ExpectNear(camera.from, -100.0, -0.0000327, 0.0, 1e-7);
    EXPECT_NE(camera.from.y, 0.0);

    camera.SetTo(VectorF(5, 5, 5));
    camera.Orbit(VectorF(0, 90, 10));
    ExpectNear(camera.from, 5.0, 5.0, 15.0, 1e-5);
}

TEST_F(CameraTest, DepthBeyondTheFarDistanceComesBackNegated) {
    Camera camera;
    camera.Orbit(VectorF(0, 0, 100));  // eye at (0, -100, 0) looking along +y
    // The depth is the distance along the view times 5000/4999.
    const ScreenPoint inside = Project(camera, 0, 4898.5, 0);
    EXPECT_NEAR(inside.depth, 4998.5 * 5000.0 / 4999.0, 1e-9);
    const ScreenPoint beyond = Project(camera, 0, 4899.5, 0);
    EXPECT_NEAR(beyond.depth, -4999.5 * 5000.0 / 4999.0, 1e-9);

    camera.SetFar(100000.0);
    EXPECT_GT(Project(camera, 0, 4899.5, 0).depth, 0.0);
}

TEST_F(CameraTest, ViewportCentreRoundsDown) {
    Camera camera;
    camera.SetViewport(0, 0, 801, 601);
    EXPECT_EQ(camera.centerX, 400);
    EXPECT_EQ(camera.centerY, 300);
    camera.SetViewport(10, 20, 7, 15);  // inverted: the halves round toward minus infinity
    EXPECT_EQ(camera.width, -3);
    EXPECT_EQ(camera.centerX, 8);
    EXPECT_EQ(camera.centerY, 17);
}

TEST_F(CameraTest, WorldToClipIgnoresTheEyePosition) {
    Camera camera;
    Vector4F point;
    camera.WorldToClip(VectorF(10, 20, 30), point);
    EXPECT_NE(point.w, 0.0);

    // The same view direction from another eye: the clip coordinates stay, the
    // projected position moves.
    Camera moved;
    moved.SetTo(VectorF(100, 100, 40));
    moved.SetFrom(VectorF(-50, -50, 80));
    Vector4F shifted;
    moved.WorldToClip(VectorF(10, 20, 30), shifted);
    EXPECT_NEAR(shifted.x, point.x, 1e-9);
    EXPECT_NEAR(shifted.y, point.y, 1e-9);
    EXPECT_NEAR(shifted.z, point.z, 1e-9);
    EXPECT_NEAR(shifted.w, point.w, 1e-9);
    EXPECT_NE(Project(moved, 10, 0, 0).x, Project(camera, 10, 0, 0).x);
}

TEST_F(CameraTest, ViewThenClipThenScreenAgreesWithProjectHorizontally) {
    Camera camera;
    Vector4F v;
    camera.WorldToView(VectorF(10, 0, 0), v);
    camera.ViewToClip(v);
    int sx = 0, sy = 0;
    double depth = 0.0;
    camera.ClipToScreen(v, sx, sy, depth);
    EXPECT_EQ(sx, 425);
    // ClipToScreen scales vertically by the height, Project by the width.
    EXPECT_EQ(sy, 297);
    // The view's fourth column is zero, so w is 0 after the view and the near
    // offset of the projection never enters: every depth is 5000/4999.
    EXPECT_NEAR(depth, 5000.0 / 4999.0, 1e-12);
}

TEST_F(CameraTest, ScreenToWorldGivesTheViewDirectionThroughTheCentre) {
    Camera camera;
    VectorF centre(0.0, 0.0, 123.0);
    Vector4F out;
    camera.ScreenToWorld(centre, out);
    EXPECT_EQ(centre.z, 1.0);  // overwritten with the near distance
    VectorF direction = out;
    direction.Normalize();
    ExpectNear(direction, camera.dir.x, camera.dir.y, camera.dir.z);

    // A point to the right of centre leans along the side vector.
    VectorF right(0.5, 0.0, 0.0);
    camera.ScreenToWorld(right, out);
    EXPECT_NEAR(VectorF(out).Dot(camera.side), 0.5, 1e-9);
}

TEST_F(CameraTest, PointInTheEyePlaneLandsOnTheCentre) {
    Camera camera;
    camera.Orbit(VectorF(0, 0, 100));  // exact: eye (0, -100, 0), side (1, 0, 0)
    const ScreenPoint p = Project(camera, 30, -100, 7);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);

    Vector4F v;
    v = VectorF(30, 7, 0);
    int sx = 0, sy = 0;
    double depth = 0.0;
    camera.ClipToScreen(v, sx, sy, depth);
    EXPECT_EQ(sx, 400);
    EXPECT_EQ(sy, 300);
}

}  // namespace
