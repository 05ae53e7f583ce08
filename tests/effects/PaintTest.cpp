#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "effects/BuildEdgeMap.h"
#include "effects/EdgeMap.h"
#include "effects/OilPaint.h"
#include "effects/PaintEffect.h"
#include "effects/PaintPass.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/DibImage.h"

namespace {

using Bytes = std::vector<uint8_t>;
using PassFunction = void (*)(const uint8_t*, uint8_t*, uint8_t*, int32_t, int32_t, int16_t,
                              PaintRandom&);
const PassFunction kEffects[] = {OilPaint, WaterPaint, WaxPaint};

// Hands out scripted values, then a fallback, and counts the draws.
struct ScriptedRandom final : PaintRandom {
    explicit ScriptedRandom(std::vector<uint32_t> script, uint32_t rest = 0)
        : values(std::move(script)), fallback(rest) {}
    uint32_t Next() override {
        const uint32_t value = draws < values.size() ? values[draws] : fallback;
        ++draws;
        return value;
    }
    std::vector<uint32_t> values;
    uint32_t fallback;
    size_t draws = 0;
};

// The edge map of a 24-bit picture, as rows of width values.
std::vector<std::vector<int>> EdgesOf(const Bytes& source, int32_t width, int32_t height,
                                      Bytes* canvas = nullptr) {
    Bytes destination(source.size(), 0x11);
    Bytes edges(EdgeMapStride(width) * height, 0x22);
    BuildEdgeMap(source.data(), destination.data(), edges.data(), width, height);
    std::vector<std::vector<int>> rows;
    for (auto row = edges.begin(); row != edges.end(); row += EdgeMapStride(width)) {
        rows.emplace_back(row, row + width);
    }
    if (canvas != nullptr) {
        *canvas = destination;
    }
    return rows;
}

// Canvas greys per dab position in visiting order: left column (previous,
// current, next row), middle column, right column.
using Dab = std::array<int, 9>;

// A 3 x 3 grey canvas of old and a picture whose centre alone, grey colour
// with edge value 100, lies in the window of pass 96.
Dab LayDab(PassFunction pass, uint8_t colour, uint8_t old, PaintRandom& random) {
    Bytes source(12 * 3, 0);
    std::fill_n(&source[15], 3, colour);
    Bytes canvas(12 * 3, old);
    Bytes edges(4 * 3, 200);
    edges[5] = 100;
    pass(source.data(), canvas.data(), edges.data(), 3, 3, 96, random);
    Dab dab;
    for (int position = 0; position < 9; ++position) {
        const uint8_t* pixel = &canvas[position % 3 * 12 + position / 3 * 3];
        EXPECT_TRUE(pixel[0] == pixel[1] && pixel[1] == pixel[2]);
        dab[position] = pixel[0];
    }
    return dab;
}

// Colour 40 on canvas 201 (which tells rounded mixes from plain ones), every
// draw r.
Dab DabWithDraw(PassFunction pass, uint32_t r) {
    ScriptedRandom random({}, r);
    const Dab dab = LayDab(pass, 40, 201, random);
    EXPECT_EQ(random.draws, 9u);
    return dab;
}

}  // namespace

// A map has a level for every pixel, rows padded like 8-bit picture rows,
// all zero until it is built; a size no picture can have gives no map.
TEST(EdgeMap, NewMapsAreZeroAndSizedForThePicture) {
    for (auto [width, height] : {std::pair{176, 180}, {23, 17}, {1, 1}}) {
        EdgeMap map = NewEdgeMap(width, height);
        ASSERT_TRUE(map) << width;
        EXPECT_EQ(map.width, width);
        EXPECT_EQ(map.height, height);
        const size_t bytes = static_cast<size_t>(EdgeMapStride(width)) * height;
        EXPECT_EQ(Bytes(map.levels.get(), map.levels.get() + bytes), Bytes(bytes, 0)) << width;
    }
    for (auto [width, height] : {std::pair{0, 10}, {10, -1}, {kMaxPictureSide + 1, 1}}) {
        const EdgeMap map = NewEdgeMap(width, height);
        EXPECT_FALSE(map);
        EXPECT_EQ(map.width, 0);
        EXPECT_EQ(map.height, 0);
    }
}

TEST(BuildEdgeMap, FlatPictureIsFlatOnAWhiteCanvas) {
    Bytes source(DibRowStride(7, 24) * 5);  // rows of 21 bytes and 3 of padding
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<uint8_t>(30 + i % 3 * 90);
    }
    Bytes canvas;
    EXPECT_EQ(EdgesOf(source, 7, 5, &canvas), std::vector(5, std::vector(7, 255)));
    EXPECT_EQ(canvas, Bytes(source.size(), 255));  // padding included
    EXPECT_EQ(EdgesOf({1, 2, 3, 0}, 1, 1), std::vector(1, std::vector(1, 255)));
}

// Columns 0 and 1 black, 2 and 3 of one colour: beside the step the column
// sum sees three pixels of each channel, 3 x (10 + 20 + 30) = 180. The outer
// columns stand in for their own missing neighbours and see no change.
TEST(BuildEdgeMap, ColumnStepSumsTheChannels) {
    Bytes source(DibRowStride(4, 24) * 3, 0);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = i % 12 >= 6 ? static_cast<uint8_t>(i % 3 * 10 + 10) : 0;
    }
    EXPECT_EQ(EdgesOf(source, 4, 3), std::vector(3, std::vector{255, 75, 75, 255}));
}

// The directions come in mirror pairs (rows, columns, the two diagonals) and
// the stand-in rows and columns are alike on both sides, so a mirrored
// picture gives the mirrored map.
TEST(BuildEdgeMap, MirroredPictureGivesMirroredMap) {
    const int32_t width = 9;
    const int32_t height = 6;
    const int32_t stride = DibRowStride(width, 24);
    Bytes source(stride * height), leftRight(source.size()), upDown(source.size());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t i = 0; i < width * 3; ++i) {
            const uint8_t value = static_cast<uint8_t>((y * 31 + i * 7) * 13 % 61);
            source[y * stride + i] = value;
            leftRight[y * stride + (width - 1 - i / 3) * 3 + i % 3] = value;
            upDown[(height - 1 - y) * stride + i] = value;
        }
    }
    const auto plain = EdgesOf(source, width, height);
    const auto mirroredX = EdgesOf(leftRight, width, height);
    const auto mirroredY = EdgesOf(upDown, width, height);
    int32_t graded = 0;
    for (int32_t y = 0; y < height; ++y) {
        EXPECT_EQ(std::vector(mirroredX[y].rbegin(), mirroredX[y].rend()), plain[y]);
        EXPECT_EQ(mirroredY[height - 1 - y], plain[y]);
        graded += static_cast<int32_t>(std::count_if(plain[y].begin(), plain[y].end(),
                                                     [](int v) { return v != 0 && v != 255; }));
    }
    EXPECT_GT(graded, 20);  // neither flat nor saturated
}

// Edge values 0 .. 255 once each: every pass paints exactly its window (a
// boundary value such as 32 in the earlier pass), so each pixel is painted
// once; a dab draws 6 values in the first and last columns, 9 elsewhere.
TEST(PaintPass, WindowsPaintEveryValueOnce) {
    const Bytes source(DibRowStride(16, 24) * 16, 90);
    for (PassFunction pass : kEffects) {
        Bytes canvas(source.size(), 255);
        Bytes edges(256);
        for (int value = 0; value < 256; ++value) {
            edges[value] = static_cast<uint8_t>(value);
        }
        for (int32_t n = 0; n < kPaintPassCount; ++n) {
            const int low = n == 0 ? 0 : PaintPassThreshold(n) + 1;
            const Bytes before = edges;
            ScriptedRandom random({});
            pass(source.data(), canvas.data(), edges.data(), 16, 16, PaintPassThreshold(n), random);
            size_t draws = 0;
            for (int value = 0; value < 256; ++value) {
                const bool painted = value >= low && value <= PaintPassThreshold(n) + 32;
                ASSERT_EQ(edges[value], painted ? 0 : before[value]) << n << ": " << value;
                draws += painted ? (value % 16 == 0 || value % 16 == 15 ? 6 : 9) : 0;
            }
            EXPECT_EQ(random.draws, draws) << "pass " << n;
        }
    }
}

// Colour 40 on canvas 201, every draw r. Oil: odd draws cover, even ones mix
// a quarter in, (3 x 201 + 40) >> 2 = 160, and the centre always takes the
// colour. Water: keep 201, cover 40, rounded mixes (half 121, quarter 161,
// eighth 181). Wax: keep 201, cover 40, plain mixes (half 120, quarter 160).
TEST(PaintPass, DabOutcomes) {
    const Dab all40 = {40, 40, 40, 40, 40, 40, 40, 40, 40};
    const Dab oilEven = {160, 160, 160, 160, 40, 160, 160, 160, 160};
    const Dab waterThree = {181, 161, 181, 201, 40, 161, 181, 161, 181};
    const struct {
        int effect;  // oil, water, wax
        uint32_t draw;
        Dab dab;
    } cases[] = {
        // clang-format off
        {0, 0, oilEven}, {0, 2, oilEven}, {0, 0xFFFFFFFFu, all40},
        {1, 0, {201, 201, 201, 201, 40, 201, 201, 201, 201}},
        {1, 1, {121, 40, 121, 40, 121, 40, 121, 40, 121}},
        {1, 2, {161, 121, 161, 121, 121, 121, 161, 121, 161}},
        // r & 3 = 3, r mod 3 = 0 (also for 2^32 - 1, taken as unsigned); then
        // r & 3 = 0, r mod 3 = 2.
        {1, 3, waterThree}, {1, 0xFFFFFFFFu, waterThree},
        {1, 0x80000000u, {201, 201, 201, 121, 121, 201, 201, 201, 201}},
        {2, 0, {201, 201, 201, 201, 201, 201, 201, 201, 201}}, {2, 1, all40},
        {2, 2, {120, 120, 120, 120, 120, 120, 160, 120, 120}},
        {2, 3, {160, 160, 160, 201, 201, 160, 160, 160, 160}},
        {2, 5, {40, 40, 40, 120, 120, 40, 40, 40, 40}},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DabWithDraw(kEffects[c.effect], c.draw), c.dab) << c.effect << ", " << c.draw;
    }
    // On a dark canvas a light wax dab's mixes keep the canvas; only a cover
    // lightens.
    for (uint32_t r : {2u, 3u, 6u}) {
        ScriptedRandom random({}, r);
        EXPECT_EQ(LayDab(WaxPaint, 200, 40, random), all40);
    }
}

// A single 1 among zeros moves only the position drawn at that index off its
// r = 0 outcome: the draws follow the visiting order.
TEST(PaintPass, DrawsFollowTheVisitingOrder) {
    const Dab withZero = DabWithDraw(WaterPaint, 0);
    const Dab withOne = DabWithDraw(WaterPaint, 1);
    for (size_t index = 0; index < 9; ++index) {
        std::vector<uint32_t> draws(9, 0);
        draws[index] = 1;
        ScriptedRandom random(draws);
        Dab expected = withZero;
        expected[index] = withOne[index];
        EXPECT_EQ(LayDab(WaterPaint, 40, 201, random), expected) << index;
    }
}

// Oil and wax push the dab colour away from mid-grey by a strength that
// falls with the edge value; water takes the pixel as it is. A draw of 1
// covers the centre in oil and wax, 0 in water.
TEST(PaintPass, DabColourPush) {
    const struct {
        PassFunction pass;
        uint8_t edge;
        uint32_t draw;
        std::array<uint8_t, 3> colour;  // the dab colour for (50, 200, 128)
    } cases[] = {
        {OilPaint, 10, 1, {44, 206, 128}},   // k = 3
        {OilPaint, 40, 1, {47, 203, 128}},   // k = 4
        {OilPaint, 230, 1, {50, 200, 128}},  // k = 10
        {WaxPaint, 40, 1, {49, 201, 128}},   // k = 5
        {WaterPaint, 10, 0, {50, 200, 128}},
    };
    for (const auto& c : cases) {
        const Bytes source = {0, 0, 0, 50, 200, 128, 0, 0};  // 2 x 1
        Bytes canvas(8, 255);
        Bytes edges = {static_cast<uint8_t>(c.edge < 128 ? 255 : 0), c.edge, 0, 0};
        ScriptedRandom random({}, c.draw);
        c.pass(source.data(), canvas.data(), edges.data(), 2, 1, c.edge / 32 * 32, random);
        EXPECT_EQ((std::array{canvas[3], canvas[4], canvas[5]}), c.colour) << int(c.edge);
    }
    EXPECT_EQ(ContrastPush(200, 0), 255);  // strength 0 moves the whole way
    EXPECT_EQ(ContrastPush(50, 100), 50);  // 8 and more move nothing
}

// No value is drawn for a missing neighbour column. Water, first draw 1 then
// zeros, painting row 1 of a 2 x 3 picture: from column 0 the first value
// goes to the middle column's previous row (a cover by thirds: 0), from
// column 1 to the left column's previous row (a corner: half, 128); both
// are the pixel at row 0, column 0.
TEST(PaintPass, EdgeColumnsDrawOnlyForExistingNeighbours) {
    for (int32_t x : {0, 1}) {
        const Bytes source(8 * 3, 0);
        Bytes canvas(source.size(), 255);
        Bytes edges(4 * 3, 200);
        edges[4 + x] = 10;
        ScriptedRandom random({1});
        WaterPaint(source.data(), canvas.data(), edges.data(), 2, 3, 0, random);
        EXPECT_EQ(random.draws, 6u);
        EXPECT_EQ(canvas[0], x == 0 ? 0 : 128) << "column " << x;
        EXPECT_EQ(canvas[8 + x * 3], 0) << "centre of column " << x;
        EXPECT_EQ(canvas[6], 255);  // padding
    }
}

// The first row stands in for its previous row and the last row for its
// next one: two visits act on the same pixel, the later on the result of the
// earlier. Water, black on white, one column: half (128), then half again
// (64) on the painted row; the other row stays white.
TEST(PaintPass, EdgeRowsVisitThemselvesTwice) {
    const struct {
        int32_t height, row;
        std::vector<uint32_t> draws;  // previous row, centre, next row
    } cases[] = {{1, 0, {0, 1, 2}}, {2, 0, {2, 1, 0}}, {2, 1, {0, 1, 2}}};
    for (const auto& c : cases) {
        const Bytes black(4 * c.height, 0);
        Bytes canvas(4 * c.height, 255);
        Bytes edges(4 * c.height, 200);
        edges[4 * c.row] = 0;
        ScriptedRandom random(c.draws);
        WaterPaint(black.data(), canvas.data(), edges.data(), 1, c.height, 0, random);
        for (int32_t y = 0; y < c.height; ++y) {
            EXPECT_EQ(canvas[4 * y], y == c.row ? 64 : 255) << c.height << " " << c.row;
        }
    }
}

// At scale s a paint effect lays each dab s times as large: on a picture
// whose every s x s cell is one colour, it paints exactly the picture the
// effect paints at scale 1 on the picture of the cells, each pixel s x s.
// The generator's state hands the same values to a generator made from it.
TEST(PaintEffect, AtScaleSItPaintsTheCellPictureSTimesAsLarge) {
    constexpr int32_t kWidth = 23;
    constexpr int32_t kHeight = 17;
    constexpr int32_t kScale = 3;
    Bytes small(static_cast<size_t>(DibRowStride(kWidth, 24)) * kHeight);
    uint32_t seed = 99;
    for (uint8_t& byte : small) {
        seed = seed * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(seed >> 24);
    }
    const int32_t largeStride = DibRowStride(kWidth * kScale, 24);
    Bytes large(static_cast<size_t>(largeStride) * kHeight * kScale);
    const auto cellOf = [&](int32_t x, int32_t y) {
        return static_cast<size_t>((y / kScale) * DibRowStride(kWidth, 24) + (x / kScale) * 3);
    };
    for (int32_t y = 0; y < kHeight * kScale; ++y) {
        for (int32_t x = 0; x < kWidth * kScale; ++x) {
            for (int32_t c = 0; c < 3; ++c) {
                large[static_cast<size_t>(y * largeStride + x * 3 + c)] = small[cellOf(x, y) + c];
            }
        }
    }
    SeededPaintRandom drawn(11);
    drawn.Next();
    SeededPaintRandom copy = SeededPaintRandom::FromState(drawn.State());
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(copy.Next(), drawn.Next()) << i;
    }
    for (const EffectKind kind : {EFFECT_OIL, EFFECT_WATER, EFFECT_WAX}) {
        SCOPED_TRACE(kind);
        const auto paint = [&](const Bytes& source, int32_t scale) {
            Bytes painted(source.size());
            EdgeMap edges = NewEdgeMap(kWidth, kHeight);
            const PaintCanvas canvas{source.data(), painted.data(), edges.levels.get(),
                                     kWidth,        kHeight,        scale};
            EXPECT_TRUE(PreparePaint(canvas));
            SeededPaintRandom first(5);
            first.Next();
            SeededPaintRandom random = SeededPaintRandom::FromState(first.State());
            for (int32_t pass = 0; pass < kPaintPassCount; ++pass) {
                PaintEffectPass(kind, canvas, PaintPassThreshold(pass), random);
            }
            return painted;
        };
        const Bytes paintedSmall = paint(small, 1);
        const Bytes paintedLarge = paint(large, kScale);
        for (int32_t y = 0; y < kHeight * kScale; ++y) {
            for (int32_t x = 0; x < kWidth * kScale; ++x) {
                for (int32_t c = 0; c < 3; ++c) {
                    ASSERT_EQ(paintedLarge[static_cast<size_t>(y * largeStride + x * 3 + c)],
                              paintedSmall[cellOf(x, y) + c])
                        << x << "," << y;
                }
            }
        }
    }
}
