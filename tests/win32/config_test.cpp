// The real settings dialog from its template, driven by messages as a user's
// clicks would drive it, against Wine's real registry and display modes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/config_dialog.h"
#include "config/config_dialog_state.h"
#include "config/config_ids.h"
#include "music/music.h"
#include "settings/settings_store.h"
#include "shared/ui_text.h"
#include "win32_test.h"

namespace {

struct Seen {
    int stops = 0, boxes = 0, tested = -1;  // tested: the DirectMusic choice of the last test
    std::wstring tune;                      // and the stored name it played
} g_seen;

// A message box or the colour chooser would wait for a user: any question is
// answered No, and the colour chosen is the next one up from the current one,
// which the chooser, owned by the dialog and open in full, starts on. The
// custom colours start as greys from black to white.
struct Stub {
    static int WINAPI No(HWND, LPCWSTR, LPCWSTR, UINT) { return ++g_seen.boxes, IDNO; }
    static BOOL WINAPI Next(LPCHOOSECOLORW c) {
        EXPECT_TRUE(GetDlgItem(c->hwndOwner, IDC_COLOR_SWATCH) && c->lpCustColors[0] == 0 &&
                    c->lpCustColors[15] == 0xffffff && c->Flags == (CC_RGBINIT | CC_FULLOPEN) &&
                    c->rgbResult == COLORREF(g_Settings[BackgroundColor]));
        return ++c->rgbResult, TRUE;
    }
};

class Config : public ScratchRegistry {
  protected:
    void SetUp() override {
        ScratchRegistry::SetUp();
        g_seen = Seen{};
        g_Settings = Settings();
        g_ConfigDialog = ConfigDialogState{};
        ConfigDialogHost& host = g_ConfigDialog.host;
        host.messageBox = Stub::No;
        host.stopMusic = [] { return ++g_seen.stops, TRUE; };
        host.playTune = [](HWND, wchar_t* name, int directMusic) {
            return g_seen.tune = name, g_seen.tested = directMusic;
        };
        host.chooseColor = Stub::Next;
        DirectMusicAvailable = 1;
    }
    void TearDown() override {
        if (dialog_) DestroyWindow(dialog_);
        SetEnvironmentVariableW(L"TESSARY_LANGUAGE", nullptr);
        ScratchRegistry::TearDown();
    }
    // The dialog in the language `language` forces ("ja", "en").
    HWND Open(const wchar_t* language = L"ja") {
        if (dialog_) DestroyWindow(dialog_);
        SetEnvironmentVariableW(L"TESSARY_LANGUAGE", language);
        const HINSTANCE instance = GetModuleHandleW(nullptr);
        dialog_ =
            CreateDialogIndirectParamW(instance, UiDialogTemplate(instance, IDD_TESSARY_CONFIG),
                                       TestWindow(), ConfigDialogProc, 0);
        return dialog_;
    }
    void Command(int id) { SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    int Ticked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    std::wstring Text(int id) {
        wchar_t text[512] = {};
        GetDlgItemTextW(dialog_, id, text, 512);
        return text;
    }
    std::wstring Entry(int id, int index) {
        wchar_t text[512] = {};
        SendDlgItemMessageW(dialog_, id, CB_GETLBTEXT, WPARAM(index), LPARAM(text));
        return text;
    }
    static int32_t Stored(const char* name) {
        DWORD type = 0;
        const std::string bytes = Get(kSettings, name, &type);
        return type == REG_DWORD ? *reinterpret_cast<const int32_t*>(bytes.data()) : -999;
    }
    HWND dialog_ = nullptr;
    TuneFolder tunes_{{L"Song 2.mid", L"夜の歌.mid", L"Song.mid"}};
};

}  // namespace

TEST_F(Config, ShowsTheRunsSettingsAndCloseStoresWhatItShows) {
    // Check boxes in the order of their settings, each shown from the run's
    // copy (set alternately here) and stored under its own name.
    // clang-format off
    const std::pair<int, const char*> boxes[] = {
        {IDC_FPS, "FPS"}, {IDC_BIG_BANG, "BigBang"}, {IDC_BLACK_HALL, "BlackHall"},
        {IDC_GYAKUTEN, "Gyakuten"}, {IDC_HANEKAERI, "Hanekaeri"}, {IDC_KASOKU, "Kasoku"},
        {IDC_HIDE_CHECK, "HideCheck"}, {IDC_NIFTY_MANAGER_CHECK, "NiftyManagerCheck"},
        {IDC_GUIPPY2_CHECK, "Guippy2Check"}, {IDC_INTERNET_EXP_CHECK, "InternetExpCheck"},
        {IDC_NETSCAPE_CHECK, "NetScapeCheck"}, {IDC_ASCII_NET_CREW_CHECK, "ASCIInetCrewCheck"},
        {IDC_PCVAN_NAV_CHECK, "PCVANNavCheck"}, {IDC_CIM_CHECK, "CIMCheck"},
        {IDC_NON_STOP, "NonStop"}, {IDC_NIFTERM_CHECK, "NifTermCheck"}};
    // clang-format on
    for (size_t i = 0; i < std::size(boxes); ++i)
        for (int k = 0; k < kSettingCount; ++k)
            if (std::string(SettingName(k)) == boxes[i].second) g_Settings.Set(k, i % 2 ? 0 : 7);
    g_Settings.Set(SelfRotation, -5);  // hand-edited beyond the sliders' ends
    g_Settings.Set(Moving, -5);
    g_Settings.Set(Process, 5000);
    g_Settings.Set(BackgroundColor, 0x123456);
    PutDword("LoopMusic", 0);
    PutDword("BlackBack", 5);
    PutDword("UseDirectMusic", 1);
    ASSERT_NE(Open(), nullptr);
    char line[512] = {}, last[512] = {};  // the about text's first and last lines
    SendDlgItemMessageA(dialog_, IDC_ABOUT_LIST, LB_GETTEXT, 0, LPARAM(line));
    SendDlgItemMessageA(dialog_, IDC_ABOUT_LIST, LB_GETTEXT, 7, LPARAM(last));
    EXPECT_EQ(std::string(line) + " / " + last, "Tessary ver1.80 / Tessary Project");
    for (size_t i = 0; i < std::size(boxes); ++i)
        EXPECT_EQ(Ticked(boxes[i].first), i % 2 ? 0 : 1) << boxes[i].second;
    const int shown[][2] = {{IDC_SELF_ROTATION, 0}, {IDC_MOVING, 0}, {IDC_PROCESS, 1000}};
    for (const auto& s : shown) EXPECT_EQ(GetScrollPos(GetDlgItem(dialog_, s[0]), SB_CTL), s[1]);
    EXPECT_TRUE(!Ticked(IDC_LOOP_MUSIC) && Ticked(IDC_BLACK_BACK) && Ticked(IDC_USE_DIRECT_MUSIC));
    EXPECT_EQ(Text(IDC_DISPLAY_MODE), L"640x480 256 Color");
    // The user's changes: two boxes, three sliders (each thumb dragged past an
    // end, then an arrow; a trough click does nothing), the colour twice, a
    // listed mode, a tune.
    SendDlgItemMessageA(dialog_, IDC_FPS, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog_, IDC_LOOP_MUSIC, BM_CLICK, 0, 0);
    const int scrolls[][3] = {
        {IDC_PROCESS, SB_THUMBTRACK},     {IDC_PROCESS, SB_LINERIGHT},
        {IDC_PROCESS, SB_PAGERIGHT},      {IDC_SELF_ROTATION, SB_THUMBTRACK, 999},
        {IDC_SELF_ROTATION, SB_LINELEFT}, {IDC_MOVING, SB_THUMBTRACK, 999},
        {IDC_MOVING, SB_LINELEFT}};
    for (const auto& [id, code, thumb] : scrolls)
        SendMessageA(dialog_, WM_HSCROLL, MAKEWPARAM(code, thumb), LPARAM(GetDlgItem(dialog_, id)));
    for (int i = 0; i < 2; ++i) Command(IDC_BACKGROUND_COLOR);
    // The swatch shows the colour inside a one-pixel frame.
    for (MSG m; PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&m);
    RECT box;
    GetClientRect(GetDlgItem(dialog_, IDC_COLOR_SWATCH), &box);
    const HDC dc = GetDC(GetDlgItem(dialog_, IDC_COLOR_SWATCH));
    std::vector<COLORREF> row, inside(box.right, 0x123458);
    for (int x = 0; x < box.right; ++x) row.push_back(GetPixel(dc, x, 1));
    inside.front() = inside.back() = GetPixel(dc, 0, 0);  // the control's own frame
    ReleaseDC(GetDlgItem(dialog_, IDC_COLOR_SWATCH), dc);
    EXPECT_EQ(row, inside);
    ASSERT_GT(SendDlgItemMessageA(dialog_, IDC_DISPLAY_MODE, CB_GETCOUNT, 0, 0), 1)
        << "Wine's modes";
    const std::string mode = Utf8(Entry(IDC_DISPLAY_MODE, 0));
    SetDlgItemTextA(dialog_, IDC_DISPLAY_MODE, mode.c_str());
    SetDlgItemTextW(dialog_, IDC_TUNE, L"夜の歌");
    EXPECT_EQ(Stored("FPS"), -999) << "nothing is written before Close";
    Command(IDC_CLOSE);
    EXPECT_FALSE(IsWindowVisible(dialog_));
    EXPECT_EQ(g_ConfigDialog.result, 0);
    EXPECT_TRUE(g_seen.stops == 1 && g_seen.boxes == 1)
        << "the music stopped once; the 256-colour warning for the first colour only";
    for (size_t i = 0; i < std::size(boxes); ++i)
        EXPECT_EQ(Stored(boxes[i].second), (i % 2 ? 0 : 1) ^ (i == 0)) << boxes[i].second;
    const struct {
        const char* name;
        int32_t value;
    } values[] = {{"SelfRotation", 199},         {"Moving", 499},  {"Process", 300},
                  {"BackgroundColor", 0x123458}, {"LoopMusic", 1}, {"BlackBack", 1},
                  {"UseDirectMusic", 1}};
    for (const auto& v : values) EXPECT_EQ(Stored(v.name), v.value) << v.name;
    int w = 0, h = 0;
    std::sscanf(mode.c_str(), "%dx%d", &w, &h);
    EXPECT_TRUE(Stored("xScreenSize") == w && Stored("yScreenSize") == h &&
                Stored("ColorDepth") > 0)
        << mode;
    wchar_t tune[100] = {};
    EXPECT_EQ(ReadMidiFileSetting(tune), 1);
    EXPECT_STREQ(tune, L"夜の歌");
}

// The tune field and the DirectMusic box keep the stored choice whenever
// the dialog cannot show it, and what is stored does not depend on the
// language the fixed entries are shown in.
TEST_F(Config, StoredMusicChoicesSurviveAClose) {
    const struct {
        const wchar_t* language;
        const wchar_t* stored;  // nullptr: none stored
        int directMusic, available;
        const wchar_t *field, *saved;
        int savedDirectMusic;
    } rows[] = {
        {L"ja", L"Song", 0, 1, L"Song", L"Song", 0},
        {L"en", L"Song 2", 1, 1, L"Song 2", L"Song 2", 1},
        {L"ja", L"Gone", 1, 0, L"Gone", L"Gone", 1},
        {L"en", L"", 0, 0, L"", L"", 0},
        {L"en", nullptr, 1, 0, L"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ", L"ｼﾞｬｽﾞﾛﾏﾝﾃｨｯｸ", 1},
        {L"en", L"ランダムに演奏する", 0, 1, L"Play at random", L"ランダムに演奏する", 0},
        {L"en", L"音楽なし", 0, 1, L"No music", L"音楽なし", 0},
        {L"ja", L"ランダムに演奏する", 0, 1, L"ランダムに演奏する", L"ランダムに演奏する", 0},
    };
    for (const auto& r : rows) {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "MidiFile");
        if (r.stored) WriteMidiFileSetting(r.stored);
        PutDword("UseDirectMusic", r.directMusic);
        DirectMusicAvailable = r.available;
        Open(r.language);
        EXPECT_EQ(Text(IDC_TUNE), r.field);
        EXPECT_EQ(SendDlgItemMessageA(dialog_, IDC_TUNE, CB_GETCOUNT, 0, 0), 5);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog_, IDC_USE_DIRECT_MUSIC)) != 0,
                  r.available == 1);
        Command(IDC_TEST_TUNE);  // plays with the box's choice, unticked when disabled
        EXPECT_EQ(g_seen.tested, r.available && r.directMusic);
        EXPECT_EQ(g_seen.tune, r.saved) << "Test plays the stored name";
        Command(IDC_CLOSE);
        wchar_t tune[100] = {};
        ReadMidiFileSetting(tune);
        EXPECT_STREQ(tune, r.saved);
        EXPECT_EQ(Stored("UseDirectMusic"), r.savedDirectMusic) << Utf8(r.field);
    }
}
