// Fuzz target: arbitrary bytes as a monitor's EDID through the parser and the plausibility rule;
// a size that stands must have a plausible pitch, and every text is printable.
#include "display/edid.h"
#include "display/monitor_glass.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const EdidInfo edid = ParseEdid(data, size);
    for (char c : edid.Maker + edid.Name + edid.SerialText + EdidModelText(edid))
        FUZZ_CHECK(c >= 0x20 && c < 0x7F);
    FUZZ_CHECK(edid.Valid || (edid.Maker.empty() && edid.WidthMm == 0.0));
    double width = 0.0, height = 0.0;
    if (JudgeMonitorGlass(edid, 1920, 1080, width, height) == GlassVerdict::Plausible) {
        FUZZ_CHECK(width / 1920 >= kMinPixelPitchMm && width / 1920 <= kMaxPixelPitchMm);
        FUZZ_CHECK(height / 1080 >= kMinPixelPitchMm && height / 1080 <= kMaxPixelPitchMm);
    }
    return 0;
}
