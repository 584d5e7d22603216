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
    sourceColumn_.resize(static_cast<size_t>(fit_.width));
    for (int32_t c = 0; c < fit_.width; ++c)
        sourceColumn_[c] =
            static_cast<int32_t>(static_cast<int64_t>(c) * pictureWidth / fit_.width);
    previous_.clear();
}

PictureRect PictureScaler::ScaleBlock(const FrameBuffer& picture, const PictureRect& source,
                                      WindowImage& out) const {
    PictureRect d;
    const int32_t c0 = ScaledUp(source.x, fit_.width, pictureWidth_);
    const int32_t c1 = ScaledUp(source.x + source.width, fit_.width, pictureWidth_);
    const int32_t r0 = ScaledUp(source.y, fit_.height, pictureHeight_);
    const int32_t r1 = ScaledUp(source.y + source.height, fit_.height, pictureHeight_);
    d = {fit_.x + c0, fit_.y + r0, c1 - c0, r1 - r0};
    if (d.width <= 0 || d.height <= 0) return {};
    const size_t rowBytes = static_cast<size_t>(d.width) * out.bytesPerPixel;
    int32_t lastSource = -1;
    uint8_t* lastRow = nullptr;
    for (int32_t r = r0; r < r1; ++r) {
        uint8_t* row = out.data + static_cast<ptrdiff_t>(fit_.y + r) * out.stride +
                       static_cast<ptrdiff_t>(d.x) * out.bytesPerPixel;
        const int32_t sy =
            static_cast<int32_t>(static_cast<int64_t>(r) * pictureHeight_ / fit_.height);
        if (sy == lastSource) {
            std::memcpy(row, lastRow, rowBytes);
            continue;
        }
        const uint32_t* from = picture.pixels + static_cast<ptrdiff_t>(sy) * picture.stride;
        const int32_t* column = sourceColumn_.data() + c0;
        if (out.bytesPerPixel == 4) {
            uint32_t* to = reinterpret_cast<uint32_t*>(row);
            for (int32_t c = 0; c < d.width; ++c) to[c] = from[column[c]];
        } else {
            uint16_t* to = reinterpret_cast<uint16_t*>(row);
            for (int32_t c = 0; c < d.width; ++c) to[c] = static_cast<uint16_t>(from[column[c]]);
        }
        lastSource = sy;
        lastRow = row;
    }
    return d;
}

const std::vector<PictureRect>& PictureScaler::Update(const FrameBuffer& picture,
                                                      WindowImage& out) {
    changed_.clear();
    const int32_t w = pictureWidth_, h = pictureHeight_;
    const bool all = previous_.size() != static_cast<size_t>(w) * h;
    if (all) previous_.assign(static_cast<size_t>(w) * h, 0);
    for (int32_t band = 0; band < h; band += kBandRows) {
        const int32_t rows = std::min(kBandRows, h - band);
        int32_t x0 = all ? 0 : w, x1 = all ? w : 0;  // changed columns [x0, x1)
        for (int32_t y = band; y < band + rows; ++y) {
            const uint32_t* now = picture.pixels + static_cast<ptrdiff_t>(y) * picture.stride;
            uint32_t* before = previous_.data() + static_cast<size_t>(y) * w;
            if (!all && std::memcmp(now, before, static_cast<size_t>(w) * 4) == 0) continue;
            if (!all) {
                int32_t first = 0, last = w - 1;
                while (now[first] == before[first]) ++first;
                while (now[last] == before[last]) --last;
                x0 = std::min(x0, first);
                x1 = std::max(x1, last + 1);
            }
            std::memcpy(before, now, static_cast<size_t>(w) * 4);
        }
        if (x0 >= x1) continue;
        const PictureRect d = ScaleBlock(picture, {x0, band, x1 - x0, rows}, out);
        if (d.width > 0 && d.height > 0) changed_.push_back(d);
    }
    return changed_;
}
