#include "math/vector.h"

#include "math/matrix.h"
#include "tests/support/engine_fixture.h"

namespace {

using VectorTest = EngineTest;

void ExpectVector(const VectorF& v, double x, double y, double z) {
    EXPECT_DOUBLE_EQ(v.x, x);
    EXPECT_DOUBLE_EQ(v.y, y);
    EXPECT_DOUBLE_EQ(v.z, z);
}

// A 4 x 4 transform whose fourth row is (tx, ty, tz, tw) over a scaling diagonal.
MatrixF Translation(double tx, double ty, double tz, double tw) {
    MatrixF m(4, 4);
    m(0, 0) = 2.0;
    m(1, 1) = 3.0;
    m(2, 2) = 4.0;
    m(3, 0) = tx;
    m(3, 1) = ty;
    m(3, 2) = tz;
    m(3, 3) = tw;
    return m;
}

TEST_F(VectorTest, NormalizeScalesToUnitLengthButLeavesZeroAlone) {
    VectorF zero;
    zero.Normalize();
    ExpectVector(zero, 0.0, 0.0, 0.0);

    VectorF v(3.0, 4.0, 0.0);
    v.Normalize();
    ExpectVector(v, 0.6, 0.8, 0.0);

    VectorF tiny(1e-200, 0.0, 0.0);  // squared length underflows to exactly 0
    tiny.Normalize();
    ExpectVector(tiny, 1e-200, 0.0, 0.0);
}

TEST_F(VectorTest, CrossUsesTheOldComponentsThroughout) {
    VectorF x(1.0, 0.0, 0.0);
    x.Cross(VectorF(0.0, 1.0, 0.0));
    ExpectVector(x, 0.0, 0.0, 1.0);

    VectorF a(2.0, -3.0, 5.0);
    a.Cross(a);
    ExpectVector(a, 0.0, 0.0, 0.0);

    VectorF b(1.0, 2.0, 3.0);
    b.Cross(VectorF(4.0, 5.0, 6.0));
    ExpectVector(b, -3.0, 6.0, -3.0);
}

TEST_F(VectorTest, AssigningToAFourVectorClearsW) {
    Vector4F v;
    v.W() = 7.0;
    v = VectorF(1.0, 2.0, 3.0);
    ExpectVector(v, 1.0, 2.0, 3.0);
    EXPECT_EQ(v.w, 0.0);
}

TEST_F(VectorTest, TransformAddsTheFourthRowOnceOrInProportionToW) {
    const MatrixF m = Translation(10.0, 20.0, 30.0, 99.0);

    VectorF point(1.0, 1.0, 1.0);
    point.Transform(m);
    ExpectVector(point, 12.0, 23.0, 34.0);

    Vector4F direction;
    direction = VectorF(1.0, 1.0, 1.0);
    direction.Transform(m);
    ExpectVector(direction, 2.0, 3.0, 4.0);
    EXPECT_EQ(direction.w, 0.0);

    Vector4F weighted;
    weighted = VectorF(1.0, 1.0, 1.0);
    weighted.W() = 0.5;
    weighted.Transform(m);
    ExpectVector(weighted, 7.0, 13.0, 19.0);
    EXPECT_DOUBLE_EQ(weighted.w, 49.5);
}

TEST_F(VectorTest, TransformByAMatrixThatIsNot4x4IsLoggedAndChangesNothing) {
    VectorF v(1.0, 2.0, 3.0);
    v.Transform(MatrixF(3, 3));
    ExpectVector(v, 1.0, 2.0, 3.0);

    Vector4F h;
    h = v;
    h.Transform(MatrixF());
    ExpectVector(h, 1.0, 2.0, 3.0);

    EXPECT_EQ(ReadDebugLog(),
              "VectorF::Transform: Matrix is not 4 x 4.\n  "
              "Vector4F::Transform: Matrix is not 4 x 4.\n  ");
}

}  // namespace
