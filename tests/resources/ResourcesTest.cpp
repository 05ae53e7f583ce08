#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resources/EmbeddedResources.h"

// Each bitmap reads whole: the rows DibPixels finds end where the embedded
// file ends, which the packed-bitmap checks only allow when the file
// header's length is the file's.
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
        ASSERT_NE(ResourceBytes(expected.id, &size), nullptr);
        DibBlock dib = ResourceDib(expected.id);
        ASSERT_TRUE(dib);
        EXPECT_EQ(dib->header.biWidth, expected.width);
        EXPECT_EQ(dib->header.biHeight, expected.height);  // positive: rows bottom-up
        EXPECT_EQ(dib->header.biBitCount, expected.bits);
        EXPECT_EQ(size - 14, DibBlockBytes(dib->header));
    }

    // The icon is a 64 x 64 PNG (IHDR holds width and height big-endian),
    // and no bitmap.
    size_t size = 0;
    const uint8_t* icon = ResourceBytes(RESOURCE_ICON, &size);
    ASSERT_NE(icon, nullptr);
    ASSERT_GT(size, 24u);
    EXPECT_EQ(std::memcmp(icon, "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x40\0\0\0\x40", 24), 0);
    EXPECT_FALSE(ResourceDib(RESOURCE_ICON));

    for (int16_t id : {int16_t{0}, int16_t{-1}, int16_t{442}, int16_t{3003}}) {
        size = 123;
        EXPECT_EQ(ResourceBytes(id, &size), nullptr);
        EXPECT_EQ(size, 0u);
        EXPECT_EQ(ResourceBytes(id, nullptr), nullptr);
        EXPECT_FALSE(ResourceDib(id));
    }
}

// The packed-bitmap checks, on spoilt copies of a real resource: anything
// whose rows DibPixels would not find complete is refused.
TEST(Resources, DibFromBmpFileRefusesBitmapsWithAnotherLayout) {
    size_t size = 0;
    const uint8_t* arrow = ResourceBytes(RESOURCE_ARROW_UP, &size);
    const std::vector<uint8_t> good(arrow, arrow + size);
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
        {"file length short of the rows", 2, 1210, 4},
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
    // Fewer bytes than the file header gives, or than the headers need.
    EXPECT_FALSE(DibFromBmpFile(good.data(), good.size() - 1));
    EXPECT_FALSE(DibFromBmpFile(good.data(), 20));
    EXPECT_FALSE(DibFromBmpFile(nullptr, 0));
}
