// Stands in for "mpr.dll" in the end-to-end tests: records the arguments of
// the screen-saver password change in "mpr.log" in the current folder.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD a, LPVOID b) {
    if (FILE* log = std::fopen("mpr.log", "ab")) {
        std::fprintf(log, "%s parent=%lu %lu %p\n", provider,
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(parent)),
                     static_cast<unsigned long>(a), b);
        std::fclose(log);
    }
    return 0;
}
