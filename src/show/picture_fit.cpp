#include "show/picture_fit.h"

#include <algorithm>
#include <cstring>

#include "settings/settings_table.h"

namespace {

constexpr int32_t kBandRows = 16;  // picture rows compared and sent as one block

// ceil(a * b / c) for non-negative values, without overflow.
int32_t ScaledUp(int32_t a, int32_t b, int32_t c) {
    return static_cast<int32_t>((static_cast<int64_t>(a) * b + c - 1) / c);
}

}  // namespace

PictureRect ShowModeFor(int32_t windowWidth, int32_t windowHeight) {
    // A 640 x 480 picture shrinks when the window is narrower or lower than it.
    if (windowWidth < 640 || windowHeight < 480) {
        return {0, 0, kSmallScreenWidth, 240};
    }
    return {0, 0, 640, 480};
}

PictureRect FitPicture(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                       int32_t windowHeight) {
    PictureRect r;
    // Fit to the height unless the window is narrower than the picture's aspect.
    if (static_cast<int64_t>(windowWidth) * pictureHeight >=
        static_cast<int64_t>(windowHeight) * pictureWidth) {
        r.height = windowHeight;
        r.width =
            static_cast<int32_t>(static_cast<int64_t>(windowHeight) * pictureWidth / pictureHeight);
    } else {
        r.width = windowWidth;
        r.height =
            static_cast<int32_t>(static_cast<int64_t>(windowWidth) * pictureHeight / pictureWidth);
    }
    r.width = std::max(r.width, std::min(windowWidth, 1));
    r.height = std::max(r.height, std::min(windowHeight, 1));
    r.x = (windowWidth - r.width) / 2;
    r.y = (windowHeight - r.height) / 2;
    return r;
}

void PictureScaler::Setup(int32_t pictureWidth, int32_t pictureHeight, int32_t windowWidth,
                          int32_t windowHeight) {
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
    fit_ = FitPicture(pictureWidth, pictureHeight, windowWidth, windowHeight);
    firstColumn_.resize(static_cast<size_t>(pictureWidth) + 1);
    for (int32_t x = 0; x <= pictureWidth; ++x)
        firstColumn_[x] = ScaledUp(x, fit_.width, pictureWidth);
    previous_.clear();
}

PictureRect PictureScaler::WindowRect(const PictureRect& source) const {
    const int32_t c0 = firstColumn_[source.x], c1 = firstColumn_[source.x + source.width];
    const int32_t r0 = ScaledUp(source.y, fit_.height, pictureHeight_);
    const int32_t r1 = ScaledUp(source.y + source.height, fit_.height, pictureHeight_);
    return {fit_.x + c0, fit_.y + r0, c1 - c0, r1 - r0};
}

void PictureScaler::ScaleRun(const FrameBuffer& picture, int32_t y, int32_t x0, int32_t x1,
                             WindowImage& out) const {
    const PictureRect d = WindowRect({x0, y, x1 - x0, 1});
    if (d.width <= 0 || d.height <= 0) return;
    uint8_t* first = out.data + static_cast<ptrdiff_t>(d.y) * out.stride +
                     static_cast<ptrdiff_t>(d.x) * out.bytesPerPixel;
    // Each picture pixel fills the run of window columns that shows it; the
    // other window rows of this picture row are copies.
    const uint32_t* from = picture.pixels + static_cast<ptrdiff_t>(y) * picture.stride;
    const int32_t* column = firstColumn_.data();
    const int32_t c0 = column[x0];
    if (out.bytesPerPixel == 4) {
        uint32_t* to = reinterpret_cast<uint32_t*>(first) - c0;
        for (int32_t x = x0; x < x1; ++x) std::fill(to + column[x], to + column[x + 1], from[x]);
    } else {
        uint16_t* to = reinterpret_cast<uint16_t*>(first) - c0;
        for (int32_t x = x0; x < x1; ++x)
            std::fill(to + column[x], to + column[x + 1], static_cast<uint16_t>(from[x]));
    }
    const size_t rowBytes = static_cast<size_t>(d.width) * out.bytesPerPixel;
    for (int32_t r = 1; r < d.height; ++r) std::memcpy(first + r * out.stride, first, rowBytes);
}

const std::vector<PictureRect>& PictureScaler::Update(const FrameBuffer& picture,
                                                      WindowImage& out) {
    changed_.clear();
    const int32_t w = pictureWidth_, h = pictureHeight_;
    const bool all = previous_.size() != static_cast<size_t>(w) * h;
    if (all) previous_.assign(static_cast<size_t>(w) * h, 0);
    // Each changed row is scaled from its first to its last changed pixel;
    // a band of rows is sent as one rectangle around them.
    for (int32_t band = 0; band < h; band += kBandRows) {
        const int32_t rows = std::min(kBandRows, h - band);
        int32_t x0 = w, x1 = 0;  // changed columns [x0, x1) of the band
        for (int32_t y = band; y < band + rows; ++y) {
            const uint32_t* now = picture.pixels + static_cast<ptrdiff_t>(y) * picture.stride;
            uint32_t* before = previous_.data() + static_cast<size_t>(y) * w;
            int32_t first = 0, last = w - 1;
            if (!all) {
                if (std::memcmp(now, before, static_cast<size_t>(w) * 4) == 0) continue;
                while (now[first] == before[first]) ++first;
                while (now[last] == before[last]) --last;
                std::memcpy(before + first, now + first, static_cast<size_t>(last - first + 1) * 4);
            } else {
                std::memcpy(before, now, static_cast<size_t>(w) * 4);
            }
            ScaleRun(picture, y, first, last + 1, out);
            x0 = std::min(x0, first);
            x1 = std::max(x1, last + 1);
        }
        if (x0 >= x1) continue;
        const PictureRect d = WindowRect({x0, band, x1 - x0, rows});
        if (d.width > 0 && d.height > 0) changed_.push_back(d);
    }
    return changed_;
}
