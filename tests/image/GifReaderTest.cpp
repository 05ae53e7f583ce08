#include "image/GifReader.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <regex>
#include <vector>

#include "support/TestSupport.h"

namespace {

// One single-frame GIF for giflib's encoder to write.
struct GifPlan {
    int screenWidth, screenHeight, left, top, width, height;
    std::vector<GifColorType> global, local;  // power-of-two counts, or empty
    int background = 0;
    bool interlaced = false;
    int transparent = -1;
    std::vector<uint8_t> indices;  // width x height, top row first
};

int AppendToVector(GifFileType* gif, const GifByteType* bytes, int count) {
    static_cast<std::vector<uint8_t>*>(gif->UserData)
        ->insert(static_cast<std::vector<uint8_t>*>(gif->UserData)->end(), bytes, bytes + count);
    return count;
}

// The encoded file, or empty when giflib refused the plan.
std::vector<uint8_t> EncodeGif(const GifPlan& s) {
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToVector, &error);
    if (gif == nullptr) {
        return {};
    }
    auto map = [](const std::vector<GifColorType>& c) {
        return c.empty() ? nullptr : GifMakeMapObject(static_cast<int>(c.size()), c.data());
    };
    ColorMapObject* global = map(s.global);
    ColorMapObject* local = map(s.local);
    EGifSetGifVersion(gif, true);
    bool ok =
        EGifPutScreenDesc(gif, s.screenWidth, s.screenHeight, 8, s.background, global) == GIF_OK;
    GifByteType control[4];
    const GraphicsControlBlock block{DISPOSAL_UNSPECIFIED, false, 0, s.transparent};
    ok = ok && (s.transparent < 0 ||
                EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE,
                                 int(EGifGCBToExtension(&block, control)), control) == GIF_OK);
    ok = ok &&
         EGifPutImageDesc(gif, s.left, s.top, s.width, s.height, s.interlaced, local) == GIF_OK;
    // The encoder takes the rows in the order they are stored.
    const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (s.interlaced ? 4 : 1); ++pass) {
        for (int row = s.interlaced ? starts[pass] : 0; row < s.height;
             row += s.interlaced ? steps[pass] : 1) {
            std::vector<GifPixelType> line(&s.indices[row * s.width],
                                           &s.indices[row * s.width] + s.width);
            ok = ok && EGifPutLine(gif, line.data(), s.width) == GIF_OK;
        }
    }
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return ok ? bytes : std::vector<uint8_t>();
}

DibBlock Decode(const std::vector<uint8_t>& bytes, int32_t* width = nullptr,
                int32_t* height = nullptr) {
    return GifDecodeMemoryToBitmap(bytes.data(), bytes.size(), width, height);
}

uint32_t Rgb(const GifColorType& c) {
    return (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
}

const std::vector<GifColorType> kEight = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 0, 255},
                                          {255, 0, 1},  {2, 255, 3},  {4, 5, 250},  {128, 64, 32}};

// A width x height frame on a screen of the same size whose pixel (x, y)
// has index (x + 3y) % 8.
GifPlan PatternPlan(int width, int height) {
    GifPlan plan{width, height, 0, 0, width, height, kEight, {}, 0, false, -1, {}};
    for (int i = 0; i < width * height; ++i) {
        plan.indices.push_back(static_cast<uint8_t>((i % width + 3 * (i / width)) % 8));
    }
    return plan;
}

// Checks the whole picture: the plan's frame with its top-left corner at
// (left, top) counted from the picture's top, the background elsewhere.
void ExpectFrame(const DibImage* picture, const GifPlan& s, int left, int top,
                 uint32_t background) {
    const auto& map = s.local.empty() ? s.global : s.local;
    for (int32_t y = 0; y < picture->header.biHeight; ++y) {
        for (int32_t x = 0; x < picture->header.biWidth; ++x) {
            const int fx = x - left, fy = picture->header.biHeight - 1 - y - top;
            const bool in = fx >= 0 && fy >= 0 && fx < s.width && fy < s.height;
            ASSERT_EQ(PixelAt(picture, x, y),
                      in ? Rgb(map[s.indices[fy * s.width + fx]]) : background)
                << "x " << x << " y " << y;
        }
    }
}

}  // namespace

TEST(GifReader, ColoursRowsAndTransparentIndexFromFileAndMemory) {
    GifPlan plan = PatternPlan(3, 2);
    plan.transparent = 1;  // keeps the colour its index gives
    const std::vector<uint8_t> bytes = EncodeGif(plan);
    int32_t width = 0, height = 0;
    DibBlock picture = Decode(bytes, &width, &height);
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    // The first row in memory is the bottom row: indices 3, 4, 5.
    EXPECT_EQ(PixelAt(picture.get(), 0, 0), 0x6400FFu);
    EXPECT_EQ(PixelAt(picture.get(), 1, 1), 0x28323Cu);  // the transparent index
    ExpectFrame(picture.get(), plan, 0, 0, 0);

    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("p.gif"), bytes));
    DibBlock fromFile = GifDecodeToBitmap(dir.File("p.gif"), nullptr, nullptr);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(std::memcmp(fromFile.get(), picture.get(), DibBlockBytes(picture->header)), 0);
    width = 7;
    EXPECT_FALSE(GifDecodeToBitmap(dir.File("missing.gif"), &width, &height));
    EXPECT_EQ(width, 7);  // untouched on failure
}

TEST(GifReader, FramesAreDeinterlacedPlacedOnTheBackgroundAndClipped) {
    GifPlan plan = PatternPlan(5, 11);  // eleven rows reach all four passes
    plan.screenWidth = 8;
    plan.screenHeight = 14;
    plan.background = 3;
    plan.local = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {9, 9, 9}, {0, 0, 99}, {0, 9, 0}, {9, 0, 0}, {}};
    const int places[][2] = {{0, 0}, {2, 1}, {4, 6}};  // the last is cut by both edges
    for (bool interlaced : {false, true}) {
        for (const auto& place : places) {
            plan.interlaced = interlaced;
            plan.left = place[0];
            plan.top = place[1];
            DibBlock picture = Decode(EncodeGif(plan));
            ASSERT_TRUE(picture);
            ExpectFrame(picture.get(), plan, place[0], place[1], Rgb(kEight[3]));
        }
    }
    // A screen with a zero side gives way to the frame's own extent.
    plan.screenWidth = 0;
    int32_t width = 0, height = 0;
    DibBlock own = Decode(EncodeGif(plan), &width, &height);
    ASSERT_TRUE(own);
    EXPECT_EQ(width, 5);
    EXPECT_EQ(height, 11);
    ExpectFrame(own.get(), plan, 0, 0, 0);
}

TEST(GifReader, IndicesWithoutAColourGiveBlack) {
    std::vector<uint8_t> bytes = EncodeGif(PatternPlan(8, 1));
    ASSERT_EQ(bytes[10] & 0x87, 0x82);  // a global table of 8 entries
    bytes[10] &= 0xF8;                  // shrunk to 2: indices 2 to 7 lose their colour
    bytes.erase(bytes.begin() + 13 + 6, bytes.begin() + 13 + 24);
    DibBlock shrunk = Decode(bytes);
    bytes[10] &= 0x70;  // no table at all
    bytes.erase(bytes.begin() + 13, bytes.begin() + 13 + 6);
    DibBlock bare = Decode(bytes);
    ASSERT_TRUE(shrunk && bare);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(PixelAt(shrunk.get(), x, 0), x < 2 ? Rgb(kEight[x]) : 0u) << x;
        EXPECT_EQ(PixelAt(bare.get(), x, 0), 0u) << x;
    }
}

TEST(GifReader, SizeLimits) {
    GifPlan plan = PatternPlan(1, 1);
    const int screens[][3] = {{kGifMaxSide, 1, 1}, {kGifMaxSide + 1, 1, 0}, {1, 10001, 0}};
    for (const auto& screen : screens) {
        plan.screenWidth = screen[0];
        plan.screenHeight = screen[1];
        EXPECT_EQ(static_cast<bool>(Decode(EncodeGif(plan))), screen[2] == 1) << screen[0];
    }
    // The caller's maxima (a zero width means none); refusals leave the sizes.
    plan.screenWidth = 40;
    plan.screenHeight = 30;
    const std::vector<uint8_t> bytes = EncodeGif(plan);
    const int32_t limits[][3] = {{40, 30, 1}, {39, 30, 0}, {40, 29, 0}, {0, 1, 1}};
    for (const auto& limit : limits) {
        int32_t width = limit[0], height = limit[1];
        EXPECT_EQ(static_cast<bool>(Decode(bytes, &width, &height)), limit[2] == 1);
        EXPECT_EQ(width, limit[2] ? 40 : limit[0]);
        EXPECT_EQ(height, limit[2] ? 30 : limit[1]);
    }
}

TEST(GifReader, TruncatedDataKeepsTheRowsBeforeTheCut) {
    // Noise compresses badly, so the LZW data spans many 255-byte blocks.
    GifPlan plan = PatternPlan(64, 64);
    plan.global.resize(256);
    uint32_t seed = 12345;
    for (int i = 0; i < 64 * 64; ++i) {
        seed = seed * 1103515245u + 12345u;
        plan.indices[i] = static_cast<uint8_t>(seed >> 16);
        plan.global[i % 256] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)};
    }
    const std::vector<uint8_t> whole = EncodeGif(plan);
    DibBlock reference = Decode(whole);
    ASSERT_TRUE(reference);
    // A cut inside the first data block delivers nothing.
    const size_t dataStart = 13 + 768 + 10 + 1;  // header, table, descriptor, code size
    EXPECT_FALSE(Decode(std::vector<uint8_t>(whole.begin(), whole.begin() + dataStart + 100)));
    // Cut in half: whole rows from the top as in the complete file, then
    // background (colour 0, which no row of noise matches throughout).
    DibBlock partial =
        Decode(std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2));
    ASSERT_TRUE(partial);
    const size_t stride = DibRowStride(64, 24);
    int kept = 0;
    while (kept < 64 &&
           std::memcmp(DibPixels(partial.get()) + (63 - kept) * stride,
                       DibPixels(reference.get()) + (63 - kept) * stride, stride) == 0) {
        ++kept;
    }
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 64);
    for (int row = kept; row < 64; ++row) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(PixelAt(partial.get(), x, 63 - row), Rgb(plan.global[0])) << row;
        }
    }
}

// Every GIF listed in tests/data/MANIFEST.md: "decode WxH" must decode at
// that size, "refuse" must be refused, and where either is allowed a decoded
// picture has the size given.
TEST(GifReader, EveryTestFileIsDecodedOrRefusedAsTheManifestSays) {
    std::ifstream manifest(TestDataPath("MANIFEST.md"));
    const std::regex row(R"(^\| `([^/`]+\.gif)` \| \d+ \| ([^|]+)\|)");
    const std::regex size(R"((\d+)x(\d+))");
    int files = 0;
    for (std::string line; std::getline(manifest, line);) {
        std::smatch match, sizeMatch;
        if (!std::regex_search(line, match, row)) {
            continue;
        }
        ++files;
        const std::string name = match[1], expected = match[2];
        const bool hasSize = std::regex_search(expected, sizeMatch, size);
        const bool optional = expected.find("or refuse") != std::string::npos ||
                              expected.find("partial") != std::string::npos ||
                              expected.find("lenient") != std::string::npos;
        int32_t width = -1, height = -1;
        DibBlock picture = Decode(ReadWholeFile(TestDataPath("gif/" + name)), &width, &height);
        if (!optional) {
            EXPECT_EQ(static_cast<bool>(picture), expected.rfind("decode", 0) == 0) << name;
        }
        if (picture) {
            ASSERT_TRUE(hasSize) << name;
            EXPECT_EQ(width, std::stoi(sizeMatch[1])) << name;
            EXPECT_EQ(height, std::stoi(sizeMatch[2])) << name;
            EXPECT_EQ(picture->header.biWidth, width) << name;
            EXPECT_EQ(picture->header.biHeight, height) << name;
        } else {
            EXPECT_EQ(width, -1) << name;  // untouched
        }
    }
    EXPECT_EQ(files, 51);

    DibBlock plain = GifDecodeToBitmap(TestDataPath("gif/giflib-treescap.gif"), nullptr, nullptr);
    DibBlock twin = GifDecodeToBitmap(TestDataPath("gif/giflib-treescap-interlaced.gif"), 0, 0);
    ASSERT_TRUE(plain && twin);
    EXPECT_EQ(std::memcmp(plain.get(), twin.get(), DibBlockBytes(plain->header)), 0);
}
