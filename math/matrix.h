/// @file
/// A dense matrix of doubles of any size, stored row after row: element (r, c) is
/// data[r * cols + c]. Misuse (null storage, indices out of range, incompatible
/// sizes, failed allocation) is written to the debug log; only a failed
/// allocation for a product ends the program.
#pragma once

class VectorF;

/// A matrix of doubles of any size, row after row.
class MatrixF {
public:
    /// A 0 x 0 matrix (with a zero-length allocation).
    MatrixF();
    /// A rows x cols matrix of zeros.
    MatrixF(int rows, int cols);
    /// A deep copy of other.
    MatrixF(const MatrixF& other);
    /// Frees the elements.
    ~MatrixF();

    /// Sets the dimensions and zeroes every element; storage of the same
    /// dimensions is kept. Negative or unallocatable sizes are logged and leave a
    /// 0 x 0 matrix without storage.
    MatrixF& Size(int rows, int cols);
    ///@{
    /// Element (row, col). Null storage and each index out of range are logged;
    /// the result is then a scratch element outside the matrix, reset to 0.0.
    double& operator()(int row, int col);
    double operator()(int row, int col) const;
    ///@}
    /// Every element = v.
    MatrixF& Fill(double v);
    /// Becomes a copy of op (resized if the dimensions differ). An operand
    /// without storage is logged and leaves the matrix unchanged.
    MatrixF& operator=(const MatrixF& op);
    /// Becomes (this) x op. Null storage or cols != op.rows is logged and leaves
    /// the matrix unchanged; a failed allocation ends the program with code -1.
    MatrixF& operator*=(const MatrixF& op);
    /// Becomes its transpose; a null matrix is logged and left unchanged.
    MatrixF& Transpose();
    /// Becomes the 4 x 4 matrix with a, b, c in columns 0..2 of rows 0..2 and
    /// zeros elsewhere, element (3, 3) included.
    MatrixF& SetColumns(const VectorF& a, const VectorF& b, const VectorF& c);
    ///@{
    /// The elements, owned by the matrix.
    double* Data() { return data; }
    const double* Data() const { return data; }
    ///@}

    double* data = nullptr;  ///< rows x cols elements, owned; null after a failed allocation
    int rows = 0;            ///< the number of rows
    int cols = 0;            ///< the number of columns
    int count = 0;           ///< rows x cols

private:
    /// True if row and col address an element; logs each reason they do not.
    bool CheckIndex(int row, int col) const;
    void Release();
};
