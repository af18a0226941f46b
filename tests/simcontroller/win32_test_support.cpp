// Test helper for the Win32 tests of the stand-in: the test program's folder and the settings it
// hands the library.
#include "tests/simcontroller/win32_test_support.h"

#include <windows.h>

#include <fstream>
#include <sstream>

std::filesystem::path TestProgramFolder() {
    wchar_t path[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

std::filesystem::path UseSimSettings(const std::string& name, const std::string& iniBody,
                                     const std::string& script) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("simcontroller-" + name + "-" + std::to_string(GetCurrentProcessId()));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "SimController.ini", std::ios::binary)
        << "[SimController]\r\nLogFolder=log\r\nScriptFile=script.txt\r\n"
        << iniBody;
    if (!script.empty()) std::ofstream(folder / "script.txt", std::ios::binary) << script;
    SetEnvironmentVariableW(L"SIMCONTROLLER_INI", (folder / "SimController.ini").wstring().c_str());
    return folder;
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

size_t CountLinesWith(const std::filesystem::path& path, const std::string& word) {
    std::istringstream lines(ReadWholeFile(path));
    size_t count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line.find(word) != std::string::npos;
    return count;
}
