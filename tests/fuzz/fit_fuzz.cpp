// Fuzz target: the fit of tarnix-fit on arbitrary grid keys and touches, polynomial and Laplace
// kinds, with its reports and record written into a scratch folder. The input chooses the keys of
// a configuration file: sizes, model, normalisation and touches, hostile numbers included.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "tools/tarnix_fit/fit_session.h"
#include "tools/tarnix_fit/tool_main.h"

namespace {

// A real value: a plain count, a fraction, or one of the numbers that break careless arithmetic.
std::string RealText(FuzzedDataProvider& in) {
    static const char* const hostile[] = {
        "0",   "-0",  "1e-300", "-1",     "1e308",    "-1e308", "1e999", "nan",
        "inf", "0.5", "4095",   "2047.5", "4.9e-324", "abc",    "",      "99999999999999999999"};
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return std::to_string(in.ConsumeIntegralInRange(-100, 4200));
        case 1:
            return hostile[in.ConsumeIntegralInRange<size_t>(0, std::size(hostile) - 1)];
        case 2: {
            char text[40];
            std::snprintf(text, sizeof text, "%.17g", in.ConsumeFloatingPoint<double>());
            return text;
        }
        default:
            return std::to_string(in.ConsumeProbability<double>());
    }
}

void Key(std::string& cfg, const std::string& name, const std::string& value) {
    cfg += name + "=" + value + "\r\n";
}

void MaybeKey(FuzzedDataProvider& in, std::string& cfg, const char* name) {
    if (in.ConsumeBool()) Key(cfg, name, RealText(in));
}

std::string BuildConfig(FuzzedDataProvider& in) {
    std::string cfg = "[TARNIX-APP]\r\nSimulate=1\r\n";
    const int rows = in.ConsumeIntegralInRange(-1, 9);
    const int points = in.ConsumeIntegralInRange(-1, 72);
    Key(cfg, "NumGridRows", std::to_string(rows));
    Key(cfg, "NumGridPoints", std::to_string(points));
    Key(cfg, "Perimeter", in.ConsumeBool() ? "1" : "0");
    Key(cfg, "FitModelCode", std::to_string(in.ConsumeIntegralInRange(0, 49)));
    Key(cfg, "Nxside", std::to_string(in.ConsumeIntegralInRange(-2, 24)));
    Key(cfg, "Nyside", std::to_string(in.ConsumeIntegralInRange(-2, 24)));
    for (const char* name : {"RangeX", "RangeY", "OriginX", "OriginY", "GridMagnification",
                             "ControllerMax", "ControllerMin", "ControllerOffset", "ScaleFactor",
                             "PowerSupplyVoltage", "UpperTransDeltaV", "ScreenHeight"})
        MaybeKey(in, cfg, name);
    for (int n = 1; n <= 11; ++n)
        if (in.ConsumeBool()) Key(cfg, "InfluenceRadius" + std::to_string(n), RealText(in));
    char key[32];
    for (int i = 0; i < 84 && in.remaining_bytes() > 0; ++i) {
        std::snprintf(key, sizeof key, "TouchGridX%02d", i);
        Key(cfg, key, RealText(in));
        std::snprintf(key, sizeof key, "TouchGridY%02d", i);
        Key(cfg, key, RealText(in));
        if (in.ConsumeIntegralInRange(0, 7) == 0) {
            std::snprintf(key, sizeof key, "TargetGridX%02d", i);
            Key(cfg, key, RealText(in));
        }
    }
    return cfg;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string cfg = BuildConfig(in);
    const std::filesystem::path& folder = FuzzScratchFolder();
    const std::wstring path =
        WriteScratchFile("fit.cfg", reinterpret_cast<const uint8_t*>(cfg.data()), cfg.size())
            .wstring();
    std::error_code ignored;
    std::filesystem::remove_all(folder / "reports", ignored);
    int status = RunTarnixFit({L"--config", path, L"--reports", (folder / "reports").wstring(),
                               L"--record", (folder / "record.bin").wstring(), L"--json"});
    FUZZ_CHECK(status != kExitUsage && status != kExitInternal);
    return 0;
}
