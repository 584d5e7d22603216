#include <windows.h>

#include <commdlg.h>
#include <ddraw.h>

#include <cstdint>
#include <cwchar>
#include <string>

#include "config/config_dialog.h"
#include "config/config_dialog_state.h"
#include "config/config_ids.h"
#include "config/dialog_rules.h"
#include "music/music.h"
#include "music/tune_rules.h"
#include "settings/settings_store.h"
#include "settings/settings_table.h"
#include "shared/ui_text.h"

static_assert(kConfigDialogTemplate == IDD_TESSARY_CONFIG, "template id of code and resources");
static_assert(kScrollLineLeft == SB_LINELEFT && kScrollLineRight == SB_LINERIGHT &&
                  kScrollThumbTrack == SB_THUMBTRACK,
              "scroll codes");

const wchar_t kHomePageAddress[] = L"" TESSARY_HOME_PAGE;

ConfigDialogState g_ConfigDialog;

ConfigDialogHost::ConfigDialogHost() : stopMusic(StopMusic), playTune(PlayNamedTune) {}

namespace {

HINSTANCE InstanceOf(HWND dialog) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
}

// A message of the string table in the shown language.
int AskOrTell(HWND dialog, UINT text, UINT caption, UINT style) {
    const HINSTANCE instance = InstanceOf(dialog);
    return g_ConfigDialog.host.messageBox(dialog, UiText(instance, text).c_str(),
                                          UiText(instance, caption).c_str(), style);
}

constexpr int kStringBufferSize = 500;
constexpr int kModeFieldBufferSize = 500;

// The check boxes and their settings, in the order the settings are saved.
struct CheckBoxSetting {
    int control;
    SettingIndex setting;
};

const CheckBoxSetting kCheckBoxes[] = {
    {IDC_FPS, FPS},
    {IDC_BIG_BANG, BigBang},
    {IDC_BLACK_HALL, BlackHall},
    {IDC_GYAKUTEN, Gyakuten},
    {IDC_HANEKAERI, Hanekaeri},
    {IDC_KASOKU, Kasoku},
    {IDC_HIDE_CHECK, HideCheck},
    {IDC_NIFTY_MANAGER_CHECK, NiftyManagerCheck},
    {IDC_GUIPPY2_CHECK, Guippy2Check},
    {IDC_INTERNET_EXP_CHECK, InternetExpCheck},
    {IDC_NETSCAPE_CHECK, NetScapeCheck},
    {IDC_ASCII_NET_CREW_CHECK, ASCIInetCrewCheck},
    {IDC_PCVAN_NAV_CHECK, PCVANNavCheck},
    {IDC_CIM_CHECK, CIMCheck},
    {IDC_NON_STOP, NonStop},
    {IDC_NIFTERM_CHECK, NifTermCheck},
};

struct SliderSetting {
    int control;
    SettingIndex setting;
    const SliderRange* range;
};

const SliderSetting kSliders[] = {
    {IDC_SELF_ROTATION, SelfRotation, &kSelfRotationSlider},
    {IDC_MOVING, Moving, &kMovingSlider},
    {IDC_PROCESS, Process, &kProcessSlider},
};

int Ticked(HWND dialog, int control) {
    return IsDlgButtonChecked(dialog, control) == BST_CHECKED ? 1 : 0;
}

void Tick(HWND dialog, int control, int32_t value) {
    CheckDlgButton(dialog, control, value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void FillAboutList(HWND dialog) {
    const HINSTANCE instance = InstanceOf(dialog);
    for (UINT id = IDS_ABOUT_FIRST;; ++id) {
        const std::wstring line = UiText(instance, id);
        if (line.empty()) break;
        wchar_t shown[kStringBufferSize];
        FormatAboutLine(line.c_str(), shown, kStringBufferSize);
        SendDlgItemMessageW(dialog, IDC_ABOUT_LIST, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(shown));
    }
}

// The run's slider values are brought into their ranges first, so that the
// value stepped and saved is the one the thumb shows.
void SetUpSliders(HWND dialog) {
    for (const SliderSetting& s : kSliders) {
        g_Settings.Set(s.setting, ClampToSlider(*s.range, g_Settings[s.setting]));
        const HWND bar = GetDlgItem(dialog, s.control);
        SetScrollRange(bar, SB_CTL, s.range->minimum, s.range->maximum, FALSE);
        SetScrollPos(bar, SB_CTL, g_Settings[s.setting], TRUE);
    }
}

void EnumerateDisplayModes(DisplayModeTable& table) {
    table.Clear();
    IDirectDraw* directDraw = nullptr;
    if (FAILED(g_ConfigDialog.host.directDrawCreate(nullptr, &directDraw, nullptr)) ||
        directDraw == nullptr)
        return;
    IDirectDraw2* directDraw2 = nullptr;
    if (FAILED(
            directDraw->QueryInterface(IID_IDirectDraw2, reinterpret_cast<void**>(&directDraw2))) ||
        directDraw2 == nullptr) {
        table.SetFallback();
    } else {
        directDraw2->EnumDisplayModes(DDEDM_REFRESHRATES, nullptr, &table, EnumDisplayModeEntry);
        directDraw2->Release();
    }
    directDraw->Release();
}

void FillModeList(HWND dialog) {
    DisplayModeTable& table = g_ConfigDialog.modes;
    EnumerateDisplayModes(table);

    char current[kModeTextSize];
    FormatModeText(current, sizeof current, g_Settings[xScreenSize], g_Settings[yScreenSize],
                   g_Settings[ColorDepth], DepthNaming::StoredMode);
    SendDlgItemMessageW(dialog, IDC_DISPLAY_MODE, CB_RESETCONTENT, 0, 0);
    SetDlgItemTextW(dialog, IDC_DISPLAY_MODE, Utf8ToWide(current).c_str());
    for (int i = 0; i < table.ListedCount(); ++i) {
        SendDlgItemMessageW(dialog, IDC_DISPLAY_MODE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Utf8ToWide(table.entries[i].text).c_str()));
    }
}

BOOL Start(HWND dialog) {
    ConfigDialogState& state = g_ConfigDialog;
    state.result = 0;
    FillAboutList(dialog);
    SetUpSliders(dialog);
    for (const CheckBoxSetting& box : kCheckBoxes)
        Tick(dialog, box.control, g_Settings[box.setting]);
    Tick(dialog, IDC_LOOP_MUSIC, ReadSetting(LoopMusic));
    Tick(dialog, IDC_BLACK_BACK, ReadSetting(BlackBack));
    FillModeList(dialog);
    state.warnOnce = 1;
    FillTuneList(dialog);
    if (DirectMusicAvailable)
        Tick(dialog, IDC_USE_DIRECT_MUSIC, ReadSetting(UseDirectMusic));
    else
        EnableWindow(GetDlgItem(dialog, IDC_USE_DIRECT_MUSIC), FALSE);
    return TRUE;
}

BOOL Scroll(HWND dialog, WPARAM wParam, LPARAM lParam) {
    const HWND bar = reinterpret_cast<HWND>(lParam);
    for (const SliderSetting& s : kSliders) {
        if (bar == nullptr || bar != GetDlgItem(dialog, s.control)) continue;
        int next = 0;
        if (!ApplyScrollCode(*s.range, LOWORD(wParam), HIWORD(wParam), g_Settings[s.setting],
                             &next))
            return FALSE;
        g_Settings.Set(s.setting, next);
        SetScrollPos(bar, SB_CTL, next, TRUE);
        return TRUE;
    }
    return FALSE;
}

void SaveAndEnd(HWND dialog) {
    ConfigDialogState& state = g_ConfigDialog;
    state.host.stopMusic();
    for (const SliderSetting& s : kSliders) WriteSetting(s.setting, g_Settings[s.setting]);
    for (const CheckBoxSetting& box : kCheckBoxes)
        WriteSetting(box.setting, Ticked(dialog, box.control));
    WriteSetting(BackgroundColor, g_Settings[BackgroundColor]);
    WriteSetting(LoopMusic, Ticked(dialog, IDC_LOOP_MUSIC));
    WriteSetting(BlackBack, Ticked(dialog, IDC_BLACK_BACK));

    // Mode texts are ASCII: a field holding anything else chooses no mode.
    wchar_t field[kModeFieldBufferSize] = {};
    GetDlgItemTextW(dialog, IDC_DISPLAY_MODE, field, kModeFieldBufferSize);
    char ascii[kModeFieldBufferSize] = {};
    for (int i = 0; i < kModeFieldBufferSize && field[i] != L'\0'; ++i)
        ascii[i] = field[i] < 0x80 ? static_cast<char>(field[i]) : '?';
    if (const DisplayModeEntry* mode = state.modes.Chosen(ascii)) {
        WriteSetting(xScreenSize, mode->width);
        WriteSetting(yScreenSize, mode->height);
        WriteSetting(ColorDepth, mode->bitsPerPixel);
    }

    wchar_t tune[kTuneNameBufferSize] = {};
    StoredTuneName(dialog, tune);
    WriteMidiFileSetting(tune);
    // A box disabled for want of DirectMusic shows no choice: the stored one stays.
    const HWND directMusicBox = GetDlgItem(dialog, IDC_USE_DIRECT_MUSIC);
    WriteSetting(UseDirectMusic, IsWindowEnabled(directMusicBox)
                                     ? Ticked(dialog, IDC_USE_DIRECT_MUSIC)
                                     : ReadSetting(UseDirectMusic));
    EndDialog(dialog, state.result);
}

void AskInternet(HWND dialog) {
    ConfigDialogState& state = g_ConfigDialog;
    if (AskOrTell(dialog, IDS_INTERNET_QUESTION, IDS_INTERNET_CAPTION,
                  MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    state.result = 1;
    state.host.stopMusic();
    SaveAndEnd(dialog);
}

void ChooseBackgroundColour(HWND dialog) {
    // A scale of greys to start the custom colours from; not kept.
    COLORREF custom[16];
    for (int i = 0; i < 16; ++i) custom[i] = RGB(i * 17, i * 17, i * 17);

    CHOOSECOLORW choice = {};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.hInstance = nullptr;
    choice.rgbResult = static_cast<COLORREF>(g_Settings[BackgroundColor]);
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (g_ConfigDialog.host.chooseColor(&choice)) {
        g_Settings.Set(BackgroundColor, static_cast<int32_t>(choice.rgbResult));
        WarnPaletteColours(dialog);
    }
    PostMessageW(dialog, kPaintSwatchMessage, 0, 0);
}

void TestTune(HWND dialog) {
    g_ConfigDialog.host.stopMusic();
    wchar_t name[kTuneNameBufferSize] = {};
    StoredTuneName(dialog, name);
    g_ConfigDialog.host.playTune(dialog, name, Ticked(dialog, IDC_USE_DIRECT_MUSIC));
}

void Command(HWND dialog, int command) {
    switch (command) {
        case IDC_CLOSE:
            SaveAndEnd(dialog);
            break;
        case IDC_INTERNET:
            AskInternet(dialog);
            break;
        case IDC_BACKGROUND_COLOR:
            ChooseBackgroundColour(dialog);
            break;
        case IDC_TEST_TUNE:
            TestTune(dialog);
            break;
        case IDC_STOP_TUNE:
            g_ConfigDialog.host.stopMusic();
            break;
        default:
            break;
    }
}

// The swatch control paints itself black when its own paint message comes,
// and that comes after this posted message: it is let paint first, so the
// colour goes over its black and not the other way round.
void PaintSwatch(HWND dialog) {
    UpdateWindow(GetDlgItem(dialog, IDC_COLOR_SWATCH));
    HDC dc = GetDC(dialog);
    PaintColourSwatch(dialog, dc, IDC_COLOR_SWATCH,
                      static_cast<COLORREF>(g_Settings[BackgroundColor]));
    ReleaseDC(dialog, dc);
}

}  // namespace

HRESULT WINAPI EnumDisplayModeEntry(LPDDSURFACEDESC mode, LPVOID context) {
    DisplayModeTable* table = static_cast<DisplayModeTable*>(context);
    if (table == nullptr || mode == nullptr) return DDENUMRET_CANCEL;
    const bool added =
        table->Add(static_cast<int32_t>(mode->dwWidth), static_cast<int32_t>(mode->dwHeight),
                   static_cast<int32_t>(mode->ddpfPixelFormat.dwRGBBitCount));
    return added ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

void WarnPaletteColours(HWND dialog) {
    ConfigDialogState& state = g_ConfigDialog;
    if (!state.warnOnce || g_Settings[ColorDepth] != 8) return;
    state.warnOnce = 0;
    AskOrTell(dialog, IDS_PALETTE_WARNING, IDS_PALETTE_CAPTION, MB_OK | MB_ICONEXCLAMATION);
}

void PaintColourSwatch(HWND window, HDC dc, int controlId, COLORREF colour) {
    const HBRUSH brush = CreateSolidBrush(colour);
    RECT frame;
    GetWindowRect(GetDlgItem(window, controlId), &frame);
    POINT topLeft = {frame.left, frame.top};
    ScreenToClient(window, &topLeft);
    const LONG width = frame.right - frame.left, height = frame.bottom - frame.top;
    const RECT inside = {topLeft.x + 1, topLeft.y + 1, topLeft.x + width - 1,
                         topLeft.y + height - 1};
    FillRect(dc, &inside, brush);
    DeleteObject(brush);
}

namespace {

// The fixed entries as the list shows them, with their stored words.
struct FixedTune {
    UINT shownText;
    const wchar_t* stored;
};
const FixedTune kFixedTunes[] = {
    {IDS_TUNE_NONE, kNoMusicTuneName},
    {IDS_TUNE_RANDOM, kRandomTuneName},
};

LRESULT TuneMessage(HWND dialog, UINT message, WPARAM wParam, const wchar_t* text) {
    return SendDlgItemMessageW(dialog, IDC_TUNE, message, wParam, reinterpret_cast<LPARAM>(text));
}

}  // namespace

void FillTuneList(HWND dialog) {
    const HINSTANCE instance = InstanceOf(dialog);
    for (const FixedTune& fixed : kFixedTunes)
        TuneMessage(dialog, CB_ADDSTRING, 0, UiText(instance, fixed.shownText).c_str());
    ForEachTuneFile([&](const wchar_t* fileName) {
        wchar_t entry[kTuneNameBufferSize] = {};
        std::wcscpy(entry, fileName);
        StripExtension(entry);
        TuneMessage(dialog, CB_ADDSTRING, 0, entry);
        return true;
    });

    wchar_t stored[kTuneNameBufferSize];
    if (!ReadMidiFileSetting(stored)) std::wcscpy(stored, kDefaultTuneName);
    std::wstring shown = stored;
    for (const FixedTune& fixed : kFixedTunes)
        if (shown == fixed.stored) shown = UiText(instance, fixed.shownText);
    // The entry that is the stored name first, so that "Song" never picks
    // "Song2"; else the first entry that begins with it. When nothing matches
    // (a tune renamed, moved or not installed, or an empty name, which would
    // begin every entry) the stored name stays in the field, so that closing
    // the dialog keeps the user's choice.
    const LRESULT index =
        TuneMessage(dialog, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), shown.c_str());
    if (index != CB_ERR)
        TuneMessage(dialog, CB_SETCURSEL, static_cast<WPARAM>(index), nullptr);
    else if (shown.empty() || TuneMessage(dialog, CB_SELECTSTRING, 0, shown.c_str()) == CB_ERR)
        SetDlgItemTextW(dialog, IDC_TUNE, shown.c_str());
}

void StoredTuneName(HWND dialog, wchar_t* name) {
    GetDlgItemTextW(dialog, IDC_TUNE, name, kTuneNameBufferSize);
    const HINSTANCE instance = InstanceOf(dialog);
    for (const FixedTune& fixed : kFixedTunes)
        if (UiText(instance, fixed.shownText) == name) std::wcscpy(name, fixed.stored);
}

INT_PTR CALLBACK ConfigDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return Start(dialog);
        case WM_COMMAND:
            Command(dialog, LOWORD(wParam));
            return FALSE;
        case WM_HSCROLL:
            return Scroll(dialog, wParam, lParam);
        case WM_ERASEBKGND:
            PostMessageW(dialog, kPaintSwatchMessage, 0, 0);
            return FALSE;
        case kPaintSwatchMessage:
            PaintSwatch(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}
