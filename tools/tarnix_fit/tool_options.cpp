// Parsing of the tarnix-fit command line.
#include "tools/tarnix_fit/tool_options.h"

#include <cwchar>

#include "tools/tarnix_fit/tool_text.h"

namespace {

bool ParseInteger(const std::wstring& text, int32_t lowest, int32_t highest, int32_t& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    long long parsed = std::wcstoll(text.c_str(), &end, 10);
    if (*end != L'\0' || parsed < lowest || parsed > highest) return false;
    value = static_cast<int32_t>(parsed);
    return true;
}

bool ParseMonitor(const std::wstring& text, ToolOptions& options) {
    size_t cross = text.find_first_of(L"xX");
    if (cross == std::wstring::npos) return false;
    return ParseInteger(text.substr(0, cross), 1, 65535, options.MonitorWidth) &&
           ParseInteger(text.substr(cross + 1), 1, 65535, options.MonitorHeight);
}

bool ParsePanel(const std::wstring& text, ToolOptions& options) {
    wchar_t* end = nullptr;
    const double width = std::wcstod(text.c_str(), &end);
    if (end == text.c_str() || (*end != L'x' && *end != L'X')) return false;
    const wchar_t* heightText = end + 1;
    const double height = std::wcstod(heightText, &end);
    if (end == heightText || *end != L'\0' || !(width > 0 && width < 1e5) ||
        !(height > 0 && height < 1e5))
        return false;
    options.PanelWidthMm = width;
    options.PanelHeightMm = height;
    return true;
}

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// Applies one option that takes a value.
bool ApplyValue(const std::wstring& name, const std::wstring& value, ToolOptions& options,
                std::string& error) {
    if (name == L"--config") {
        options.ConfigPath = value;
    } else if (name == L"--reports") {
        options.ReportDir = value;
    } else if (name == L"--record") {
        options.RecordPath = value;
    } else if (name == L"--decode") {
        options.DecodePath = value;
    } else if (name == L"--monitor") {
        if (!ParseMonitor(value, options))
            return Fail(error, "--monitor needs WIDTHxHEIGHT in pixels, such as 1920x1080");
        options.HasMonitor = true;
    } else if (name == L"--panel") {
        if (!ParsePanel(value, options))
            return Fail(error, "--panel needs WIDTHxHEIGHT in millimetres, such as 344.2x193.6");
    } else if (name == L"--svg") {
        options.SvgPath = value;
    } else if (name == L"--caption-height") {
        int32_t twips = 0;
        if (!ParseInteger(value, -100000, 100000, twips))
            return Fail(error, "--caption-height needs a whole number of twips, such as 330");
        options.HasCaptionHeight = true;
        options.CaptionHeight = twips < 0 ? -twips : twips;
    } else {
        return Fail(error, "unknown option " + PrintableText(name));
    }
    if (value.empty()) return Fail(error, PrintableText(name) + " needs a value");
    return true;
}

bool TakesValue(const std::wstring& name) {
    return name == L"--config" || name == L"--reports" || name == L"--record" ||
           name == L"--decode" || name == L"--monitor" || name == L"--caption-height" ||
           name == L"--panel" || name == L"--svg";
}

}  // namespace

bool ParseToolOptions(const std::vector<std::wstring>& args, ToolOptions& options,
                      std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::wstring name = args[i];
        if (name == L"--help" || name == L"-h") {
            options.Help = true;
            return true;
        }
        if (name == L"--json") {
            options.Json = true;
            continue;
        }
        size_t equals = name.find(L'=');
        std::wstring value;
        if (equals != std::wstring::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        } else if (TakesValue(name)) {
            if (i + 1 >= args.size()) return Fail(error, PrintableText(name) + " needs a value");
            value = args[++i];
        }
        if (!ApplyValue(name, value, options, error)) return false;
    }
    if (options.ConfigPath.empty() && options.DecodePath.empty())
        return Fail(error, "nothing to do: give --config FILE or --decode FILE (see --help)");
    return true;
}

const char* ToolUsage() {
    return "usage: tarnix-fit --config FILE [--reports DIR] [--monitor WIDTHxHEIGHT]\n"
           "                  [--caption-height TWIPS] [--record FILE] [--json]\n"
           "                  [--panel WIDTHxHEIGHT] [--svg FILE]\n"
           "       tarnix-fit --decode FILE\n"
           "       tarnix-fit --help\n"
           "\n"
           "Runs the fit of one calibration pass offline on the touches given by the TouchGrid\n"
           "keys of a Tarnix configuration file, appends the fit reports and prints a summary.\n"
           "\n"
           "  --config FILE          the configuration file (section TARNIX-APP)\n"
           "  --reports DIR          folder the reports are appended to (default: the report\n"
           "                         folder of the installation)\n"
           "  --monitor WxH          pixel size of the calibrated monitor (default 1920x1080,\n"
           "                         or the area of a history entry)\n"
           "  --caption-height TWIPS window caption height that places the mini targets\n"
           "                         (default: a history entry's, else the system's)\n"
           "  --record FILE          write the 1257-byte calibration record of the commit for an\n"
           "                         area of the monitor size at (0, 0), screen 0, monitor 1, or\n"
           "                         placed as a history entry's section TARNIX-HISTORY says\n"
           "  --json                 print the fit results as one JSON object\n"
           "  --panel WxH            size of the panel in mm, for the expected error (default:\n"
           "                         ScreenWidth x ScreenHeight of the configuration)\n"
           "  --svg FILE             draw the expected error of a new touch over the area, with\n"
           "                         the targets, the touches and their deleted residuals\n"
           "  --decode FILE          print every field of a calibration record file\n"
           "\n"
           "Exit status: 0 fitted, 1 the fit refused the data, 2 usage error, 3 unusable input,\n"
           "4 model kind not available, 5 the record or the SVG could not be written, 6 out of\n"
           "memory or an unexpected failure (one line on the error stream names it).\n";
}
