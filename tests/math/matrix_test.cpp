#include "math/matrix.h"

#include <vector>

#include "math/vector.h"
#include "shell/debugger.h"
#include "tests/support/engine_fixture.h"

namespace {

using MatrixTest = EngineTest;

const char* const kRowOut = "MatrixF:op(): Row is out of bounds\n  ";
const char* const kColOut = "MatrixF:op(): Col is out of bounds\n  ";

// A rows x cols matrix filled row after row from values.
MatrixF Make(int rows, int cols, const std::vector<double>& values) {
    MatrixF m(rows, cols);
    for (int i = 0; i < m.count; ++i) m.data[i] = values[i];
    return m;
}

std::vector<double> Elements(const MatrixF& m) {
    return std::vector<double>(m.data, m.data + m.count);
}

TEST_F(MatrixTest, SizingZeroesAndKeepsStorageOfTheSameDimensions) {
    MatrixF empty;
    EXPECT_EQ(empty.rows, 0);
    EXPECT_EQ(empty.cols, 0);
    EXPECT_EQ(empty.count, 0);
    EXPECT_NE(empty.Data(), nullptr);

    MatrixF m(4, 4);
    m.Fill(3.5);
    const double* storage = m.Data();
    m.Size(4, 4);
    EXPECT_EQ(m.Data(), storage);
    EXPECT_EQ(Elements(m), std::vector<double>(16, 0.0));

    m.Fill(1.0);
    m.Size(2, 5);
    EXPECT_EQ(m.rows, 2);
    EXPECT_EQ(m.cols, 5);
    EXPECT_EQ(m.count, 10);
    EXPECT_EQ(Elements(m), std::vector<double>(10, 0.0));
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(MatrixTest, ElementsAreStoredRowAfterRow) {
    MatrixF m(2, 3);
    m(0, 2) = 7.0;
    m(1, 0) = 8.0;
    EXPECT_EQ(Elements(m), (std::vector<double>{0, 0, 7, 8, 0, 0}));
    const MatrixF& view = m;
    EXPECT_EQ(view(1, 0), 8.0);
}

TEST_F(MatrixTest, OutOfRangeIndicesAreLoggedAndNeverReachTheMatrix) {
    MatrixF empty;
    empty(0, 0) = 42.0;
    EXPECT_EQ(ReadDebugLog(), std::string(kRowOut) + kColOut);

    MatrixF m = Make(2, 2, {1, 2, 3, 4});
    Debug.Open("debug.txt");
    m(2, 0) = 9.0;
    m(-1, 1) = 9.0;
    m(0, 2) = 9.0;
    m(1, -1) = 9.0;
    EXPECT_EQ(Elements(m), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(ReadDebugLog(), std::string(kRowOut) + kRowOut + kColOut + kColOut);

    // A refused index reads as 0 whatever was written through the last one.
    EXPECT_EQ(m(5, 5), 0.0);
}

TEST_F(MatrixTest, UnallocatableSizeIsLoggedAndEveryLaterUseIsSafe) {
    MatrixF m(-1, 3);
    EXPECT_EQ(m.Data(), nullptr);
    EXPECT_EQ(m.count, 0);
    m(0, 0) = 1.0;
    m.Fill(2.0);
    m.Transpose();
    MatrixF copy;
    copy = m;
    MatrixF product(2, 2);
    product *= m;
    EXPECT_EQ(ReadDebugLog(),
              "MatrixF::Size: Out of memory for construction.\n  "
              "MatrixF::op(): Matrix data is null\n  " +
                  std::string(kRowOut) + kColOut +
                  "MatrixF::Transpose: Cannot transpose a null matrix.\n  "
                  "MatrixF::m=op: Operand matrix (op) data is null\n  "
                  "MatrixF::m*=op: Operand matrix (op) data is null\n  "
                  "MatrixF::m*=op: Matricies not compatible (m.cols != op.rows)\n  ");
    EXPECT_EQ(copy.rows, 0);
    EXPECT_EQ(Elements(product), std::vector<double>(4, 0.0));

    // Sizing again brings the storage back.
    m.Size(1, 2);
    ASSERT_NE(m.Data(), nullptr);
    EXPECT_EQ(Elements(m), (std::vector<double>{0, 0}));
}

TEST_F(MatrixTest, ProductOfCompatibleMatrices) {
    MatrixF a = Make(2, 3, {1, 2, 3, 4, 5, 6});
    a *= Make(3, 2, {7, 8, 9, 10, 11, 12});
    EXPECT_EQ(a.rows, 2);
    EXPECT_EQ(a.cols, 2);
    EXPECT_EQ(a.count, 4);
    EXPECT_EQ(Elements(a), (std::vector<double>{58, 64, 139, 154}));

    MatrixF row = Make(1, 3, {1, 1, 1});
    row *= Make(3, 1, {2, 3, 4});
    EXPECT_EQ(Elements(row), std::vector<double>{9});

    MatrixF square = Make(2, 2, {1, 2, 3, 4});
    square *= square;
    EXPECT_EQ(Elements(square), (std::vector<double>{7, 10, 15, 22}));
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(MatrixTest, IncompatibleProductIsLoggedAndLeavesTheMatrixUnchanged) {
    MatrixF a = Make(2, 3, {1, 2, 3, 4, 5, 6});
    a *= Make(2, 3, {1, 1, 1, 1, 1, 1});
    EXPECT_EQ(a.rows, 2);
    EXPECT_EQ(a.cols, 3);
    EXPECT_EQ(Elements(a), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ReadDebugLog(), "MatrixF::m*=op: Matricies not compatible (m.cols != op.rows)\n  ");
}

TEST_F(MatrixTest, ProductTooLargeToAllocateEndsTheProgram) {
    MatrixF column(50000, 1);
    MatrixF row(1, 50000);
    EXPECT_EXIT(column *= row, testing::ExitedWithCode(255), "");
    EXPECT_EQ(ReadDebugLog(), "MatrixF::m*=op: Cannot allocate new matrix.\n  ");
}

TEST_F(MatrixTest, TransposeOfAVectorOnlySwapsTheDimensions) {
    MatrixF m = Make(1, 4, {1, 2, 3, 4});
    const double* storage = m.Data();
    m.Transpose();
    EXPECT_EQ(m.rows, 4);
    EXPECT_EQ(m.cols, 1);
    EXPECT_EQ(m.Data(), storage);
    EXPECT_EQ(Elements(m), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(m(3, 0), 4.0);
}

TEST_F(MatrixTest, TransposeOfARectangle) {
    MatrixF m = Make(2, 3, {1, 2, 3, 4, 5, 6});
    m.Transpose();
    EXPECT_EQ(m.rows, 3);
    EXPECT_EQ(m.cols, 2);
    EXPECT_EQ(m.count, 6);
    EXPECT_EQ(Elements(m), (std::vector<double>{1, 4, 2, 5, 3, 6}));
    m.Transpose();
    EXPECT_EQ(Elements(m), (std::vector<double>{1, 2, 3, 4, 5, 6}));
}

TEST_F(MatrixTest, AssignmentResizesOnlyWhenTheDimensionsDiffer) {
    std::vector<double> values(16);
    for (int i = 0; i < 16; ++i) values[i] = i + 0.5;
    const MatrixF source = Make(4, 4, values);

    MatrixF target;
    target = source;
    EXPECT_EQ(target.rows, 4);
    EXPECT_EQ(target.cols, 4);
    EXPECT_EQ(Elements(target), values);
    EXPECT_NE(target.Data(), source.Data());

    const double* storage = target.Data();
    target = Make(4, 4, std::vector<double>(16, 2.0));
    EXPECT_EQ(target.Data(), storage);
    EXPECT_EQ(Elements(target), std::vector<double>(16, 2.0));

    target = target;
    EXPECT_EQ(Elements(target), std::vector<double>(16, 2.0));

    MatrixF copied(source);
    copied(0, 0) = -1.0;
    EXPECT_EQ(source.data[0], 0.5);
    EXPECT_EQ(copied.data[1], 1.5);
}

TEST_F(MatrixTest, SetColumnsPutsTheVectorsInColumnsWithAZeroCorner) {
    MatrixF m(2, 2);
    m.SetColumns(VectorF(1, 2, 3), VectorF(4, 5, 6), VectorF(7, 8, 9));
    EXPECT_EQ(m.rows, 4);
    EXPECT_EQ(m.cols, 4);
    EXPECT_EQ(Elements(m), (std::vector<double>{1, 4, 7, 0, 2, 5, 8, 0, 3, 6, 9, 0, 0, 0, 0, 0}));
}

}  // namespace
