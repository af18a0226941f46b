// A library planted under a language library's name: it carries the English texts and code that
// leaves "<its own path>.ran" behind whenever the library is loaded as a program library.
#include <windows.h>

#include <string>

namespace {

void LeaveMarker(HINSTANCE self) {
    wchar_t path[MAX_PATH] = {};
    if (GetModuleFileNameW(self, path, MAX_PATH) == 0) return;
    const std::wstring marker = std::wstring(path) + L".ran";
    HANDLE file = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) LeaveMarker(self);
    return TRUE;
}

// An entry for rundll32, which loads the library the ordinary way.
extern "C" __declspec(dllexport) void CALLBACK Planted(HWND, HINSTANCE, LPSTR, int) {}
