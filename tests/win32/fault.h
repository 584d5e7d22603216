// Failures on cue from Wine's real DirectDraw objects: one method slot of an
// interface's shared method table is replaced by a hook that answers from a
// script of results, and passes every call the script does not cover on to
// the real method. Each hooked method also counts its calls.
#pragma once

#include <windows.h>

#include <ddraw.h>

#include <deque>
#include <vector>

// Every hooked method's way back to an empty script.
inline std::vector<void (*)()>& HookResets() {
    static std::vector<void (*)()> resets;
    return resets;
}
inline void ResetHooks() {
    for (auto reset : HookResets()) reset();
}

// A scripted result that lets the call through to the real method.
constexpr HRESULT kReal = 0x7FFFFFFF;

template <typename Interface, int Slot, typename... Args>
struct Hooked {
    static inline void* original = nullptr;
    static inline std::deque<HRESULT> script;
    static inline int calls = 0;

    static HRESULT STDMETHODCALLTYPE Hook(Interface* self, Args... args) {
        ++calls;
        if (!script.empty()) {
            const HRESULT next = script.front();
            script.pop_front();
            if (next != kReal) return next;
        }
        return reinterpret_cast<HRESULT(STDMETHODCALLTYPE*)(Interface*, Args...)>(original)(
            self, args...);
    }
    // Hooks the slot in the method table that `object` uses; once per table.
    static void Install(void* object) {
        void** table = *static_cast<void***>(object);
        if (table[Slot] == reinterpret_cast<void*>(&Hook)) return;
        DWORD was = 0;
        VirtualProtect(&table[Slot], sizeof(void*), PAGE_EXECUTE_READWRITE, &was);
        original = table[Slot];
        table[Slot] = reinterpret_cast<void*>(&Hook);
        HookResets().push_back([] { Script(); });
        VirtualProtect(&table[Slot], sizeof(void*), was, &was);
    }
    // The results of the next calls, from the first; the count starts anew.
    static void Script(std::deque<HRESULT> results = {}) {
        script = std::move(results);
        calls = 0;
    }
};

template <typename... Hooks>
void Install(void* object) {
    (Hooks::Install(object), ...);
}

// The methods the display calls, by their place in the published tables.
using DrawQuery = Hooked<IDirectDraw, 0, REFIID, void**>;
using DrawCreateSurface = Hooked<IDirectDraw2, 6, LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*>;
using DrawMonitorFrequency = Hooked<IDirectDraw2, 15, LPDWORD>;
using DrawCooperativeLevel = Hooked<IDirectDraw2, 20, HWND, DWORD>;
using DrawDisplayMode = Hooked<IDirectDraw2, 21, DWORD, DWORD, DWORD, DWORD, DWORD>;
using SurfaceBlt =
    Hooked<IDirectDrawSurface, 5, LPRECT, LPDIRECTDRAWSURFACE, LPRECT, DWORD, LPDDBLTFX>;
using SurfaceBltFast =
    Hooked<IDirectDrawSurface, 7, DWORD, DWORD, LPDIRECTDRAWSURFACE, LPRECT, DWORD>;
using SurfaceFlip = Hooked<IDirectDrawSurface, 11, LPDIRECTDRAWSURFACE, DWORD>;
using SurfaceAttached = Hooked<IDirectDrawSurface, 12, LPDDSCAPS, LPDIRECTDRAWSURFACE*>;
using SurfaceGetDC = Hooked<IDirectDrawSurface, 17, HDC*>;
using SurfaceRestore = Hooked<IDirectDrawSurface, 27>;
using PaletteGetEntries = Hooked<IDirectDrawPalette, 4, DWORD, DWORD, DWORD, LPPALETTEENTRY>;
