// The sweep the three effects share: pass windows, stand-in rows and
// columns, whole runs.
#include "effects/PaintPass.h"

#include <gtest/gtest.h>

#include <vector>

#include "ScriptedRandom.h"
#include "effects/BuildEdgeMap.h"
#include "effects/EdgeMap.h"
#include "effects/OilPaint.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/DibImage.h"
#include "support/TestSupport.h"

namespace {

using PassFunction = void (*)(const uint8_t*, uint8_t*, uint8_t*, int32_t, int32_t, int16_t,
                              PaintRandom&);

const PassFunction kEffects[] = {OilPaint, WaterPaint, WaxPaint};

// Draws a dab at column x makes in a picture of this width.
size_t DrawsPerDab(int32_t x, int32_t width) {
    return 3u * (1u + (x > 0) + (x < width - 1));
}

std::vector<uint8_t> PatternBytes(int32_t width, int32_t height) {
    DibBlock image = MakePatternImage(width, height);
    const uint8_t* pixels = DibPixels(image.get());
    return std::vector<uint8_t>(pixels, pixels + image->header.biSizeImage);
}

// A whole effect run: edge map, then the eight passes.
std::vector<uint8_t> PaintAll(PassFunction pass, const std::vector<uint8_t>& source, int32_t width,
                              int32_t height, PaintRandom& random,
                              std::vector<uint8_t>* edgesAfter = nullptr) {
    std::vector<uint8_t> canvas(source.size(), 0);
    std::vector<uint8_t> edges(EdgeMapStride(width) * height, 0);
    BuildEdgeMap(source.data(), canvas.data(), edges.data(), width, height);
    for (int32_t n = 0; n < kPaintPassCount; ++n) {
        pass(source.data(), canvas.data(), edges.data(), width, height, PaintPassThreshold(n),
             random);
    }
    if (edgesAfter != nullptr) {
        *edgesAfter = edges;
    }
    return canvas;
}

}  // namespace

// Every edge value 0 .. 255 once: each pass paints exactly its window, a
// boundary value (32, 64, ...) in the earlier pass, and each pixel once.
TEST(PaintPass, WindowsPaintEveryValueOnce) {
    const int32_t width = 16;
    const int32_t height = 16;
    const std::vector<uint8_t> source(DibRowStride(width, 24) * height, 90);
    for (PassFunction pass : kEffects) {
        std::vector<uint8_t> canvas(source.size(), 255);
        std::vector<uint8_t> edges(256);
        for (int value = 0; value < 256; ++value) {
            edges[value] = static_cast<uint8_t>(value);
        }
        for (int32_t n = 0; n < kPaintPassCount; ++n) {
            const int threshold = PaintPassThreshold(n);
            const int first = n == 0 ? 0 : threshold + 1;
            const int last = threshold + 32;
            std::vector<uint8_t> before = edges;
            ScriptedRandom random;
            pass(source.data(), canvas.data(), edges.data(), width, height,
                 static_cast<int16_t>(threshold), random);
            size_t expectedDraws = 0;
            for (int value = 0; value < 256; ++value) {
                const bool inWindow = value >= first && value <= last;
                ASSERT_EQ(edges[value], inWindow ? 0 : before[value])
                    << "pass " << n << " value " << value;
                if (inWindow) {
                    expectedDraws += DrawsPerDab(value % width, width);
                }
            }
            EXPECT_EQ(random.Draws(), expectedDraws) << "pass " << n;
        }
        for (uint8_t value : edges) {
            ASSERT_EQ(value, 0);
        }
    }
}

// A flat picture is all edge value 255: the canvas stays white until the
// last pass, which paints every pixel.
TEST(PaintPass, FlatPictureWaitsForTheLastPass) {
    const int32_t width = 5;
    const int32_t height = 4;
    const int32_t stride = DibRowStride(width, 24);
    const std::vector<uint8_t> source(stride * height, 60);
    std::vector<uint8_t> canvas(source.size(), 0);
    std::vector<uint8_t> edges(EdgeMapStride(width) * height, 0);
    BuildEdgeMap(source.data(), canvas.data(), edges.data(), width, height);
    ScriptedRandom random({}, 1);  // oil covers everywhere
    for (int32_t n = 0; n < kPaintPassCount - 1; ++n) {
        OilPaint(source.data(), canvas.data(), edges.data(), width, height, PaintPassThreshold(n),
                 random);
    }
    EXPECT_EQ(random.Draws(), 0u);
    for (uint8_t byte : canvas) {
        ASSERT_EQ(byte, 255);
    }
    OilPaint(source.data(), canvas.data(), edges.data(), width, height, 224, random);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t i = 0; i < width * 3; ++i) {
            ASSERT_EQ(canvas[y * stride + i], 60);
        }
        EXPECT_EQ(canvas[y * stride + 15], 255) << "padding painted";
    }
}

// Whole runs of each effect: every pixel's dab is laid once (the number of
// draws says so), the map ends all zero, padding stays white, and a fixed
// seed gives the same picture.
TEST(PaintPass, WholeRunsAreRepeatable) {
    const int32_t width = 23;
    const int32_t height = 17;
    const int32_t stride = DibRowStride(width, 24);
    const std::vector<uint8_t> source = PatternBytes(width, height);
    size_t drawsPerRun = 0;
    for (int32_t x = 0; x < width; ++x) {
        drawsPerRun += DrawsPerDab(x, width) * height;
    }
    for (PassFunction pass : kEffects) {
        SeededPaintRandom seeded(1234);
        struct CountingRandom final : PaintRandom {
            explicit CountingRandom(PaintRandom& inner) : inner_(inner) {}
            uint32_t Next() override {
                ++draws;
                return inner_.Next();
            }
            PaintRandom& inner_;
            size_t draws = 0;
        } counting(seeded);
        std::vector<uint8_t> edges;
        const std::vector<uint8_t> first = PaintAll(pass, source, width, height, counting, &edges);
        EXPECT_EQ(counting.draws, drawsPerRun);
        for (uint8_t value : edges) {
            ASSERT_EQ(value, 0);
        }
        for (int32_t y = 0; y < height; ++y) {
            ASSERT_EQ(first[y * stride + width * 3], 255);
        }

        SeededPaintRandom again(1234);
        EXPECT_EQ(PaintAll(pass, source, width, height, again), first);
        SeededPaintRandom other(99);
        EXPECT_NE(PaintAll(pass, source, width, height, other), first);
    }
}

// In the first column no left neighbour is visited and no value is drawn for
// one; the same for the last column and its right neighbour.
TEST(PaintPass, EdgeColumnsDrawOnlyForExistingNeighbours) {
    const int32_t width = 2;
    const int32_t height = 3;
    const int32_t stride = DibRowStride(width, 24);  // 8: 6 bytes and 2 of padding
    for (int32_t x : {0, 1}) {
        std::vector<uint8_t> source(stride * height, 0);
        std::vector<uint8_t> canvas(source.size(), 255);
        std::vector<uint8_t> edges(EdgeMapStride(width) * height, 200);
        edges[EdgeMapStride(width) + x] = 10;  // the only pixel in the window
        ScriptedRandom random({1});            // water; every later draw is 0
        WaterPaint(source.data(), canvas.data(), edges.data(), width, height, 0, random);
        EXPECT_EQ(random.Draws(), 6u);
        // The first value: in column 0 the middle column's previous row
        // (covered by thirds), in column 1 the left column's previous row (a
        // corner: half, 128). Both are the pixel at row 0, column 0.
        EXPECT_EQ(canvas[0], x == 0 ? 0 : 128) << "column " << x;
        EXPECT_EQ(canvas[3], 255) << "column " << x;
        EXPECT_EQ(canvas[stride + x * 3], 0) << "centre of column " << x;
        EXPECT_EQ(canvas[6], 255);
        EXPECT_EQ(canvas[stride + 6], 255);
    }
    // A one-pixel-wide picture draws for the middle column only.
    std::vector<uint8_t> source(4 * 3, 0);
    std::vector<uint8_t> canvas(source.size(), 255);
    std::vector<uint8_t> edges(4 * 3, 200);
    edges[4] = 0;
    ScriptedRandom random;
    OilPaint(source.data(), canvas.data(), edges.data(), 1, 3, 0, random);
    EXPECT_EQ(random.Draws(), 3u);
}

// The first row stands in for its missing previous row and the last row for
// its missing next row: two visits act on the same pixel, the later on the
// result of the earlier. Water on white with colour 100: a half mix gives
// (255 + 100 + 1) >> 1 = 178, a second half mix (178 + 100 + 1) >> 1 = 139.
TEST(PaintPass, EdgeRowsVisitThemselvesTwice) {
    const std::vector<uint8_t> source = {100, 100, 100, 0, 100, 100, 100, 0};  // 1 x 2
    {
        std::vector<uint8_t> canvas(8, 255);
        std::vector<uint8_t> edges = {5, 200, 0, 0, 200, 200, 0, 0};  // row 0 only
        ScriptedRandom random({2, 1, 0});  // above: half; centre: half; below: keep
        WaterPaint(source.data(), canvas.data(), edges.data(), 1, 2, 0, random);
        EXPECT_EQ(canvas[0], 139);
        EXPECT_EQ(canvas[4], 255);
    }
    {
        std::vector<uint8_t> canvas(8, 255);
        std::vector<uint8_t> edges = {200, 200, 0, 0, 5, 200, 0, 0};  // row 1 only
        ScriptedRandom random({0, 1, 2});  // above: keep; centre: half; below: half
        WaterPaint(source.data(), canvas.data(), edges.data(), 1, 2, 0, random);
        EXPECT_EQ(canvas[0], 255);
        EXPECT_EQ(canvas[4], 139);
    }
    // One pixel: above, centre and below are all the same pixel. Black on
    // white: keep, half (128), half again (64).
    const std::vector<uint8_t> black = {0, 0, 0, 0};
    std::vector<uint8_t> canvas(4, 255);
    std::vector<uint8_t> edges = {0, 0, 0, 0};
    ScriptedRandom random({0, 1, 2});
    WaterPaint(black.data(), canvas.data(), edges.data(), 1, 1, 0, random);
    EXPECT_EQ(canvas[0], 64);
    EXPECT_EQ(canvas[3], 255);
}

TEST(PaintPass, RefusesBadArguments) {
    std::vector<uint8_t> source(16, 0);
    std::vector<uint8_t> canvas(16, 255);
    std::vector<uint8_t> edges(16, 0);
    ScriptedRandom random;
    OilPaint(source.data(), canvas.data(), edges.data(), 0, 1, 0, random);
    WaxPaint(source.data(), canvas.data(), nullptr, 1, 1, 0, random);
    WaterPaint(source.data(), canvas.data(), edges.data(), 1, -2, 0, random);
    EXPECT_EQ(random.Draws(), 0u);
    EXPECT_EQ(canvas, std::vector<uint8_t>(16, 255));
}

TEST(PaintRandom, SeedFixesTheSequenceAndLowBitsSpread) {
    SeededPaintRandom a(7);
    SeededPaintRandom b(7);
    SeededPaintRandom c(8);
    int lowBits[4] = {};
    int differences = 0;
    for (int i = 0; i < 4000; ++i) {
        const uint32_t value = a.Next();
        ASSERT_EQ(value, b.Next());
        differences += value != c.Next();
        ++lowBits[value & 3u];
    }
    EXPECT_GT(differences, 3990);
    for (int count : lowBits) {
        EXPECT_GT(count, 850);
        EXPECT_LT(count, 1150);
    }
}
