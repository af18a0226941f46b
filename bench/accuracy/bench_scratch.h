// A scratch folder for a bench's files, and the program's reports turned off.
#pragma once

#include <filesystem>

// Creates the folder `name` under the system's temporary folder and makes every report of the
// fits fail to open (the report folder is a file in it).
std::filesystem::path PrepareBenchScratch(const char* name);
