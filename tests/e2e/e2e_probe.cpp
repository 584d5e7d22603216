// Looks at the Windows side of an end-to-end run from a second process:
// waits for windows to come and go, reads the display mode, reads and
// answers message boxes, closes the settings dialog. Exit code 0 means the
// condition held; the result is also printed.
//
//   e2e_probe wait-window CLASS TIMEOUT_MS      the class has a window
//   e2e_probe wait-gone CLASS TIMEOUT_MS        no window of the class is left
//   e2e_probe never-window CLASS DURATION_MS    none appears during the time
//   e2e_probe display-mode                      prints WIDTHxHEIGHTxBITS
//   e2e_probe answer-box TITLE BUTTON TIMEOUT   prints the box's text, presses
//                                               IDOK/IDYES (1/6) or IDNO (7)
//   e2e_probe press CLASS TITLE ID TIMEOUT_MS   clicks button ID of that window
//   e2e_probe centre CLASS TITLE ID TIMEOUT_MS  prints the screen x y of the
//                                               centre of control ID
//   e2e_probe activate CLASS TIMEOUT_MS         brings the window of the class to
//                                               the foreground, as a user's click
//                                               on it would
//   e2e_probe record FILE TEXT                  writes TEXT to FILE (a stand-in
//                                               for a web browser)
//   e2e_probe identity FILE                     prints the file's version
//                                               resource (fixed versions,
//                                               translation, names) and its
//                                               string resource 1
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND Find(const char* cls, const char* title) {
    return FindWindowA(cls && *cls ? cls : nullptr, title && *title ? title : nullptr);
}

template <typename Condition>
bool WaitFor(DWORD timeout, Condition condition) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeout) return false;
        Sleep(20);
    }
}

BOOL CALLBACK CollectText(HWND child, LPARAM parameter) {
    char cls[32] = {}, text[512] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0) {
        std::string* out = reinterpret_cast<std::string*>(parameter);
        if (!out->empty()) *out += "|";
        *out += text;
    }
    return TRUE;
}

int Usage() {
    std::fprintf(stderr, "e2e_probe: bad arguments\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string what = argv[1];
    if (what == "wait-window" && argc == 4) {
        bool ok = WaitFor(std::atoi(argv[3]), [&] { return Find(argv[2], nullptr) != nullptr; });
        std::printf("%s\n", ok ? "present" : "absent");
        return ok ? 0 : 1;
    }
    if (what == "wait-gone" && argc == 4) {
        bool ok = WaitFor(std::atoi(argv[3]), [&] { return Find(argv[2], nullptr) == nullptr; });
        std::printf("%s\n", ok ? "gone" : "still there");
        return ok ? 0 : 1;
    }
    if (what == "never-window" && argc == 4) {
        bool seen = WaitFor(std::atoi(argv[3]), [&] { return Find(argv[2], nullptr) != nullptr; });
        std::printf("%s\n", seen ? "seen" : "never seen");
        return seen ? 1 : 0;
    }
    if (what == "display-mode" && argc == 2) {
        DEVMODEA mode = {};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
        std::printf("%lux%lux%lu\n", mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
        return 0;
    }
    if (what == "answer-box" && argc == 5) {
        HWND box = nullptr;
        if (!WaitFor(std::atoi(argv[4]),
                     [&] { return (box = Find("#32770", argv[2])) != nullptr; }))
            return 1;
        std::string text;
        EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(std::atoi(argv[3]), BN_CLICKED), 0);
        return 0;
    }
    if (what == "press" && argc == 6) {
        HWND window = nullptr;
        if (!WaitFor(std::atoi(argv[5]),
                     [&] { return (window = Find(argv[2], argv[3])) != nullptr; }))
            return 1;
        HWND button = GetDlgItem(window, std::atoi(argv[4]));
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(std::atoi(argv[4]), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
        std::printf("pressed\n");
        return 0;
    }
    if (what == "centre" && argc == 6) {
        HWND window = nullptr, control = nullptr;
        if (!WaitFor(std::atoi(argv[5]), [&] {
                window = Find(argv[2], argv[3]);
                control = window ? GetDlgItem(window, std::atoi(argv[4])) : nullptr;
                return control != nullptr && IsWindowVisible(control);
            }))
            return 1;
        RECT r;
        GetWindowRect(control, &r);
        std::printf("%ld %ld\n", (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return 0;
    }
    if (what == "activate" && argc == 4) {
        HWND window = nullptr;
        if (!WaitFor(std::atoi(argv[3]),
                     [&] { return (window = Find(argv[2], nullptr)) != nullptr; }))
            return 1;
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        return GetForegroundWindow() == window ? 0 : 1;
    }
    if (what == "record" && argc == 4) {
        FILE* out = std::fopen(argv[2], "wb");
        if (out == nullptr) return 1;
        std::fputs(argv[3], out);
        std::fclose(out);
        return 0;
    }
    if (what == "identity" && argc == 3) {
        static char data[16384], text[64];
        VS_FIXEDFILEINFO* fixed = nullptr;
        DWORD* language = nullptr;
        UINT size = 0;
        if (!GetFileVersionInfoA(argv[2], 0, sizeof data, data) ||
            !VerQueryValueA(data, "\\", reinterpret_cast<void**>(&fixed), &size) ||
            !VerQueryValueA(data, "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language),
                            &size))
            return 1;
        std::printf("file %08lx%08lx product %08lx%08lx translation %08lx\n",
                    fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                    fixed->dwProductVersionLS, *language);
        // The names of the Japanese block in Unicode.
        for (const char* name :
             {"FileVersion", "ProductVersion", "ProductName", "OriginalFilename"}) {
            const std::string key = std::string("\\StringFileInfo\\041104b0\\") + name;
            char none[] = "(none)", *value = none;
            VerQueryValueA(data, key.c_str(), reinterpret_cast<void**>(&value), &size);
            std::printf("%s=%s\n", name, value);
        }
        LoadStringA(LoadLibraryExA(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE), 1, text,
                    sizeof text);
        std::printf("string 1=%s\n", text);
        return 0;
    }
    return Usage();
}
