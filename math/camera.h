/// @file
/// A 3D viewing transform for a z-up world: an eye point, a target point and an
/// up vector give the view matrix; a perspective projection and the viewport map
/// view space onto the screen. Points are row vectors times 4 x 4 matrices;
/// angles are in degrees, screen positions in pixels.
#pragma once

#include "math/matrix.h"
#include "math/vector.h"

/// Degrees to radians, with pi taken as 3.141592.
constexpr double CAMERA_DEGREES = 0.01745328888888889;

/// A camera looking at a z-up world: view and projection matrices and the
/// viewport that map world points onto the screen.
class Camera {
public:
    /// Eye (-150, -150, 40) looking at the origin with z up, near 1, far 5000,
    /// view size 1, viewport (0, 0)-(800, 600).
    Camera();

    ///@{
    /// The eye point, the target point, the up vector; each setter rebuilds what
    /// depends on the value it sets.
    void SetFrom(const VectorF& eye);
    void SetTo(const VectorF& target);
    void SetUp(const VectorF& upVector);
    ///@}
    /// Places the eye around the target: v = (azimuth, elevation, distance), the
    /// angles in degrees. Azimuth 0 and elevation 0 put the eye on the -y side.
    void Orbit(const VectorF& v);
    ///@{
    /// The near and far distances and the view window's extent at the near
    /// distance (below 1 narrows the field of view); each rebuilds the projection.
    void SetNear(double distance);
    void SetFar(double distance);
    void SetViewSize(double size);
    ///@}
    /// Stores the projection mode (0 is perspective); nothing is rebuilt.
    void SetMode(int projectionMode);
    /// Sets the corners, size and centre of the viewport in pixels.
    void SetViewport(int l, int t, int r, int b);

    /// dir = to - from, normalised.
    void UpdateDirection();
    /// Rebuilds side, view and combined.
    void UpdateView();
    /// Rebuilds proj (perspective mode only) and combined.
    void UpdateProjection();

    /// out = (in, 1) x view.
    Vector4F& WorldToView(const VectorF& in, Vector4F& out);
    /// v = v x proj.
    Vector4F& ViewToClip(Vector4F& v);
    /// out = (in, 0) x combined: the eye position does not enter.
    Vector4F& WorldToClip(const VectorF& in, Vector4F& out);
    /// out = in.
    VectorF& CopyPoint(const VectorF& in, VectorF& out);
    /// Divides by w and maps into the viewport: screen position (sx, sy) and depth.
    Vector4F& ClipToScreen(Vector4F& v, int& sx, int& sy, double& depth);
    /// The world direction through the view-window point (in.x, in.y); in.z is set
    /// to the near distance.
    void ScreenToWorld(VectorF& in, Vector4F& out);
    /// A world point straight to its screen position and depth; a depth beyond
    /// the far distance comes back negated.
    void Project(const VectorF& p, int& sx, int& sy, double& depth);

    int mode = 0;           ///< 0: perspective, the only mode that builds a projection
    VectorF from;           ///< eye point
    VectorF to;             ///< target point
    VectorF dir;            ///< unit vector from the eye towards the target
    VectorF up;             ///< as given to SetUp
    VectorF side;           ///< dir x (up made perpendicular to dir)
    MatrixF view;           ///< 4 x 4, world to view
    double zNear = 0.0;     ///< near distance
    double zFar = 0.0;      ///< far distance
    double viewSize = 0.0;  ///< extent of the view window at the near distance
    MatrixF proj;           ///< 4 x 4 perspective projection
    MatrixF combined;       ///< view x proj
    ///@{
    /// Viewport in pixels: corners, size (right - left, bottom - top) and centre.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width = 0;
    int height = 0;
    int centerX = 0;
    int centerY = 0;
    ///@}
};
