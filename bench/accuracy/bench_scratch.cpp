// A scratch folder for a bench's files, and the program's reports turned off.
#include "bench/accuracy/bench_scratch.h"

#include <fstream>

#include "platform/report_file.h"

std::filesystem::path PrepareBenchScratch(const char* name) {
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(scratch);
    std::ofstream(scratch / "not-a-folder") << "x";
    SetReportFolderOverride((scratch / "not-a-folder").wstring().c_str());
    return scratch;
}
