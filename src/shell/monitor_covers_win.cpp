// Black covers over the monitors that the saver's exclusive display leaves
// alone. DirectDraw changes the mode of the primary monitor only; every other
// monitor would go on showing the live desktop, and the pointer could wander
// there unseen by the saver's input rules. So while a saver run shows, each
// of those monitors gets a black, top-most pop-up of its own that hands its
// input to the saver window.
#include <windows.h>

#include <vector>

#include "shared/shell_state.h"
#include "shell/shell.h"

namespace {

const wchar_t kCoverClassName[] = L"SkylumenCover";

// One cover per monitor other than the primary one, in the order in which the
// monitors were last listed.
std::vector<HWND> g_Covers;

LRESULT CALLBACK CoverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEACTIVATE:
            // A click must not take activation from the saver window: losing
            // it counts as a deactivation, and DirectDraw's exclusive window
            // has to stay the active one.
            return MA_NOACTIVATE;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            // Pointer input here is input to the saver, under the same rules:
            // moves count toward the same burst, a click ends the same way
            // (keys never come here: a cover never has the focus). The
            // saver window may be destroyed inside this call, this cover with
            // it, so nothing touches the cover afterwards.
            return SendMessageW(g_Shell.SaverWindow, message, wParam, lParam);
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterCoverClass(HINSTANCE instance) {
    WNDCLASSW existing = {};
    if (GetClassInfoW(instance, kCoverClassName, &existing)) return true;
    WNDCLASSW cls = {};
    cls.lpfnWndProc = CoverWindowProc;
    cls.hInstance = instance;
    cls.hCursor = nullptr;  // no pointer over a cover
    cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    cls.lpszClassName = kCoverClassName;
    return RegisterClassW(&cls) != 0;
}

struct Monitor {
    RECT area;
    bool primary;
};

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    // A monitor whose rectangle cannot be read is left uncovered.
    if (g_WindowHost.getMonitorInfo(monitor, &info))
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            {info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

// The rectangles to cover: every monitor that does not overlap the primary
// one, which overlaps itself. Windows never lays monitors over each other, but
// an X server under Wine can report a mirrored or overlapping head as a
// monitor of its own, and a cover there would hide the show.
std::vector<RECT> OtherMonitorAreas(const std::vector<Monitor>& monitors) {
    RECT primary = {};
    for (const Monitor& m : monitors)
        if (m.primary) primary = m.area;
    std::vector<RECT> areas;
    RECT overlap;
    for (const Monitor& m : monitors)
        if (!IntersectRect(&overlap, &m.area, &primary)) areas.push_back(m.area);
    return areas;
}

// Puts a cover over `area`, on top of every window but without activating it.
void PlaceCover(HWND cover, const RECT& area) {
    SetWindowPos(cover, HWND_TOPMOST, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

HWND MakeCover(HINSTANCE instance, const RECT& area) {
    HWND cover =
        CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kCoverClassName, L"",
                        WS_POPUP, area.left, area.top, area.right - area.left,
                        area.bottom - area.top, nullptr, nullptr, instance, nullptr);
    if (cover != nullptr) PlaceCover(cover, area);
    return cover;
}

}  // namespace

void CoverOtherMonitors() {
    if (g_Shell.ConfigMode) return;
    std::vector<Monitor> monitors;
    // On a failed listing the covers that were made stay where they are.
    if (!g_WindowHost.enumDisplayMonitors(nullptr, nullptr, CollectMonitor,
                                          reinterpret_cast<LPARAM>(&monitors)))
        return;
    const std::vector<RECT> areas = OtherMonitorAreas(monitors);

    // Monitors that went away take their covers with them; the others are
    // moved to the monitors as they are listed now, and new ones get a cover.
    while (g_Covers.size() > areas.size()) {
        DestroyWindow(g_Covers.back());
        g_Covers.pop_back();
    }
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    for (size_t i = 0; i < areas.size(); ++i) {
        if (i < g_Covers.size()) {
            PlaceCover(g_Covers[i], areas[i]);
            continue;
        }
        // A cover that cannot be made is skipped: the show runs on without it.
        HWND cover = RegisterCoverClass(instance) ? MakeCover(instance, areas[i]) : nullptr;
        if (cover != nullptr) g_Covers.push_back(cover);
    }
}

void RemoveMonitorCovers() {
    for (HWND cover : g_Covers) DestroyWindow(cover);
    g_Covers.clear();
}
