// Vector and Matrix: layout, assignment rules and ownership.
#include <gtest/gtest.h>

#include <utility>

#include "numeric/matrix.h"
#include "numeric/vector.h"

namespace {

Matrix Counting(int32_t rows, int32_t cols) {
    Matrix m(rows, cols);
    for (int32_t i = 0; i < rows; ++i)
        for (int32_t j = 0; j < cols; ++j) m[i][j] = i * 10 + j;
    return m;
}

TEST(Matrix, RowsLiveInOneContiguousBlock) {
    Matrix m = Counting(3, 4);
    for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(m.data[i], m.data[0] + i * 4);
    EXPECT_EQ(m.data[0][2 * 4 + 3], 23.0);
}

TEST(Matrix, SelfAssignmentLeavesItUnchanged) {
    Matrix m = Counting(2, 3);
    double* block = m.data[0];
    Matrix& alias = m;
    m = alias;
    EXPECT_EQ(m.data[0], block);
    EXPECT_EQ(m.rows, 2);
    EXPECT_EQ(m.cols, 3);
    EXPECT_EQ(m[1][2], 12.0);
}

TEST(Matrix, AssigningADifferentShapeReshapesTheTarget) {
    Matrix target = Counting(2, 2);
    const Matrix source = Counting(3, 4);
    target = source;
    ASSERT_EQ(target.rows, 3);
    ASSERT_EQ(target.cols, 4);
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(target.data[i], target.data[0] + i * 4);
        for (int32_t j = 0; j < 4; ++j) EXPECT_EQ(target[i][j], source[i][j]);
    }
    EXPECT_NE(target.data[0], source.data[0]);
}

TEST(Matrix, SameShapeAssignmentCopiesIntoTheExistingBlock) {
    Matrix target(3, 4);
    double* block = target.data[0];
    const Matrix source = Counting(3, 4);
    target = source;
    EXPECT_EQ(target.data[0], block);
    EXPECT_EQ(target[2][3], 23.0);
}

TEST(Matrix, MovedFromAndEmptyMatricesOwnNothing) {
    Matrix source = Counting(3, 3);
    double* block = source.data[0];
    Matrix moved(std::move(source));
    EXPECT_EQ(source.data, nullptr);
    EXPECT_EQ(source.rows, 0);
    EXPECT_TRUE(source.empty());
    EXPECT_EQ(moved.data[0], block);
    Matrix assigned;
    assigned = std::move(moved);
    EXPECT_TRUE(moved.empty());
    EXPECT_EQ(assigned[2][2], 22.0);
    EXPECT_TRUE(Matrix().empty());
    EXPECT_TRUE(Matrix(0, 5).empty());
    EXPECT_TRUE(Matrix(-1, 5).empty());
}

TEST(Matrix, CopyOfEmptyIsEmptyAndAssigningEmptyReleases) {
    Matrix target = Counting(2, 2);
    const Matrix empty;
    target = empty;
    EXPECT_TRUE(target.empty());
    EXPECT_EQ(target.rows, 0);
    Matrix copy(empty);
    EXPECT_TRUE(copy.empty());
}

TEST(Vector, CopyMoveAndSelfAssignment) {
    Vector v(3);
    for (uint32_t i = 0; i < 3; ++i) v[i] = i + 0.5;
    Vector copy(v);
    EXPECT_NE(copy.data, v.data);
    EXPECT_EQ(copy[2], 2.5);
    Vector& alias = v;
    v = alias;
    EXPECT_EQ(v.length, 3u);
    EXPECT_EQ(v[1], 1.5);
    Vector shorter(1);
    shorter = v;
    EXPECT_EQ(shorter.length, 3u);
    EXPECT_EQ(shorter[2], 2.5);
    Vector moved(std::move(v));
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(v.data, nullptr);
    EXPECT_EQ(moved[0], 0.5);
    EXPECT_TRUE(Vector().empty());
    EXPECT_EQ(Vector(0).data, nullptr);
}

}  // namespace
