// The process-wide design matrices of the fits and the basis-row callbacks that read them.
#pragma once

#include <cstdint>

#include "numeric/matrix.h"
#include "numeric/vector.h"

// One row per data point, one column per term; replaced by the design-matrix builders.
extern Matrix PolynomialDesignMatrix;
extern Matrix LaplaceDesignMatrixX;
extern Matrix LaplaceDesignMatrixY;
extern int32_t PolynomialTermCount;
extern int32_t ActiveLaplaceTermCount;

// Basis callbacks for SvdFit: x is a data-point index, truncated toward zero to a row r.
// afunc[j] = design matrix [r][j] for j below the term count. A row or term outside the matrix
// (or outside afunc) is never read: such entries of afunc are set to NaN.
void PolynomialBasisRow(double x, Vector& afunc);
void LaplaceBasisRowX(double x, Vector& afunc);
void LaplaceBasisRowY(double x, Vector& afunc);
