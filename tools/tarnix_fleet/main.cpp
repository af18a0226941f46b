// tarnix-fleet: the report over many kiosks' history exports.
#include <string>
#include <vector>

#include "tools/tarnix_fleet/fleet_tool.h"
#ifndef _WIN32
#include "platform/portable_text.h"
#endif

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return RunTarnixFleet(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
// Arguments are UTF-8 (other bytes carried through), as every portable path.
int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) args.push_back(WideFromNarrow(argv[i]));
    return RunTarnixFleet(args);
}
#endif
