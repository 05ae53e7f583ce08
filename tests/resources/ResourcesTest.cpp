#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "image/LoadPicture.h"
#include "resources/EmbeddedResources.h"
#include "support/TestSupport.h"

namespace {

uint32_t U32At(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// The level of an 8-bit picture at column x, row y counted from the top.
uint8_t LevelAt(const DibImage* image, int32_t x, int32_t yFromTop) {
    const int32_t row = image->header.biHeight - 1 - yFromTop;
    return DibPixels(image)[row * DibRowStride(image->header.biWidth, 8) + x];
}

// The palette index of a 4-bit picture at column x, row y counted from the top.
uint8_t IndexAt(const DibImage* image, int32_t x, int32_t yFromTop) {
    const int32_t row = image->header.biHeight - 1 - yFromTop;
    const uint8_t pair = DibPixels(image)[row * DibRowStride(image->header.biWidth, 4) + x / 2];
    return x % 2 == 0 ? pair >> 4 : pair & 15;
}

// Blue, green, red of palette entry i, packed as 0xRRGGBB.
uint32_t PaletteColor(const DibImage* image, int i) {
    const uint8_t* entry = reinterpret_cast<const uint8_t*>(image) + kDibHeaderBytes + 4 * i;
    return entry[2] << 16 | entry[1] << 8 | entry[0];
}

bool IsGreyPalette(const DibImage* image) {
    for (int i = 0; i < 256; ++i) {
        if (PaletteColor(image, i) != static_cast<uint32_t>(i * 0x010101)) {
            return false;
        }
    }
    return true;
}

// The embedded bytes of a resource as a vector the tests may spoil.
std::vector<uint8_t> BytesOf(int16_t id) {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(id, &size);
    return bytes == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(bytes, bytes + size);
}

}  // namespace

TEST(Resources, EveryBitmapHasItsSizeAndDepthAndWholeFileLength) {
    struct Expected {
        int16_t id;
        int32_t width, height;
        uint16_t bits;
    };
    const Expected table[] = {
        {RESOURCE_ARROW_UP, 12, 12, 8},     {RESOURCE_ARROW_DOWN, 12, 12, 8},
        {RESOURCE_DIGITS, 120, 12, 24},     {RESOURCE_SPECTRUM, 176, 50, 24},
        {RESOURCE_FOLDER_ICONS, 80, 15, 4}, {RESOURCE_BANNER, 176, 16, 8},
    };
    for (const Expected& expected : table) {
        SCOPED_TRACE(expected.id);
        size_t size = 0;
        const uint8_t* bytes = ResourceBytes(expected.id, &size);
        ASSERT_NE(bytes, nullptr);
        ASSERT_GE(size, 54u);
        EXPECT_EQ(std::memcmp(bytes, "BM", 2), 0);
        EXPECT_EQ(U32At(bytes + 2), size);

        DibBlock dib = ResourceDib(expected.id);
        ASSERT_TRUE(dib);
        EXPECT_EQ(dib->header.biWidth, expected.width);
        EXPECT_EQ(dib->header.biHeight, expected.height);  // positive: rows bottom-up
        EXPECT_EQ(dib->header.biBitCount, expected.bits);
        EXPECT_EQ(size - 14, DibBlockBytes(dib->header));
    }
}

TEST(Resources, IconIsA64By64PngAndNoDib) {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(RESOURCE_ICON, &size);
    ASSERT_NE(bytes, nullptr);
    ASSERT_GT(size, 24u);
    EXPECT_EQ(std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::memcmp(bytes + 12, "IHDR", 4), 0);
    // IHDR holds width and height big-endian.
    EXPECT_EQ(bytes[16] << 24 | bytes[17] << 16 | bytes[18] << 8 | bytes[19], 64);
    EXPECT_EQ(bytes[20] << 24 | bytes[21] << 16 | bytes[22] << 8 | bytes[23], 64);
    EXPECT_FALSE(ResourceDib(RESOURCE_ICON));
}

TEST(Resources, MissingIdGivesNothing) {
    for (int16_t id : {int16_t{0}, int16_t{-1}, int16_t{442}, int16_t{3003}}) {
        size_t size = 123;
        EXPECT_EQ(ResourceBytes(id, &size), nullptr);
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(ResourceBytes(id, nullptr), nullptr);
        EXPECT_FALSE(ResourceDib(id));
    }
}

TEST(Resources, ArrowsAreWhiteOnBlackAndMirrorEachOther) {
    DibBlock up = ResourceDib(RESOURCE_ARROW_UP);
    DibBlock down = ResourceDib(RESOURCE_ARROW_DOWN);
    ASSERT_TRUE(up && down);
    EXPECT_TRUE(IsGreyPalette(up.get()));
    EXPECT_TRUE(IsGreyPalette(down.get()));
    // The up arrow's tip near the top, its shaft below, black in the corners
    // and beside the shaft.
    EXPECT_GT(LevelAt(up.get(), 6, 2), 200);
    EXPECT_GT(LevelAt(up.get(), 5, 10), 200);
    EXPECT_GT(LevelAt(up.get(), 2, 6), 100);  // the wide head
    EXPECT_EQ(LevelAt(up.get(), 0, 0), 0);
    EXPECT_EQ(LevelAt(up.get(), 11, 0), 0);
    EXPECT_EQ(LevelAt(up.get(), 1, 10), 0);
    EXPECT_EQ(LevelAt(up.get(), 10, 10), 0);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            ASSERT_EQ(LevelAt(down.get(), x, y), LevelAt(up.get(), x, 11 - y)) << x << "," << y;
        }
    }
}

TEST(Resources, SpectrumHasOneSaturatedHuePerColumnAndRedAtColumn88) {
    DibBlock spectrum = ResourceDib(RESOURCE_SPECTRUM);
    ASSERT_TRUE(spectrum);
    EXPECT_EQ(PixelAt(spectrum.get(), 88, 0), 0xFF0500u);  // red 255, green 5, blue 0
    const int32_t stride = DibRowStride(176, 24);
    const uint8_t* first = DibPixels(spectrum.get());
    for (int y = 1; y < 50; ++y) {
        ASSERT_EQ(std::memcmp(first + y * stride, first, stride), 0) << "row " << y;
    }
    std::set<uint32_t> hues;
    for (int x = 0; x < 176; ++x) {
        const uint8_t* p = first + 3 * x;
        EXPECT_EQ(std::max({p[0], p[1], p[2]}), 255) << x;
        EXPECT_EQ(std::min({p[0], p[1], p[2]}), 0) << x;
        hues.insert(PixelAt(spectrum.get(), x, 0));
    }
    EXPECT_EQ(hues.size(), 176u);
}

TEST(Resources, DigitCellsAreBlueWithDistinctWhiteFigures) {
    DibBlock digits = ResourceDib(RESOURCE_DIGITS);
    ASSERT_TRUE(digits);
    const uint32_t blue = PixelAt(digits.get(), 0, 0);
    EXPECT_GT(blue & 0xFF, (blue >> 16) + 80) << std::hex << blue;  // blue well above red
    std::set<std::vector<uint32_t>> figures;
    for (int cell = 0; cell < 10; ++cell) {
        SCOPED_TRACE(cell);
        EXPECT_EQ(PixelAt(digits.get(), cell * 12, 0), blue);
        EXPECT_EQ(PixelAt(digits.get(), cell * 12 + 11, 11), blue);
        std::vector<uint32_t> figure;
        int white = 0;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 12; ++x) {
                figure.push_back(PixelAt(digits.get(), cell * 12 + x, y));
                white += figure.back() == 0xFFFFFFu;
            }
        }
        EXPECT_GE(white, 8);
        figures.insert(figure);
    }
    EXPECT_EQ(figures.size(), 10u);
}

TEST(Resources, FolderIconsAreFiveIconsOnWhite) {
    DibBlock icons = ResourceDib(RESOURCE_FOLDER_ICONS);
    ASSERT_TRUE(icons);
    const uint8_t white = IndexAt(icons.get(), 0, 0);
    EXPECT_EQ(PaletteColor(icons.get(), white), 0xFFFFFFu);
    for (int icon = 0; icon < 5; ++icon) {
        SCOPED_TRACE(icon);
        int drawn = 0;
        for (int y = 0; y < 15; ++y) {
            for (int x = 0; x < 16; ++x) {
                drawn += IndexAt(icons.get(), icon * 16 + x, y) != white;
            }
        }
        EXPECT_GT(drawn, 40);
        EXPECT_LT(drawn, 16 * 15);
    }
}

TEST(Resources, BannerIsDarkTextOnALightBand) {
    DibBlock banner = ResourceDib(RESOURCE_BANNER);
    ASSERT_TRUE(banner);
    EXPECT_TRUE(IsGreyPalette(banner.get()));
    int dark = 0, light = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 176; ++x) {
            const uint8_t level = LevelAt(banner.get(), x, y);
            dark += level < 96;
            light += level > 200;
        }
    }
    EXPECT_GT(dark, 150);  // "Please choose one :" is 17 letters and a colon
    EXPECT_GT(light, 176 * 16 / 2);
}

// The packed-bitmap checks, on spoilt copies of a real resource: anything
// whose rows DibPixels would not find complete is refused.
TEST(Resources, DibFromBmpFileRefusesBitmapsWithAnotherLayout) {
    const std::vector<uint8_t> good = BytesOf(RESOURCE_ARROW_UP);
    ASSERT_EQ(good.size(), 14u + 40 + 1024 + 144);
    ASSERT_TRUE(DibFromBmpFile(good.data(), good.size()));

    // Each spoil overwrites one little-endian field of the file.
    struct Spoil {
        const char* what;
        size_t at;
        int32_t value;
        size_t bytes;
    };
    const Spoil spoils[] = {
        {"not BM", 0, 'X', 1},
        {"file length beyond the bytes", 2, 1300, 4},
        {"rows not behind the palette", 10, 54, 4},
        {"info header of another size", 14, 108, 4},
        {"top-down rows", 22, -12, 4},
        {"depth 16", 28, 16, 2},
        {"compressed", 30, 1, 4},
        {"short palette", 46, 16, 4},
    };
    for (const Spoil& spoil : spoils) {
        std::vector<uint8_t> bytes = good;
        std::memcpy(&bytes[spoil.at], &spoil.value, spoil.bytes);
        EXPECT_FALSE(DibFromBmpFile(bytes.data(), bytes.size())) << spoil.what;
    }
    // Shorter than the length the file header gives, or than its rows need.
    EXPECT_FALSE(DibFromBmpFile(good.data(), good.size() - 1));
    std::vector<uint8_t> shortRows = good;
    const uint32_t lessThanRows = static_cast<uint32_t>(good.size() - 12);
    std::memcpy(&shortRows[2], &lessThanRows, 4);
    EXPECT_FALSE(DibFromBmpFile(shortRows.data(), shortRows.size()));
    EXPECT_FALSE(DibFromBmpFile(good.data(), 20));
    EXPECT_FALSE(DibFromBmpFile(nullptr, 0));
}

TEST(Resources, AssetFolderHoldsTheStartupPicture) {
    const std::string path = std::string(FOTAKLE_ASSET_FOLDER) + "/BackPict.ADM";
    LoadResult loaded = LoadPicture(path, {176, 180, LOAD_PHOTO});
    DibBlock picture = std::move(loaded.picture);
    ASSERT_TRUE(picture) << path;
    EXPECT_EQ(loaded.error, LOAD_OK);
    EXPECT_EQ(loaded.width, 176);
    EXPECT_EQ(loaded.height, 180);
    // A drawn scene, not a flat fill: the sky at the top differs from the
    // water at the bottom and from one side to the other.
    std::set<uint32_t> colors;
    for (int y = 0; y < 180; y += 10) {
        for (int x = 0; x < 176; x += 10) {
            colors.insert(PixelAt(picture.get(), x, y));
        }
    }
    EXPECT_GT(colors.size(), 100u);
}
