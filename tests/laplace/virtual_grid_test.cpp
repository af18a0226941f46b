// The virtual grid: positions, point order and the refused sizes.
#include "laplace/virtual_grid.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualGrid, DefaultNineByNineIsTheCentresOfANinthDivision) {
    Vector x, y;
    ASSERT_TRUE(FillVirtualGrid(9, 9, x, y));
    ASSERT_EQ(x.length, 81u);
    ASSERT_EQ(y.length, 81u);
    for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 9; ++col) {
            EXPECT_NEAR(x[row * 9 + col], (col - 4) / 9.0, 1e-15);
            EXPECT_NEAR(y[row * 9 + col], (row - 4) / 9.0, 1e-15);
        }
    EXPECT_NEAR(x[0], -4.0 / 9.0, 1e-15);
    EXPECT_NEAR(y[80], 4.0 / 9.0, 1e-15);
}

TEST(VirtualGrid, ColumnsTakeTheirExtentFromNysideAndRowsFromNxside) {
    Vector x, y;
    ASSERT_TRUE(FillVirtualGrid(16, 9, x, y));
    ASSERT_EQ(x.length, 144u);
    for (int row = 0; row < 9; ++row)
        for (int col = 0; col < 16; ++col) {
            const int m = row * 16 + col;
            EXPECT_NEAR(x[m], -4.0 / 9.0 + col * 8.0 / 135.0, 1e-15) << m;
            EXPECT_NEAR(y[m], -15.0 / 32.0 + row * 15.0 / 128.0, 1e-15) << m;
        }
    EXPECT_NEAR(x[15], 4.0 / 9.0, 1e-15);
    EXPECT_NEAR(y[143], 15.0 / 32.0, 1e-15);
}

TEST(VirtualGrid, RefusesSidesBelowTwoAndGridsAboveTheLimit) {
    for (auto [nx, ny] : {std::pair{1, 9}, {9, 1}, {0, 0}, {-3, 9}, {2, 5001}, {100000, 100000}}) {
        Vector x(3), y(3);
        EXPECT_FALSE(VirtualGridUsable(nx, ny)) << nx << " x " << ny;
        EXPECT_FALSE(FillVirtualGrid(nx, ny, x, y));
        EXPECT_EQ(x.length, 3u);
    }
    Vector x, y;
    EXPECT_TRUE(FillVirtualGrid(2, 2, x, y));
    EXPECT_NEAR(x[1], 0.25, 1e-15);
    EXPECT_NEAR(y[2], 0.25, 1e-15);
    EXPECT_TRUE(VirtualGridUsable(100, 100));
}

}  // namespace
