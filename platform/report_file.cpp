// OpenReportFile and the ReportFile writer on top of the platform's report streams.
#include "platform/report_file.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

std::wstring& ReportFolderOverride() {
    static std::wstring folder;
    return folder;
}

}  // namespace

void SetReportFolderOverride(const wchar_t* folder) {
    ReportFolderOverride() = folder == nullptr ? L"" : folder;
}

PlatformReportStream* OpenReportFile(const wchar_t* name) {
    if (name == nullptr || *name == L'\0') return nullptr;
    std::wstring folder = ReportFolderOverride();
    if (folder.empty()) folder = PlatformReportFolder();
    if (folder.empty()) return nullptr;
    PlatformCreateFolders(folder);  // a failure shows in the open below
    return PlatformOpenReport(PlatformJoinPath(folder, name));
}

ReportFile::ReportFile(const wchar_t* name) : stream_(OpenReportFile(name)) {}

ReportFile::~ReportFile() { PlatformCloseReport(stream_); }

void ReportFile::Printf(const char* format, ...) {
    if (stream_ == nullptr || format == nullptr) return;
    char small[512];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (length >= 0 && static_cast<size_t>(length) < sizeof small) {
        PlatformWriteReport(stream_, small);
    } else if (length >= 0) {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        PlatformWriteReport(stream_, large.data());
    }
    va_end(again);
}
