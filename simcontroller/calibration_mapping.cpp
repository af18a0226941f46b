// Applies a calibration record to raw touches the way the driver does: polynomial over normalised
// counts, then the pixel of the area.
#include "simcontroller/calibration_mapping.h"

bool ApplyCalibrationRecord(const CalibrationDataRecord& record, int32_t rawX, int32_t rawY,
                            double* screenX, double* screenY) {
    double x = 0.0, y = 0.0;
    if (!MapRecordCounts(record, double(rawX >> 4), double(rawY >> 4), x, y)) return false;
    *screenX = (x + 0.5) * record.AreaWidth + record.AreaLeft;
    *screenY = (y + 0.5) * record.AreaHeight + record.AreaTop;
    return true;
}
