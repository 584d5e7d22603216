#include "config/dialog_rules.h"

#include <cwchar>

static_assert(kReleaseMajor >= 0 && kReleaseMinor >= 0 && kReleaseMinor < 100,
              "the about text shows the release as major.minor with two digits");

namespace {

// Appends what fits of `text` at `*used` of `out`, which holds `size` units.
void Append(wchar_t* out, std::size_t size, std::size_t* used, const wchar_t* text,
            std::size_t length) {
    for (std::size_t i = 0; i < length && *used + 1 < size; ++i) out[(*used)++] = text[i];
    out[*used] = L'\0';
}

}  // namespace

void FormatAboutLine(const wchar_t* line, wchar_t* out, std::size_t size) {
    if (size == 0) return;
    static const wchar_t kDirective[] = L"%d.%02d";
    std::size_t used = 0;
    out[0] = L'\0';
    const wchar_t* at = std::wcsstr(line, kDirective);
    if (!at) {
        Append(out, size, &used, line, std::wcslen(line));
        return;
    }
    wchar_t release[16];
    std::swprintf(release, 16, L"%d.%02d", kReleaseMajor, kReleaseMinor);
    Append(out, size, &used, line, static_cast<std::size_t>(at - line));
    Append(out, size, &used, release, std::wcslen(release));
    const wchar_t* rest = at + (sizeof kDirective / sizeof kDirective[0] - 1);
    Append(out, size, &used, rest, std::wcslen(rest));
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
