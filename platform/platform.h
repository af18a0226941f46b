// The platform seam: the few services the portable core asks of the platform, one implementation
// per build (platform_<service>_win32.cpp and platform_<service>_portable.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// --- Profiles (platform_profile_*) ---

// Private-profile lookup with the semantics of GetPrivateProfileStringW: copies the value of key in
// section of the file at path (or defaultValue) into out, at most capacity - 1 characters plus the
// terminator, and returns the number of characters copied.
size_t PlatformReadProfileString(const wchar_t* section, const wchar_t* key,
                                 const wchar_t* defaultValue, wchar_t* out, size_t capacity,
                                 const wchar_t* path);

// A reading pass: while one of these lives on a thread, the portable reader decodes each profile
// file once, at its first lookup, and answers every further lookup from that; outside any pass
// every lookup reads the file anew, so an edit between passes is seen. Readers of many keys open
// one. The Win32 reader asks the platform every time, which keeps its own cache of the file.
class ProfileReadingPass {
  public:
    ProfileReadingPass();
    ~ProfileReadingPass();
    ProfileReadingPass(const ProfileReadingPass&) = delete;
    ProfileReadingPass& operator=(const ProfileReadingPass&) = delete;
};

// --- Settings (platform_settings_*) ---

// A 32-bit number under the machine-wide settings store (HKLM on Win32); false when absent.
bool PlatformReadMachineNumber(const wchar_t* keyPath, const wchar_t* valueName, uint32_t* value);

// A text value under the per-user settings store (HKCU on Win32); false when absent or unreadable.
bool PlatformReadUserText(const wchar_t* keyPath, const wchar_t* valueName, wchar_t* out,
                          size_t capacity);

// The platform's own window caption height in twips (positive), for when the per-user value is
// missing.
int PlatformDefaultCaptionHeightTwips();

// --- Folders and files (platform_files_*) ---

// The installation's support folder (program files + Zeph\Touch on Win32) and the shared report
// folder (common application data + Zeph\Touch on Win32). No trailing separator.
std::wstring PlatformSupportFolder();
std::wstring PlatformReportFolder();

// folder + separator + name, with the platform's separator.
std::wstring PlatformJoinPath(const std::wstring& folder, const std::wstring& name);

bool PlatformFileExists(const std::wstring& path);

// The size in bytes of the file at path; false when it cannot be found or sized.
bool PlatformFileSize(const std::wstring& path, uint64_t& bytes);

// Creates the folder and its missing parents; false when it does not exist afterwards.
bool PlatformCreateFolders(const std::wstring& path);

// Reads a whole text file of at most maxBytes bytes into contents; false when it cannot be opened
// or read (a longer file is cut at maxBytes).
bool PlatformReadTextFile(const std::wstring& path, std::string& contents, size_t maxBytes);

// --- Reports (platform_report_*) ---

// A report file opened for appending. Text written through PlatformWriteReport uses "\n" line ends;
// every build stores them as CR LF.
struct PlatformReportStream;
PlatformReportStream* PlatformOpenReport(const std::wstring& path);
void PlatformWriteReport(PlatformReportStream* stream, const char* text);
void PlatformCloseReport(PlatformReportStream* stream);

// A folder (its parent must exist) and a new file with the rights of the report files, so every
// user may later change and remove them; the file holds bytes exactly as given. False when the
// folder does not exist afterwards, or the file exists already or cannot be written whole.
bool PlatformCreateSharedFolder(const std::wstring& path);
bool PlatformWriteSharedFile(const std::wstring& path, const std::string& bytes);

// --- Diagnostics (platform_diagnostics_*) ---

// Hands one finished trace line to the platform's debugger channel (standard error elsewhere).
void PlatformTrace(const wchar_t* line);

// The platform's last error code (GetLastError on Win32, errno elsewhere), for traces.
uint32_t PlatformLastError();
