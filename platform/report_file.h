// Report files of the fits: opened for appending in the shared report folder.
#pragma once

#include "platform/platform.h"

// The report stream for a bare file name, creating folder and file when missing; none (nullptr)
// for no name or when the file cannot be opened. Close it with PlatformCloseReport.
PlatformReportStream* OpenReportFile(const wchar_t* name);

// Makes OpenReportFile use folder instead of the platform's report folder (tools that write
// reports elsewhere); nullptr or an empty text restores the platform's folder.
void SetReportFolderOverride(const wchar_t* folder);

// One report opened for the lifetime of the object; writing does nothing when it is not open.
class ReportFile {
  public:
    explicit ReportFile(const wchar_t* name);
    ~ReportFile();
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }

    // Narrow printf formatting; "\n" ends a line and is stored as CR LF by every build.
    void Printf(const char* format, ...)
#if defined(__MINGW32__)
        __attribute__((format(gnu_printf, 2, 3)))  // the C99 printf of __USE_MINGW_ANSI_STDIO
#elif defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;

  private:
    PlatformReportStream* stream_;
};
