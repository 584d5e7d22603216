// The settings dialog's about line and slider rules.
#include "config/dialog_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string About(const char* line, size_t size = 500) {
    char out[500];
    std::memset(out, 'x', sizeof out);
    FormatAboutLine(line, out, size);
    return out;
}

TEST(ConfigAboutLine, ReleaseNumberGoesIntoTheFirstDirectiveOnly) {
    EXPECT_EQ(About("Tessary ver%d.%02d"), "Tessary ver1.80");
    EXPECT_EQ(About(" "), " ");
    // Shift-JIS text passes through byte for byte.
    EXPECT_EQ(About("\x8d\x6c\x82\xa6\x82\xdc\x82\xb7\x81\x42"),
              "\x8d\x6c\x82\xa6\x82\xdc\x82\xb7\x81\x42");
    // Any other '%' in a string is text: it reads no argument.
    EXPECT_EQ(About("100% %s%n ver%d.%02d (%d.%02d)"), "100% %s%n ver1.80 (%d.%02d)");
    EXPECT_EQ(About("%d%%"), "%d%%");
}

TEST(ConfigAboutLine, StaysWithinItsBuffer) {
    EXPECT_EQ(About("Tessary ver%d.%02d", 12), "Tessary ver");
    EXPECT_EQ(About("Tessary ver%d.%02d", 1), "");
}

int Scroll(const SliderRange& range, int code, int current, int thumb = 0) {
    int next = -12345;
    return ApplyScrollCode(range, code, thumb, current, &next) ? next : -1;
}

TEST(ConfigSlider, DragTakesTheThumbAndOtherCodesAreIgnored) {
    EXPECT_EQ(Scroll(kProcessSlider, kScrollThumbTrack, 500, 735), 735);
    EXPECT_EQ(Scroll(kMovingSlider, kScrollThumbTrack, 300, 0), 0);
    // Page left/right (trough clicks), thumb position, top, bottom, end of scroll.
    for (int code : {2, 3, 4, 6, 7, 8, 9, 0xFFFF})
        EXPECT_EQ(Scroll(kProcessSlider, code, 700, 300), -1) << code;
}

TEST(ConfigSlider, HandEditedValueOutsideTheRangeStepsFromTheNearestEnd) {
    EXPECT_EQ(ClampToSlider(kProcessSlider, 5000), 1000);
    EXPECT_EQ(ClampToSlider(kProcessSlider, 0), 200);
    EXPECT_EQ(ClampToSlider(kProcessSlider, -40), 200);
    EXPECT_EQ(ClampToSlider(kSelfRotationSlider, 201), 200);
    EXPECT_EQ(ClampToSlider(kMovingSlider, 77), 77);
    EXPECT_EQ(Scroll(kProcessSlider, kScrollLineLeft, 5000), 900);
    EXPECT_EQ(Scroll(kProcessSlider, kScrollLineRight, -2147483647 - 1), 300);
    EXPECT_EQ(Scroll(kMovingSlider, kScrollLineRight, 2147483647), 500);
    EXPECT_EQ(Scroll(kProcessSlider, kScrollThumbTrack, 700, 65535), 1000);
}

}  // namespace
