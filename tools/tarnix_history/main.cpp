// tarnix-history: the calibration history on the command line.
#include <string>
#include <vector>

#include "tools/tarnix_history/history_tool.h"
#ifndef _WIN32
#include "platform/portable_text.h"
#endif

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return RunTarnixHistory(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
// Arguments are UTF-8 (other bytes carried through), as every portable path.
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(WideFromNarrow(argv[i]));
    return RunTarnixHistory(args);
}
#endif
