// A tiny Win32 window the bench's own tests drive: it traces its start, clicks and keys to the
// debugger channel, reads and writes the registry, and paints known colours.
#include <windows.h>

#include <cwchar>

namespace {

constexpr COLORREF kBackground = RGB(140, 215, 242);
constexpr COLORREF kMark = RGB(255, 0, 0);
constexpr RECT kMarkRect = {100, 100, 200, 150};
const wchar_t kKey[] = L"Software\\TarnixBench";

void Trace(const wchar_t* format, ...) {
    wchar_t line[512];
    va_list args;
    va_start(args, format);
    _vsnwprintf(line, 511, format, args);
    va_end(args);
    line[511] = L'\0';
    OutputDebugStringW(line);
}

void EchoRegistry() {
    wchar_t greeting[128] = L"(none)";
    DWORD size = sizeof greeting - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, kKey, L"Greeting", RRF_RT_REG_SZ, nullptr, greeting, &size);
    Trace(L"probe: greeting=%ls\n", greeting);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) == ERROR_SUCCESS) {
        DWORD answer = 42;
        RegSetValueExW(key, L"Written", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&answer),
                       sizeof answer);
        RegCloseKey(key);
    }
}

void Paint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(kBackground);
    HBRUSH mark = CreateSolidBrush(kMark);
    FillRect(dc, &client, background);
    FillRect(dc, &kMarkRect, mark);
    DeleteObject(background);
    DeleteObject(mark);
    EndPaint(window, &ps);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_LBUTTONDOWN: {
            POINT at = {static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
            ClientToScreen(window, &at);
            Trace(L"probe: click %d %d\n", static_cast<int>(at.x), static_cast<int>(at.y));
            return 0;
        }
        case WM_KEYDOWN:
            if (wparam == VK_ESCAPE) {
                Trace(L"probe: escape\n");
                DestroyWindow(window);
            }
            return 0;
        case WM_DESTROY:
            PostQuitMessage(7);
            return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    Trace(L"probe: start \"%ls\"\n", command_line);
    EchoRegistry();
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = WindowProc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = L"TarnixBenchProbe";
    RegisterClassW(&window_class);
    const bool layered = wcsstr(command_line, L"layered") != nullptr;
    HWND window = CreateWindowExW(WS_EX_TOPMOST | (layered ? WS_EX_LAYERED : 0), L"TarnixBenchProbe",
                                  L"TarnixBenchProbe", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 2;
    if (layered) SetLayeredWindowAttributes(window, 0, 178, LWA_ALPHA);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    Trace(L"probe: exit\n");
    return static_cast<int>(message.wParam);
}
