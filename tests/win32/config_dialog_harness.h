// Runs the real settings dialog from template 105 modally, as the saver
// does, and drives it from the owner window: each time the dialog's message
// loop runs dry (WM_ENTERIDLE) the next step of a script acts as the user
// would. The message boxes, the colour chooser, DirectDraw and the music
// calls are replaced by recorders; the settings go to Wine's real registry
// under a scratch HKEY_CURRENT_USER.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <ddraw.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/config_dialog.h"
#include "config/config_dialog_state.h"
#include "config/config_ids.h"
#include "music/music.h"
#include "registry_fixture.h"
#include "settings/settings_store.h"
#include "settings/settings_table.h"

namespace config_test {

#define TESSARY_UNUSED_DDRAW_METHODS                                                             \
    STDMETHOD(Compact)() override {                                                              \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(CreateClipper)(DWORD, LPDIRECTDRAWCLIPPER*, IUnknown*) override {                  \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(CreatePalette)(DWORD, LPPALETTEENTRY, LPDIRECTDRAWPALETTE*, IUnknown*) override {  \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(CreateSurface)(LPDDSURFACEDESC, LPDIRECTDRAWSURFACE*, IUnknown*) override {        \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(DuplicateSurface)(LPDIRECTDRAWSURFACE, LPDIRECTDRAWSURFACE*) override {            \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(EnumSurfaces)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMSURFACESCALLBACK) override { \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(FlipToGDISurface)() override {                                                     \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetCaps)(LPDDCAPS, LPDDCAPS) override {                                            \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetDisplayMode)(LPDDSURFACEDESC) override {                                        \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetFourCCCodes)(LPDWORD, LPDWORD) override {                                       \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetGDISurface)(LPDIRECTDRAWSURFACE*) override {                                    \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetMonitorFrequency)(LPDWORD) override {                                           \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetScanLine)(LPDWORD) override {                                                   \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(GetVerticalBlankStatus)(WINBOOL*) override {                                       \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(Initialize)(GUID*) override {                                                      \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(RestoreDisplayMode)() override {                                                   \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override {                                       \
        return E_NOTIMPL;                                                                        \
    }                                                                                            \
    STDMETHOD(WaitForVerticalBlank)(DWORD, HANDLE) override {                                    \
        return E_NOTIMPL;                                                                        \
    }

// A display driver's IDirectDraw2 that reports a fixed list of modes.
class FakeDirectDraw2 : public IDirectDraw2 {
  public:
    struct Mode {
        DWORD width, height, bitsPerPixel, refreshRate;
    };
    std::vector<Mode> modes;
    LONG references = 0;
    std::vector<DWORD> enumerationFlags;
    bool filterGiven = false;
    int callbacks = 0;

    STDMETHOD(QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }
    STDMETHOD(EnumDisplayModes)
    (DWORD flags, LPDDSURFACEDESC filter, LPVOID context, LPDDENUMMODESCALLBACK callback) override {
        enumerationFlags.push_back(flags);
        filterGiven = filter != nullptr;
        for (const Mode& m : modes) {
            DDSURFACEDESC d = {};
            d.dwSize = sizeof d;
            d.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
            d.dwWidth = m.width;
            d.dwHeight = m.height;
            d.dwRefreshRate = m.refreshRate;
            d.ddpfPixelFormat.dwSize = sizeof d.ddpfPixelFormat;
            d.ddpfPixelFormat.dwFlags = DDPF_RGB | (m.bitsPerPixel == 8 ? DDPF_PALETTEINDEXED8 : 0);
            d.ddpfPixelFormat.dwRGBBitCount = m.bitsPerPixel;
            ++callbacks;
            if (callback(&d, context) == DDENUMRET_CANCEL) break;
        }
        return DD_OK;
    }
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetAvailableVidMem)(LPDDSCAPS, LPDWORD, LPDWORD) override { return E_NOTIMPL; }
    TESSARY_UNUSED_DDRAW_METHODS
};

// The DirectDraw object; hands out `second` as IDirectDraw2, or refuses
// when it is null.
class FakeDirectDraw : public IDirectDraw {
  public:
    FakeDirectDraw2* second = nullptr;
    LONG references = 1;

    STDMETHOD(QueryInterface)(REFIID iid, void** out) override {
        if (second == nullptr || !IsEqualGUID(iid, IID_IDirectDraw2)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        second->AddRef();
        *out = second;
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++references; }
    STDMETHOD_(ULONG, Release)() override { return --references; }
    // Only the IDirectDraw2 enumeration reports refresh rates.
    STDMETHOD(EnumDisplayModes)(DWORD, LPDDSURFACEDESC, LPVOID, LPDDENUMMODESCALLBACK) override {
        ADD_FAILURE() << "modes must be enumerated through IDirectDraw2";
        return E_NOTIMPL;
    }
    STDMETHOD(SetDisplayMode)(DWORD, DWORD, DWORD) override { return E_NOTIMPL; }
    TESSARY_UNUSED_DDRAW_METHODS
};

#undef TESSARY_UNUSED_DDRAW_METHODS

struct MessageBoxCall {
    HWND owner;
    std::string text, caption;
    UINT type;
};

// What the replaced system calls saw and answer.
struct Recorder {
    std::vector<MessageBoxCall> boxes;
    int boxAnswer = IDNO;
    std::vector<CHOOSECOLORA> chooser;
    std::vector<COLORREF> chooserCustom0;                 // first custom colour passed in
    std::vector<std::optional<COLORREF>> chooserAnswers;  // empty optional: cancelled
    std::vector<std::string> music;                       // "stop", "test <flag>"
    HWND testedDialog = nullptr;
    bool directDrawFails = false;
    FakeDirectDraw directDraw;
    FakeDirectDraw2 directDraw2;
};

inline Recorder* g_recorder = nullptr;

inline int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    g_recorder->boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    return g_recorder->boxAnswer;
}

inline BOOL WINAPI RecordChooseColor(LPCHOOSECOLORA choice) {
    Recorder& r = *g_recorder;
    r.chooser.push_back(*choice);
    r.chooserCustom0.push_back(choice->lpCustColors ? choice->lpCustColors[0] : 0xFFFFFFFF);
    if (r.chooserAnswers.empty()) return FALSE;
    const std::optional<COLORREF> answer = r.chooserAnswers.front();
    r.chooserAnswers.erase(r.chooserAnswers.begin());
    if (!answer) return FALSE;
    choice->rgbResult = *answer;
    return TRUE;
}

inline HRESULT WINAPI FakeDirectDrawCreate(GUID* driver, LPDIRECTDRAW* out, IUnknown* outer) {
    EXPECT_EQ(driver, nullptr);
    EXPECT_EQ(outer, nullptr);
    if (g_recorder->directDrawFails) {
        *out = nullptr;
        return DDERR_NODIRECTDRAWHW;
    }
    g_recorder->directDraw.references = 1;
    *out = &g_recorder->directDraw;
    return DD_OK;
}

inline BOOL RecordStopMusic() {
    g_recorder->music.push_back("stop");
    return TRUE;
}

inline BOOL RecordTestMusic(HWND dialog, int useDirectMusic) {
    g_recorder->testedDialog = dialog;
    g_recorder->music.push_back("test " + std::to_string(useDirectMusic));
    return TRUE;
}

const char kSettingsPath[] = "Software\\Quorvane\\Skylumen\\Tessery";
constexpr INT_PTR kLeftOpen = -2;

// User actions, sent as the controls and the dialog manager send them.
inline void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

inline void Scroll(HWND dialog, int id, int code, int thumb = 0) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline void PickListEntry(HWND dialog, int comboId, int index) {
    const HWND combo = GetDlgItem(dialog, comboId);
    ASSERT_NE(SendMessageA(combo, CB_SETCURSEL, index, 0), CB_ERR) << index;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

// Replaces the field's text by typing `text` into the combo box's edit field.
inline void TypeInto(HWND dialog, int comboId, const std::string& text) {
    const HWND edit = GetWindow(GetDlgItem(dialog, comboId), GW_CHILD);
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (unsigned char c : text) SendMessageA(edit, WM_CHAR, c, 0);
}

// Esc goes to the focused control and through the dialog manager's loop.
inline void PressEsc(HWND dialog) {
    const HWND focus = GetFocus();
    PostMessageA(focus && IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
}

inline std::string FieldText(HWND dialog, int id) {
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

inline std::vector<std::string> ListEntries(HWND dialog, int comboId) {
    std::vector<std::string> entries;
    const LRESULT n = SendDlgItemMessageA(dialog, comboId, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        char text[512] = {};
        SendDlgItemMessageA(dialog, comboId, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

inline bool Ticked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

class ConfigDialogTest : public ScratchRegistry {
  public:
    using Step = std::function<void(HWND)>;

  protected:
    void SetUp() override {
        ScratchRegistry::SetUp();
        g_Settings = Settings();
        g_ConfigDialog = ConfigDialogState();
        g_ConfigDialog.host.messageBox = RecordMessageBox;
        g_ConfigDialog.host.chooseColor = RecordChooseColor;
        g_ConfigDialog.host.directDrawCreate = FakeDirectDrawCreate;
        g_ConfigDialog.host.stopMusic = RecordStopMusic;
        g_ConfigDialog.host.testMusicSelection = RecordTestMusic;
        savedDirectMusic_ = DirectMusicAvailable;
        DirectMusicAvailable = 0;
        g_recorder = &recorder;
        recorder.directDraw.second = &recorder.directDraw2;
        recorder.directDraw2.modes = {{640, 480, 8, 60},  {640, 480, 16, 60}, {800, 600, 16, 60},
                                      {800, 600, 32, 60}, {1024, 768, 8, 60}, {1024, 768, 32, 60}};
    }

    void TearDown() override {
        g_recorder = nullptr;
        g_ConfigDialog = ConfigDialogState();
        DirectMusicAvailable = savedDirectMusic_;
        ScratchRegistry::TearDown();
    }

    // As start-up does: the run's copy of the settings from the store.
    static void LoadRunSettings() {
        for (int i = 0; i < kSettingCount; ++i) {
            if (IsStartupSetting(i)) g_Settings.Set(i, ReadSetting(i));
        }
    }

    static void Store(int index, int32_t value) {
        PutRaw(kSettingsPath, SettingName(index), REG_DWORD, &value, sizeof value);
    }

    static std::optional<int32_t> Stored(int index) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!GetRaw(kSettingsPath, SettingName(index), &type, &data)) return std::nullopt;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << SettingName(index);
        int32_t value = 0;
        if (data.size() == sizeof value) std::memcpy(&value, data.data(), sizeof value);
        return value;
    }

    static std::optional<std::string> StoredMidiFile() {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!GetRaw(kSettingsPath, kMidiFileValueName, &type, &data)) return std::nullopt;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        return std::string(data.begin(), data.end()).c_str();
    }

    static DWORD StoredValueCount() {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return 0;
        DWORD values = 0;
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr);
        RegCloseKey(key);
        return values;
    }

    // Runs the dialog modally over an owner window; each step runs once the
    // dialog's queue is empty. Returns the dialog's result, or kLeftOpen
    // when the script ended with the dialog still open.
    INT_PTR Run(std::vector<Step> steps) {
        static const char kOwnerClass[] = "TessaryConfigTestOwner";
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kOwnerClass;
        RegisterClassA(&wc);
        const HWND owner = CreateWindowA(kOwnerClass, "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                         nullptr, nullptr, wc.hInstance, nullptr);
        EXPECT_NE(owner, nullptr) << "the dialog tests need an X display (DISPLAY)";
        if (owner == nullptr) return kLeftOpen;

        steps_ = std::move(steps);
        next_ = 0;
        running_ = this;
        const INT_PTR result = DialogBoxParamA(
            wc.hInstance, MAKEINTRESOURCEA(kConfigDialogTemplate), owner, ConfigDialogProc, 0);
        running_ = nullptr;
        DestroyWindow(owner);
        EXPECT_NE(result, -1) << "the dialog could not be created";
        EXPECT_EQ(next_, steps_.size()) << "the dialog ended before step " << next_ + 1;
        return result;
    }

    Recorder recorder;

  private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && running_) {
            const HWND dialog = reinterpret_cast<HWND>(lParam);
            if (running_->next_ < running_->steps_.size()) {
                running_->steps_[running_->next_++](dialog);
                // Wakes the dialog's loop, which otherwise waits in
                // GetMessage for the next message before it sees the end.
                PostMessageA(dialog, WM_NULL, 0, 0);
            } else {
                ADD_FAILURE() << "the dialog is still open after the last step";
                EndDialog(dialog, kLeftOpen);
            }
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static inline ConfigDialogTest* running_ = nullptr;
    std::vector<Step> steps_;
    size_t next_ = 0;
    int savedDirectMusic_ = 0;
};

}  // namespace config_test
