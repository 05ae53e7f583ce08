#include "image/Resample.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

#include "support/TestSupport.h"

namespace {

constexpr size_t kGuard = 64;
constexpr uint8_t kGuardByte = 0xA5;
constexpr uint8_t kUntouched = 0x77;

// Target memory between guard bytes, pre-filled so that untouched rows show.
class Target {
  public:
    explicit Target(size_t bytes) : bytes_(bytes), memory_(bytes + 2 * kGuard, kGuardByte) {
        std::memset(data(), kUntouched, bytes);
    }
    uint8_t* data() { return memory_.data() + kGuard; }
    bool GuardsIntact() const {
        for (size_t i = 0; i < kGuard; ++i) {
            if (memory_[i] != kGuardByte || memory_[kGuard + bytes_ + i] != kGuardByte) {
                return false;
            }
        }
        return true;
    }

  private:
    size_t bytes_;
    std::vector<uint8_t> memory_;
};

uint32_t Pixel(const uint8_t* pixels, int32_t stride, int32_t x, int32_t y) {
    const uint8_t* p = pixels + y * stride + x * 3;
    return (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[0];
}

std::vector<uint8_t> Row(std::initializer_list<uint32_t> pixels) {
    std::vector<uint8_t> row;
    for (uint32_t p : pixels) {
        row.insert(row.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
    }
    return row;
}

std::vector<uint32_t> Pixels(const std::vector<uint8_t>& row) {
    std::vector<uint32_t> pixels;
    for (size_t i = 0; i + 2 < row.size(); i += 3) {
        pixels.push_back(Pixel(row.data() + i, 0, 0, 0));
    }
    return pixels;
}

std::vector<uint32_t> ScaleRow(std::initializer_list<uint32_t> pixels, int32_t targetWidth) {
    std::vector<uint8_t> out(targetWidth * 3);
    ResampleRow(Row(pixels).data(), out.data(), int32_t(pixels.size()), targetWidth);
    return Pixels(out);
}

// Hands out the rows of a picture in memory order and counts the calls.
class ScriptedRows : public RowSource {
  public:
    explicit ScriptedRows(const DibImage* picture) : picture_(picture) {}
    bool ReadRow(uint8_t* row) override {
        const int32_t stride = DibRowStride(picture_->header.biWidth, 24);
        EXPECT_LT(calls, picture_->header.biHeight) << "read past the last row";
        if (calls >= picture_->header.biHeight) {
            return false;
        }
        std::memcpy(row, DibPixels(picture_) + calls * stride, stride);
        ++calls;
        return true;
    }
    int32_t calls = 0;

  private:
    const DibImage* picture_;
};

DibBlock MakeFlatImage(int32_t width, int32_t height, uint32_t colour) {
    DibBlock image = DibCreate(width, height, 24);
    const int32_t stride = DibRowStride(width, 24);
    for (int32_t y = 0; y < height; ++y) {
        const std::vector<uint8_t> row = Row({colour});
        for (int32_t x = 0; x < width; ++x) {
            std::memcpy(DibPixels(image.get()) + y * stride + x * 3, row.data(), 3);
        }
    }
    return image;
}

}  // namespace

TEST(ResampleRow, EnlargingSpreadsLinearStepsOverTheGaps) {
    // 2 -> 5: all three new pixels share the one gap. Blue rises 0 -> 90,
    // green falls 90 -> 0 (truncating toward zero), red creeps 10 -> 11.
    EXPECT_EQ(ScaleRow({0x0A5A00, 0x0B005A}, 5),
              (std::vector<uint32_t>{0x0A5A00, 0x0A4416, 0x0A2D2D, 0x0A1743, 0x0B005A}));
    // 3 -> 6: the counter gives the first gap one new pixel, the second two.
    EXPECT_EQ(ScaleRow({0, 30, 90}, 6), (std::vector<uint32_t>{0, 15, 30, 50, 70, 90}));
    EXPECT_EQ(ScaleRow({0x123456}, 4), std::vector<uint32_t>(4, 0x123456));
}

TEST(ResampleRow, ShrinkingAveragesGroupsTruncated) {
    EXPECT_EQ(ScaleRow({0xC80700, 0xC80701, 0xC8070A, 0xC8070D, 0xC807C8, 0xC807FF}, 3),
              (std::vector<uint32_t>{0xC80700, 0xC8070B, 0xC807E3}));
    // 7 -> 3: groups of 3, 2 and 2 pixels.
    EXPECT_EQ(ScaleRow({1, 2, 4, 8, 9, 100, 103}, 3), (std::vector<uint32_t>{2, 8, 101}));
    EXPECT_EQ(ScaleRow({0x010203, 0xFFFEFD, 0x808080}, 3),
              (std::vector<uint32_t>{0x010203, 0xFFFEFD, 0x808080}));
}

TEST(ResampleRow, FlatRowsStayFlatAndExactlyTheTargetWidthIsWritten) {
    const std::vector<uint8_t> source = [] {
        std::vector<uint8_t> row;
        for (int32_t i = 0; i < kMaxPictureSide; ++i) {
            row.insert(row.end(), {0x56, 0x34, 0x12});
        }
        return row;
    }();
    for (int32_t from : {1, 2, 3, 7, 176, 271, 1000, kMaxPictureSide}) {
        for (int32_t to : {1, 2, 5, 176, 270, 4001, kMaxPictureSide}) {
            Target target(to * 3);
            ResampleRow(source.data(), target.data(), from, to);
            EXPECT_TRUE(target.GuardsIntact()) << from << " -> " << to;
            for (int32_t x = 0; x < to; ++x) {
                ASSERT_EQ(Pixel(target.data(), 0, x, 0), 0x123456u) << from << " -> " << to;
            }
        }
    }
}

TEST(ResampleImage, InterpolatesFourRowsToEight) {
    // One pixel per row (stride 4). Blue rises, green falls, red is flat.
    const std::vector<uint32_t> rows = {0x097800, 0x095028, 0x092850, 0x090078};
    std::vector<uint8_t> source(16, 0);
    for (size_t y = 0; y < rows.size(); ++y) {
        std::memcpy(&source[y * 4], Row({rows[y]}).data(), 3);
    }
    Target target(8 * 4);
    ASSERT_TRUE(ResampleImage(source.data(), target.data(), 1, 4, 1, 8, 4, 8, 0, 0, false, true));
    const std::vector<uint32_t> expected = {0x097800, 0x096414, 0x095028, 0x093C3C,
                                            0x092850, 0x091B5D, 0x090E6A, 0x090078};
    for (int32_t y = 0; y < 8; ++y) {
        EXPECT_EQ(Pixel(target.data(), 4, 0, y), expected[y]) << "row " << y;
    }
    EXPECT_TRUE(target.GuardsIntact());
}

TEST(ResampleImage, FitsIntoALargerTargetWithBlackBorders) {
    // A 4 x 3 picture 3 pixels in and 1 row up in a 10 x 5 target.
    DibBlock small = MakePatternImage(4, 3);
    const int32_t stride = DibRowStride(10, 24);
    Target target(stride * 5);
    ASSERT_TRUE(ResampleImage(DibPixels(small.get()), target.data(), 4, 3, 4, 3, stride, 5, 3, 1,
                              true, false));
    for (int32_t y = 0; y < 5; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            const bool inside = y >= 1 && y < 4 && x >= 3 && x < 7;
            EXPECT_EQ(Pixel(target.data(), stride, x, y),
                      inside ? PixelAt(small.get(), x - 3, y - 1) : 0u);
        }
    }
    // A 200 x 100 picture on the canvas: its left 176 columns between 40
    // black rows below and above; the rows are cut to the stride.
    DibBlock wide = MakePatternImage(200, 100);
    Target canvas(kCanvasPixelBytes);
    ASSERT_TRUE(ResampleImage(DibPixels(wide.get()), canvas.data(), 200, 100, 200, 100,
                              kCanvasStride, kCanvasHeight, 0, 40, true, false));
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; x += 25) {
            const bool inside = y >= 40 && y < 140;
            ASSERT_EQ(Pixel(canvas.data(), kCanvasStride, x, y),
                      inside ? PixelAt(wide.get(), x, y - 40) : 0u);
        }
    }
    EXPECT_TRUE(target.GuardsIntact());
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(ResampleImage, KeepsTheMiddleOfATallPicture) {
    // 8 x 40 to 4 x 20 into 10 rows: the box filter drops 5 scaled rows.
    // Its counter starts at half the height, so scaled row 0 is source row 0
    // alone and scaled row 5 averages source rows 9 and 10. Across, column 0
    // averages columns 0 and 1: blue 3y + 3, so (30 + 33) / 2.
    DibBlock tall = MakePatternImage(8, 40);
    Target target(16 * 10);
    ASSERT_TRUE(ResampleImage(DibPixels(tall.get()), target.data(), 8, 40, 4, 20, 16, 10, 0, 0,
                              true, false));
    EXPECT_EQ(target.data()[0], 31);
    EXPECT_TRUE(target.GuardsIntact());

    // Not wider: the middle rows are copied. Without fill, rows and bytes
    // the picture does not cover keep what they held.
    DibBlock narrow = MakePatternImage(3, 20);
    Target copied(12 * 12);
    ASSERT_TRUE(ResampleImage(DibPixels(narrow.get()), copied.data(), 3, 20, 3, 10, 12, 12, 0, 1,
                              false, false));
    EXPECT_EQ(copied.data()[0], kUntouched);
    for (int32_t y = 0; y < 10; ++y) {
        EXPECT_EQ(
            std::memcmp(copied.data() + (y + 1) * 12, DibPixels(narrow.get()) + (y + 5) * 12, 9),
            0);
        EXPECT_EQ(copied.data()[(y + 1) * 12 + 9], kUntouched);
    }
    EXPECT_EQ(copied.data()[11 * 12], kUntouched);
}

TEST(ResampleImage, RefusesNonsenseAndLeavesTheTargetAlone) {
    DibBlock source = MakePatternImage(4, 4);
    const uint8_t* pixels = DibPixels(source.get());
    Target target(16 * 4);
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 4, 4, 4, 4, 16, 4, -1, 0, true, false));
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 4, 4, 4, 4, 16, 4, 0, -1, true, false));
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 4, 4, 4, 4, -16, 4, 0, 0, true, false));
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 4, 4, 4, 4, 16, -4, 0, 0, true, false));
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 0, 4, 4, 4, 16, 4, 0, 0, true, false));
    EXPECT_FALSE(ResampleImage(pixels, target.data(), 4, 4, 4, 32768, 16, 4, 0, 0, true, true));
    EXPECT_FALSE(ResampleImage(nullptr, target.data(), 4, 4, 4, 4, 16, 4, 0, 0, true, false));
    for (int32_t i = 0; i < 64; ++i) {
        ASSERT_EQ(target.data()[i], kUntouched);
    }
}

TEST(ResampleImage, NeverWritesOutsideTheTarget) {
    struct Size {
        int32_t width, height;
    };
    for (Size from : {Size{1, 1}, Size{3, 200}, Size{200, 3}, Size{50, 50}}) {
        DibBlock source = MakePatternImage(from.width, from.height);
        for (Size to : {Size{1, 1}, Size{7, 300}, Size{300, 7}, Size{60, 40}}) {
            for (int32_t stride : {4, DibRowStride(to.width, 24), 528}) {
                for (int32_t rows : {0, 5, to.height, to.height + 3}) {
                    for (int32_t flags = 0; flags < 16; ++flags) {
                        Target target(size_t(stride) * rows);
                        EXPECT_TRUE(ResampleImage(DibPixels(source.get()), target.data(),
                                                  from.width, from.height, to.width, to.height,
                                                  stride, rows, flags & 1 ? 5 : 0,
                                                  flags & 2 ? 3 : 0, flags & 4, flags & 8));
                        ASSERT_TRUE(target.GuardsIntact())
                            << from.width << "x" << from.height << " -> " << to.width << "x"
                            << to.height << " stride " << stride << " rows " << rows << " flags "
                            << flags;
                    }
                }
            }
        }
    }
}

TEST(RescaleCanvas, SameSizeIsAnExactCopy) {
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    DibBlock copy = RescaleCanvas(DibPixels(canvas.get()), kCanvasWidth, kCanvasHeight);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(DibPixels(copy.get()), DibPixels(canvas.get()), kCanvasPixelBytes), 0);
    EXPECT_FALSE(RescaleCanvas(DibPixels(canvas.get()), 0, 180));
}

TEST(RescaleCanvas, NinetyPercentAveragesRowsAndColumns) {
    // Blue 2y, green 2x: across, output column 0 averages columns 0 and 1
    // and column 1 is column 2 alone; down, the counter starting at half the
    // height makes rows 0-4 single rows and row 5 the average of rows 5, 6.
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            uint8_t* p = DibPixels(canvas.get()) + y * kCanvasStride + x * 3;
            p[0] = uint8_t(2 * y);
            p[1] = uint8_t(2 * x);
        }
    }
    DibBlock small = RescaleCanvas(DibPixels(canvas.get()), 158, 162);
    ASSERT_TRUE(small);
    EXPECT_EQ(PixelAt(small.get(), 0, 0), 0x000100u);
    EXPECT_EQ(PixelAt(small.get(), 1, 0), 0x000400u);
    EXPECT_EQ(PixelAt(small.get(), 0, 4), 0x000108u);
    EXPECT_EQ(PixelAt(small.get(), 0, 5), 0x00010Bu);
}

TEST(RescaleCanvas, LowerButWiderKeepsTheMiddleRowsAndScalesAcross) {
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    DibBlock wide = RescaleCanvas(DibPixels(canvas.get()), 200, 160);
    ASSERT_TRUE(wide);
    std::vector<uint8_t> expected(200 * 3);
    for (int32_t y = 0; y < 160; ++y) {
        ResampleRow(DibPixels(canvas.get()) + (y + 10) * kCanvasStride, expected.data(),
                    kCanvasWidth, 200);
        ASSERT_EQ(std::memcmp(DibPixels(wide.get()) + y * 600, expected.data(), 600), 0) << y;
    }
}

TEST(RescaleCanvas, FlatStaysFlatAndTheMeanBarelyMoves) {
    DibBlock flat = MakeFlatImage(kCanvasWidth, kCanvasHeight, 0x3C8AD2);
    DibBlock ramp = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            uint8_t* p = DibPixels(ramp.get()) + y * kCanvasStride + x * 3;
            p[0] = uint8_t(x + 40);
            p[1] = uint8_t(y + 30);
            p[2] = uint8_t((x + y) / 2 + 20);
        }
    }
    auto mean = [](const DibImage* image, int32_t channel) {
        const int32_t w = image->header.biWidth, h = image->header.biHeight;
        int64_t sum = 0;
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                sum += DibPixels(image)[y * DibRowStride(w, 24) + x * 3 + channel];
            }
        }
        return double(sum) / (w * h);
    };
    for (auto [w, h] : {std::pair{158, 162}, {78, 80}, {272, 279}, {100, 200}, {250, 120}}) {
        DibBlock scaled = RescaleCanvas(DibPixels(flat.get()), w, h);
        ASSERT_TRUE(scaled);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                ASSERT_EQ(PixelAt(scaled.get(), x, y), 0x3C8AD2u) << w << "x" << h;
            }
        }
        DibBlock smooth = RescaleCanvas(DibPixels(ramp.get()), w, h);
        for (int32_t channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(mean(smooth.get(), channel), mean(ramp.get(), channel), 1.5)
                << w << "x" << h << " channel " << channel;
        }
    }
}

TEST(ResampleStream, CopiesUnscaledRowsInReadOrderOrFlipped) {
    DibBlock picture = MakePatternImage(5, 4);
    for (bool flip : {false, true}) {
        ScriptedRows rows(picture.get());
        Target target(16 * 4);
        ASSERT_TRUE(ResampleStream(rows, target.data(), 5, 4, 5, 4, 16, 5, 4, flip, false));
        EXPECT_EQ(rows.calls, 4);
        for (int32_t y = 0; y < 4; ++y) {
            EXPECT_EQ(std::memcmp(target.data() + (flip ? 3 - y : y) * 16,
                                  DibPixels(picture.get()) + y * 16, 15),
                      0);
        }
        EXPECT_TRUE(target.GuardsIntact());
    }
}

TEST(ResampleStream, CentresASmallerPictureInBlack) {
    // 100 x 100 read top row first into the canvas: black borders of 38
    // columns and 40 rows; the first row read lands on row 139 in memory.
    DibBlock picture = MakePatternImage(100, 100);
    ScriptedRows rows(picture.get());
    Target canvas(kCanvasPixelBytes);
    ASSERT_TRUE(ResampleStream(rows, canvas.data(), 100, 100, 100, 100, kCanvasStride, kCanvasWidth,
                               kCanvasHeight, true, true));
    EXPECT_EQ(rows.calls, 100);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const bool inside = y >= 40 && y < 140 && x >= 38 && x < 138;
            ASSERT_EQ(Pixel(canvas.data(), kCanvasStride, x, y),
                      inside ? PixelAt(picture.get(), x - 38, 139 - y) : 0u)
                << x << ", " << y;
        }
    }
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(ResampleStream, CutsALargerPictureEquallyOnBothSides) {
    // 200 x 190 unscaled into the canvas: 12 columns go on the left and the
    // first 5 rows read are dropped; reading stops once the canvas is full.
    DibBlock picture = MakePatternImage(200, 190);
    ScriptedRows rows(picture.get());
    Target canvas(kCanvasPixelBytes);
    ASSERT_TRUE(ResampleStream(rows, canvas.data(), 200, 190, 200, 190, kCanvasStride, kCanvasWidth,
                               kCanvasHeight, true, true));
    EXPECT_EQ(rows.calls, 185);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; x += 5) {
            ASSERT_EQ(Pixel(canvas.data(), kCanvasStride, x, y),
                      PixelAt(picture.get(), x + 12, 184 - y));
        }
    }
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST(ResampleStream, BoxFilterMatchesTheInMemoryResamplerCentredInTheBox) {
    struct Case {
        int32_t sourceWidth, sourceHeight, width, height, boxWidth, boxHeight;
    };
    for (Case c : {Case{300, 200, 270, 180, 176, 180}, Case{200, 400, 100, 200, 80, 180},
                   Case{100, 100, 50, 50, 60, 61}}) {
        DibBlock picture = MakePatternImage(c.sourceWidth, c.sourceHeight);
        DibBlock whole = DibCreate(c.width, c.height, 24);
        ASSERT_TRUE(ResampleImage(DibPixels(picture.get()), DibPixels(whole.get()), c.sourceWidth,
                                  c.sourceHeight, c.width, c.height, DibRowStride(c.width, 24),
                                  c.height, 0, 0, false, false));
        const int32_t dx = (c.boxWidth - c.width) / 2, dy = (c.boxHeight - c.height) / 2;
        const int32_t stride = DibRowStride(c.boxWidth, 24);
        for (bool flip : {false, true}) {
            ScriptedRows rows(picture.get());
            Target target(size_t(stride) * c.boxHeight);
            ASSERT_TRUE(ResampleStream(rows, target.data(), c.sourceWidth, c.sourceHeight, c.width,
                                       c.height, stride, c.boxWidth, c.boxHeight, flip, true));
            for (int32_t y = 0; y < c.boxHeight; ++y) {
                for (int32_t x = 0; x < c.boxWidth; ++x) {
                    const int32_t wx = x - dx, wy = y - dy;
                    const bool inside = wx >= 0 && wx < c.width && wy >= 0 && wy < c.height;
                    ASSERT_EQ(Pixel(target.data(), stride, x, flip ? c.boxHeight - 1 - y : y),
                              inside ? PixelAt(whole.get(), wx, wy) : 0u)
                        << c.sourceWidth << "x" << c.sourceHeight << " at " << x << ", " << y;
                }
            }
            EXPECT_TRUE(target.GuardsIntact());
        }
    }
}

TEST(ResampleStream, CameraPictureStaysFlatAndKeepsItsMean) {
    // A 750 x 500 picture reduced to 270 x 180 on the way to the canvas.
    DibBlock flat = MakeFlatImage(750, 500, 0x3C8AD2);
    ScriptedRows flatRows(flat.get());
    Target canvas(kCanvasPixelBytes);
    ASSERT_TRUE(ResampleStream(flatRows, canvas.data(), 750, 500, 270, 180, kCanvasStride,
                               kCanvasWidth, kCanvasHeight, true, true));
    for (int32_t i = 0; i < kCanvasWidth * kCanvasHeight; ++i) {
        ASSERT_EQ(Pixel(canvas.data(), 0, i, 0), 0x3C8AD2u) << i;
    }

    DibBlock ramp = DibCreate(750, 500, 24);
    int64_t sourceSum = 0;
    for (int32_t y = 0; y < 500; ++y) {
        for (int32_t x = 0; x < 750; ++x) {
            DibPixels(ramp.get())[y * 2252 + x * 3] = uint8_t(x / 6 + y / 4);
            sourceSum += x / 6 + y / 4;
        }
    }
    ScriptedRows rampRows(ramp.get());
    std::vector<uint8_t> reduced(812 * 180);
    ASSERT_TRUE(
        ResampleStream(rampRows, reduced.data(), 750, 500, 270, 180, 812, 270, 180, false, false));
    int64_t reducedSum = 0;
    for (int32_t y = 0; y < 180; ++y) {
        for (int32_t x = 0; x < 270; ++x) {
            reducedSum += reduced[y * 812 + x * 3];
        }
    }
    EXPECT_NEAR(double(reducedSum) / (270 * 180), double(sourceSum) / (750 * 500), 1.0);
}

TEST(ResampleStream, RefusesNonsenseWithoutReading) {
    DibBlock picture = MakePatternImage(4, 4);
    ScriptedRows rows(picture.get());
    Target target(16 * 4);
    EXPECT_FALSE(ResampleStream(rows, target.data(), 4, 4, 4, 4, 16, 0, 4, false, true));
    EXPECT_FALSE(ResampleStream(rows, target.data(), 4, 4, 4, 4, -16, 4, 4, false, true));
    EXPECT_FALSE(ResampleStream(rows, target.data(), 4, 0, 4, 4, 16, 4, 4, false, true));
    EXPECT_FALSE(ResampleStream(rows, nullptr, 4, 4, 4, 4, 16, 4, 4, false, true));
    EXPECT_EQ(rows.calls, 0);
    EXPECT_EQ(target.data()[0], kUntouched);
}

TEST(ResampleStream, NeverWritesOutsideTheTarget) {
    struct Size {
        int32_t width, height;
    };
    for (Size from : {Size{1, 1}, Size{3, 200}, Size{200, 3}, Size{301, 203}}) {
        DibBlock picture = MakePatternImage(from.width, from.height);
        for (Size to : {Size{1, 1}, Size{3, 100}, Size{150, 3}, Size{from.width, from.height}}) {
            for (Size box : {Size{1, 1}, Size{176, 180}, Size{to.width + 9, to.height + 1}}) {
                for (int32_t stride : {4, DibRowStride(box.width, 24), 2000}) {
                    for (int32_t flags = 0; flags < 4; ++flags) {
                        ScriptedRows rows(picture.get());
                        Target target(size_t(stride) * box.height);
                        EXPECT_TRUE(ResampleStream(rows, target.data(), from.width, from.height,
                                                   to.width, to.height, stride, box.width,
                                                   box.height, flags & 1, flags & 2));
                        ASSERT_TRUE(target.GuardsIntact())
                            << from.width << "x" << from.height << " -> " << to.width << "x"
                            << to.height << " box " << box.width << "x" << box.height << " stride "
                            << stride << " flags " << flags;
                    }
                }
            }
        }
    }
}
