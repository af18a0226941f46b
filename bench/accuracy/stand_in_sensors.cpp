// The stand-in controller's sensors the accuracy figures have always been measured on.
#include "bench/accuracy/stand_in_sensors.h"

std::vector<NamedSensor> StandInSensors() {
    SensorParameters bowed;  // three times the default bow
    bowed.bowQuadratic = 0.036;
    bowed.bowCubic = 0.15;
    SensorParameters compressed;  // a resistive sheet losing 0.6 % of its span at each edge
    compressed.edgeCompression = 0.006;
    SensorParameters mounted;  // turned 3 degrees and shifted by 2 % of the span
    mounted.rotationDegrees = 3.0;
    mounted.offsetX = 80;
    mounted.offsetY = -70;
    mounted.gainX = 0.84;
    mounted.gainY = 0.81;
    return {{"default", SensorParameters{}},
            {"bowed", bowed},
            {"edge-compressed", compressed},
            {"rotated+offset", mounted}};
}
