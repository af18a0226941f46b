// The exports named on the command line: files as they are, folders for every ".json" file in them
// and their subfolders.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The files, folders' files sorted by path; a path that is neither is reported in missing.
std::vector<std::filesystem::path> ExportFiles(const std::vector<std::filesystem::path>& paths,
                                               std::vector<std::string>& missing);

// The file's bytes; false when it cannot be read.
bool ReadWholeFile(const std::filesystem::path& file, std::string& bytes);
