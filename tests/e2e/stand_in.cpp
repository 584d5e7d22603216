// Stands in for Windows' "password.cpl" and "mpr.dll". The password check
// takes the next answer from "password-answers.txt" in the current folder
// ('0' refuses, anything else or nothing left accepts) and logs it to
// "password.log"; the password change logs its arguments to "mpr.log".
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char answers[64] = {};
    if (FILE* in = std::fopen("password-answers.txt", "rb")) {
        std::fread(answers, 1, sizeof answers - 1, in);
        std::fclose(in);
    }
    if (FILE* out = std::fopen("password-answers.txt", "wb")) {
        std::fputs(answers[0] ? answers + 1 : "", out);
        std::fclose(out);
    }
    const BOOL accept = answers[0] != '0';
    if (FILE* log = std::fopen("password.log", "ab")) {
        std::fprintf(log, "verify %s %d\n", accept ? "accept" : "refuse", IsWindow(window) ? 1 : 0);
        std::fclose(log);
    }
    return accept;
}

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
