// Matrix storage (the element block, its row pointers, copying and moving) and its finiteness.
#include "numeric/matrix.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

Matrix::Matrix() : rows(0), cols(0), data(nullptr) {}

Matrix::Matrix(int32_t rowCount, int32_t colCount) : Matrix() {
    if (rowCount <= 0 || colCount <= 0) return;
    const size_t elementCount = static_cast<size_t>(rowCount) * static_cast<size_t>(colCount);
    double** rowPointers = new double*[rowCount];
    try {
        rowPointers[0] = new double[elementCount];
    } catch (...) {
        delete[] rowPointers;
        throw;
    }
    for (int32_t r = 1; r < rowCount; ++r) rowPointers[r] = rowPointers[r - 1] + colCount;
    rows = rowCount;
    cols = colCount;
    data = rowPointers;
}

Matrix::Matrix(const Matrix& other) : Matrix(other.rows, other.cols) {
    if (data) std::copy(other.data[0], other.data[0] + static_cast<size_t>(rows) * cols, data[0]);
}

Matrix::Matrix(Matrix&& other) noexcept
    : rows(std::exchange(other.rows, 0)),
      cols(std::exchange(other.cols, 0)),
      data(std::exchange(other.data, nullptr)) {}

Matrix& Matrix::operator=(const Matrix& other) {
    if (this == &other) return *this;
    Reshape(other.rows, other.cols);
    if (data) std::copy(other.data[0], other.data[0] + static_cast<size_t>(rows) * cols, data[0]);
    return *this;
}

Matrix& Matrix::operator=(Matrix&& other) noexcept {
    if (this == &other) return *this;
    Release();
    rows = std::exchange(other.rows, 0);
    cols = std::exchange(other.cols, 0);
    data = std::exchange(other.data, nullptr);
    return *this;
}

Matrix::~Matrix() { Release(); }

void Matrix::Reshape(int32_t newRows, int32_t newCols) {
    if (data && newRows == rows && newCols == cols) return;
    Release();
    *this = Matrix(newRows, newCols);
}

void Matrix::Release() {
    if (data) {
        delete[] data[0];
        delete[] data;
    }
    rows = 0;
    cols = 0;
    data = nullptr;
}

bool MatrixFinite(const Matrix& m) {
    for (int32_t r = 0; r < m.rows; ++r)
        for (int32_t c = 0; c < m.cols; ++c)
            if (!std::isfinite(m[r][c])) return false;
    return true;
}
