// The decoding driver over a scripted JPEG codec: which sizes it asks for,
// how it fits, where the rows go, and that the codec is closed exactly once.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "image/DecodePicture.h"

namespace {

using Size = std::pair<int32_t, int32_t>;

// A decoder that cannot reduce: it delivers its one size whatever is asked,
// rows scripted by `colour` (x, y from the top; 0xRRGGBB).
class FakeJpegCodec final : public JpegCodec {
  public:
    explicit FakeJpegCodec(Size size) : size_(size) {}

    bool ReadHeader(int32_t* width, int32_t* height) override {
        requests.emplace_back(*width, *height);
        *width = size_.first;
        *height = size_.second;
        return failingHeaderCall != static_cast<int>(requests.size());
    }
    bool StartRows() override { return startSucceeds; }
    bool ReadRow(uint8_t* row) override {
        for (int32_t x = 0; x < size_.first; ++x) {
            const uint32_t c = colour(x, rowsRead);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        ++rowsRead;
        return true;
    }
    void Close() override { ++closeCalls; }

    std::vector<Size> requests;
    int failingHeaderCall = 0;
    bool startSucceeds = true;
    int closeCalls = 0;
    int32_t rowsRead = 0;
    std::function<uint32_t(int32_t, int32_t)> colour = [](int32_t x, int32_t y) {
        return static_cast<uint32_t>((x * 7 + y * 3) & 255) << 16 |
               static_cast<uint32_t>((x * 5 + y * 11) & 255) << 8 | ((x * 13 + y) & 255);
    };

  private:
    Size size_;
};

// A new image for the box; the size outputs come back in `out`.
DibBlock DecodeNew(FakeJpegCodec& codec, Size box, Size* out, bool asMask = false,
                   bool thumbnail = false, bool smallSize = false) {
    *out = box;
    return DecodeJpegPicture(codec, nullptr, asMask, &out->first, &out->second, thumbnail,
                             smallSize, false);
}

// Decodes into a 176 x 180 canvas first filled with 0x55.
std::vector<uint8_t> DecodeIntoCanvas(FakeJpegCodec& codec, Size* out) {
    std::vector<uint8_t> canvas(kCanvasPixelBytes, 0x55);
    *out = {kCanvasWidth, kCanvasHeight};
    EXPECT_FALSE(DecodeJpegPicture(codec, canvas.data(), false, &out->first, &out->second, false,
                                   false, true));
    return canvas;
}

uint32_t CanvasPixel(const std::vector<uint8_t>& canvas, int32_t x, int32_t row) {
    const uint8_t* p = canvas.data() + row * kCanvasStride + x * 3;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

}  // namespace

TEST(DecodePicture, AsksAgainForThreeQuartersUnlessAThumbnail) {
    struct Case {
        bool asMask, thumbnail, smallSize;
        std::vector<Size> expected;
    } cases[] = {
        {false, false, false, {{352, 360}, {264, 270}}},
        {false, true, false, {{176, 180}}},
        {false, true, true, {{44, 45}}},
        {true, false, false, {{176, 180}, {132, 135}}},
        {true, false, true, {{44, 45}, {33, 34}}},
        {false, false, true, {{352, 360}, {264, 270}}},  // small alone counts for nothing
    };
    for (const Case& c : cases) {
        FakeJpegCodec codec({640, 480});
        Size out;
        EXPECT_TRUE(DecodeNew(codec, {176, 180}, &out, c.asMask, c.thumbnail, c.smallSize));
        EXPECT_EQ(codec.requests, c.expected);
        EXPECT_EQ(codec.closeCalls, 1);
    }
    FakeJpegCodec fits({200, 150});  // the first answer fits: no second call
    Size out;
    DecodeNew(fits, {176, 180}, &out);
    EXPECT_EQ(fits.requests.size(), 1u);
}

TEST(DecodePicture, FailuresCloseOnceWriteNothingAndReportZero) {
    for (int failure = 1; failure <= 3; ++failure) {
        // The first header call, the second, or the start of the rows.
        FakeJpegCodec photo({640, 480});
        FakeJpegCodec intoCanvas({176, 180});
        photo.failingHeaderCall = failure < 3 ? failure : 0;
        intoCanvas.failingHeaderCall = failure < 3 ? 1 : 0;
        photo.startSucceeds = intoCanvas.startSucceeds = failure < 3;
        Size out;
        EXPECT_FALSE(DecodeNew(photo, {176, 180}, &out));
        EXPECT_EQ(out, Size(0, 0));
        // Into the canvas success returns null too: 0 x 0 tells them apart.
        EXPECT_EQ(DecodeIntoCanvas(intoCanvas, &out),
                  std::vector<uint8_t>(kCanvasPixelBytes, 0x55));
        EXPECT_EQ(out, Size(0, 0));
        for (const FakeJpegCodec* codec : {&photo, &intoCanvas}) {
            EXPECT_EQ(codec->closeCalls, 1) << failure;
            EXPECT_EQ(codec->rowsRead, 0) << failure;
        }
    }
    // Into-destination needs a box of the destination's size.
    FakeJpegCodec noBox({176, 180});
    std::vector<uint8_t> canvas(kCanvasPixelBytes, 0x55);
    int32_t width = 0;
    int32_t height = 0;
    EXPECT_FALSE(
        DecodeJpegPicture(noBox, canvas.data(), false, &width, &height, false, false, true));
    EXPECT_EQ(noBox.closeCalls, 1);
    EXPECT_EQ(canvas, std::vector<uint8_t>(kCanvasPixelBytes, 0x55));
}

TEST(DecodePicture, IntoTheCanvasTopRowLastInMemory) {
    // A canvas-sized picture is read straight in, unscaled.
    FakeJpegCodec exact({176, 180});
    Size out;
    std::vector<uint8_t> canvas = DecodeIntoCanvas(exact, &out);
    EXPECT_EQ(out, Size(176, 180));
    EXPECT_EQ(exact.rowsRead, 180);
    for (int32_t row = 0; row < kCanvasHeight; row += 7) {
        for (int32_t x = 0; x < kCanvasWidth; x += 5) {
            ASSERT_EQ(CanvasPixel(canvas, x, row), exact.colour(x, kCanvasHeight - 1 - row))
                << x << "," << row;
        }
    }
    // A smaller one is centred: black borders of (176 - 100) / 2 columns and
    // (180 - 100) / 2 rows, its top row (green) highest in memory.
    FakeJpegCodec small({100, 100});
    small.colour = [](int32_t, int32_t y) { return y == 0 ? 0x00FF00u : 0xFFFFFFu; };
    canvas = DecodeIntoCanvas(small, &out);
    EXPECT_EQ(out, Size(176, 180));
    EXPECT_EQ(small.closeCalls, 1);
    for (int32_t row = 0; row < kCanvasHeight; ++row) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const bool inside = x >= 38 && x < 138 && row >= 40 && row < 140;
            const uint32_t expected = !inside ? 0u : row == 139 ? 0x00FF00u : 0xFFFFFFu;
            ASSERT_EQ(CanvasPixel(canvas, x, row), expected) << x << "," << row;
        }
    }
}

TEST(DecodePicture, MaskKeepsTheBlueBytesUnscaled) {
    // 12 x 12 for a 12 x 12 box; 40 x 20 is cut (not scaled) to its fitted
    // size of 24 x 12 (percentages 30 and 60).
    for (Size source : {Size(12, 12), Size(40, 20)}) {
        FakeJpegCodec codec(source);
        Size out;
        DibBlock mask = DecodeNew(codec, {12, 12}, &out, true);
        ASSERT_TRUE(mask);
        const int32_t width = source.first == 12 ? 12 : 24;
        EXPECT_EQ(out, Size(width, 12));
        EXPECT_EQ(mask->header.biBitCount, 8);
        EXPECT_EQ(mask->header.biWidth, width);
        const uint8_t* block = reinterpret_cast<const uint8_t*>(mask.get());
        EXPECT_EQ(std::vector<uint8_t>(block + 40, block + 1064), std::vector<uint8_t>(1024, 0));
        const uint8_t* pixels = DibPixels(mask.get());
        ASSERT_EQ(pixels, block + 1064);
        for (int32_t row = 0; row < 12; ++row) {
            for (int32_t x = 0; x < width; ++x) {
                ASSERT_EQ(pixels[row * DibRowStride(width, 8) + x],
                          codec.colour(x, 11 - row) & 0xFF)
                    << x << "," << row;
            }
        }
    }
}

TEST(DecodePicture, FitsToCoverTheBoxWithRoundedPercentages) {
    struct Case {
        Size source, box, expected;
    } cases[] = {
        {{640, 480}, {176, 180}, {243, 180}},  // 28 % and 38 %
        {{480, 640}, {176, 180}, {176, 237}}, {{320, 240}, {176, 180}, {240, 180}},
        {{200, 180}, {176, 180}, {200, 180}},  // 100 %: unchanged
        {{100, 100}, {176, 180}, {100, 100}},  // never enlarged
        {{350, 360}, {176, 180}, {175, 180}},  // 50 % each: the height wins
        {{500, 90}, {0, 0}, {500, 90}},        // no box
        {{4000, 3000}, {1, 1}, {1, 1}},        // 0 %, kept at one pixel
    };
    for (const Case& c : cases) {
        FakeJpegCodec codec(c.source);
        Size out;
        DibBlock image = DecodeNew(codec, c.box, &out, false, true);
        ASSERT_TRUE(image) << c.source.first;
        EXPECT_EQ(out, c.expected) << c.source.first << "x" << c.source.second;
        EXPECT_EQ(Size(image->header.biWidth, image->header.biHeight), c.expected);
    }
    // No destination in into-destination mode: a new image, as when no
    // canvas exists yet; absent size arguments count as no box.
    FakeJpegCodec noCanvas({100, 80});
    DibBlock image =
        DecodeJpegPicture(noCanvas, nullptr, false, nullptr, nullptr, false, false, true);
    ASSERT_TRUE(image);
    EXPECT_EQ(Size(image->header.biWidth, image->header.biHeight), Size(100, 80));
}
