// Test helper program: writes a hand-made identity record or a record fitted to the default sensor.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "simcontroller/sim_recorder.h"
#include "tests/simcontroller/record_fitting.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: simcontroller_make_record identity|fit OUT.bin [ORDER]\n");
        return 2;
    }
    const ScreenRect area{0, 0, 1024, 768};
    const bool identity = std::strcmp(argv[1], "identity") == 0;
    const int order = argc == 4 ? std::atoi(argv[3]) : 3;
    const CalibrationDataRecord record =
        identity ? IdentityRecord(area) : FitRecordToSensor(area, SensorParameters{}, order, 5);
    return WriteRecordFile(std::filesystem::u8path(argv[2]), record) ? 0 : 1;
}
