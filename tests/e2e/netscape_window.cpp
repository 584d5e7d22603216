// A top-level window titled "Netscape Navigator" (the title is the first
// argument when given), kept open until the window is closed or the
// process is killed. Used by the start-up restriction tests.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "TessaryTestBrowser";
    RegisterClassA(&wc);
    const char* title = commandLine && *commandLine ? commandLine : "Netscape Navigator";
    CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                    nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
