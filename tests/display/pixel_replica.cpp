#include "pixel_replica.h"

namespace {

// Entry i of the saver's palette: red from bits 5-7, green from bits 2-4,
// blue from bits 0-1, each stretched over 0-255.
RGBQUAD RampEntry(int i) {
    RGBQUAD q;
    q.rgbRed = static_cast<BYTE>(((i >> 5) & 7) * 255 / 7);
    q.rgbGreen = static_cast<BYTE>(((i >> 2) & 7) * 255 / 7);
    q.rgbBlue = static_cast<BYTE>((i & 3) * 255 / 3);
    q.rgbReserved = 0;
    return q;
}

}  // namespace

Canvas::Canvas(int width, int height, const PixelFormat& format)
    : width_(width), height_(height), bitCount_(format.bits) {
    stride_ = ((width * format.bits + 31) / 32) * 4;
    colourBits_ = format.bits == 8 ? 0xFF : (format.redMask | format.greenMask | format.blueMask);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(format.bits);
    if (format.bits == 8) {
        info.header.biCompression = BI_RGB;
        info.header.biClrUsed = 256;
        for (int i = 0; i < 256; ++i) info.colours[i] = RampEntry(i);
    } else {
        info.header.biCompression = BI_BITFIELDS;
        DWORD* masks = reinterpret_cast<DWORD*>(info.colours);
        masks[0] = format.redMask;
        masks[1] = format.greenMask;
        masks[2] = format.blueMask;
    }
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                               nullptr, 0);
    if (bitmap_ == nullptr) return;
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint8_t*>(bits);
    PatBlt(dc_, 0, 0, width, height, BLACKNESS);
}

Canvas::~Canvas() {
    if (dc_ != nullptr) {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

uint32_t Canvas::Raw(int x, int y) const {
    const uint8_t* p = bits_ + size_t(y) * stride_ + size_t(x) * (bitCount_ / 8);
    uint32_t v = 0;
    for (int i = 0; i < bitCount_ / 8; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v & colourBits_;
}

Picture ReadCanvas(const Canvas& canvas) {
    Picture p(canvas.Width(), canvas.Height(), 0);
    GdiFlush();
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            p.At(x, y) = canvas.Colour(x, y);
            p.clear[size_t(y) * p.width + x] = canvas.Raw(x, y) == 0;
        }
    return p;
}

COLORREF FilledColour(const PixelFormat& format, COLORREF colour) {
    Canvas canvas(4, 4, format);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, 4, 4};
    FillRect(canvas.Dc(), &all, brush);
    DeleteObject(brush);
    GdiFlush();
    return canvas.Colour(1, 1);
}

Picture ReplicaSheet(const PixelFormat& format, int width, int height) {
    HBITMAP art = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "FULLCOLOR",
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (art == nullptr) return Picture();
    Canvas sheet(450, 900, format);
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(source, art);
    StretchBlt(sheet.Dc(), 0, 0, width, height, source, 0, 0, 450, 900, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(art);
    return ReadCanvas(sheet);
}

Picture ReplicaText(const PixelFormat& format, HFONT font, const std::string& text) {
    HDC screen = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32A(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, previous);
    DeleteDC(screen);

    // Room for overhanging glyphs.
    Canvas canvas(size.cx + 16, size.cy + 8, format);
    previous = SelectObject(canvas.Dc(), font);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(255, 255, 0));
    TextOutA(canvas.Dc(), 0, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(canvas.Dc(), previous);
    return ReadCanvas(canvas);
}
