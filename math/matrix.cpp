#include "math/matrix.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>

#include "math/vector.h"
#include "shell/debugger.h"

namespace {

// Storage for count elements, or null when count cannot be allocated (negative,
// beyond int, or refused by the heap).
double* Allocate(std::int64_t count) {
    if (count < 0 || count > std::numeric_limits<int>::max()) return nullptr;
    return new (std::nothrow) double[static_cast<std::size_t>(count)];
}

// What operator() hands out for an index it has refused: writes land here,
// never outside a matrix.
double& Scratch() {
    static double scratch = 0.0;
    scratch = 0.0;
    return scratch;
}

}  // namespace

MatrixF::MatrixF() {
    Size(0, 0);
}

MatrixF::MatrixF(int r, int c) {
    Size(r, c);
}

MatrixF::MatrixF(const MatrixF& other) {
    Size(other.rows, other.cols);
    if (data != nullptr && other.data != nullptr) std::copy(other.data, other.data + count, data);
}

MatrixF::~MatrixF() {
    Release();
}

void MatrixF::Release() {
    delete[] data;
    data = nullptr;
}

MatrixF& MatrixF::Size(int r, int c) {
    if (data == nullptr || r != rows || c != cols) {
        Release();
        const std::int64_t wanted = static_cast<std::int64_t>(r) * c;
        data = (r < 0 || c < 0) ? nullptr : Allocate(wanted);
        if (data != nullptr) {
            rows = r;
            cols = c;
            count = static_cast<int>(wanted);
        } else {
            rows = cols = count = 0;
        }
    }
    if (data == nullptr) {
        Debug.Write("MatrixF::Size: Out of memory for construction.\n", "");
        return *this;
    }
    std::fill(data, data + count, 0.0);
    return *this;
}

bool MatrixF::CheckIndex(int row, int col) const {
    bool valid = true;
    if (data == nullptr) {
        Debug.Write("MatrixF::op(): Matrix data is null\n", "");
        valid = false;
    }
    if (row < 0 || row >= rows) {
        Debug.Write("MatrixF:op(): Row is out of bounds\n", "");
        valid = false;
    }
    if (col < 0 || col >= cols) {
        Debug.Write("MatrixF:op(): Col is out of bounds\n", "");
        valid = false;
    }
    return valid;
}

double& MatrixF::operator()(int row, int col) {
    if (!CheckIndex(row, col)) return Scratch();
    return data[row * cols + col];
}

double MatrixF::operator()(int row, int col) const {
    if (!CheckIndex(row, col)) return 0.0;
    return data[row * cols + col];
}

MatrixF& MatrixF::Fill(double v) {
    if (data != nullptr) std::fill(data, data + count, v);
    return *this;
}

MatrixF& MatrixF::operator=(const MatrixF& op) {
    if (op.data == nullptr) {
        Debug.Write("MatrixF::m=op: Operand matrix (op) data is null\n", "");
        return *this;
    }
    if (this == &op) return *this;
    if (rows != op.rows || cols != op.cols || data == nullptr) Size(op.rows, op.cols);
    if (data == nullptr) return *this;
    std::copy(op.data, op.data + count, data);
    return *this;
}

MatrixF& MatrixF::operator*=(const MatrixF& op) {
    const bool missing = data == nullptr || op.data == nullptr;
    if (data == nullptr) Debug.Write("MatrixF::m*=op: Matrix data is null\n", "");
    if (op.data == nullptr) Debug.Write("MatrixF::m*=op: Operand matrix (op) data is null\n", "");
    if (cols != op.rows) {
        Debug.Write("MatrixF::m*=op: Matricies not compatible (m.cols != op.rows)\n", "");
        return *this;
    }
    if (missing) return *this;

    const int resultCols = op.cols;
    double* result = Allocate(static_cast<std::int64_t>(rows) * resultCols);
    if (result == nullptr) {
        Debug.Write("MatrixF::m*=op: Cannot allocate new matrix.\n", "");
        std::exit(-1);
    }
    // The product goes to new storage first, so a matrix may multiply itself.
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < resultCols; ++j) {
            double sum = 0.0;
            for (int k = 0; k < cols; ++k)
                sum = data[i * cols + k] * op.data[k * resultCols + j] + sum;
            result[i * resultCols + j] = sum;
        }
    }
    Release();
    data = result;
    cols = resultCols;
    count = rows * resultCols;
    return *this;
}

MatrixF& MatrixF::Transpose() {
    if (data == nullptr) {
        Debug.Write("MatrixF::Transpose: Cannot transpose a null matrix.\n", "");
        return *this;
    }
    // A single row or column is stored in the order of its transpose already.
    if (rows != 1 && cols != 1) {
        double* result = Allocate(count);
        if (result == nullptr) {
            Debug.Write("MatrixF::Transpose: Out of memory for construction.\n", "");
            return *this;
        }
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j) result[j * rows + i] = data[i * cols + j];
        Release();
        data = result;
    }
    std::swap(rows, cols);
    return *this;
}

MatrixF& MatrixF::SetColumns(const VectorF& a, const VectorF& b, const VectorF& c) {
    Size(4, 4);
    if (data == nullptr) return *this;
    const double elements[16] = {a.x, b.x, c.x, 0.0, a.y, b.y, c.y, 0.0,
                                 a.z, b.z, c.z, 0.0, 0.0, 0.0, 0.0, 0.0};
    std::copy(elements, elements + 16, data);
    return *this;
}
