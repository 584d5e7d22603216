// The sprite sheet and palette loaders and the colour-key match, against
// mocked surfaces that hand out real memory device contexts.
#include <cstdio>
#include <string>
#include <vector>

#include "ddraw_mocks.h"
#include "display/palette_ramp.h"

using ::testing::_;
using ::testing::AllOf;
using ::testing::DoAll;
using ::testing::Field;
using ::testing::InSequence;
using ::testing::IsNull;
using ::testing::Pointee;
using ::testing::Return;
using ::testing::SetArgPointee;

namespace {

const COLORREF kMarker = RGB(255, 0, 255);

// A bitmap file in the temporary folder, removed again at the end.
class BitmapFile {
  public:
    // Writes headers, an optional colour table of `table` entries (blue,
    // green, red, reserved) and `pixels` raw bytes.
    BitmapFile(const char* name, int width, int height, int bits, const std::vector<RGBQUAD>& table,
               const std::vector<uint8_t>& pixels) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + name;
        BITMAPINFOHEADER info = {};
        info.biSize = sizeof info;
        info.biWidth = width;
        info.biHeight = height;
        info.biPlanes = 1;
        info.biBitCount = static_cast<WORD>(bits);
        info.biCompression = BI_RGB;
        info.biClrUsed = static_cast<DWORD>(table.size());
        const DWORD offset = static_cast<DWORD>(14 + 40 + table.size() * sizeof(RGBQUAD));
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = offset;
        file.bfSize = offset + static_cast<DWORD>(pixels.size());
        FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr) return;
        std::fwrite(&file, sizeof file, 1, f);
        std::fwrite(&info, sizeof info, 1, f);
        if (!table.empty()) std::fwrite(table.data(), sizeof(RGBQUAD), table.size(), f);
        if (!pixels.empty()) std::fwrite(pixels.data(), 1, pixels.size(), f);
        std::fclose(f);
    }
    ~BitmapFile() { DeleteFileA(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

  private:
    std::string path_;
};

class SpriteSheetLoading : public DisplayFixture {
  protected:
    void SurfaceIs(MockSurface& s, int width, int height) {
        ON_CALL(s, GetSurfaceDesc).WillByDefault([width, height](LPDDSURFACEDESC d) {
            d->dwWidth = static_cast<DWORD>(width);
            d->dwHeight = static_cast<DWORD>(height);
            return DD_OK;
        });
    }
};

TEST_F(SpriteSheetLoading, TriesVideoMemoryThenSystemMemory) {
    {
        InSequence order;
        EXPECT_CALL(device, CreateSurface(SameDesc(Desc(7, 64, 450, 900)), _, IsNull()))
            .WillOnce(Return(DDERR_OUTOFVIDEOMEMORY));
        EXPECT_CALL(device, CreateSurface(SameDesc(Desc(7, 2048, 450, 900)), _, IsNull()))
            .WillOnce(DoAll(SetArgPointee<1>(&sheet), Return(DD_OK)));
        EXPECT_CALL(sheet, Restore());
        EXPECT_CALL(sheet, GetDC(_));
    }
    EXPECT_EQ(LoadSpriteSheet(&device, "FULLCOLOR", 0, 0), &sheet);
}

TEST_F(SpriteSheetLoading, GivesNoneWhenNeitherMemoryHasRoom) {
    EXPECT_CALL(device, CreateSurface).Times(2).WillRepeatedly(Return(DDERR_OUTOFMEMORY));
    EXPECT_EQ(LoadSpriteSheet(&device, "FULLCOLOR", 0, 0), nullptr);
}

TEST_F(SpriteSheetLoading, GivesNoneForABitmapThatIsNowhere) {
    EXPECT_CALL(device, CreateSurface).Times(0);
    EXPECT_CALL(sheet, Restore).Times(0);
    EXPECT_EQ(LoadSpriteSheet(&device, "NOSUCHSHEET", 0, 0), nullptr);
    EXPECT_EQ(ReloadSpriteSheet(&sheet, "NOSUCHSHEET"), E_FAIL);
    EXPECT_EQ(CopyBitmapToSurface(&sheet, nullptr, 0, 0, 0, 0), E_FAIL);
}

TEST_F(SpriteSheetLoading, FallsBackToAFileOfThatName) {
    // 3 by 2, bottom-up rows of 9 bytes padded to 12: red, green, blue on
    // the top row, white on the bottom one.
    const std::vector<uint8_t> rows = {255, 255, 255, 255, 255, 255, 255, 255, 255, 0, 0, 0,
                                       0,   0,   255, 0,   255, 0,   255, 0,   0,   0, 0, 0};
    BitmapFile file("tessary_sheet_fallback.bmp", 3, 2, 24, {}, rows);
    DibCanvas pixels(3, 2, kMarker);
    SurfaceIs(sheet, 3, 2);
    EXPECT_CALL(device, CreateSurface(SameDesc(Desc(7, 64, 3, 2)), _, _))
        .WillOnce(DoAll(SetArgPointee<1>(&sheet), Return(DD_OK)));
    EXPECT_CALL(sheet, GetDC(_)).WillOnce(GiveDc(pixels));

    EXPECT_EQ(LoadSpriteSheet(&device, file.path(), 0, 0), &sheet);
    EXPECT_EQ(pixels.At(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(pixels.At(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(pixels.At(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(pixels.At(2, 1), RGB(255, 255, 255));
}

TEST_F(SpriteSheetLoading, CopiesTheArtworkUnscaled) {
    DibCanvas pixels(450, 900, kMarker);
    ASSERT_TRUE(pixels.Valid());
    SurfaceIs(sheet, 450, 900);
    {
        InSequence order;
        // Lost memory comes back before the copy draws into it.
        EXPECT_CALL(sheet, Restore());
        EXPECT_CALL(sheet,
                    GetSurfaceDesc(AllOf(Field(&DDSURFACEDESC::dwSize, sizeof(DDSURFACEDESC)),
                                         Field(&DDSURFACEDESC::dwFlags, 6u))));
        EXPECT_CALL(sheet, GetDC(_)).WillOnce(GiveDc(pixels));
        EXPECT_CALL(sheet, ReleaseDC(pixels.dc()));
    }
    EXPECT_EQ(ReloadSpriteSheet(&sheet, "FULLCOLOR"), DD_OK);

    HBITMAP art = static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), "FULLCOLOR",
                                                  IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(art, nullptr);
    HDC artDc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(artDc, art);
    int differences = 0;
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 450; ++x) differences += pixels.At(x, y) != GetPixel(artDc, x, y);
    SelectObject(artDc, previous);
    DeleteDC(artDc);
    DeleteObject(art);
    EXPECT_EQ(differences, 0);
}

TEST_F(SpriteSheetLoading, ShrinksTheArtworkForA320WideScreen) {
    g_Display.settings.Set(xScreenSize, 320);
    g_Display.settings.Set(yScreenSize, 240);
    DibCanvas pixels(450, 900, kMarker);
    ASSERT_TRUE(pixels.Valid());
    SurfaceIs(sheet, 450, 900);
    EXPECT_CALL(sheet, GetDC(_)).WillOnce(GiveDc(pixels));
    EXPECT_EQ(ReloadSpriteSheet(&sheet, "FULLCOLOR"), DD_OK);

    // The picture fills the top-left 225 by 440 and nothing else.
    EXPECT_NE(pixels.At(0, 0), kMarker);
    EXPECT_NE(pixels.At(224, 439), kMarker);
    EXPECT_EQ(pixels.At(225, 0), kMarker);
    EXPECT_EQ(pixels.At(0, 440), kMarker);
    EXPECT_EQ(pixels.At(449, 899), kMarker);
}

TEST_F(SpriteSheetLoading, ReportsADeviceContextItCouldNotGet) {
    SurfaceIs(sheet, 450, 900);
    EXPECT_CALL(sheet, GetDC(_)).WillOnce(Return(DDERR_SURFACELOST));
    EXPECT_CALL(sheet, ReleaseDC).Times(0);
    EXPECT_EQ(ReloadSpriteSheet(&sheet, "FULLCOLOR"), DDERR_SURFACELOST);
}

class PaletteLoading : public DisplayFixture {
  protected:
    // CreatePalette keeps a copy of the entries it was given.
    void CapturePalette(HRESULT result = DD_OK) {
        EXPECT_CALL(device, CreatePalette(4u, _, _, IsNull()))
            .WillOnce([this, result](DWORD, LPPALETTEENTRY e, LPDIRECTDRAWPALETTE* out, IUnknown*) {
                given.assign(e, e + 256);
                if (result == DD_OK) *out = &palette;
                return result;
            });
    }
    void ExpectRampFrom(int first) {
        for (int i = first; i < 256; ++i) {
            const PaletteColour c = RampColour(i);
            EXPECT_EQ(given[i].peRed, c.red) << i;
            EXPECT_EQ(given[i].peGreen, c.green) << i;
            EXPECT_EQ(given[i].peBlue, c.blue) << i;
            EXPECT_EQ(given[i].peFlags, 0) << i;
        }
    }
    std::vector<PALETTEENTRY> given;
};

TEST_F(PaletteLoading, TakesAFilesColourTableOverTheRamp) {
    std::vector<RGBQUAD> table(16);
    for (int i = 0; i < 16; ++i)
        table[i] = RGBQUAD{static_cast<BYTE>(i), static_cast<BYTE>(100 + i),
                           static_cast<BYTE>(200 + i), static_cast<BYTE>(i == 5 ? 4 : 0)};
    BitmapFile file("tessary_palette16.bmp", 4, 1, 8, table, {1, 2, 3, 4});
    CapturePalette();

    EXPECT_EQ(LoadPalette(&device, file.path()), &palette);
    ASSERT_EQ(given.size(), 256u);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(given[i].peRed, 200 + i) << i;
        EXPECT_EQ(given[i].peGreen, 100 + i) << i;
        EXPECT_EQ(given[i].peBlue, i) << i;
    }
    // The file's fourth byte becomes the flags.
    EXPECT_EQ(given[5].peFlags, 4);
    EXPECT_EQ(given[6].peFlags, 0);
    ExpectRampFrom(16);
}

TEST_F(PaletteLoading, KeepsTheRampForATrueColourFileOrNoBitmap) {
    BitmapFile file("tessary_palette24.bmp", 1, 1, 24, {}, {9, 9, 9, 0});
    for (const char* name : {file.path(), "NOSUCHPALETTE", static_cast<const char*>(nullptr)}) {
        CapturePalette();
        EXPECT_EQ(LoadPalette(&device, name), &palette);
        ASSERT_EQ(given.size(), 256u);
        ExpectRampFrom(0);
        ::testing::Mock::VerifyAndClearExpectations(&device);
    }
}

TEST_F(PaletteLoading, GivesNoneWhenTheDeviceRefuses) {
    CapturePalette(DDERR_OUTOFMEMORY);
    EXPECT_EQ(LoadPalette(&device, "FULLCOLOR"), nullptr);
}

// The raw pixel value GDI gave a colour, cut to the surface's bit depth.
struct DepthCase {
    DWORD bits;
    DWORD expected;
};

class ColourMatching : public DisplayFixture, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(ColourMatching, ReadsThePaintedPixelAndPutsTheOldOneBack) {
    DibCanvas pixels(4, 4);
    pixels.Set(0, 0, RGB(1, 2, 3));
    uint32_t memory = 0xABCD1234;
    const COLORREF wanted = RGB(200, 100, 50);
    const DWORD bits = GetParam().bits;
    ON_CALL(sheet, GetDC(_)).WillByDefault(GiveDc(pixels));
    {
        InSequence order;
        // A busy blitter makes the lock wait its turn.
        EXPECT_CALL(sheet, Lock(IsNull(),
                                AllOf(Field(&DDSURFACEDESC::dwSize, sizeof(DDSURFACEDESC)),
                                      Field(&DDSURFACEDESC::dwFlags, 0u)),
                                0u, IsNull()))
            .Times(2)
            .WillRepeatedly(Return(DDERR_WASSTILLDRAWING));
        EXPECT_CALL(sheet, Lock).WillOnce([&](LPRECT, LPDDSURFACEDESC d, DWORD, HANDLE) {
            // The colour was painted in before the surface was read.
            EXPECT_EQ(pixels.At(0, 0), wanted);
            d->lpSurface = &memory;
            d->ddpfPixelFormat.dwRGBBitCount = bits;
            return DD_OK;
        });
        EXPECT_CALL(sheet, Unlock(_));
    }
    EXPECT_EQ(MatchColour(&sheet, wanted), GetParam().expected);
    EXPECT_EQ(pixels.At(0, 0), RGB(1, 2, 3));
}

INSTANTIATE_TEST_SUITE_P(EachDepth, ColourMatching,
                         ::testing::Values(DepthCase{8, 0x34}, DepthCase{16, 0x1234},
                                           DepthCase{24, 0xCD1234}, DepthCase{32, 0xABCD1234}),
                         [](const ::testing::TestParamInfo<DepthCase>& info) {
                             return std::to_string(info.param.bits) + "Bits";
                         });

using ColourKey = DisplayFixture;

TEST_F(ColourKey, BecomesAllOnesWhenTheSurfaceCannotBeLocked) {
    EXPECT_CALL(sheet, Lock).WillOnce(Return(DDERR_SURFACEBUSY));
    EXPECT_CALL(sheet, Unlock).Times(0);
    EXPECT_CALL(
        sheet,
        SetColorKey(8u, AllOf(Pointee(Field(&DDCOLORKEY::dwColorSpaceLowValue, 0xFFFFFFFFu)),
                              Pointee(Field(&DDCOLORKEY::dwColorSpaceHighValue, 0xFFFFFFFFu)))))
        .WillOnce(Return(DDERR_GENERIC));
    EXPECT_EQ(SetSourceColourKey(&sheet, RGB(0, 0, 0)), DDERR_GENERIC);
}

}  // namespace
