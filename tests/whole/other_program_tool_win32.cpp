// Test tool: what another program on the desktop does to the program under test, without input a
// touch driver would see.
//   other_program_tool event NAME          sets the named event (a redo request of the driver's
//                                          tools, for one); exit 0 when it existed and was set
//   other_program_tool press TITLE ID      clicks the button ID of the window TITLE with
//                                          BM_CLICK; exit 0 when both were found
//   other_program_tool repaint TITLE       has the window TITLE erased and painted again before
//                                          it returns; exit 0 when it was found
//   other_program_tool notify TITLE ID CODE  sends the window TITLE a WM_COMMAND from its
//                                          button ID with the notification CODE; exit 0 when
//                                          both were found
//   other_program_tool close TITLE         asks the window TITLE to close (WM_CLOSE, as its
//                                          system menu or Alt+F4 would); exit 0 when found
#include <windows.h>

#include <cwchar>

namespace {

int SetNamedEvent(const wchar_t* name) {
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (event == nullptr) return 1;
    const bool set = SetEvent(event) != FALSE;
    CloseHandle(event);
    return set ? 0 : 1;
}

int PressButton(const wchar_t* title, const wchar_t* id) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    HWND button = GetDlgItem(window, int(std::wcstol(id, nullptr, 10)));
    if (button == nullptr) return 1;
    SendMessageW(button, BM_CLICK, 0, 0);
    return 0;
}

int Repaint(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    return RedrawWindow(window, nullptr, nullptr, flags) ? 0 : 1;
}

int NotifyFromButton(const wchar_t* title, const wchar_t* id, const wchar_t* code) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    const int buttonId = int(std::wcstol(id, nullptr, 10));
    HWND button = GetDlgItem(window, buttonId);
    if (button == nullptr) return 1;
    const WORD notification = WORD(std::wcstol(code, nullptr, 10));
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(buttonId, notification),
                 reinterpret_cast<LPARAM>(button));
    return 0;
}

int CloseWindow(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (window == nullptr) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wcscmp(argv[1], L"event") == 0) return SetNamedEvent(argv[2]);
    if (argc == 4 && std::wcscmp(argv[1], L"press") == 0) return PressButton(argv[2], argv[3]);
    if (argc == 3 && std::wcscmp(argv[1], L"repaint") == 0) return Repaint(argv[2]);
    if (argc == 5 && std::wcscmp(argv[1], L"notify") == 0)
        return NotifyFromButton(argv[2], argv[3], argv[4]);
    if (argc == 3 && std::wcscmp(argv[1], L"close") == 0) return CloseWindow(argv[2]);
    return 2;
}
