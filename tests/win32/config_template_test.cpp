// The resources that a configuration run shows: dialog template 105 as
// compiled into the program, the about strings and the program icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/config_dialog.h"
#include "config/config_ids.h"

namespace {

// Reads the fields of a DLGTEMPLATE and its DLGITEMTEMPLATEs.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* at) : at_(at) {}
    WORD Word() {
        WORD w;
        std::memcpy(&w, at_, 2);
        at_ += 2;
        return w;
    }
    DWORD Dword() {
        const WORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    // A string, or an ordinal as "#n".
    std::u16string StringOrOrdinal() {
        std::u16string s;
        const WORD first = Word();
        if (first == 0xFFFF) return u"#" + Number(Word());
        for (WORD c = first; c != 0; c = Word()) s.push_back(static_cast<char16_t>(c));
        return s;
    }
    void AlignDword(const BYTE* base) {
        while ((at_ - base) % 4) ++at_;
    }
    void Skip(size_t bytes) { at_ += bytes; }

  private:
    static std::u16string Number(WORD n) {
        std::u16string digits;
        do {
            digits.insert(digits.begin(), static_cast<char16_t>(u'0' + n % 10));
            n /= 10;
        } while (n);
        return digits;
    }
    const BYTE* at_;
};

struct Item {
    int id;
    std::u16string windowClass;
    DWORD style;
    short x, y, cx, cy;
    std::u16string label;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDefault = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
constexpr DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kLabel = kChild | WS_GROUP | SS_LEFT;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kBar = kChild | SBS_HORZ;
const std::u16string kButton = u"#128", kStatic = u"#130", kListBox = u"#131", kScrollBar = u"#132",
                     kComboBox = u"#133";

// Template order, which is also the tab order.
const std::vector<Item> kExpected = {
    {1, kButton, kDefault, 260, 280, 65, 25, u"閉じる"},
    {2, kButton, kDefault, 190, 280, 65, 25, u"インターネット"},
    {1029, kButton, kPush, 115, 215, 35, 20, u"背景色"},
    {1030, kStatic, kChild | SS_BLACKRECT, 155, 215, 15, 15, u""},
    {1001, kListBox, kChild | WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 5, 5, 320,
     65, u""},
    {1007, kButton, kCheck, 185, 85, 135, 10, u"画面右下に描画ﾌﾚｰﾑﾚｰﾄを表示する"},
    {1008, kScrollBar, kBar, 75, 91, 65, 10, u""},
    {65535, kStatic, kLabel, 10, 91, 35, 10, u"自転速度"},
    {65535, kStatic, kLabel, 46, 91, 25, 10, u"はやい"},
    {65535, kStatic, kLabel, 146, 91, 25, 10, u"おそい"},
    {1009, kScrollBar, kBar, 75, 105, 65, 10, u""},
    {65535, kStatic, kLabel, 10, 107, 35, 10, u"移動速度"},
    {65535, kStatic, kLabel, 46, 105, 25, 10, u"おそい"},
    {65535, kStatic, kLabel, 146, 105, 25, 10, u"はやい"},
    {1010, kScrollBar, kBar, 75, 135, 65, 10, u""},
    {65535, kStatic, kLabel, 10, 135, 35, 10, u"全体進行"},
    {65535, kStatic, kLabel, 46, 135, 25, 10, u"はやい"},
    {65535, kStatic, kLabel, 146, 135, 25, 10, u"おそい"},
    {1011, kButton, kCheck, 185, 95, 135, 10, u"ビッグバンで開始する"},
    {1012, kButton, kCheck, 185, 105, 135, 10, u"ブラックホールで終了する"},
    {1013, kButton, kCheck, 185, 115, 135, 10, u"逆回転もする"},
    {1014, kButton, kCheck, 185, 125, 135, 10, u"はねかえる"},
    {1015, kButton, kCheck, 10, 121, 120, 10, u"速くなったり遅くなったりする"},
    {1016, kButton, kCheck, 140, 165, 65, 10, u"秀Term"},
    {1017, kButton, kCheck, 140, 175, 65, 10, u"NiftyManager"},
    {1018, kButton, kCheck, 140, 185, 65, 10, u"Guippy,Guippy2"},
    {1019, kButton, kCheck, 10, 175, 95, 10, u"Internet Explorer"},
    {1020, kButton, kCheck, 10, 185, 95, 10, u"Netscape Navigator"},
    {65535, kButton, kGroup, 5, 155, 320, 45,
     u"起動制限(以下のアプリが動作中には Tessary を起動しない)"},
    {65535, kButton, kGroup, 5, 75, 320, 75, u"ｵﾌﾞｼﾞｪｸﾄ設定"},
    {1021, kButton, kCheck, 10, 165, 125, 10, u"CompuServe Information Manager"},
    {1022, kButton, kCheck & ~WS_VISIBLE, 220, 165, 85, 10, u"ASCIInetCrew"},
    {1023, kButton, kCheck, 220, 175, 85, 10, u"PCVAN Navigator"},
    {1024, kButton, kCheck, 185, 135, 135, 10, u"数字の自転は止めない"},
    {65535, kButton, kGroup, 5, 205, 175, 55, u"解像度、色数"},
    {1028, kComboBox, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT, 10, 215, 95, 60,
     u""},
    {1025, kButton, kCheck, 220, 185, 85, 10, u"Nifterm"},
    {65535, kButton, kGroup, 185, 205, 140, 70, u"音楽"},
    {1031, kComboBox, kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN, 190, 225, 90, 70, u""},
    {65535, kStatic, kLabel, 190, 215, 35, 10, u"MIDIﾌｧｲﾙ"},
    {1033, kButton, kPush, 285, 221, 32, 15, u"テスト"},
    {1034, kButton, kCheck, 190, 245, 85, 10, u"繰り返し再生する"},
    {1035, kButton, kPush, 285, 241, 32, 15, u"停止"},
    {1036, kButton, kCheck, 10, 245, 165, 10, u"背景は黒で高速描画(ﾛｰﾊﾟﾜｰCPUにおすすめ)"},
    {1037, kButton, kCheck, 190, 260, 115, 10, u"DirectMusicを使用する。"},
};

// Windows takes a predefined class by its ordinal or by its name alike.
std::u16string ClassName(const std::u16string& c) {
    if (c == u"#128") return u"BUTTON";
    if (c == u"#130") return u"STATIC";
    if (c == u"#131") return u"LISTBOX";
    if (c == u"#132") return u"SCROLLBAR";
    if (c == u"#133") return u"COMBOBOX";
    std::u16string upper = c;
    for (char16_t& ch : upper) {
        if (ch >= u'a' && ch <= u'z') ch = static_cast<char16_t>(ch - u'a' + u'A');
    }
    return upper;
}

std::string Utf8(const std::u16string& s) {
    std::string out(s.size() * 3 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(s.c_str()),
                                      static_cast<int>(s.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

TEST(ConfigDialogTemplate, HasEveryControlWithItsIdStylePositionAndLabel) {
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(kConfigDialogTemplate), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    const BYTE* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(base, nullptr);
    TemplateReader r(base);

    const DWORD style = r.Dword();
    EXPECT_EQ(style,
              static_cast<DWORD>(WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_CENTER |
                                 DS_CENTERMOUSE | DS_SETFOREGROUND | DS_3DLOOK | DS_SETFONT));
    EXPECT_EQ(style & WS_SYSMENU, 0u) << "no close box";
    EXPECT_EQ(r.Dword(), 0u) << "no extended style";
    const WORD count = r.Word();
    ASSERT_EQ(count, kExpected.size());
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 0);
    EXPECT_EQ(r.Short(), 331);
    EXPECT_EQ(r.Short(), 309);
    EXPECT_EQ(r.StringOrOrdinal(), u"");  // menu
    EXPECT_EQ(r.StringOrOrdinal(), u"");  // class
    EXPECT_EQ(r.StringOrOrdinal(), u"Tessary Screen Saver(DirectX)");
    EXPECT_EQ(r.Word(), 9);
    EXPECT_EQ(Utf8(r.StringOrOrdinal()), Utf8(u"ＭＳ Ｐゴシック"));

    for (const Item& want : kExpected) {
        r.AlignDword(base);
        Item got;
        got.style = r.Dword();
        const DWORD extended = r.Dword();
        got.x = r.Short();
        got.y = r.Short();
        got.cx = r.Short();
        got.cy = r.Short();
        got.id = r.Word();
        got.windowClass = r.StringOrOrdinal();
        got.label = r.StringOrOrdinal();
        r.Skip(r.Word());
        SCOPED_TRACE(std::to_string(want.id) + " " + Utf8(want.label));
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(Utf8(ClassName(got.windowClass)), Utf8(ClassName(want.windowClass)));
        EXPECT_EQ(got.style, want.style);
        EXPECT_EQ(extended, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(Utf8(got.label), Utf8(want.label));
    }
}

TEST(ConfigDialogTemplate, AboutStringsEndAtFiftySevenAndNameTheHomePage) {
    ASSERT_EQ(GetACP(), 932u) << "run under LANG=ja_JP.UTF-8";
    const HINSTANCE self = GetModuleHandleA(nullptr);
    char text[500];
    for (UINT id = IDS_ABOUT_FIRST; id <= IDS_ABOUT_LAST; ++id)
        EXPECT_GT(LoadStringA(self, id, text, sizeof text), 0) << id;
    EXPECT_EQ(LoadStringA(self, IDS_ABOUT_LAST + 1, text, sizeof text), 0);

    ASSERT_GT(LoadStringA(self, IDS_ABOUT_VERSION, text, sizeof text), 0);
    EXPECT_STREQ(text, "Tessary ver%d.%02d");
    ASSERT_GT(LoadStringA(self, 53, text, sizeof text), 0);
    EXPECT_STREQ(text, "\x8d\x6c\x82\xa6\x82\xdc\x82\xb7\x81\x42") << "考えます。 in Shift-JIS";
    ASSERT_GT(LoadStringA(self, 54, text, sizeof text), 0);
    EXPECT_STREQ(text, " ");
    ASSERT_GT(LoadStringA(self, IDS_ABOUT_HOME_PAGE, text, sizeof text), 0);
    EXPECT_NE(std::strstr(text, kHomePageAddress), nullptr) << text;
}

TEST(ConfigDialogTemplate, ProgramIconAndSpriteSheetAreInTheSameResources) {
    const HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_NE(FindResourceA(self, MAKEINTRESOURCEA(IDI_TESSARY), RT_GROUP_ICON), nullptr);
    const HICON icon =
        static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(IDI_TESSARY), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_NE(FindResourceA(self, "FULLCOLOR", RT_BITMAP), nullptr);
}

}  // namespace
