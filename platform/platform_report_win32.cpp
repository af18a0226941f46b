// Report streams on Win32: a new file gets the world-access descriptor, then the file is opened
// for appending in text mode (CR LF line ends) without sharing restriction.
#include <share.h>
#include <windows.h>

#include <cstdio>

#include "platform/platform.h"
#include "platform/report_security_win32.h"

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

bool PlatformCreateSharedFolder(const std::wstring& path) {
    WorldAccessDescriptor security;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (security.Build()) attributes.lpSecurityDescriptor = security.Descriptor();
    CreateDirectoryW(path.c_str(), &attributes);
    const DWORD found = GetFileAttributesW(path.c_str());
    return found != INVALID_FILE_ATTRIBUTES && (found & FILE_ATTRIBUTE_DIRECTORY);
}

bool PlatformWriteSharedFile(const std::wstring& path, const std::string& bytes) {
    WorldAccessDescriptor security;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (security.Build()) attributes.lpSecurityDescriptor = security.Descriptor();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                       written == bytes.size();
    CloseHandle(file);
    if (!whole) DeleteFileW(path.c_str());
    return whole;
}
