// The command line of tarnix-fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ToolOptions {
    std::wstring ConfigPath;
    std::wstring ReportDir;   // empty: the platform's report folder
    std::wstring RecordPath;  // empty: no record file
    std::wstring DecodePath;  // --decode: print a record file instead of fitting
    std::wstring SvgPath;     // empty: no expected-error map
    int32_t MonitorWidth = 1920;
    int32_t MonitorHeight = 1080;
    bool HasMonitor = false;    // --monitor given: it overrides a history entry's area
    double PanelWidthMm = 0.0;  // 0: the pitch of a 15.6-inch 1920 x 1080 panel
    double PanelHeightMm = 0.0;
    bool HasCaptionHeight = false;
    int32_t CaptionHeight = 0;  // twips, positive
    bool Json = false;
    bool Help = false;
};

// Parses the arguments after the program name ("--name value" or "--name=value"). False with a
// message for an unknown option, a missing or malformed value, or neither --config nor --decode.
bool ParseToolOptions(const std::vector<std::wstring>& args, ToolOptions& options,
                      std::string& error);

// The --help text.
const char* ToolUsage();
