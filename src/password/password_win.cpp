#include "password/password.h"

#include <cstring>

#include "display/display.h"
#include "shell/shell_state.h"

namespace {
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordProc)(LPCSTR, HWND, DWORD, LPVOID);
}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
    // Systems whose kernel32 has AddDllDirectory understand the search flag.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr)
        return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Older systems: the full path, so that no other folder is searched. A
    // system path that does not fit loads nothing rather than a bare name.
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const std::size_t nameLength = std::strlen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameLength + 1);
    return LoadLibraryA(path);
}

int VerifySaverPassword(HWND window) {
    PALETTEENTRY saved[256] = {};
    const int wasSaved = LendPaletteToSystem(saved);
    g_Shell.PasswordDialogUp = 1;
    ShowCursor(TRUE);

    int result = 1;
    HMODULE library = LoadSystemLibrary("password.cpl");
    if (library != nullptr) {
        auto verify = reinterpret_cast<VerifyScreenSavePwdProc>(
            reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
        if (verify != nullptr) result = verify(window) ? 1 : 0;
        FreeLibrary(library);
    }

    ShowCursor(FALSE);
    g_Shell.PasswordDialogUp = 0;
    ReclaimPalette(saved, wasSaved);
    return result;
}

void ChangeSaverPassword(HWND parent) {
    HMODULE library = LoadSystemLibrary("mpr.dll");
    if (library == nullptr) return;
    auto change = reinterpret_cast<PwdChangePasswordProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change != nullptr) change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(library);
}
