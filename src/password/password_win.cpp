#include "password/password.h"

#include "display/display.h"
#include "platform/system_library.h"
#include "shared/shell_state.h"

namespace {
typedef BOOL(WINAPI* VerifyScreenSavePwdProc)(HWND);
typedef DWORD(WINAPI* PwdChangePasswordProc)(LPCSTR, HWND, DWORD, LPVOID);
}  // namespace

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
