// Stands in for Windows' "password.cpl" in the end-to-end tests. Each call
// takes the next answer from "password-answers.txt" in the current folder
// ('0' refuse, anything else accept; accept when none is left) and logs it
// to "password.log". The library is loaded anew for every check, so the
// answers live in a file.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    char answers[256] = {};
    if (FILE* in = std::fopen("password-answers.txt", "rb")) {
        std::fread(answers, 1, sizeof answers - 1, in);
        std::fclose(in);
    }
    const BOOL accept = answers[0] != '0';
    if (answers[0] != '\0') {
        if (FILE* out = std::fopen("password-answers.txt", "wb")) {
            std::fputs(answers + 1, out);
            std::fclose(out);
        }
    }
    if (FILE* log = std::fopen("password.log", "ab")) {
        std::fprintf(log, "verify %s window=%d\n", accept ? "accept" : "refuse",
                     window != nullptr && IsWindow(window) ? 1 : 0);
        std::fclose(log);
    }
    return accept;
}
