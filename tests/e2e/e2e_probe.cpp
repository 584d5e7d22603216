// Looks at and acts on the Windows side of an end-to-end run from a second
// process. Exit code 0 means the condition held.
//   wait-window CLASS MS, wait-gone CLASS MS   a window of the class comes, goes
//   display-mode                               prints WIDTHxHEIGHT
//   answer-box TITLE BUTTON MS                 prints a message box's text, presses BUTTON
//   centre TITLE ID MS                         prints the screen x y of control ID's centre
//   activate CLASS MS                          brings the window to the front, as a click would
//   post CLASS MESSAGE                         posts MESSAGE to the window
//   window TITLE                               shows a window with that title until closed
//   record FILE TEXT                           writes TEXT to FILE (a stand-in browser)
//   identity FILE                              prints the version resource and string 1
//   entries TITLE ID MS                        prints the text and the entries of combo box ID
//   pictures                                   prints the user's Pictures folder
//   manifest FILE                              prints the program's application manifest
// Arguments and output are UTF-8, whatever Wine's code page.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

template <typename Condition>
bool WaitFor(const char* ms, Condition condition) {
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        if (condition()) return true;
        if (GetTickCount() - start >= DWORD(std::atoi(ms))) return false;
    }
}

// The stand-in browser ends when its window is closed, as a browser would.
LRESULT CALLBACK BrowserProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

std::wstring Wide(const char* utf8) {
    wchar_t out[1024] = {};
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, out, 1024);
    return out;
}

std::string Utf8(const wchar_t* wide) {
    char out[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
    wchar_t cls[32] = {}, text[512] = {};
    GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, L"Static") == 0 && GetWindowTextW(child, text, 512) > 0)
        *reinterpret_cast<std::string*>(out) += Utf8(text);
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** wide) {
    std::string args[8];
    const char* argv[8] = {};
    for (int i = 0; i < argc && i < 8; ++i) argv[i] = (args[i] = Utf8(wide[i])).c_str();
    const std::string what = argc > 1 ? argv[1] : "";
    const char* a = argc > 2 ? argv[2] : "";
    HWND w = nullptr;
    auto found = [&](const char* cls, const char* title) {
        const std::wstring c = Wide(cls), t = Wide(title);
        return (w = FindWindowW(*cls ? c.c_str() : nullptr, *title ? t.c_str() : nullptr)) !=
               nullptr;
    };
    if (what == "wait-window" && argc == 4)
        return WaitFor(argv[3], [&] { return found(a, ""); }) ? 0 : 1;
    if (what == "wait-gone" && argc == 4)
        return WaitFor(argv[3], [&] { return !found(a, ""); }) ? 0 : 1;
    if (what == "display-mode") {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
        std::printf("%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight);
        return 0;
    }
    if (what == "answer-box" && argc == 5) {
        if (!WaitFor(argv[4], [&] { return found("#32770", a); })) return 1;
        std::string text;
        EnumChildWindows(w, CollectText, reinterpret_cast<LPARAM>(&text));
        std::printf("%s\n", text.c_str());
        PostMessageA(w, WM_COMMAND, MAKEWPARAM(std::atoi(argv[3]), BN_CLICKED), 0);
        return 0;
    }
    if (what == "centre" && argc == 5) {
        HWND control = nullptr;
        if (!WaitFor(argv[4], [&] {
                return found("#32770", a) && (control = GetDlgItem(w, std::atoi(argv[3]))) &&
                       IsWindowVisible(control);
            }))
            return 1;
        RECT r;
        GetWindowRect(control, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (what == "entries" && argc == 5) {
        HWND box = nullptr;
        // The dialog shows itself once its controls are filled.
        if (!WaitFor(argv[4], [&] {
                return found("#32770", a) && IsWindowVisible(w) &&
                       (box = GetDlgItem(w, std::atoi(argv[3])));
            }))
            return 1;
        // From another process GetWindowText gives a control's first text.
        wchar_t text[512] = {};
        SendMessageW(box, WM_GETTEXT, 512, LPARAM(text));
        std::printf("field=%s\n", Utf8(text).c_str());
        const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            text[0] = L'\0';
            SendMessageW(box, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            std::printf("entry=%s\n", Utf8(text).c_str());
        }
        return 0;
    }
    if (what == "manifest" && argc == 3) {
        const HMODULE file = LoadLibraryExW(Wide(a).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        const HRSRC found = file ? FindResourceW(file, MAKEINTRESOURCEW(1), RT_MANIFEST) : nullptr;
        if (!found) return 1;
        const char* text = static_cast<const char*>(LockResource(LoadResource(file, found)));
        return std::printf("%.*s\n", int(SizeofResource(file, found)), text) < 0;
    }
    if (what == "pictures") {
        wchar_t path[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr,
                                    SHGFP_TYPE_CURRENT, path)))
            return 1;
        return std::printf("%s\n", Utf8(path).c_str()) < 0;
    }
    if (what == "activate" && argc == 4) {
        if (!WaitFor(argv[3], [&] { return found(a, ""); })) return 1;
        if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
        return GetForegroundWindow() == w ? 0 : 1;
    }
    if (what == "post" && argc == 4)
        return found(a, "") && PostMessageA(w, std::atoi(argv[3]), 0, 0) ? 0 : 1;
    if (what == "window" && argc == 3) {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = BrowserProc;
        cls.lpszClassName = "TessaryTestBrowser";
        RegisterClassA(&cls);
        CreateWindowExA(0, cls.lpszClassName, a, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200,
                        nullptr, nullptr, nullptr, nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
        return 0;
    }
    if (what == "record" && argc == 4) {
        FILE* out = std::fopen(a, "wb");
        return out && std::fputs(argv[3], out) >= 0 && std::fclose(out) == 0 ? 0 : 1;
    }
    if (what == "identity" && argc == 3) {
        static char data[16384], text[64];
        VS_FIXEDFILEINFO* v = nullptr;
        DWORD* language = nullptr;
        UINT size = 0;
        if (!GetFileVersionInfoA(a, 0, sizeof data, data) ||
            !VerQueryValueA(data, "\\", reinterpret_cast<void**>(&v), &size) ||
            !VerQueryValueA(data, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language),
                            &size))
            return 1;
        std::printf("file %08lx%08lx product %08lx%08lx translation %08lx\n", v->dwFileVersionMS,
                    v->dwFileVersionLS, v->dwProductVersionMS, v->dwProductVersionLS, *language);
        for (std::string name :
             {"FileVersion", "ProductVersion", "ProductName", "OriginalFilename"}) {
            char none[] = "(none)", *value = none;
            VerQueryValueA(data, ("\\StringFileInfo\\041104b0\\" + name).c_str(),
                           reinterpret_cast<void**>(&value), &size);
            std::printf("%s=%s\n", name.c_str(), value);
        }
        LoadStringA(LoadLibraryExA(a, nullptr, LOAD_LIBRARY_AS_DATAFILE), 1, text, sizeof text);
        return std::printf("string 1=%s\n", text) < 0;
    }
    std::fprintf(stderr, "e2e_probe: bad arguments\n");
    return 2;
}
