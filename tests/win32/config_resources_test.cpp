// The resources that a configuration run needs besides the dialog template,
// which the dialog tests run: the about strings and the program icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "config/config_dialog.h"
#include "config/config_ids.h"

namespace {

TEST(ConfigResources, AboutStringsEndAtFiftySevenAndNameTheHomePage) {
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

TEST(ConfigResources, ProgramIconAndSpriteSheetAreInTheSameResources) {
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
