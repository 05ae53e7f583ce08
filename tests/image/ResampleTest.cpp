#include "image/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <vector>

#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace {

constexpr uint8_t kUntouched = 0x77;

// Target memory between 64 guard bytes on each side, pre-filled so that
// untouched bytes show.
struct Guarded {
    explicit Guarded(size_t bytes) : memory(bytes + 128, kUntouched) {
        std::fill_n(memory.begin(), 64, 0xA5);
        std::fill_n(memory.end() - 64, 64, 0xA5);
    }
    uint8_t* data() { return memory.data() + 64; }
    bool Intact() const {
        return std::count(memory.begin(), memory.begin() + 64, 0xA5) == 64 &&
               std::count(memory.end() - 64, memory.end(), 0xA5) == 64;
    }
    std::vector<uint8_t> memory;
};

// The pixel at column x, row y as 0xRRGGBB.
uint32_t Pixel(const uint8_t* pixels, int32_t stride, int32_t x, int32_t y) {
    const uint8_t* p = pixels + y * stride + x * 3;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

std::vector<uint32_t> ScaleRow(std::initializer_list<uint32_t> pixels, int32_t targetWidth) {
    std::vector<uint8_t> in;
    for (uint32_t p : pixels) {
        in.insert(in.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16)});
    }
    std::vector<uint8_t> out(targetWidth * 3);
    ResampleRow(in.data(), out.data(), int32_t(pixels.size()), targetWidth);
    std::vector<uint32_t> result;
    for (int32_t x = 0; x < targetWidth; ++x) {
        result.push_back(Pixel(out.data(), 0, x, 0));
    }
    return result;
}

double Mean(const uint8_t* pixels, int32_t stride, int32_t width, int32_t height, int channel) {
    int64_t sum = 0;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            sum += pixels[y * stride + x * 3 + channel];
        }
    }
    return double(sum) / (width * height);
}

// Runs of rows (in memory order) of one colour.
struct Band {
    int32_t first, count;
    uint32_t colour;  // 0xRRGGBB
};

const Band* BandAt(const std::vector<Band>& bands, int32_t y) {
    for (const Band& band : bands) {
        if (y >= band.first && y < band.first + band.count) {
            return &band;
        }
    }
    return nullptr;
}

// The pattern picture with the bands painted over it.
DibBlock BandedPicture(int32_t width, int32_t height, const std::vector<Band>& bands) {
    const DibBlock pattern = MakePatternImage(width, height);
    return MakePicture(width, height, [&](int32_t x, int32_t y) {
        const Band* band = BandAt(bands, y);
        return band ? band->colour : PixelAt(pattern.get(), x, y);
    });
}

// Hands out the rows of a picture in memory order, reports the bands as runs
// of one colour that need not be read, and counts the rows read.
class CountedRows : public RowSource {
  public:
    explicit CountedRows(const DibImage* picture, std::vector<Band> bands = {})
        : picture_(picture), bands_(std::move(bands)) {}
    bool ReadRow(uint8_t* row) override {
        const int32_t stride = DibRowStride(picture_->header.biWidth, 24);
        if (next_ >= picture_->header.biHeight) {
            ADD_FAILURE() << "read past the last row";
            return false;
        }
        std::memcpy(row, DibPixels(picture_) + next_++ * stride, stride);
        ++reads;
        return true;
    }
    int32_t UniformRowsAhead(uint8_t* bgr) override {
        const Band* band = BandAt(bands_, next_);
        if (band == nullptr) {
            return 0;
        }
        bgr[0] = uint8_t(band->colour), bgr[1] = uint8_t(band->colour >> 8);
        bgr[2] = uint8_t(band->colour >> 16);
        return band->first + band->count - next_;
    }
    void SkipRows(int32_t count) override {
        uint8_t bgr[3];
        EXPECT_LE(count, UniformRowsAhead(bgr)) << "skipped rows that are not a run";
        next_ += count;
    }
    int32_t reads = 0;

  private:
    const DibImage* picture_;
    std::vector<Band> bands_;
    int32_t next_ = 0;
};

}  // namespace

TEST(ResampleRow, WorkedExamples) {
    // 2 -> 5: the three new pixels share the one gap. Blue rises 0 -> 90,
    // green falls 90 -> 0 (truncating toward zero), red creeps 10 -> 11.
    EXPECT_EQ(ScaleRow({0x0A5A00, 0x0B005A}, 5),
              (std::vector<uint32_t>{0x0A5A00, 0x0A4416, 0x0A2D2D, 0x0A1743, 0x0B005A}));
    // 3 -> 6: the counter gives the first gap one new pixel, the second two.
    EXPECT_EQ(ScaleRow({0, 30, 90}, 6), (std::vector<uint32_t>{0, 15, 30, 50, 70, 90}));
    EXPECT_EQ(ScaleRow({0x123456}, 3), std::vector<uint32_t>(3, 0x123456));
    // 6 -> 3 averages pairs, 7 -> 3 groups of 3, 2 and 2, truncated.
    EXPECT_EQ(ScaleRow({0xC80700, 0xC80701, 0xC8070A, 0xC8070D, 0xC807C8, 0xC807FF}, 3),
              (std::vector<uint32_t>{0xC80700, 0xC8070B, 0xC807E3}));
    EXPECT_EQ(ScaleRow({1, 2, 4, 8, 9, 100, 103}, 3), (std::vector<uint32_t>{2, 8, 101}));
    EXPECT_EQ(ScaleRow({0x010203, 0xFFFEFD}, 2), (std::vector<uint32_t>{0x010203, 0xFFFEFD}));
}

TEST(ResampleImage, InterpolatesFourRowsToEight) {
    // One pixel per row: blue 0, 40, 80, 120; green falling; red flat.
    const uint32_t rows[] = {0x097800, 0x095028, 0x092850, 0x090078};
    DibBlock source = MakePicture(1, 4, [&](int32_t, int32_t y) { return rows[y]; });
    Guarded target(8 * 4);
    ASSERT_TRUE(
        ResampleImage(DibPixels(source.get()), target.data(), NewPictureRequest(1, 4, 1, 8)));
    const uint32_t expected[] = {0x097800, 0x096414, 0x095028, 0x093C3C,
                                 0x092850, 0x091B5D, 0x090E6A, 0x090078};
    for (int32_t y = 0; y < 8; ++y) {
        EXPECT_EQ(Pixel(target.data(), 4, 0, y), expected[y]) << "row " << y;
    }
    EXPECT_TRUE(target.Intact());
}

TEST(ResampleImage, KeepsTheMiddleOfATallPicture) {
    // 8 x 40 to 4 x 20 into 10 rows: the box filter drops 5 scaled rows. Its
    // counter starts at half the height, so scaled row 0 is source row 0
    // alone and scaled row 5 averages rows 9 and 10; across, column 0
    // averages columns 0 and 1 (blue 3y + 3): (30 + 33) / 2.
    DibBlock tall = MakePatternImage(8, 40);
    Guarded target(16 * 10);
    ASSERT_TRUE(ResampleImage(DibPixels(tall.get()), target.data(),
                              {8, 40, 4, 20, 16, 10, 0, 0, true, false}));
    EXPECT_EQ(target.data()[0], 31);
    // Not wider: the middle rows are copied. Without fill, rows and bytes
    // the picture does not cover keep what they held.
    DibBlock narrow = MakePatternImage(3, 20);
    Guarded copied(12 * 12);
    ASSERT_TRUE(ResampleImage(DibPixels(narrow.get()), copied.data(),
                              {3, 20, 3, 10, 12, 12, 0, 1, false, false}));
    for (int32_t y = 0; y < 12; ++y) {
        const uint8_t* row = copied.data() + y * 12;
        if (y == 0 || y == 11) {
            EXPECT_EQ(row[0], kUntouched);
            continue;
        }
        EXPECT_EQ(std::memcmp(row, DibPixels(narrow.get()) + (y + 4) * 12, 9), 0);
        EXPECT_EQ(row[9], kUntouched);
    }
    EXPECT_TRUE(target.Intact() && copied.Intact());
}

TEST(RescaleCanvas, WorkedSizes) {
    // Same size: an exact copy.
    DibBlock pattern = MakePatternImage(kCanvasWidth, kCanvasHeight);
    DibBlock copy = RescaleCanvas(DibPixels(pattern.get()), kCanvasWidth, kCanvasHeight);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(DibPixels(copy.get()), DibPixels(pattern.get()), kCanvasPixelBytes), 0);
    // 90 %, blue 2y and green 2x: output column 0 averages columns 0 and 1,
    // column 1 is column 2 alone; rows 0-4 are single rows, row 5 averages
    // rows 5 and 6.
    DibBlock ramps = MakePicture(kCanvasWidth, kCanvasHeight,
                                 [](int32_t x, int32_t y) { return uint32_t(x * 512 + y * 2); });
    DibBlock small = RescaleCanvas(DibPixels(ramps.get()), 158, 162);
    ASSERT_TRUE(small);
    EXPECT_EQ(PixelAt(small.get(), 0, 0), 0x000100u);
    EXPECT_EQ(PixelAt(small.get(), 1, 0), 0x000400u);
    EXPECT_EQ(PixelAt(small.get(), 0, 4), 0x000108u);
    EXPECT_EQ(PixelAt(small.get(), 0, 5), 0x00010Bu);
    // Lower but wider: the middle 160 rows, each scaled across.
    DibBlock wide = RescaleCanvas(DibPixels(pattern.get()), 200, 160);
    ASSERT_TRUE(wide);
    std::vector<uint8_t> expected(600);
    for (int32_t y = 0; y < 160; ++y) {
        ResampleRow(DibPixels(pattern.get()) + (y + 10) * kCanvasStride, expected.data(), 176, 200);
        ASSERT_EQ(std::memcmp(DibPixels(wide.get()) + y * 600, expected.data(), 600), 0) << y;
    }
    EXPECT_FALSE(RescaleCanvas(DibPixels(pattern.get()), 0, 180));
}

TEST(Resample, FlatStaysFlatAndTheMeanBarelyMoves) {
    const ColourAt flatColour = [](int32_t, int32_t) { return 0x3C8AD2u; };
    DibBlock flat = MakePicture(176, 180, flatColour);
    DibBlock ramp = MakePicture(176, 180, [](int32_t x, int32_t y) {
        return uint32_t(((x + y) / 2 + 20) << 16 | (y + 30) << 8 | (x + 40));
    });
    for (auto [w, h] : {std::pair{158, 162}, {78, 80}, {272, 279}, {100, 200}, {250, 120}}) {
        DibBlock scaled = RescaleCanvas(DibPixels(flat.get()), w, h);
        ASSERT_TRUE(scaled);
        EXPECT_EQ(FirstDifference(MakePicture(w, h, flatColour).get(), scaled.get()), "")
            << w << "x" << h;
        DibBlock smooth = RescaleCanvas(DibPixels(ramp.get()), w, h);
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(Mean(DibPixels(smooth.get()), DibRowStride(w, 24), w, h, channel),
                        Mean(DibPixels(ramp.get()), kCanvasStride, 176, 180, channel), 1.5)
                << w << "x" << h << " channel " << channel;
        }
    }
    // The stream resampler: 750 x 500 reduced to 270 x 180, as a large JPEG
    // on its way in.
    for (bool isFlat : {true, false}) {
        DibBlock picture = MakePicture(750, 500, [&](int32_t x, int32_t y) {
            return isFlat ? 0x3C8AD2u : uint32_t((x / 6 + y / 4) << 8 | x / 3);
        });
        CountedRows rows(picture.get());
        std::vector<uint8_t> reduced(812 * 180);
        ASSERT_TRUE(ResampleStream(rows, reduced.data(),
                                   {750, 500, 270, 180, 812, 270, 180, false, false}));
        for (int channel = 0; channel < 3; ++channel) {
            EXPECT_NEAR(Mean(reduced.data(), 812, 270, 180, channel),
                        Mean(DibPixels(picture.get()), 2252, 750, 500, channel), isFlat ? 0 : 1.0);
        }
        for (int32_t i = 0; isFlat && i < 270 * 180; ++i) {
            ASSERT_EQ(Pixel(reduced.data(), 812, i % 270, i / 270), 0x3C8AD2u);
        }
    }
}

// Scaled or not, smaller than the box (centred in black) or larger (cut
// equally on both sides), rows bottom first or top first.
TEST(ResampleStream, BoxFilterMatchesTheInMemoryResamplerCentredInTheBox) {
    struct Case {
        int32_t sourceWidth, sourceHeight, width, height, boxWidth, boxHeight;
    };
    for (Case c : {Case{300, 200, 270, 180, 176, 180}, Case{200, 400, 100, 200, 80, 180},
                   Case{100, 100, 50, 50, 60, 61}, Case{100, 100, 100, 100, 176, 180},
                   Case{200, 190, 200, 190, 176, 180}}) {
        DibBlock picture = MakePatternImage(c.sourceWidth, c.sourceHeight);
        DibBlock whole = DibCreate(c.width, c.height, 24);
        ASSERT_TRUE(
            ResampleImage(DibPixels(picture.get()), DibPixels(whole.get()),
                          NewPictureRequest(c.sourceWidth, c.sourceHeight, c.width, c.height)));
        const int32_t dx = (c.boxWidth - c.width) / 2, dy = (c.boxHeight - c.height) / 2;
        const int32_t stride = DibRowStride(c.boxWidth, 24);
        for (bool flip : {false, true}) {
            CountedRows rows(picture.get());
            Guarded target(size_t(stride) * c.boxHeight);
            ASSERT_TRUE(ResampleStream(rows, target.data(),
                                       {c.sourceWidth, c.sourceHeight, c.width, c.height, stride,
                                        c.boxWidth, c.boxHeight, flip, true}));
            for (int32_t y = 0; y < c.boxHeight; ++y) {
                for (int32_t x = 0; x < c.boxWidth; ++x) {
                    const int32_t wx = x - dx, wy = y - dy;
                    const bool inside = wx >= 0 && wx < c.width && wy >= 0 && wy < c.height;
                    ASSERT_EQ(Pixel(target.data(), stride, x, flip ? c.boxHeight - 1 - y : y),
                              inside ? PixelAt(whole.get(), wx, wy) : 0u)
                        << c.sourceWidth << "x" << c.sourceHeight << " at " << x << ", " << y;
                }
            }
            EXPECT_TRUE(target.Intact());
        }
    }
}

TEST(Resample, RefusesNonsenseWithoutTouchingTheTarget) {
    DibBlock picture = MakePatternImage(4, 4);
    const uint8_t* pixels = DibPixels(picture.get());
    CountedRows rows(picture.get());
    Guarded target(16 * 4);
    uint8_t* t = target.data();
    // Negative offsets, stride or rows; a side of 0 or above the limit.
    const ResampleImageRequest images[] = {
        {4, 4, 4, 4, 16, 4, -1, 0, true, false}, {4, 4, 4, 4, 16, 4, 0, -1, true, false},
        {4, 4, 4, 4, -16, 4, 0, 0, true, false}, {4, 4, 4, 4, 16, -4, 0, 0, true, false},
        {0, 4, 4, 4, 16, 4, 0, 0, true, false},  {4, 4, 4, 32768, 16, 4, 0, 0, true, true},
    };
    for (const ResampleImageRequest& request : images) {
        EXPECT_FALSE(ResampleImage(pixels, t, request));
        EXPECT_FALSE(ResampleImageRows(rows, t, request));
    }
    EXPECT_FALSE(ResampleImage(nullptr, t, {4, 4, 4, 4, 16, 4, 0, 0, true, false}));
    EXPECT_FALSE(ResampleStream(rows, t, {4, 4, 4, 4, 16, 0, 4, false, true}));
    EXPECT_FALSE(ResampleStream(rows, t, {4, 4, 4, 4, -16, 4, 4, false, true}));
    EXPECT_FALSE(ResampleStream(rows, t, {4, 0, 4, 4, 16, 4, 4, false, true}));
    EXPECT_EQ(rows.reads, 0);
    EXPECT_EQ(std::count(t, t + 64, kUntouched), 64);
}

TEST(Resample, NeverWritesOutsideTheTarget) {
    // Every path with strides narrower and wider than the rows, row counts
    // below and above the picture, offsets, boxes smaller and larger, and
    // very wide rows.
    struct Size {
        int32_t width, height;
    };
    const Size sizes[] = {{1, 1}, {3, 200}, {200, 3}, {61, 47}, {kMaxPictureSide, 1}};
    for (Size from : sizes) {
        DibBlock picture = MakePatternImage(from.width, from.height);
        for (Size to : {sizes[0], sizes[1], sizes[2], sizes[3], Size{600, 2}}) {
            for (int32_t stride : {4, DibRowStride(to.width, 24), 700}) {
                for (int32_t rows : {1, 5, to.height + 3}) {
                    for (int32_t flags = 0; flags < 16; ++flags) {
                        Guarded target(size_t(stride) * rows);
                        CountedRows source(picture.get());
                        const bool fill = flags & 4, last = flags & 8;
                        EXPECT_TRUE(ResampleImage(
                            DibPixels(picture.get()), target.data(),
                            {from.width, from.height, to.width, to.height, stride, rows,
                             flags & 1 ? 5 : 0, flags & 2 ? 3 : 0, fill, last}));
                        EXPECT_TRUE(
                            ResampleStream(source, target.data(),
                                           {from.width, from.height, to.width, to.height, stride,
                                            flags & 1 ? 176 : 2, rows, (flags & 2) != 0, fill}));
                        ASSERT_TRUE(target.Intact())
                            << from.width << "x" << from.height << " -> " << to.width << "x"
                            << to.height << " stride " << stride << " rows " << rows << " flags "
                            << flags;
                    }
                }
            }
        }
    }
}

// Runs of one colour go through the box filter in one step: the result is
// the one reading every row gives, byte for byte, in every path (shrinking
// with groups that start, end or lie inside a run, copying, cutting, reading
// stopped by a full target), and the rows of a run are never read.
TEST(ResampleStream, UniformRunsGiveTheSamePixelsWithoutReadingThem) {
    struct Case {
        int32_t sourceWidth, sourceHeight, width, height, boxWidth, boxHeight;
        std::vector<Band> bands;
    };
    const std::vector<Band> manyBands = {
        {0, 37, 0x102030}, {40, 1, 0xFFFFFF}, {41, 200, 0}, {300, 99, 0x808080}, {402, 598, 0}};
    const Case cases[] = {
        {300, 1000, 54, 180, 176, 180, manyBands},    // shrunk 5.5 times
        {300, 1000, 54, 180, 40, 100, manyBands},     // the box cuts it
        {300, 1000, 300, 1000, 176, 180, manyBands},  // copied, cut to the box
        {60, 1000, 60, 997, 60, 997, manyBands},      // shrunk by three rows
        {50, 4000, 9, 7, 20, 20, {{1, 3998, 0x0000FF}}},
        {50, 400, 50, 1, 60, 30, {{0, 400, 0xABCDEF}}},  // all one run
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight) + " to " +
                     std::to_string(c.width) + "x" + std::to_string(c.height));
        const int32_t stride = DibRowStride(c.boxWidth, 24);
        int32_t patternRows = c.sourceHeight;
        for (const Band& band : c.bands) {
            patternRows -= band.count;
        }
        const DibBlock picture = BandedPicture(c.sourceWidth, c.sourceHeight, c.bands);
        for (int flags = 0; flags < 4; ++flags) {
            const ResampleStreamRequest request = {
                c.sourceWidth, c.sourceHeight, c.width,          c.height,        stride,
                c.boxWidth,    c.boxHeight,    (flags & 1) != 0, (flags & 2) != 0};
            CountedRows everyRow(picture.get()), banded(picture.get(), c.bands);
            const size_t bytes = size_t(std::max(stride, 1)) * size_t(std::max(c.boxHeight, 1));
            Guarded expected(bytes), actual(bytes);
            ASSERT_TRUE(ResampleStream(everyRow, expected.data(), request));
            ASSERT_TRUE(ResampleStream(banded, actual.data(), request));
            ASSERT_EQ(actual.memory, expected.memory) << "flags " << flags;
            EXPECT_LE(banded.reads, patternRows);
        }
    }
}

// The same for pictures placed by ResampleImageRows: what ResampleImage
// makes of the picture held in memory.
TEST(ResampleImageRows, MatchesTheInMemoryResamplerWithRunsSkipped) {
    const std::vector<Band> bands = {{0, 100, 0x203040}, {120, 280, 0x00FF00}, {410, 190, 0}};
    struct Case {
        int32_t width, height, targetStride, targetRows, xOffset, yOffset;
    };
    const Case cases[] = {
        {90, 180, 528, 180, 43, 0},  // into a canvas, centred across
        {90, 180, 300, 180, 0, 0},   // its own picture
        {40, 650, 528, 180, 3, 0},   // taller than the target: the middle rows
        {40, 600, 528, 180, 3, 0},   // not taller than the source: copied
        {200, 300, 700, 100, 0, 7},  // below the offset, cut by the rows
    };
    for (const Case& c : cases) {
        const int32_t sourceWidth = c.width == 200 ? 200 : 40 + c.width;
        const DibBlock picture = BandedPicture(sourceWidth, 600, bands);
        for (bool fill : {false, true}) {
            const ResampleImageRequest request = {
                sourceWidth,  600,       c.width,   c.height, c.targetStride,
                c.targetRows, c.xOffset, c.yOffset, fill};
            CountedRows banded(picture.get(), bands);
            const size_t bytes =
                size_t(std::max(c.targetStride, 1)) * size_t(std::max(c.targetRows, 1));
            Guarded expected(bytes), actual(bytes);
            ASSERT_TRUE(ResampleImage(DibPixels(picture.get()), expected.data(), request));
            ASSERT_TRUE(ResampleImageRows(banded, actual.data(), request));
            ASSERT_EQ(actual.memory, expected.memory) << c.width << "x" << c.height;
            EXPECT_LE(banded.reads, 600 - 100 - 280 - 190) << c.width << "x" << c.height;
        }
    }
}
