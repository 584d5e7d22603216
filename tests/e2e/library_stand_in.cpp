// Stands in for the system's ddraw.dll, winmm.dll and winmm's sequencer
// mciseq.dll, planted beside the saver, which must never load them from
// there. Being loaded appends the file's own path to "libraries.log" in the
// folder that TESSARY_STAND_IN_DIR names. It exports what the saver once
// imported from ddraw and winmm, failing as a missing device would, so that
// a saver that still imported them would start and be seen loading it.
#define WIN32_LEAN_AND_MEAN  // no <mmsystem.h>: these are its functions, exported
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char path[2 * MAX_PATH] = {}, name[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("TESSARY_STAND_IN_DIR", path, MAX_PATH);
    if (reason != DLL_PROCESS_ATTACH || length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatA(path, "\\libraries.log");
    const DWORD nameLength = GetModuleFileNameA(self, name, MAX_PATH - 2);
    lstrcatA(name, "\r\n");
    HANDLE log = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE) return TRUE;
    DWORD written = 0;
    WriteFile(log, name, nameLength + 2, &written, nullptr);
    CloseHandle(log);
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, void**, void*) {
    return E_FAIL;
}
extern "C" __declspec(dllexport) DWORD WINAPI mciSendStringA(LPCSTR, LPSTR, UINT, HWND) { return 1; }
extern "C" __declspec(dllexport) DWORD WINAPI mciSendStringW(LPCWSTR, LPWSTR, UINT, HWND) { return 1; }
