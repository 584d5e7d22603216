// Stands in for Windows' "password.cpl" and "mpr.dll". The password check
// takes the next answer from "password-answers.txt" ('0' refuses, anything
// else or nothing left accepts) and logs it to "password.log"; the password
// change logs its arguments to "mpr.log". These files live in the folder that
// TESSARY_STAND_IN_DIR names (the test's own), else in the temporary folder.
// Planted as ddraw.dll, winmm.dll or mciseq.dll beside the saver, it must never
// be loaded: loading logs its file's path to "libraries.log". It exports the
// DirectDrawCreate that the saver once imported, failing, so that a saver
// that still imported it would start and be seen loading it.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string InFolder(const char* name) {
    char folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("TESSARY_STAND_IN_DIR", folder, sizeof folder))
        GetTempPathA(sizeof folder, folder);
    std::string path = folder;
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path + name;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window) {
    const std::string answersFile = InFolder("password-answers.txt");
    char answers[64] = {};
    if (FILE* in = std::fopen(answersFile.c_str(), "rb")) {
        std::fread(answers, 1, sizeof answers - 1, in);
        std::fclose(in);
    }
    if (FILE* out = std::fopen(answersFile.c_str(), "wb")) {
        std::fputs(answers[0] ? answers + 1 : "", out);
        std::fclose(out);
    }
    const BOOL accept = answers[0] != '0';
    if (FILE* log = std::fopen(InFolder("password.log").c_str(), "ab")) {
        std::fprintf(log, "verify %s %d\n", accept ? "accept" : "refuse", IsWindow(window) ? 1 : 0);
        std::fclose(log);
    }
    return accept;
}

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND parent, DWORD a, LPVOID b) {
    if (FILE* log = std::fopen(InFolder("mpr.log").c_str(), "ab")) {
        std::fprintf(log, "%s parent=%lu %lu %p\n", provider,
                     static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(parent)),
                     static_cast<unsigned long>(a), b);
        std::fclose(log);
    }
    return 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char name[MAX_PATH] = {};
    if (reason != DLL_PROCESS_ATTACH || !GetModuleFileNameA(self, name, sizeof name)) return TRUE;
    if (FILE* log = std::fopen(InFolder("libraries.log").c_str(), "ab")) {
        std::fprintf(log, "%s\n", name);
        std::fclose(log);
    }
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DirectDrawCreate(GUID*, void**, void*) {
    return E_FAIL;
}
