// Test helper for the Win32 tests of the stand-in: the test program's folder and the settings it
// hands the library.
#pragma once

#include <filesystem>
#include <string>

// The folder of the running test program (the stand-in's build folder).
std::filesystem::path TestProgramFolder();

// Writes SimController.ini (and the script, when given) into a fresh folder under the temporary
// folder and points SIMCONTROLLER_INI at it; returns the folder. Its log folder is "log" inside.
std::filesystem::path UseSimSettings(const std::string& name, const std::string& iniBody,
                                     const std::string& script);

std::string ReadWholeFile(const std::filesystem::path& path);
// Lines of a file containing the word.
size_t CountLinesWith(const std::filesystem::path& path, const std::string& word);
