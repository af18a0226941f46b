// Report streams on Win32: a new file gets the world-access descriptor, then the file is opened
// for appending in text mode (CR LF line ends) without sharing restriction.
#include <share.h>
#include <windows.h>

#include <cstdio>

#include "config/platform.h"
#include "config/report_security_win32.h"

struct PlatformReportStream {
    FILE* file;
};

PlatformReportStream* PlatformOpenReport(const std::wstring& path) {
    if (!PlatformFileExists(path)) CreateWorldAccessibleFile(path.c_str());
    FILE* file = _wfsopen(path.c_str(), L"a+t", _SH_DENYNO);
    if (file == nullptr) return nullptr;
    return new PlatformReportStream{file};
}

void PlatformWriteReport(PlatformReportStream* stream, const char* text) {
    if (stream == nullptr || text == nullptr) return;
    std::fputs(text, stream->file);
}

void PlatformCloseReport(PlatformReportStream* stream) {
    if (stream == nullptr) return;
    std::fclose(stream->file);
    delete stream;
}
