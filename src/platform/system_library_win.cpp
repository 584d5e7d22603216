#include "platform/system_library.h"

#include <cwchar>

namespace {

FARPROC KernelExport(const char* name) {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
}

// The export `name` of the system library `library`, which stays loaded; null
// when either is missing.
template <typename Function>
Function SystemExport(const wchar_t* library, const char* name) {
    HMODULE module = LoadSystemLibrary(library);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void RestrictLibrarySearchToSystem() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
    auto setDefaults = reinterpret_cast<SetDefaultDllDirectoriesProc>(
        reinterpret_cast<void*>(KernelExport("SetDefaultDllDirectories")));
    if (setDefaults != nullptr) setDefaults(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
    // Systems whose kernel32 has AddDllDirectory understand the search flag.
    if (KernelExport("AddDllDirectory") != nullptr)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);

    // Older systems: the full path, so that no other folder is searched for
    // the library, and its own dependencies searched for from its folder
    // rather than the program's. A system path that does not fit loads
    // nothing rather than a bare name.
    wchar_t path[MAX_PATH];
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    const std::size_t nameLength = std::wcslen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH) return nullptr;
    path[length] = L'\\';
    std::wmemcpy(path + length + 1, name, nameLength + 1);
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HRESULT WINAPI SystemDirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer) {
    static const auto create =
        SystemExport<decltype(&SystemDirectDrawCreate)>(L"ddraw.dll", "DirectDrawCreate");
    return create != nullptr ? create(driver, directDraw, outer) : DDERR_GENERIC;
}

MCIERROR WINAPI SystemMciSendStringW(LPCWSTR command, LPWSTR result, UINT resultLength,
                                     HWND callback) {
    static const auto send =
        SystemExport<decltype(&SystemMciSendStringW)>(L"winmm.dll", "mciSendStringW");
    return send != nullptr ? send(command, result, resultLength, callback)
                           : MCIERR_DEVICE_NOT_INSTALLED;
}
