#include "resources/Resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/LoadPicture.h"
#include "resources/EmbeddedResources.h"

namespace {

uint32_t U32At(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
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
    const LoadResult loaded = LoadPicture(path, {176, 180, LOAD_PHOTO});
    ASSERT_TRUE(loaded.picture) << path;
    EXPECT_EQ(loaded.error, LOAD_OK);
    EXPECT_EQ(loaded.width, 176);
    EXPECT_EQ(loaded.height, 180);
}
