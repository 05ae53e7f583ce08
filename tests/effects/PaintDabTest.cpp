// The dab of each effect, laid on a 3 x 3 canvas from its centre pixel only.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "ScriptedRandom.h"
#include "effects/OilPaint.h"
#include "effects/PaintPass.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/DibImage.h"

namespace {

using PassFunction = void (*)(const uint8_t*, uint8_t*, uint8_t*, int32_t, int32_t, int16_t,
                              PaintRandom&);

// Canvas grey per dab position, in visiting order: left column (previous,
// current, next row), middle column, right column.
using Dab = std::array<int, 9>;

constexpr int32_t kStride = 12;  // DibRowStride(3, 24)

// A grey 3 x 3 picture whose centre has edge value edge, painted on a grey
// canvas. Every other pixel has edge value others, which must lie outside
// the window of the pass.
struct DabScene {
    std::vector<uint8_t> source = std::vector<uint8_t>(kStride * 3, 0);
    std::vector<uint8_t> canvas = std::vector<uint8_t>(kStride * 3, 0);
    std::vector<uint8_t> edges = std::vector<uint8_t>(4 * 3, 0);

    DabScene(uint8_t centre, uint8_t old, uint8_t edge, uint8_t others = 0) {
        std::fill(edges.begin(), edges.end(), others);
        std::fill_n(&source[kStride + 3], 3, centre);
        for (int32_t y = 0; y < 3; ++y) {
            std::fill_n(&canvas[y * kStride], 9, old);
        }
        edges[4 + 1] = edge;
    }

    Dab Paint(PassFunction pass, int16_t threshold, PaintRandom& random) {
        pass(source.data(), canvas.data(), edges.data(), 3, 3, threshold, random);
        Dab dab;
        for (int32_t column = 0; column < 3; ++column) {
            for (int32_t row = 0; row < 3; ++row) {
                const uint8_t* pixel = &canvas[row * kStride + column * 3];
                EXPECT_TRUE(pixel[0] == pixel[1] && pixel[1] == pixel[2]) << "grey stays grey";
                dab[column * 3 + row] = pixel[0];
            }
        }
        return dab;
    }
};

// Lays one dab with every draw equal to r: centre colour 40, canvas 201
// (201 tells rounded mixes from plain ones), edge value 100.
Dab DabWithDraw(PassFunction pass, uint32_t r) {
    DabScene scene(40, 201, 100);
    ScriptedRandom random({}, r);
    const Dab dab = scene.Paint(pass, 96, random);
    EXPECT_EQ(random.Draws(), 9u);
    EXPECT_EQ(scene.edges[5], 0);
    return dab;
}

}  // namespace

// Outer positions: odd draws cover, even ones mix a quarter in without
// rounding, (3 x 201 + 40) >> 2 = 160. The centre always takes the colour.
TEST(OilPaint, DabOutcomes) {
    const Dab even = {160, 160, 160, 160, 40, 160, 160, 160, 160};
    const Dab odd = {40, 40, 40, 40, 40, 40, 40, 40, 40};
    EXPECT_EQ(DabWithDraw(OilPaint, 0), even);
    EXPECT_EQ(DabWithDraw(OilPaint, 1), odd);
    EXPECT_EQ(DabWithDraw(OilPaint, 2), even);
    EXPECT_EQ(DabWithDraw(OilPaint, 0xFFFFFFFFu), odd);
}

// keep 201, cover 40; rounded mixes: half 121, quarter 161, eighth 181.
TEST(WaterPaint, DabOutcomes) {
    EXPECT_EQ(DabWithDraw(WaterPaint, 0), (Dab{201, 201, 201, 201, 40, 201, 201, 201, 201}));
    EXPECT_EQ(DabWithDraw(WaterPaint, 1), (Dab{121, 40, 121, 40, 121, 40, 121, 40, 121}));
    EXPECT_EQ(DabWithDraw(WaterPaint, 2), (Dab{161, 121, 161, 121, 121, 121, 161, 121, 161}));
    // r & 3 = 3 but r mod 3 = 0: above and centre go by thirds.
    EXPECT_EQ(DabWithDraw(WaterPaint, 3), (Dab{181, 161, 181, 201, 40, 161, 181, 161, 181}));
    // r & 3 = 1, r mod 3 = 2.
    EXPECT_EQ(DabWithDraw(WaterPaint, 5), (Dab{121, 40, 121, 121, 121, 40, 121, 40, 121}));
    // Values with the top bit set are unsigned: 2^32 - 1 has r & 3 = 3 and
    // r mod 3 = 0, 2^31 has r & 3 = 0 and r mod 3 = 2.
    EXPECT_EQ(DabWithDraw(WaterPaint, 0xFFFFFFFFu),
              (Dab{181, 161, 181, 201, 40, 161, 181, 161, 181}));
    EXPECT_EQ(DabWithDraw(WaterPaint, 0x80000000u),
              (Dab{201, 201, 201, 121, 121, 201, 201, 201, 201}));
}

// keep 201, cover 40; plain mixes: half 120, quarter 160.
TEST(WaxPaint, DabOutcomes) {
    EXPECT_EQ(DabWithDraw(WaxPaint, 0), (Dab{201, 201, 201, 201, 201, 201, 201, 201, 201}));
    EXPECT_EQ(DabWithDraw(WaxPaint, 1), (Dab{40, 40, 40, 40, 40, 40, 40, 40, 40}));
    EXPECT_EQ(DabWithDraw(WaxPaint, 2), (Dab{120, 120, 120, 120, 120, 120, 160, 120, 120}));
    EXPECT_EQ(DabWithDraw(WaxPaint, 3), (Dab{160, 160, 160, 201, 201, 160, 160, 160, 160}));
    EXPECT_EQ(DabWithDraw(WaxPaint, 5), (Dab{40, 40, 40, 120, 120, 40, 40, 40, 40}));
}

// A light dab on a dark canvas: mixes keep the darker canvas, only a cover
// lightens.
TEST(WaxPaint, MixesNeverLighten) {
    for (uint32_t r : {2u, 3u, 6u}) {
        DabScene scene(200, 40, 100);
        ScriptedRandom random({}, r);
        const Dab dab = scene.Paint(WaxPaint, 96, random);
        for (int position = 0; position < 9; ++position) {
            EXPECT_EQ(dab[position], 40) << "r " << r << " position " << position;
        }
    }
    DabScene scene(200, 40, 100);
    ScriptedRandom random({}, 1);
    EXPECT_EQ(scene.Paint(WaxPaint, 96, random)[4], 200);
}

// One value 1 among zeros: only the position drawn at that index leaves
// its r = 0 outcome, so the draws follow the visiting order exactly.
TEST(PaintPass, DrawsFollowTheVisitingOrder) {
    const Dab withZero = {201, 201, 201, 201, 40, 201, 201, 201, 201};
    const Dab withOne = {121, 40, 121, 40, 121, 40, 121, 40, 121};
    for (int index = 0; index < 9; ++index) {
        std::vector<uint32_t> draws(9, 0);
        draws[index] = 1;
        DabScene scene(40, 201, 100);
        ScriptedRandom random(draws);
        Dab expected = withZero;
        expected[index] = withOne[index];
        EXPECT_EQ(scene.Paint(WaterPaint, 96, random), expected) << "index " << index;
    }
}

// The dab colour of oil and wax is pushed away from mid-grey, the strength
// depending on the edge value; water uses the pixel as it is.
TEST(PaintPass, DabColourPush) {
    struct Case {
        PassFunction pass;
        uint8_t edge;
        int16_t threshold;
        uint32_t draw;             // one that covers the centre
        uint8_t blue, green, red;  // expected dab colour for (50, 200, 128)
    };
    const Case cases[] = {
        {OilPaint, 10, 0, 2, 44, 206, 128},     // k = 3
        {OilPaint, 40, 32, 2, 47, 203, 128},    // k = 4
        {OilPaint, 230, 224, 2, 50, 200, 128},  // k = 10
        {WaxPaint, 10, 0, 1, 44, 206, 128},     // k = 3
        {WaxPaint, 40, 32, 1, 49, 201, 128},    // k = 5
        {WaxPaint, 100, 96, 1, 50, 200, 128},   // k = 9
        {WaterPaint, 10, 0, 0, 50, 200, 128},
    };
    for (const Case& c : cases) {
        DabScene scene(0, 255, c.edge, c.threshold == 0 ? 200 : 0);
        scene.source[kStride + 3] = 50;
        scene.source[kStride + 4] = 200;
        scene.source[kStride + 5] = 128;
        ScriptedRandom random({}, c.draw);
        c.pass(scene.source.data(), scene.canvas.data(), scene.edges.data(), 3, 3, c.threshold,
               random);
        const uint8_t* centre = &scene.canvas[kStride + 3];
        EXPECT_EQ(centre[0], c.blue) << "edge " << int(c.edge);
        EXPECT_EQ(centre[1], c.green) << "edge " << int(c.edge);
        EXPECT_EQ(centre[2], c.red) << "edge " << int(c.edge);
    }
}

TEST(PaintPass, ContrastPushExamples) {
    EXPECT_EQ(ContrastPush(128, 3), 128);
    EXPECT_EQ(ContrastPush(0, 3), 0);
    EXPECT_EQ(ContrastPush(255, 3), 255);
    EXPECT_EQ(ContrastPush(200, 3), 206);
    EXPECT_EQ(ContrastPush(50, 3), 44);
    EXPECT_EQ(ContrastPush(129, 3), 144);
    EXPECT_EQ(ContrastPush(127, 3), 112);
    EXPECT_EQ(ContrastPush(200, 10), 200);
    EXPECT_EQ(ContrastPush(50, 10), 50);
    EXPECT_EQ(ContrastPush(1, 18), 1);
    EXPECT_EQ(ContrastPush(129, 7), 129);
    EXPECT_EQ(ContrastPush(0, 0), 0);
    EXPECT_EQ(ContrastPush(200, 0), 255);  // the whole distance
    EXPECT_EQ(ContrastPush(200, 100), 200);
}
