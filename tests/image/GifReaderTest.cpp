#include "image/GifReader.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "support/TestSupport.h"

namespace {

// One single-frame GIF for giflib's encoder to write.
struct GifSpec {
    int screenWidth = 0;
    int screenHeight = 0;
    std::vector<GifColorType> global;  // a power-of-two count, or empty
    int background = 0;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool interlaced = false;
    std::vector<GifColorType> local;
    int transparent = -1;
    std::vector<uint8_t> indices;  // width x height, top row first
};

int AppendToVector(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

ColorMapObject* MakeMap(const std::vector<GifColorType>& colours) {
    return colours.empty() ? nullptr
                           : GifMakeMapObject(static_cast<int>(colours.size()), colours.data());
}

// The encoded file, or empty when giflib refused the spec.
std::vector<uint8_t> EncodeGif(const GifSpec& spec) {
    std::vector<uint8_t> bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToVector, &error);
    ColorMapObject* global = MakeMap(spec.global);
    ColorMapObject* local = MakeMap(spec.local);
    bool ok = gif != nullptr;
    EGifSetGifVersion(gif, true);
    ok = ok && EGifPutScreenDesc(gif, spec.screenWidth, spec.screenHeight, 8, spec.background,
                                 global) == GIF_OK;
    if (ok && spec.transparent >= 0) {
        const GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, spec.transparent};
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), extension) ==
             GIF_OK;
    }
    ok = ok && EGifPutImageDesc(gif, spec.left, spec.top, spec.width, spec.height, spec.interlaced,
                                local) == GIF_OK;
    // The encoder takes the rows in the order they are stored.
    std::vector<int> order;
    const int starts[4] = {0, 4, 2, 1};
    const int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (spec.interlaced ? 4 : 1); ++pass) {
        for (int row = spec.interlaced ? starts[pass] : 0; row < spec.height;
             row += spec.interlaced ? steps[pass] : 1) {
            order.push_back(row);
        }
    }
    for (int row : order) {
        std::vector<GifPixelType> line(spec.indices.begin() + row * spec.width,
                                       spec.indices.begin() + (row + 1) * spec.width);
        ok = ok && EGifPutLine(gif, line.data(), spec.width) == GIF_OK;
    }
    ok = gif != nullptr && EGifCloseFile(gif, &error) == GIF_OK && ok;
    GifFreeMapObject(global);
    GifFreeMapObject(local);
    return ok ? bytes : std::vector<uint8_t>();
}

DibBlock Decode(const std::vector<uint8_t>& bytes, int32_t* width = nullptr,
                int32_t* height = nullptr) {
    return GifDecodeMemoryToBitmap(bytes.data(), bytes.size(), width, height);
}

uint32_t Rgb(const GifColorType& colour) {
    return (uint32_t{colour.Red} << 16) | (uint32_t{colour.Green} << 8) | colour.Blue;
}

const std::vector<GifColorType> kEight = {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 0, 255},
                                          {255, 0, 1},  {2, 255, 3},  {4, 5, 250},  {128, 64, 32}};

// A width x height frame whose pixel (x, y) is index (x + 3y) % 8.
GifSpec PatternSpec(int width, int height) {
    GifSpec spec;
    spec.screenWidth = width;
    spec.screenHeight = height;
    spec.global = kEight;
    spec.width = width;
    spec.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            spec.indices.push_back(static_cast<uint8_t>((x + 3 * y) % 8));
        }
    }
    return spec;
}

// Checks the picture against the spec's frame drawn over the background,
// with the frame's top row at the top of the bottom-up picture.
void ExpectFramePixels(const DibImage* picture, const GifSpec& spec, int left, int top,
                       uint32_t background) {
    const auto& map = spec.local.empty() ? spec.global : spec.local;
    const int32_t height = picture->header.biHeight;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < picture->header.biWidth; ++x) {
            const int fx = x - left;
            const int fy = (height - 1 - y) - top;
            const bool inFrame = fx >= 0 && fy >= 0 && fx < spec.width && fy < spec.height;
            const uint32_t expected =
                inFrame ? Rgb(map[spec.indices[fy * spec.width + fx]]) : background;
            ASSERT_EQ(PixelAt(picture, x, y), expected) << "x " << x << " y " << y;
        }
    }
}

}  // namespace

TEST(GifReader, ColoursRowsAndTransparentIndexFromFileAndMemory) {
    GifSpec spec = PatternSpec(3, 2);
    spec.transparent = 1;  // keeps the colour its index gives
    const std::vector<uint8_t> bytes = EncodeGif(spec);
    ASSERT_FALSE(bytes.empty());

    int32_t width = 0;
    int32_t height = 0;
    DibBlock picture = Decode(bytes, &width, &height);
    ASSERT_TRUE(picture);
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(picture->header.biBitCount, 24);
    // The first row in memory is the bottom row: indices 3, 4, 5.
    EXPECT_EQ(PixelAt(picture.get(), 0, 0), 0x6400FFu);
    EXPECT_EQ(PixelAt(picture.get(), 1, 0), 0xFF0001u);
    EXPECT_EQ(PixelAt(picture.get(), 0, 1), 0x0A141Eu);
    EXPECT_EQ(PixelAt(picture.get(), 1, 1), 0x28323Cu);  // the transparent index
    ExpectFramePixels(picture.get(), spec, 0, 0, 0);

    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("p.gif"), bytes));
    DibBlock fromFile = GifDecodeToBitmap(dir.File("p.gif"), nullptr, nullptr);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(std::memcmp(fromFile.get(), picture.get(), DibBlockBytes(picture->header)), 0);

    width = 7;
    EXPECT_FALSE(GifDecodeToBitmap(dir.File("missing.gif"), &width, &height));
    EXPECT_EQ(width, 7);  // untouched on failure
}

TEST(GifReader, InterlacedAndSequentialFramesGiveTheSamePixels) {
    // Eleven rows reach into all four interlace passes.
    for (int height : {1, 2, 5, 11}) {
        GifSpec spec = PatternSpec(5, height);
        DibBlock sequential = Decode(EncodeGif(spec));
        spec.interlaced = true;
        DibBlock interlaced = Decode(EncodeGif(spec));
        ASSERT_TRUE(sequential);
        ASSERT_TRUE(interlaced);
        ExpectFramePixels(sequential.get(), spec, 0, 0, 0);
        ExpectFramePixels(interlaced.get(), spec, 0, 0, 0);
    }
}

TEST(GifReader, FrameIsDrawnAtItsOffsetOnTheBackgroundAndClipped) {
    GifSpec spec = PatternSpec(4, 3);
    spec.screenWidth = 6;
    spec.screenHeight = 5;
    spec.background = 3;
    spec.local = {{1, 2, 3},   {4, 5, 6},   {7, 8, 9},   {9, 9, 9},
                  {0, 0, 200}, {0, 200, 0}, {200, 0, 0}, {50, 50, 50}};
    for (bool interlaced : {false, true}) {
        spec.interlaced = interlaced;
        spec.left = 1;  // wholly inside
        spec.top = 1;
        DibBlock inside = Decode(EncodeGif(spec));
        ASSERT_TRUE(inside);
        ExpectFramePixels(inside.get(), spec, 1, 1, Rgb(kEight[3]));
        spec.left = 3;  // 3 of 4 columns and 2 of 3 rows show
        spec.top = 3;
        DibBlock clipped = Decode(EncodeGif(spec));
        ASSERT_TRUE(clipped);
        ExpectFramePixels(clipped.get(), spec, 3, 3, Rgb(kEight[3]));
    }

    // A screen with a zero side gives way to the frame's own extent.
    spec.screenWidth = 0;
    int32_t width = 0;
    int32_t height = 0;
    DibBlock own = Decode(EncodeGif(spec), &width, &height);
    ASSERT_TRUE(own);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 3);
    ExpectFramePixels(own.get(), spec, 0, 0, 0);
}

TEST(GifReader, IndicesWithoutAColourGiveBlack) {
    GifSpec spec = PatternSpec(8, 1);
    std::vector<uint8_t> bytes = EncodeGif(spec);
    ASSERT_EQ(bytes[10] & 0x87, 0x82);  // global table of 8 entries
    // Shrink the global table to 2 entries: indices 2 to 7 lose their colour.
    bytes[10] = static_cast<uint8_t>((bytes[10] & ~7) | 0);
    bytes.erase(bytes.begin() + 13 + 6, bytes.begin() + 13 + 24);
    DibBlock shrunk = Decode(bytes);
    ASSERT_TRUE(shrunk);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(PixelAt(shrunk.get(), x, 0), x < 2 ? Rgb(kEight[x]) : 0u) << x;
    }
    // No table at all: every pixel is black.
    bytes[10] = static_cast<uint8_t>(bytes[10] & 0x70);
    bytes.erase(bytes.begin() + 13, bytes.begin() + 13 + 6);
    DibBlock bare = Decode(bytes);
    ASSERT_TRUE(bare);
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(PixelAt(bare.get(), x, 0), 0u) << x;
    }
}

TEST(GifReader, SizeLimits) {
    GifSpec spec = PatternSpec(1, 1);
    spec.screenWidth = kGifMaxSide;
    EXPECT_TRUE(Decode(EncodeGif(spec)));
    spec.screenWidth = kGifMaxSide + 1;
    EXPECT_FALSE(Decode(EncodeGif(spec)));
    spec.screenWidth = 1;
    spec.screenHeight = kGifMaxSide + 1;
    EXPECT_FALSE(Decode(EncodeGif(spec)));

    // The caller's maxima: a 40 x 30 screen fits 40 x 30 but not 39 x 30 or
    // 40 x 29; refusals leave the sizes as they were.
    spec.screenWidth = 40;
    spec.screenHeight = 30;
    const std::vector<uint8_t> bytes = EncodeGif(spec);
    const int32_t limits[][2] = {{40, 30}, {39, 30}, {40, 29}, {0, 1}};
    const bool accepted[] = {true, false, false, true};  // a zero width means no limit
    for (int i = 0; i < 4; ++i) {
        int32_t width = limits[i][0];
        int32_t height = limits[i][1];
        EXPECT_EQ(static_cast<bool>(Decode(bytes, &width, &height)), accepted[i]) << i;
        EXPECT_EQ(width, accepted[i] ? 40 : limits[i][0]);
        EXPECT_EQ(height, accepted[i] ? 30 : limits[i][1]);
    }
}

TEST(GifReader, TruncatedDataKeepsTheRowsBeforeTheCut) {
    // Noise compresses badly, so the LZW data spans many 255-byte blocks.
    GifSpec spec = PatternSpec(64, 64);
    spec.global.resize(256);
    for (int i = 0; i < 256; ++i) {
        spec.global[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                          static_cast<GifByteType>(i * 7)};
    }
    uint32_t seed = 12345;
    for (uint8_t& index : spec.indices) {
        seed = seed * 1103515245u + 12345u;
        index = static_cast<uint8_t>(seed >> 16);
    }
    spec.background = 0;
    const std::vector<uint8_t> whole = EncodeGif(spec);
    DibBlock reference = Decode(whole);
    ASSERT_TRUE(reference);

    // Before the first data block is complete nothing is delivered.
    const size_t dataStart = 13 + 768 + 10 + 1;  // header, table, descriptor, code size
    EXPECT_FALSE(Decode(std::vector<uint8_t>(whole.begin(), whole.begin() + dataStart + 100)));
    // Half the file: the top rows are those of the whole file, the rest is
    // background, and at least one row made it.
    const std::vector<uint8_t> half(whole.begin(), whole.begin() + whole.size() / 2);
    DibBlock partial = Decode(half);
    ASSERT_TRUE(partial);
    const uint32_t background = Rgb(spec.global[0]);
    int32_t firstLost = 64;
    for (int32_t row = 0; row < 64 && firstLost == 64; ++row) {  // row 0 is the top
        if (PixelAt(partial.get(), 1, 63 - row) != PixelAt(reference.get(), 1, 63 - row)) {
            firstLost = row;
        }
    }
    EXPECT_GT(firstLost, 0);
    EXPECT_LT(firstLost, 64);
    for (int32_t row = 0; row < 64; ++row) {
        for (int32_t x = 0; x < 64; ++x) {
            const uint32_t expected =
                row < firstLost ? PixelAt(reference.get(), x, 63 - row) : background;
            ASSERT_EQ(PixelAt(partial.get(), x, 63 - row), expected) << x << " " << row;
        }
    }
}

TEST(GifReader, EveryTestFileIsDecodedOrRefusedAsListed) {
    const std::map<std::string, std::pair<int, int>> decoded = {
        {"giflib-porsche.gif", {320, 200}},
        {"giflib-solid2.gif", {640, 400}},
        {"giflib-wedge.gif", {640, 350}},
        {"giflib-gifgrid.gif", {100, 100}},
        {"giflib-treescap.gif", {40, 40}},
        {"giflib-treescap-interlaced.gif", {40, 40}},
        {"giflib-x-trans.gif", {100, 100}},
        {"giflib-welcome2.gif", {290, 48}},
        {"giflib-fire.gif", {30, 60}},
        {"go-video-001.5bpp.gif", {150, 103}},
        {"go-video-001.interlaced.gif", {150, 103}},
        {"go-video-005.gray.gif", {150, 103}},
        {"go-triangle-001.gif", {256, 128}},
        {"imagegif-2x2.gif", {2, 2}},
        {"imagegif-sample_1.gif", {10, 10}},
        {"imagegif-alpha_gif_a.gif", {256, 256}},
        {"imagegif-anim-gr.gif", {100, 50}},
        {"imagegif-beacon.gif", {6, 6}},
        {"imagegif-issue-208-block-type.gif", {8, 8}},
        {"imagegif-issue-209-extension-block-type.gif", {1, 1}},  // unknown extension skipped
        {"wuffs-pjw-thumbnail.gif", {32, 32}},
        {"wuffs-hippopotamus.interlaced.gif", {36, 28}},
        {"wuffs-hippopotamus.masked-with-muybridge.gif", {36, 28}},
        {"wuffs-muybridge.gif", {30, 20}},
        {"wuffs-animated-red-blue.gif", {64, 48}},
        {"wuffs-background-color.gif", {4, 1}},
        {"wuffs-transparent-index.gif", {4, 2}},
        {"wuffs-small-frame-interlaced.gif", {5, 5}},
        {"wuffs-multiple-graphic-controls.gif", {1, 1}},
        {"wuffs-multiple-loop-counts.gif", {2, 2}},
        {"wuffs-metadata-empty.gif", {2, 2}},
        {"wuffs-metadata-full.gif", {2, 2}},
        {"wuffs-empty-palette.gif", {1, 1}},
        {"wuffs-frame-out-of-bounds.gif", {2, 2}},  // clipped
        {"wuffs-zero-width-frame.gif", {2, 2}},     // background only
        {"wuffs-pixel-data-too-much-good-lzw.gif", {2, 2}},
        {"wuffs-pixel-data-too-much-bad-lzw.gif", {2, 2}},  // the bad code is never reached
    };
    // Everything else is refused, the truncated hippopotamus included: its
    // file ends inside the first data block.
    size_t seen = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TestDataPath("gif"))) {
        if (entry.path().extension() != ".gif") {
            continue;
        }
        ++seen;
        const std::string name = entry.path().filename().string();
        const std::vector<uint8_t> bytes = ReadWholeFile(entry.path().string());
        int32_t width = -1;
        int32_t height = -1;
        DibBlock picture = Decode(bytes, &width, &height);
        const auto expected = decoded.find(name);
        if (expected == decoded.end()) {
            EXPECT_FALSE(picture) << name;
            EXPECT_EQ(width, -1) << name;
            continue;
        }
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(width, expected->second.first) << name;
        EXPECT_EQ(height, expected->second.second) << name;
        EXPECT_EQ(picture->header.biWidth, width) << name;
        EXPECT_EQ(picture->header.biHeight, height) << name;
    }
    EXPECT_GE(seen, 51u);

    DibBlock plain = GifDecodeToBitmap(TestDataPath("gif/giflib-treescap.gif"), nullptr, nullptr);
    DibBlock twin =
        GifDecodeToBitmap(TestDataPath("gif/giflib-treescap-interlaced.gif"), nullptr, nullptr);
    ASSERT_TRUE(plain && twin);
    EXPECT_EQ(std::memcmp(plain.get(), twin.get(), DibBlockBytes(plain->header)), 0);
}
