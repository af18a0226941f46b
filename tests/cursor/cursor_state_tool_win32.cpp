// Test tool: runs one cursor-hiding step in a process of its own, so whole-program tests can
// check the registry with `reg query` between steps and kill a run while it is hidden.
//   cursor_state_tool hide | restore | hide-and-die
#include <windows.h>

#include <cwchar>

#include "cursors/cursor_hiding.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    if (std::wcscmp(argv[1], L"hide") == 0) {
        HideCursorsIfNeeded();
        return 0;
    }
    if (std::wcscmp(argv[1], L"restore") == 0) {
        RestoreCursorsIfNeeded();
        return 0;
    }
    if (std::wcscmp(argv[1], L"hide-and-die") == 0) {
        HideCursorsIfNeeded();
        TerminateProcess(GetCurrentProcess(), 3);  // a run killed in the middle of its pass
    }
    return 2;
}
