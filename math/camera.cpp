#include "math/camera.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// base + trunc(offset) (or minus it), kept within int. The quotients behind
// offset have no finite value for a point in the eye's plane (w = 0): those
// land on the viewport centre instead of being converted undefined.
int ScreenPosition(int base, double offset, bool subtract) {
    if (!std::isfinite(offset)) return base;
    constexpr double kLimit = 4.0e9;
    const double clamped =
        std::trunc(offset < -kLimit ? -kLimit : (offset > kLimit ? kLimit : offset));
    std::int64_t position = static_cast<std::int64_t>(base);
    position += subtract ? -static_cast<std::int64_t>(clamped) : static_cast<std::int64_t>(clamped);
    if (position < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (position > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(position);
}

// The up vector made perpendicular to the direction, normalised.
VectorF PerpendicularUp(const VectorF& up, const VectorF& dir) {
    VectorF along = dir;
    along *= up.Dot(dir);
    VectorF u = up;
    u -= along;
    u.Normalize();
    return u;
}

}  // namespace

Camera::Camera() {
    view.Size(4, 4);
    proj.Size(4, 4);
    mode = 0;
    zNear = 1.0;
    zFar = 5000.0;
    viewSize = 1.0;
    UpdateProjection();
    // The views built while up is still zero are degenerate; SetUp replaces them.
    SetFrom(VectorF(-150.0, -150.0, 40.0));
    SetTo(VectorF(0.0, 0.0, 0.0));
    SetUp(VectorF(0.0, 0.0, 1.0));
    SetViewport(0, 0, 800, 600);
}

void Camera::SetFrom(const VectorF& eye) {
    from = eye;
    UpdateDirection();
    UpdateView();
}

void Camera::SetTo(const VectorF& target) {
    to = target;
    UpdateDirection();
    UpdateView();
}

void Camera::SetUp(const VectorF& upVector) {
    up = upVector;
    UpdateView();
}

void Camera::Orbit(const VectorF& v) {
    const double azimuth = v.x * CAMERA_DEGREES;
    const double elevation = v.y * CAMERA_DEGREES;
    const double distance = v.z;
    from.x = to.x - std::cos(elevation) * std::sin(azimuth) * distance;
    from.y = to.y - std::cos(elevation) * std::cos(azimuth) * distance;
    from.z = to.z + std::sin(elevation) * distance;
    UpdateDirection();
    UpdateView();
}

void Camera::SetNear(double distance) {
    zNear = distance;
    UpdateProjection();
}

void Camera::SetFar(double distance) {
    zFar = distance;
    UpdateProjection();
}

void Camera::SetViewSize(double size) {
    viewSize = size;
    UpdateProjection();
}

void Camera::SetMode(int projectionMode) {
    mode = projectionMode;
}

void Camera::SetViewport(int l, int t, int r, int b) {
    left = l;
    top = t;
    right = r;
    bottom = b;
    width = r - l;
    height = b - t;
    // Arithmetic shifts: halves round toward minus infinity.
    centerX = l + (width >> 1);
    centerY = t + (height >> 1);
}

void Camera::UpdateDirection() {
    dir = to;
    dir -= from;
    dir.Normalize();
}

void Camera::UpdateView() {
    const VectorF d = dir;
    const VectorF u = PerpendicularUp(up, d);
    side = d;
    side.Cross(u);

    MatrixF rotation;
    rotation.SetColumns(side, u, d);

    view.Fill(0.0);
    for (int i = 0; i < 4; ++i) view(i, i) = 1.0;
    view(3, 0) = -from.x;
    view(3, 1) = -from.y;
    view(3, 2) = -from.z;
    view *= rotation;

    combined = view;
    combined *= proj;
}

void Camera::UpdateProjection() {
    if (mode == 0) {
        proj.Fill(0.0);
        proj(0, 0) = zNear / viewSize;
        proj(1, 1) = zNear / viewSize;
        proj(2, 2) = zFar / (zFar - zNear);
        proj(3, 2) = (-zNear * zFar) / (zFar - zNear);
        proj(2, 3) = 1.0;
    }
    combined = view;
    combined *= proj;
}

Vector4F& Camera::WorldToView(const VectorF& in, Vector4F& out) {
    out = in;
    out.w = 1.0;
    return out.Transform(view);
}

Vector4F& Camera::ViewToClip(Vector4F& v) {
    return v.Transform(proj);
}

Vector4F& Camera::WorldToClip(const VectorF& in, Vector4F& out) {
    out = in;
    return out.Transform(combined);
}

VectorF& Camera::CopyPoint(const VectorF& in, VectorF& out) {
    return out.Set(in);
}

Vector4F& Camera::ClipToScreen(Vector4F& v, int& sx, int& sy, double& depth) {
    const int w = right - left;
    const int h = bottom - top;
    sx = ScreenPosition(left + (w >> 1), w * v.x / v.w, false);
    sy = ScreenPosition(top + (h >> 1), h * v.y / v.w, true);
    depth = v.z / v.w;
    return v;
}

void Camera::ScreenToWorld(VectorF& in, Vector4F& out) {
    const VectorF u = PerpendicularUp(up, dir);
    side = dir;
    side.Cross(u);

    MatrixF rotation;
    rotation.SetColumns(side, u, dir);
    rotation.Transpose();

    MatrixF unproject(4, 4);
    unproject(0, 0) = viewSize / zNear;
    unproject(1, 1) = viewSize / zNear;
    unproject(2, 2) = (zFar - zNear) / zFar;
    unproject(3, 2) = (zFar - zNear) / (-zNear * zFar);
    unproject(2, 3) = 1.0;

    in.z = zNear;
    out = in;
    out.Transform(unproject);
    out.Transform(rotation);
}

void Camera::Project(const VectorF& p, int& sx, int& sy, double& depth) {
    const MatrixF& c = combined;
    const double x = p.x * c(0, 0) + p.y * c(1, 0) + p.z * c(2, 0) + c(3, 0);
    const double y = p.x * c(0, 1) + p.y * c(1, 1) + p.z * c(2, 1) + c(3, 1);
    const double z = p.x * c(0, 2) + p.y * c(1, 2) + p.z * c(2, 2) + c(3, 2);
    const double w = p.x * c(0, 3) + p.y * c(1, 3) + p.z * c(2, 3) + c(3, 3);
    // The vertical scale is the width too, as the projection has always done.
    sx = ScreenPosition(centerX, width * x / w, false);
    sy = ScreenPosition(centerY, width * y / w, true);
    depth = z > zFar ? -z : z;
}
