// Symmetrisation of the grid touches and the rotation estimate from cross and dot products.
#include "fit/symmetrisation.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/design_matrix_builders.h"
#include "platform/debug_trace.h"
#include "platform/report_file.h"

namespace {

enum class Mirror { Horizontal, Vertical, Central, None };

size_t Limit(size_t a, size_t b) { return a < b ? a : b; }

// Index of the cell of target i among the first TargetCount cells, or -1.
ptrdiff_t CellOfTarget(const CalibrationConfig& c, int32_t targetNumber) {
    size_t count = Limit(c.TargetCount, c.GridCells.size());
    for (size_t k = 0; k < count; ++k)
        if (c.GridCells[k].TargetNumber == targetNumber) return static_cast<ptrdiff_t>(k);
    return -1;
}

// Index of the cell at (column, row) among the first NumGridPoints cells, or -1.
ptrdiff_t CellAt(const CalibrationConfig& c, int64_t column, int64_t row) {
    size_t count = Limit(c.NumGridPoints, c.GridCells.size());
    for (size_t k = 0; k < count; ++k)
        if (c.GridCells[k].Column == column && c.GridCells[k].Row == row)
            return static_cast<ptrdiff_t>(k);
    return -1;
}

// The touch of the cell mirrored from target i's cell, or nullptr when a cell or touch is missing.
const TouchEntry* MirroredTouch(const CalibrationConfig& c, int32_t targetNumber, Mirror mirror) {
    ptrdiff_t own = CellOfTarget(c, targetNumber);
    if (own < 0) return nullptr;
    int64_t row = c.GridCells[own].Row;
    int64_t column = c.GridCells[own].Column;
    if (mirror == Mirror::Horizontal || mirror == Mirror::Central)
        column = int64_t(c.NumGridColumns) - column + 1;
    if (mirror == Mirror::Vertical || mirror == Mirror::Central)
        row = int64_t(c.NumGridRows) - row + 1;
    ptrdiff_t cell = CellAt(c, column, row);
    if (cell < 0 || static_cast<size_t>(cell) >= c.Touches.size()) return nullptr;
    return &c.Touches[cell];
}

bool Lookup(const CalibrationConfig& c, int32_t targetNumber, Mirror mirror, double signV,
            double signW, double& a, double& b) {
    const TouchEntry* touch = MirroredTouch(c, targetNumber, mirror);
    if (touch == nullptr) {
        a = b = 0.0;
        return false;
    }
    a = signV * touch->V;
    b = signW * touch->W;
    return true;
}

void WriteHeading(ReportFile& report, const ControllerParameters& p, double adcScaling) {
    report.Printf("ADC High Reference   = %8.3f volts\n", p.AdcHighReference);
    report.Printf("ADC Low Reference    = %8.3f volts\n", p.AdcLowReference);
    report.Printf("Touch Screen Power   = %8.3f volts\n", p.TouchScreenPower);
    report.Printf("Touch Screen Ground  = %8.3f volts\n", p.TouchScreenGround);
    report.Printf("Voltage Range        = %8.3f volts\n", p.VoltageRange);
    report.Printf("ADC Scaling Factor   = %8.3f\n", adcScaling);
    report.Printf("\n");
    report.Printf("  Pt #   SymV   SymW ScSymV ScSymW\n");
    report.Printf("====== ====== ====== ====== ======\n");
}

}  // namespace

int32_t TruncateToInt32(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

bool MirrorTouchHorizontal(const CalibrationConfig& c, int32_t i, double& a, double& b) {
    return Lookup(c, i, Mirror::Horizontal, -1.0, 1.0, a, b);
}

bool MirrorTouchVertical(const CalibrationConfig& c, int32_t i, double& a, double& b) {
    return Lookup(c, i, Mirror::Vertical, 1.0, -1.0, a, b);
}

bool MirrorTouchCentral(const CalibrationConfig& c, int32_t i, double& a, double& b) {
    return Lookup(c, i, Mirror::Central, -1.0, -1.0, a, b);
}

bool CentredTouch(const CalibrationConfig& c, int32_t i, double& a, double& b) {
    if (!Lookup(c, i, Mirror::None, 1.0, 1.0, a, b)) return false;
    a -= c.MeanTouchV;
    b -= c.MeanTouchW;
    return true;
}

int SymmetriseAndEstimateRotation(CalibrationFit& fit, double& rotationDegrees) {
    if (fit.Config == nullptr || fit.Parameters == nullptr) {
        rotationDegrees = std::numeric_limits<double>::quiet_NaN();
        return 0;
    }
    const CalibrationConfig& c = *fit.Config;
    const ControllerParameters& p = *fit.Parameters;
    const double adcScaling = (p.AdcHighReference - p.AdcLowReference) / 4096.0;
    const double aspect = FitAspect(fit);
    ReportFile report(L"symmetrized.txt");
    WriteHeading(report, p, adcScaling);

    fit.ScaledSymmetricV = Vector(c.NumGridPoints);
    fit.ScaledSymmetricW = Vector(c.NumGridPoints);
    double cross = 0.0, dot = 0.0;
    bool complete = true;
    for (uint32_t n = 0; n < c.NumGridPoints; ++n) {
        const int32_t i = static_cast<int32_t>(n + 1);
        const bool touched = n < c.Touches.size();
        const double v = touched ? c.Touches[n].V : 0.0, w = touched ? c.Touches[n].W : 0.0;
        double hV, hW, vV, vW, cV, cW, centV, centW;
        complete &= touched & MirrorTouchHorizontal(c, i, hV, hW) &
                    MirrorTouchVertical(c, i, vV, vW) & MirrorTouchCentral(c, i, cV, cW) &
                    CentredTouch(c, i, centV, centW);
        const double symV = (hV + v + vV + cV) * 0.25;
        const double symW = (hW + w + vW + cW) * 0.25;
        fit.ScaledSymmetricV[n] = symV * adcScaling / p.VoltageRange;
        fit.ScaledSymmetricW[n] = symW * adcScaling / p.VoltageRange;
        report.Printf("%6d %6d %6d %6d %6d %6.3f %6.3f\n", i - 1, TruncateToInt32(v),
                      TruncateToInt32(w), TruncateToInt32(symV), TruncateToInt32(symW),
                      fit.ScaledSymmetricV[n], fit.ScaledSymmetricW[n]);
        cross += centV * symW - centW * symV;
        dot += centV * symV / aspect + aspect * symW * centW;
    }
    if (!complete)
        DebugPrint(L"Tarnix.exe: %s", L"symmetrisation: a mirrored grid cell or touch is missing");
    // Both products are 0 where the symmetric parts vanish (a sensor with swapped axes): no
    // rotation shows, and the two-argument arc tangent gives 0 there.
    const double pi = 4.0 * std::atan(1.0);
    rotationDegrees = std::atan2(cross, dot) * 180.0 / pi;
    report.Printf("\n");
    report.Printf("Cross Product of Symmetrized Values = %12.3f\n", cross);
    report.Printf("Dot Product of Symmetrized Values   = %12.3f\n", dot);
    report.Printf("Rotation = %8.3f degrees\n", rotationDegrees);
    return 1;
}
