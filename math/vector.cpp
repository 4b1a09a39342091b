#include "math/vector.h"

#include <cmath>

#include "math/matrix.h"
#include "shell/debugger.h"

namespace {

// The transforms read sixteen elements straight from the storage, so anything
// but a 4 x 4 matrix with storage would read outside it.
bool IsTransform(const MatrixF& m, const char* who) {
    if (m.data != nullptr && m.rows == 4 && m.cols == 4) return true;
    Debug.Write(who, "");
    return false;
}

}  // namespace

VectorF& VectorF::Set(double nx, double ny, double nz) {
    x = nx;
    y = ny;
    z = nz;
    return *this;
}

VectorF& VectorF::Set(const VectorF& v) {
    return Set(v.x, v.y, v.z);
}

VectorF& VectorF::operator-=(const VectorF& v) {
    x -= v.x;
    y -= v.y;
    z -= v.z;
    return *this;
}

VectorF& VectorF::operator*=(double s) {
    x = s * x;
    y = s * y;
    z = s * z;
    return *this;
}

VectorF& VectorF::Cross(const VectorF& v) {
    const double nx = y * v.z - z * v.y;
    const double ny = -x * v.z + z * v.x;
    const double nz = x * v.y - y * v.x;
    return Set(nx, ny, nz);
}

double VectorF::Dot(const VectorF& v) const {
    return x * v.x + y * v.y + z * v.z;
}

VectorF& VectorF::Normalize() {
    const double squared = x * x + y * y + z * z;
    if (squared != 0.0) {
        const double length = std::sqrt(squared);
        x /= length;
        y /= length;
        z /= length;
    }
    return *this;
}

VectorF& VectorF::Transform(const MatrixF& m) {
    if (!IsTransform(m, "VectorF::Transform: Matrix is not 4 x 4.\n")) return *this;
    const double* e = m.data;
    const double nx = x * e[0] + y * e[4] + z * e[8] + e[12];
    const double ny = x * e[1] + y * e[5] + z * e[9] + e[13];
    const double nz = x * e[2] + y * e[6] + z * e[10] + e[14];
    return Set(nx, ny, nz);
}

Vector4F& Vector4F::operator=(const VectorF& v) {
    Set(v);
    w = 0.0;
    return *this;
}

Vector4F& Vector4F::Transform(const MatrixF& m) {
    if (!IsTransform(m, "Vector4F::Transform: Matrix is not 4 x 4.\n")) return *this;
    const double* e = m.data;
    const double nx = x * e[0] + y * e[4] + z * e[8] + w * e[12];
    const double ny = x * e[1] + y * e[5] + z * e[9] + w * e[13];
    const double nz = x * e[2] + y * e[6] + z * e[10] + w * e[14];
    const double nw = x * e[3] + y * e[7] + z * e[11] + w * e[15];
    Set(nx, ny, nz);
    w = nw;
    return *this;
}
