// Process-wide design matrices and term counts, and the basis-row callbacks over them.
#include "numeric/design_matrices.h"

#include <cmath>
#include <limits>

Matrix PolynomialDesignMatrix;
Matrix LaplaceDesignMatrixX;
Matrix LaplaceDesignMatrixY;
int32_t PolynomialTermCount = 3;
int32_t ActiveLaplaceTermCount = 0;

namespace {

// Copies row trunc(x) of design into afunc, for termCount terms; out-of-range entries get NaN
// so that a faulty call poisons the fit visibly instead of reading outside the matrix.
void CopyDesignRow(const Matrix& design, int32_t termCount, double x, Vector& afunc) {
    const double rowIndex = std::trunc(x);
    const bool rowInside = rowIndex >= 0.0 && rowIndex < static_cast<double>(design.rows);
    const int32_t r = rowInside ? static_cast<int32_t>(rowIndex) : -1;
    const uint32_t count = termCount > 0 ? static_cast<uint32_t>(termCount) : 0;
    for (uint32_t j = 0; j < count && j < afunc.length; ++j) {
        const bool inside = rowInside && j < static_cast<uint32_t>(design.cols);
        afunc[j] = inside ? design[r][j] : std::numeric_limits<double>::quiet_NaN();
    }
}

}  // namespace

void PolynomialBasisRow(double x, Vector& afunc) {
    CopyDesignRow(PolynomialDesignMatrix, PolynomialTermCount, x, afunc);
}

void LaplaceBasisRowX(double x, Vector& afunc) {
    CopyDesignRow(LaplaceDesignMatrixX, ActiveLaplaceTermCount, x, afunc);
}

void LaplaceBasisRowY(double x, Vector& afunc) {
    CopyDesignRow(LaplaceDesignMatrixY, ActiveLaplaceTermCount, x, afunc);
}
