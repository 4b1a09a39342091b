/// @file
/// Three- and four-component vectors of doubles. Vectors are rows: a transform
/// multiplies from the left (v x M), so a 4 x 4 matrix's fourth row carries the
/// translation. Every operation that changes a vector works in place and returns
/// the vector, so calls chain.
#pragma once

class MatrixF;

/// A vector of three doubles, x, y and z.
class VectorF {
public:
    /// (0, 0, 0).
    VectorF() = default;
    /// (newX, newY, newZ).
    VectorF(double newX, double newY, double newZ) : x(newX), y(newY), z(newZ) {}

    ///@{
    /// Replaces the three components.
    VectorF& Set(double x, double y, double z);
    VectorF& Set(const VectorF& v);
    ///@}
    /// Component-wise difference.
    VectorF& operator-=(const VectorF& v);
    /// Scales every component by s.
    VectorF& operator*=(double s);
    /// Becomes the cross product (this x v).
    VectorF& Cross(const VectorF& v);
    /// x*v.x + y*v.y + z*v.z, summed in that order.
    double Dot(const VectorF& v) const;
    /// Divides by the length; a vector of squared length exactly 0 stays as it is.
    VectorF& Normalize();
    ///@{
    /// Modifiable references to the components.
    double& X() { return x; }
    double& Y() { return y; }
    double& Z() { return z; }
    ///@}
    /// Becomes (x, y, z, 1) x m with the fourth result dropped. m must be 4 x 4; any
    /// other matrix is logged and leaves the vector unchanged.
    VectorF& Transform(const MatrixF& m);

    double x = 0.0;  ///< the first component
    double y = 0.0;  ///< the second component
    double z = 0.0;  ///< the third component
};

/// A homogeneous point or direction: x, y, z as in VectorF, then w.
class Vector4F : public VectorF {
public:
    /// (0, 0, 0, 0).
    Vector4F() = default;
    /// Takes v's three components and sets w to 0.
    Vector4F& operator=(const VectorF& v);
    /// A modifiable reference to w.
    double& W() { return w; }
    /// Becomes (x, y, z, w) x m. m must be 4 x 4; any other matrix is logged and
    /// leaves the vector unchanged.
    Vector4F& Transform(const MatrixF& m);

    double w = 0.0;  ///< the fourth component
};
