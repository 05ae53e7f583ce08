#include "adjust/RotateHue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

Rgb Rotate(Rgb colour, int angle) {
    int16_t blue = static_cast<int16_t>(colour.blue);
    int16_t green = static_cast<int16_t>(colour.green);
    int16_t red = static_cast<int16_t>(colour.red);
    RotateHue(blue, green, red, static_cast<int16_t>(angle));
    return {red, green, blue};
}

::testing::AssertionResult Same(Rgb actual, Rgb expected) {
    if (std::tie(actual.red, actual.green, actual.blue) ==
        std::tie(expected.red, expected.green, expected.blue)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "got (" << actual.red << ", " << actual.green << ", "
                                         << actual.blue << "), expected (" << expected.red << ", "
                                         << expected.green << ", " << expected.blue << ")";
}

}  // namespace

TEST(RotateHue, TurnsKnownColours) {
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, 120), {0, 255, 0}));
    EXPECT_TRUE(Same(Rotate({0, 0, 255}, 180), {255, 255, 0}));
    // Level 10 and -10: the sector fraction is one float step.
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, 18), {255, 77, 0}));
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, 343), {255, 0, 73}));
    EXPECT_TRUE(Same(Rotate({30, 20, 10}, 180), {10, 20, 30}));
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, 181), {0, 251, 255}));
}

TEST(RotateHue, GreysNeverChange) {
    for (int level = 0; level < 256; level += 5) {
        for (int angle : {1, 90, 180, 359}) {
            ASSERT_TRUE(Same(Rotate({level, level, level}, angle), {level, level, level}));
        }
    }
}

// The largest and the smallest channel survive any turn exactly; only the
// middle one moves. A full turn back comes near the start: whole-degree hues
// lose at most a few levels on the middle channel.
TEST(RotateHue, KeepsValueAndSaturationAndTurnsBack) {
    for (int red = 0; red < 256; red += 15) {
        for (int green = 0; green < 256; green += 17) {
            for (int blue = 0; blue < 256; blue += 51) {
                for (int angle = 1; angle < 360; angle += 29) {
                    const Rgb turned = Rotate({red, green, blue}, angle);
                    ASSERT_EQ(std::max({turned.red, turned.green, turned.blue}),
                              std::max({red, green, blue}));
                    ASSERT_EQ(std::min({turned.red, turned.green, turned.blue}),
                              std::min({red, green, blue}));
                    const Rgb back = Rotate(turned, 360 - angle);
                    ASSERT_LE(std::abs(back.red - red), 10) << red << " " << green << " " << blue;
                    ASSERT_LE(std::abs(back.green - green), 10);
                    ASSERT_LE(std::abs(back.blue - blue), 10);
                }
            }
        }
    }
}

TEST(RotateHue, AnglesOutsideOneTurnWrap) {
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, 480), {0, 255, 0}));
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, -240), {0, 255, 0}));
    EXPECT_TRUE(Same(Rotate({255, 0, 0}, -32768), Rotate({255, 0, 0}, 352)));
    // Channels out of range are clamped rather than dividing by a zero value.
    EXPECT_TRUE(Same(Rotate({-20, -5, 0}, 90), {0, 0, 0}));
    EXPECT_TRUE(Same(Rotate({300, 0, 0}, 120), {0, 255, 0}));
}

// Every angle over a grid of colours, pinned. The sector fraction is one
// single-precision multiply and one subtract, each rounded on its own; a
// fused multiply-add or a double-precision fraction moves some middle
// channels by one. The value was checked against a separate model of the
// same steps.
TEST(RotateHue, AllAnglesArePinned) {
    uint32_t hash = 2166136261u;
    for (int angle = 0; angle < 360; ++angle) {
        for (int red = 0; red < 256; red += 17) {
            for (int green = 0; green < 256; green += 17) {
                for (int blue = 0; blue < 256; blue += 17) {
                    const Rgb turned = Rotate({red, green, blue}, angle);
                    for (int channel : {turned.red, turned.green, turned.blue}) {
                        hash = (hash ^ static_cast<uint32_t>(channel)) * 16777619u;
                    }
                }
            }
        }
    }
    EXPECT_EQ(hash, 0x1e82f43bu);
}
