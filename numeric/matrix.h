// Matrix: zero-based rows x cols doubles in one block, addressed through row pointers; finiteness.
#pragma once

#include <cstdint>

struct Matrix {
    int32_t rows;
    int32_t cols;
    // rows row pointers; data[0] is the start of the rows * cols element block. Null: owns nothing.
    double** data;

    Matrix();
    // Allocates the row pointers and the block, elements left uninitialised. A non-positive
    // dimension gives an empty matrix (0 x 0, owning nothing).
    Matrix(int32_t rows, int32_t cols);
    Matrix(const Matrix& other);
    Matrix(Matrix&& other) noexcept;
    // Self-assignment does nothing; a different shape releases the storage and takes the source's
    // shape; then every element is copied.
    Matrix& operator=(const Matrix& other);
    Matrix& operator=(Matrix&& other) noexcept;
    ~Matrix();

    double* operator[](int32_t r) { return data[r]; }
    const double* operator[](int32_t r) const { return data[r]; }
    bool empty() const { return data == nullptr; }
    // Gives the matrix the shape rows x cols (contents undefined) unless it has that shape already.
    void Reshape(int32_t newRows, int32_t newCols);

  private:
    void Release();
};

// Whether every element is finite (neither NaN nor infinite); true for an empty matrix.
bool MatrixFinite(const Matrix& m);
