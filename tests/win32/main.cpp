// The Windows tests run under Wine, in its virtual desktop, where DirectDraw
// may take the screen in any mode.
#include <gtest/gtest.h>

#include "music/music.h"
#include "win32_test.h"

HWND g_testWindow = nullptr;

std::wstring TuneFolder::path;

TuneFolder::TuneFolder(std::vector<std::wstring> files) : files_(std::move(files)) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    // A folder of this process: one left by a crashed run changes nothing.
    path = std::wstring(temp) + L"tessary-tunes-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path.c_str(), nullptr);
    for (const std::wstring& file : files_)
        CloseHandle(CreateFileW((path + L"\\" + file).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    g_Music.host.moduleFileName = [](wchar_t* name, DWORD size) {
        return DWORD(lstrlenW(lstrcpynW(name, (path + L"\\tessary.scr").c_str(), int(size))));
    };
}

TuneFolder::~TuneFolder() {
    for (const std::wstring& file : files_) DeleteFileW((path + L"\\" + file).c_str());
    RemoveDirectoryW(path.c_str());
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    WNDCLASSA cls = {};
    cls.lpfnWndProc = DefWindowProcA;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = "TessaryTestWindow";
    RegisterClassA(&cls);
    g_testWindow =
        CreateWindowExA(WS_EX_TOPMOST, cls.lpszClassName, "Tessary test", WS_POPUP | WS_VISIBLE, 0,
                        0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, cls.hInstance, nullptr);
    SetForegroundWindow(g_testWindow);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    const int result = RUN_ALL_TESTS();
    DestroyWindow(g_testWindow);
    return result;
}
