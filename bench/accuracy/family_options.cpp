// The family bench's command line.
#include "bench/accuracy/family_options.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "bench/accuracy/pass_sensor.h"

namespace {

bool Fail(std::string* error, std::string reason) {
    *error = std::move(reason);
    return false;
}

bool KnownFamily(const std::string& name) {
    for (const BenchFamily& family : BenchFamilies())
        if (FamilyPicked(family, {name})) return true;
    return false;
}

// Applies one option and its value; false with the reason.
bool Apply(const std::string& option, const std::string& value, bool scatterGiven,
           FamilyBenchOptions* o, std::string* error) {
    if (option == "--passes") {
        o->Passes = std::max(1, std::atoi(value.c_str()));
    } else if (option == "--family") {
        if (!KnownFamily(value)) return Fail(error, "unknown family " + value);
        o->Families.push_back(value);
    } else if (option == "--scatter") {
        if (!scatterGiven) o->ScattersMm.clear();
        o->ScattersMm.push_back(std::atof(value.c_str()));
    } else if (option == "--bad") {
        if (!ParseBadTouches(value, &o->Bad)) return Fail(error, "--bad takes none, one or two");
    } else if (option == "--seed") {
        o->Seed = uint32_t(std::strtoul(value.c_str(), nullptr, 10));
    } else if (option == "--set") {
        KeySetting setting;
        if (!ParseKeySetting(value, &setting)) return Fail(error, "--set takes KEY=VALUE");
        o->Settings.push_back(setting);
    } else if (option == "--layout") {
        o->Layout = value;
    } else {
        return Fail(error, "unknown option " + option);
    }
    return true;
}

}  // namespace

bool ParseFamilyBenchOptions(int argc, char** argv, const std::filesystem::path& shippedLayout,
                             FamilyBenchOptions* options, std::string* error) {
    *options = FamilyBenchOptions();
    options->Layout = shippedLayout;
    bool scatterGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (i + 1 >= argc) return Fail(error, option + " needs a value");
        if (!Apply(option, argv[++i], scatterGiven, options, error)) return false;
        scatterGiven = scatterGiven || option == "--scatter";
    }
    return true;
}
