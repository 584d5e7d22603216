#include "password/password.h"

#include <cwchar>

#include "display/display.h"
#include "shared/shell_state.h"

namespace {
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordProc)(LPCSTR, HWND, DWORD, LPVOID);
}  // namespace

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // Systems whose kernel32 has AddDllDirectory understand the search flag.
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    if (kernel != nullptr && GetProcAddress(kernel, "AddDllDirectory") != nullptr)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Older systems: the full path, so that no other folder is searched. A
    // system path that does not fit loads nothing rather than a bare name.
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    const std::size_t nameLength = std::wcslen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    std::wmemcpy(path + length + 1, name, nameLength + 1);
    return LoadLibraryW(path);
}

int VerifySaverPassword(HWND window) {
    PALETTEENTRY saved[256] = {};
    const int wasSaved = LendPaletteToSystem(saved);
    g_Shell.PasswordDialogUp = 1;
    ShowCursor(TRUE);

    int result = 1;
    HMODULE library = LoadSystemLibrary(L"password.cpl");
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
    HMODULE library = LoadSystemLibrary(L"mpr.dll");
    if (library == nullptr) return;
    auto change = reinterpret_cast<PwdChangePasswordProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    // The export has only the ANSI form; its provider name is plain ASCII.
    if (change != nullptr) change("SCRSAVE", parent, 0, nullptr);
    FreeLibrary(library);
}
