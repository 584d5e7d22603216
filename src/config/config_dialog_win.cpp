#include <windows.h>

#include <commdlg.h>
#include <ddraw.h>

#include <cstdint>
#include <cstring>

#include "config/config_dialog.h"
#include "config/config_dialog_state.h"
#include "config/config_ids.h"
#include "config/dialog_rules.h"
#include "music/music.h"
#include "settings/settings_store.h"
#include "settings/settings_table.h"

static_assert(kConfigDialogTemplate == IDD_TESSARY_CONFIG, "template id of code and resources");
static_assert(kScrollLineLeft == SB_LINELEFT && kScrollLineRight == SB_LINERIGHT &&
                  kScrollThumbTrack == SB_THUMBTRACK,
              "scroll codes");

#define TESSARY_HOME_PAGE "http://www.tessary.example/"

const char kHomePageAddress[] = TESSARY_HOME_PAGE;

ConfigDialogState g_ConfigDialog;

ConfigDialogHost::ConfigDialogHost()
    : stopMusic(StopMusic), testMusicSelection(TestMusicSelection) {}

namespace {

const char kInternetCaption[] = "インターネットにジャンプ";
const char kInternetQuestion[] = "このスクリーンセーバのホームページ\n" TESSARY_HOME_PAGE
                                 "\nにジャンプすることができます。\n"
                                 "ホームページでは、このスクリーンセーバの最新情報や別の作品など、"
                                 "いろいろなものを紹介しています。\n\n"
                                 "ホームページにジャンプしますか？";

const char kPaletteCaption[] = "画面 256 色の場合の注意";
const char kPaletteWarning[] =
    "画面モードが 256 色の場合は、カラーパレットの制約により近似色となり、"
    "選択した通りの色設定にならない場合があります。";

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
    const HINSTANCE instance =
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    for (UINT id = IDS_ABOUT_FIRST;; ++id) {
        char line[kStringBufferSize];
        if (LoadStringA(instance, id, line, sizeof line) <= 0) break;
        char shown[kStringBufferSize];
        FormatAboutLine(line, shown, sizeof shown);
        SendDlgItemMessageA(dialog, IDC_ABOUT_LIST, LB_ADDSTRING, 0,
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
    SendDlgItemMessageA(dialog, IDC_DISPLAY_MODE, CB_RESETCONTENT, 0, 0);
    SetDlgItemTextA(dialog, IDC_DISPLAY_MODE, current);
    for (int i = 0; i < table.ListedCount(); ++i) {
        SendDlgItemMessageA(dialog, IDC_DISPLAY_MODE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(table.entries[i].text));
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

    char field[kModeFieldBufferSize] = {};
    GetDlgItemTextA(dialog, IDC_DISPLAY_MODE, field, sizeof field);
    if (const DisplayModeEntry* mode = state.modes.Chosen(field)) {
        WriteSetting(xScreenSize, mode->width);
        WriteSetting(yScreenSize, mode->height);
        WriteSetting(ColorDepth, mode->bitsPerPixel);
    }

    char tune[kMidiFileBufferSize] = {};
    GetDlgItemTextA(dialog, IDC_TUNE, tune, sizeof tune);
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
    if (state.host.messageBox(dialog, kInternetQuestion, kInternetCaption,
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

    CHOOSECOLORA choice = {};
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
    PostMessageA(dialog, kPaintSwatchMessage, 0, 0);
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
            g_ConfigDialog.host.stopMusic();
            g_ConfigDialog.host.testMusicSelection(dialog, Ticked(dialog, IDC_USE_DIRECT_MUSIC));
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
    state.host.messageBox(dialog, kPaletteWarning, kPaletteCaption, MB_OK | MB_ICONEXCLAMATION);
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
            PostMessageA(dialog, kPaintSwatchMessage, 0, 0);
            return FALSE;
        case kPaintSwatchMessage:
            PaintSwatch(dialog);
            return TRUE;
        default:
            return FALSE;
    }
}
