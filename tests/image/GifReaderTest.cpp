#include "image/GifReader.h"

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "PictureTestFiles.h"
#include "image/Resample.h"
#include "support/ImageTestSupport.h"
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

GifPicture DecodePicture(const std::vector<uint8_t>& bytes) {
    GifPicture picture;
    GifDecodeMemory(bytes.data(), bytes.size(), &picture);
    return picture;
}

// The whole screen as a picture (no box), or null when the file is refused.
DibBlock Decode(const std::vector<uint8_t>& bytes) {
    const GifPicture picture = DecodePicture(bytes);
    return picture.rows ? GifScaleToBox(picture, 0, 0, false) : nullptr;
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

// A frame whose pixels use all 256 colours of the global table in a pattern
// that no shift, flip or swapped channel leaves unchanged.
GifPlan RichPlan(int width, int height) {
    GifPlan plan{width, height, 0, 0, width, height, {}, {}, 0, false, -1, {}};
    for (int i = 0; i < 256; ++i) {
        plan.global.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i * 7)});
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            plan.indices.push_back(uint8_t((x * 7 + y * 13 + x * y) & 255));
        }
    }
    return plan;
}

// Checks the whole picture: the plan's frame with its top-left corner at
// (left, top) counted from the picture's top, the background elsewhere.
void ExpectFrame(const DibImage* picture, const GifPlan& s, int left, int top,
                 uint32_t background) {
    const auto& map = s.local.empty() ? s.global : s.local;
    const int32_t height = picture->header.biHeight;
    const DibBlock expected = MakePicture(picture->header.biWidth, height, [&](int x, int y) {
        const int fx = x - left, fy = height - 1 - y - top;
        const bool in = fx >= 0 && fy >= 0 && fx < s.width && fy < s.height;
        return in ? Rgb(map[s.indices[fy * s.width + fx]]) : background;
    });
    EXPECT_EQ(FirstDifference(expected.get(), picture), "");
}

}  // namespace

// The frame's colours from its own table, the transparent index keeping its
// colour, rows in order after deinterlacing, on the background colour.
TEST(GifReader, FramesAreDeinterlacedPlacedOnTheBackgroundAndClipped) {
    GifPlan plan = PatternPlan(5, 11);  // eleven rows reach all four passes
    plan.screenWidth = 8;
    plan.screenHeight = 14;
    plan.background = 3;
    plan.local = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {9, 9, 9}, {0, 0, 99}, {0, 9, 0}, {9, 0, 0}, {}};
    plan.transparent = 1;
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
    DibBlock own = Decode(EncodeGif(plan));
    ASSERT_TRUE(own);
    EXPECT_EQ(own->header.biWidth, 5);
    EXPECT_EQ(own->header.biHeight, 11);
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
}

TEST(GifReader, TruncatedDataKeepsTheRowsBeforeTheCut) {
    // Noise compresses badly, so the LZW data spans many 255-byte blocks.
    GifPlan plan = RichPlan(64, 64);
    for (int i = 0; i < 64 * 64; ++i) {
        plan.indices[i] = static_cast<uint8_t>(NoiseAt(i % 64, i / 64));
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
    const int32_t kept = KeptRowsThen(
        partial.get(), [&](int32_t x, int32_t y) { return PixelAt(reference.get(), x, 63 - y); },
        Rgb(plan.global[0]));
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 64);
}

// Every GIF listed in tests/data/MANIFEST.md: "decode WxH" must decode at
// that size, "refuse" must be refused, and where either is allowed a decoded
// picture has the size given.
TEST(GifReader, EveryTestFileIsDecodedOrRefusedAsTheManifestSays) {
    const std::vector<ManifestEntry> entries = ManifestEntries("gif");
    for (const ManifestEntry& entry : entries) {
        SCOPED_TRACE(entry.name + ": " + entry.expected);
        DibBlock picture = Decode(ReadWholeFile(TestDataPath("gif/" + entry.name)));
        if (!entry.Says("or refuse") && !entry.Says("partial") && !entry.Says("lenient")) {
            EXPECT_EQ(static_cast<bool>(picture), entry.expected.rfind("decode", 0) == 0);
        }
        if (picture) {
            EXPECT_EQ(picture->header.biWidth, entry.width);
            EXPECT_EQ(picture->header.biHeight, entry.height);
        }
    }
    EXPECT_EQ(entries.size(), 51u);

    DibBlock plain = Decode(ReadWholeFile(TestDataPath("gif/giflib-treescap.gif")));
    DibBlock twin = Decode(ReadWholeFile(TestDataPath("gif/giflib-treescap-interlaced.gif")));
    ASSERT_TRUE(plain && twin);
    EXPECT_EQ(std::memcmp(plain.get(), twin.get(), DibBlockBytes(plain->header)), 0);
}

namespace {

// Expects the canvas to show picture's pixel (x - left, y - bottom) wherever
// that lies inside the picture, and black elsewhere.
void ExpectPlaced(const DibImage* canvas, const DibImage* picture, int32_t left, int32_t bottom) {
    const DibBlock expected = MakePicture(kCanvasWidth, kCanvasHeight, [&](int32_t x, int32_t y) {
        const int32_t px = x - left, py = y - bottom;
        const bool inside =
            px >= 0 && py >= 0 && px < picture->header.biWidth && py < picture->header.biHeight;
        return inside ? PixelAt(picture, px, py) : 0u;
    });
    EXPECT_EQ(FirstDifference(expected.get(), canvas), "");
}

// The screen scaled to width x height by the in-memory resampler, as GIF
// fitting has always scaled it.
DibBlock ScaledScreen(const DibImage* screen, int32_t width, int32_t height) {
    DibBlock scaled = DibCreate(width, height, 24);
    ResampleImageRequest request =
        NewPictureRequest(screen->header.biWidth, screen->header.biHeight, width, height);
    request.interpolate = false;
    return ResampleImage(DibPixels(screen), DibPixels(scaled.get()), request) ? std::move(scaled)
                                                                              : nullptr;
}

}  // namespace

TEST(GifReader, FittingIntoTheCanvasCentresAndCutsFromTheLeft) {
    struct Case {
        int32_t width, height;  // the picture
        int32_t left, bottom;   // where the first pixel of the (scaled) picture lands
    };
    const Case cases[] = {
        {640, 480, 0, 1},      // 37 %: 237 x 178, left 176 columns, a black row each side
        {200, 100, 0, 40},     // not scaled: left 176 columns, 40 black rows each side
        {101, 51, 37, 64},     // smaller: centred (halves rounded down), black around it
        {100, 400, 38, -110},  // taller: its middle 180 rows
        {200, 180, 0, 0},      // exactly 100 %: still cut to the box
    };
    for (const Case& c : cases) {
        const GifPicture picture = DecodePicture(EncodeGif(RichPlan(c.width, c.height)));
        DibBlock screen = GifScaleToBox(picture, 0, 0, false);
        ASSERT_TRUE(screen) << c.width;
        // The 640 x 480 picture at 37 %, as the resampler makes it.
        DibBlock scaled = c.width == 640 ? ScaledScreen(screen.get(), 237, 178) : nullptr;
        DibBlock canvas = FilledCanvas(0xAB);
        ASSERT_TRUE(GifFitIntoCanvas(picture, *canvas)) << c.width;
        ExpectPlaced(canvas.get(), scaled ? scaled.get() : screen.get(), c.left, c.bottom);
    }
}

TEST(GifReader, ScalingTakesTheLargerTruncatedPercentage) {
    struct Case {
        int32_t pictureWidth, pictureHeight, boxWidth, boxHeight, width, height;
    };
    const Case cases[] = {
        {640, 480, 176, 180, 237, 178},  // 27 % and 37 %
        {300, 200, 176, 180, 270, 180},  // 58.67 % and 90 %
        {177, 181, 176, 180, 175, 179},  // 99 %: short of the box both ways
        {200, 180, 176, 180, 200, 180},  // 100 %: kept whole
        {1000, 10, 5, 5, 500, 5},        // 0.5 % and 50 %
        {500, 500, 1, 1, 1, 1},          // 0 %: a side keeps one pixel
        {101, 51, 0, 0, 101, 51},        // no box: unchanged
        {101, 51, -3, 9, 101, 51},       // half a box is no box
    };
    for (const Case& c : cases) {
        const GifPicture picture =
            DecodePicture(EncodeGif(PatternPlan(c.pictureWidth, c.pictureHeight)));
        DibBlock screen = GifScaleToBox(picture, 0, 0, false);
        DibBlock image = GifScaleToBox(picture, c.boxWidth, c.boxHeight, false);
        ASSERT_TRUE(image && screen) << c.pictureWidth;
        EXPECT_EQ(image->header.biWidth, c.width) << c.pictureWidth;
        EXPECT_EQ(image->header.biHeight, c.height) << c.pictureWidth;
        DibBlock expected = c.width == c.pictureWidth && c.height == c.pictureHeight
                                ? std::move(screen)
                                : ScaledScreen(screen.get(), c.width, c.height);
        EXPECT_EQ(FirstDifference(expected.get(), image.get()), "") << c.pictureWidth;
    }
}

// Only the frame's rows are decoded and kept; the screen around them, the
// rows a cut file never reached and a frame hanging off the screen are made
// while fitting. Every box must give what fitting the whole screen, made
// first, gives.
TEST(GifReader, FramesOnALargerScreenFitAsTheWholeScreenWould) {
    GifPlan plan = RichPlan(64, 48);
    plan.screenWidth = 300;
    plan.screenHeight = 400;
    plan.left = 100;
    plan.top = 150;
    plan.background = 200;  // a colour that is not black
    GifPlan interlaced = plan;
    interlaced.interlaced = true;
    GifPlan hanging = plan;  // over the bottom right corner
    hanging.left = 270;
    hanging.top = 380;
    GifPlan tall = RichPlan(3, 400);  // the full height, a sliver of the width
    tall.screenWidth = 300;
    tall.left = 150;
    tall.background = 9;
    int input = 0;
    for (const GifPlan& each : {plan, interlaced, hanging, tall}) {
        const std::vector<uint8_t> whole = EncodeGif(each);
        ASSERT_FALSE(whole.empty());
        // Cut in the middle of the pixel data: some rows are never decoded.
        const std::vector<uint8_t> cut(whole.begin(), whole.end() - whole.size() / 4);
        for (const std::vector<uint8_t>* bytes : {&whole, &cut}) {
            SCOPED_TRACE("input " + std::to_string(input++));
            const GifPicture picture = DecodePicture(*bytes);
            DibBlock screen = GifScaleToBox(picture, 0, 0, false);
            ASSERT_TRUE(screen);
            for (auto [boxWidth, boxHeight] :
                 {std::pair{176, 180}, {60, 60}, {290, 90}, {7, 300}}) {
                DibBlock fitted = GifScaleToBox(picture, boxWidth, boxHeight, false);
                ASSERT_TRUE(fitted);
                DibBlock expected =
                    ScaledScreen(screen.get(), fitted->header.biWidth, fitted->header.biHeight);
                EXPECT_EQ(FirstDifference(expected.get(), fitted.get()), "") << boxWidth;
            }
        }
    }
}

TEST(GifReader, MaskHoldsTheBlueChannelOfTheScaledPicture) {
    const GifPicture picture = DecodePicture(EncodeGif(RichPlan(640, 480)));
    DibBlock colour = GifScaleToBox(picture, kCanvasWidth, kCanvasHeight, false);
    DibBlock mask = GifScaleToBox(picture, kCanvasWidth, kCanvasHeight, true);
    ASSERT_TRUE(colour && mask);
    ASSERT_EQ(mask->header.biBitCount, 8);
    ASSERT_EQ(mask->header.biWidth, colour->header.biWidth);
    ASSERT_EQ(mask->header.biHeight, colour->header.biHeight);
    const uint8_t* levels = reinterpret_cast<uint8_t*>(mask.get()) + 1064;  // mask form
    const int32_t stride = DibRowStride(mask->header.biWidth, 8);
    for (int32_t y = 0; y < mask->header.biHeight; ++y) {
        for (int32_t x = 0; x < mask->header.biWidth; ++x) {
            ASSERT_EQ(levels[y * stride + x], PixelAt(colour.get(), x, y) & 0xFF);
        }
    }
}

TEST(GifReader, FittingRefusesWhatItCannotUse) {
    const GifPicture picture = DecodePicture(EncodeGif(PatternPlan(20, 10)));
    const GifPicture empty;
    DibBlock canvas = FilledCanvas(0xAB);
    EXPECT_FALSE(GifScaleToBox(empty, 10, 10, false));
    EXPECT_FALSE(GifFitIntoCanvas(empty, *canvas));
    DibBlock greyCanvas = DibCreate(kCanvasWidth, kCanvasHeight, 8);
    EXPECT_FALSE(GifFitIntoCanvas(picture, *greyCanvas));
    const uint8_t* pixels = DibPixels(canvas.get());
    EXPECT_EQ(std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes),
              std::vector<uint8_t>(kCanvasPixelBytes, 0xAB));
}
