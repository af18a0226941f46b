// The real error of a calibration record: held-out screen points through the sensor and the record.
#include "simcontroller/error_field.h"

#include <algorithm>
#include <cmath>

#include "simcontroller/calibration_mapping.h"

ErrorFigures SummariseErrors(std::vector<double> lengths) {
    ErrorFigures figures;
    figures.count = lengths.size();
    if (lengths.empty()) return figures;
    std::sort(lengths.begin(), lengths.end());
    double sumSquares = 0.0;
    for (double length : lengths) sumSquares += length * length;
    figures.rms = std::sqrt(sumSquares / static_cast<double>(lengths.size()));
    const size_t rank = static_cast<size_t>(std::ceil(0.95 * static_cast<double>(lengths.size())));
    figures.percentile95 = lengths[std::max<size_t>(rank, 1) - 1];
    figures.maximum = lengths.back();
    return figures;
}

AccuracyZones SummariseZones(const std::vector<ErrorSample>& samples, const ScreenRect& area,
                             const PanelSize& panel) {
    const double mmPerPixelX = panel.widthMm / std::max(1, area.width);
    const double mmPerPixelY = panel.heightMm / std::max(1, area.height);
    std::vector<double> innerMm, innerPx, edgeMm, edgePx, wholeMm, wholePx;
    for (const ErrorSample& s : samples) {
        const double fromLeft = (s.x - area.left) * mmPerPixelX;
        const double fromRight = (area.left + area.width - s.x) * mmPerPixelX;
        const double fromTop = (s.y - area.top) * mmPerPixelY;
        const double fromBottom = (area.top + area.height - s.y) * mmPerPixelY;
        const double fromEdge = std::min({fromLeft, fromRight, fromTop, fromBottom});
        const double mm = std::hypot(s.dx * mmPerPixelX, s.dy * mmPerPixelY);
        const double px = std::hypot(s.dx, s.dy);
        (fromEdge >= kEdgeBandMm ? innerMm : edgeMm).push_back(mm);
        (fromEdge >= kEdgeBandMm ? innerPx : edgePx).push_back(px);
        wholeMm.push_back(mm);
        wholePx.push_back(px);
    }
    AccuracyZones zones;
    zones.inner = {SummariseErrors(std::move(innerMm)), SummariseErrors(std::move(innerPx))};
    zones.edge = {SummariseErrors(std::move(edgeMm)), SummariseErrors(std::move(edgePx))};
    zones.whole = {SummariseErrors(std::move(wholeMm)), SummariseErrors(std::move(wholePx))};
    zones.innerWithin = zones.inner.millimetres.maximum <= kInnerLimitMm;
    zones.edgeWithin = zones.edge.millimetres.maximum <= kEdgeLimitMm;
    return zones;
}

ErrorField EvaluateRecordError(const CalibrationDataRecord& record, const ScreenRect& sensorScreen,
                               const SensorParameters& sensor, const ErrorOptions& options) {
    ErrorField field;
    field.area = ScreenRect{record.AreaLeft, record.AreaTop, record.AreaWidth, record.AreaHeight};
    field.panel = options.panel;
    if (!RecordHasMapping(record)) return field;
    field.valid = true;
    const int32_t wider = std::max(field.area.width, field.area.height);
    field.stepPixels = options.stepPixels > 0 ? options.stepPixels : std::max(1, wider / 100);
    field.hullLeft = field.area.left + options.hull.left * field.area.width;
    field.hullTop = field.area.top + options.hull.top * field.area.height;
    field.hullRight = field.area.left + options.hull.right * field.area.width;
    field.hullBottom = field.area.top + options.hull.bottom * field.area.height;

    std::vector<double> inside, whole;
    const double step = field.stepPixels;
    for (double y = field.area.top + step / 2; y < field.area.top + field.area.height; y += step) {
        for (double x = field.area.left + step / 2; x < field.area.left + field.area.width;
             x += step) {
            const RawCounts raw = SensorRawTouch(sensorScreen, sensor, x, y, nullptr);
            double cx = 0.0, cy = 0.0;
            ApplyCalibrationRecord(record, raw.x, raw.y, &cx, &cy);
            ErrorSample sample{x, y, cx - x, cy - y, false};
            sample.insideHull = x >= field.hullLeft && x <= field.hullRight && y >= field.hullTop &&
                                y <= field.hullBottom;
            const double length = std::hypot(sample.dx, sample.dy);
            whole.push_back(length);
            if (sample.insideHull) inside.push_back(length);
            field.samples.push_back(sample);
        }
    }
    field.inside = SummariseErrors(std::move(inside));
    field.whole = SummariseErrors(std::move(whole));
    field.zones = SummariseZones(field.samples, field.area, options.panel);
    return field;
}
