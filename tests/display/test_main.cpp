// Runs the display tests inside a Wine virtual desktop. Explorer, which
// starts this program there, does not pass our exit code on, so the result is
// also written to the file named by --status-file=PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "test_window.h"

namespace {

HWND g_window = nullptr;

HWND CreateTestWindow() {
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = "TessaryDisplayTest";
    if (!RegisterClassA(&cls)) return nullptr;
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, cls.lpszClassName, "Tessary display test",
                        WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, cls.hInstance, nullptr);
    if (window != nullptr) {
        SetForegroundWindow(window);
        UpdateWindow(window);
    }
    return window;
}

}  // namespace

HWND TestWindow() {
    return g_window;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const char* statusFile = nullptr;
    const char kStatusOption[] = "--status-file=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kStatusOption, sizeof kStatusOption - 1) == 0)
            statusFile = argv[i] + sizeof kStatusOption - 1;

    g_window = CreateTestWindow();
    int result = 1;
    if (g_window == nullptr) {
        std::printf("could not create the test window (error %lu)\n", GetLastError());
    } else {
        PumpMessages();
        result = RUN_ALL_TESTS();
        DestroyWindow(g_window);
    }
    std::fflush(stdout);
    if (statusFile != nullptr) {
        if (FILE* f = std::fopen(statusFile, "w")) {
            std::fprintf(f, "%d\n", result);
            std::fclose(f);
        }
    }
    return result;
}
