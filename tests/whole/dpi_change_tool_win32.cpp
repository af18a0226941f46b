// Test tool: what a move to a monitor of another scale does to the calibration window, where
// Wine has no such monitors: the window is pushed off its area (as the dialog manager's own
// rescaling would) and then told of the new scale.
//   dpi_change_tool TITLE DPI      exit 0 when the window was found and told
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) return 1;
    const UINT dpi = UINT(std::wcstoul(argv[2], nullptr, 10));
    SetWindowPos(window, nullptr, 100, 100, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT suggested{100, 100, 600, 500};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return 0;
}
