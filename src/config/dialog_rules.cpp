#include "config/dialog_rules.h"

#include <cstdio>
#include <cstring>

void FormatAboutLine(const char* line, char* out, std::size_t size) {
    if (size == 0) return;
    static const char kDirective[] = "%d.%02d";
    const char* at = std::strstr(line, kDirective);
    if (!at) {
        std::snprintf(out, size, "%s", line);
        return;
    }
    std::snprintf(out, size, "%.*s%d.%02d%s", static_cast<int>(at - line), line, kReleaseMajor,
                  kReleaseMinor, at + sizeof kDirective - 1);
}

int ClampToSlider(const SliderRange& range, int value) {
    if (value < range.minimum) return range.minimum;
    if (value > range.maximum) return range.maximum;
    return value;
}

bool ApplyScrollCode(const SliderRange& range, int code, int thumb, int current, int* next) {
    const int from = ClampToSlider(range, current);
    switch (code) {
        case kScrollLineLeft:
            *next = ClampToSlider(range, from - range.lineStep);
            return true;
        case kScrollLineRight:
            *next = ClampToSlider(range, from + range.lineStep);
            return true;
        case kScrollThumbTrack:
            *next = ClampToSlider(range, thumb);
            return true;
        default:
            return false;
    }
}
