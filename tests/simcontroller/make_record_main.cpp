// Test helper program: writes a hand-made identity record, a record fitted to the default sensor,
// or a simulated-touch configuration for tarnix-fit made of the default sensor's touches.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "simcontroller/sensor_model.h"
#include "simcontroller/sim_recorder.h"
#include "tests/simcontroller/record_fitting.h"

namespace {

// A 5 x 5 grid at the cell centres of a 1920 x 1080 monitor, touched through the default sensor.
bool WriteSimulatedConfig(const char* path) {
    const ScreenRect monitor{0, 0, 1920, 1080};
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary);
    out << "[TARNIX-APP]\r\nNumGridRows=5\r\nNumGridColumns=5\r\nNumGridPoints=25\r\n"
           "FitModelCode=13\r\nSimulate=1\r\n";
    for (int i = 0; i < 25; ++i) {
        const double x = (i % 5 + 0.5) / 5 * monitor.width, y = (i / 5 + 0.5) / 5 * monitor.height;
        const RawCounts raw = SensorRawTouch(monitor, SensorParameters{}, x, y, nullptr);
        char line[80];
        std::snprintf(line, sizeof line, "TouchGridX%02d=%d\r\nTouchGridY%02d=%d\r\n", i,
                      raw.x >> 4, i, raw.y >> 4);
        out << line;
    }
    return out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: simcontroller_make_record identity|fit|config OUT [ORDER]\n");
        return 2;
    }
    if (std::strcmp(argv[1], "config") == 0) return WriteSimulatedConfig(argv[2]) ? 0 : 1;
    const ScreenRect area{0, 0, 1024, 768};
    const bool identity = std::strcmp(argv[1], "identity") == 0;
    const int order = argc == 4 ? std::atoi(argv[3]) : 3;
    const CalibrationDataRecord record =
        identity ? IdentityRecord(area) : FitRecordToSensor(area, SensorParameters{}, order, 5);
    return WriteRecordFile(std::filesystem::u8path(argv[2]), record) ? 0 : 1;
}
