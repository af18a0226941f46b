// Test helper: fits a calibration record to the sensor model by least squares, as Tarnix would.
#include "tests/simcontroller/record_fitting.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "simcontroller/calibration_mapping.h"

namespace {

std::vector<double> Terms(int order, double v, double w) {
    std::vector<double> terms;
    for (int degree = 0; degree <= order; ++degree)
        for (int k = 0; k <= degree; ++k) terms.push_back(std::pow(v, degree - k) * std::pow(w, k));
    return terms;
}

// Solves the normal equations A^T A c = A^T b by Gaussian elimination with pivoting.
std::vector<double> LeastSquares(const std::vector<std::vector<double>>& rows,
                                 const std::vector<double>& b) {
    const size_t n = rows[0].size();
    std::vector<std::vector<double>> m(n, std::vector<double>(n + 1, 0.0));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = 0; j < n; ++j) m[i][j] += rows[r][i] * rows[r][j];
            m[i][n] += rows[r][i] * b[r];
        }
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t r = col + 1; r < n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col])) pivot = r;
        std::swap(m[col], m[pivot]);
        for (size_t r = 0; r < n; ++r) {
            if (r == col) continue;
            const double f = m[r][col] / m[col][col];
            for (size_t j = col; j <= n; ++j) m[r][j] -= f * m[col][j];
        }
    }
    std::vector<double> c(n);
    for (size_t i = 0; i < n; ++i) c[i] = m[i][n] / m[i][i];
    return c;
}

void FillFrame(CalibrationDataRecord* record, const ScreenRect& area, int order) {
    std::memset(record, 0, sizeof *record);
    record->ScreenIndex = 0;
    record->MonitorNumber = 1;
    record->AreaWidth = area.width;
    record->AreaHeight = area.height;
    record->AreaLeft = area.left;
    record->AreaTop = area.top;
    record->PolynomialOrder = order;
    record->ControllerOffset = 2047;  // 2047.5 truncated, as the commit writes it
    record->InverseScaleFactor = 4095;
}

void StoreCoefficients(CalibrationDataRecord* record, const std::vector<double>& cx,
                       const std::vector<double>& cy) {
    int32_t x[kRecordCoefficientCount] = {}, y[kRecordCoefficientCount] = {};
    for (size_t k = 0; k < cx.size(); ++k) {
        x[k] = static_cast<int32_t>(cx[k] * 16384);
        y[k] = static_cast<int32_t>(cy[k] * 16384);
    }
    std::memcpy(record->CoeffX, x, sizeof x);
    std::memcpy(record->CoeffY, y, sizeof y);
}

}  // namespace

CalibrationDataRecord FitRecordToSensor(const ScreenRect& area, const SensorParameters& sensor,
                                        int order, int grid) {
    std::vector<std::vector<double>> rows;
    std::vector<double> targetX, targetY;
    for (int row = 0; row < grid; ++row) {
        for (int col = 0; col < grid; ++col) {
            const double fx = (col + 0.5) / grid, fy = (row + 0.5) / grid;
            const RawCounts raw = SensorRawTouch(area, sensor, area.left + fx * area.width,
                                                 area.top + fy * area.height, nullptr);
            const double v = ((raw.x >> 4) - 2047.5) / 4095.0;
            const double w = ((raw.y >> 4) - 2047.5) / 4095.0;
            rows.push_back(Terms(order, v, w));
            targetX.push_back(fx - 0.5);
            targetY.push_back(fy - 0.5);
        }
    }
    CalibrationDataRecord record;
    FillFrame(&record, area, order);
    StoreCoefficients(&record, LeastSquares(rows, targetX), LeastSquares(rows, targetY));
    return record;
}

CalibrationDataRecord IdentityRecord(const ScreenRect& area) {
    CalibrationDataRecord record;
    FillFrame(&record, area, 1);
    StoreCoefficients(&record, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0});
    return record;
}
