#include "effects/BuildEdgeMap.h"

#include <gtest/gtest.h>

#include <vector>

#include "effects/EdgeMap.h"
#include "image/DibImage.h"
#include "support/TestSupport.h"

namespace {

struct Maps {
    std::vector<uint8_t> canvas;
    std::vector<uint8_t> edges;
};

Maps Build(const std::vector<uint8_t>& source, int32_t width, int32_t height) {
    Maps maps{std::vector<uint8_t>(source.size(), 0x11),
              std::vector<uint8_t>(EdgeMapStride(width) * height, 0x22)};
    BuildEdgeMap(source.data(), maps.canvas.data(), maps.edges.data(), width, height);
    return maps;
}

uint8_t EdgeAt(const Maps& maps, int32_t width, int32_t x, int32_t y) {
    return maps.edges[y * EdgeMapStride(width) + x];
}

std::vector<uint8_t> PatternBytes(int32_t width, int32_t height) {
    DibBlock image = MakePatternImage(width, height);
    const uint8_t* pixels = DibPixels(image.get());
    return std::vector<uint8_t>(pixels, pixels + image->header.biSizeImage);
}

}  // namespace

TEST(BuildEdgeMap, FlatPictureIsFlatOnAWhiteCanvas) {
    const int32_t width = 7;  // 21 bytes of pixels, 3 of padding; edge rows 8
    const int32_t height = 5;
    const int32_t stride = DibRowStride(width, 24);
    std::vector<uint8_t> source(stride * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            source[y * stride + x * 3] = 30;
            source[y * stride + x * 3 + 1] = 140;
            source[y * stride + x * 3 + 2] = 220;
        }
    }
    const Maps maps = Build(source, width, height);
    for (uint8_t byte : maps.canvas) {
        ASSERT_EQ(byte, 255);  // padding included
    }
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            ASSERT_EQ(EdgeAt(maps, width, x, y), 255);
        }
        EXPECT_EQ(EdgeAt(maps, width, 7, y), 0x22) << "edge-map padding written";
    }
}

// Columns 0 and 1 black, 2 and 3 a colour. Beside the step the column sum
// sees three pixels of each channel: 3 x (10 + 20 + 30) = 180. The outer
// columns stand in for their own missing neighbours and see no change.
TEST(BuildEdgeMap, ColumnStepSumsTheChannels) {
    const int32_t width = 4;
    const int32_t height = 3;
    const int32_t stride = DibRowStride(width, 24);
    std::vector<uint8_t> source(stride * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 2; x < 4; ++x) {
            source[y * stride + x * 3] = 10;
            source[y * stride + x * 3 + 1] = 20;
            source[y * stride + x * 3 + 2] = 30;
        }
    }
    const Maps maps = Build(source, width, height);
    for (int32_t y = 0; y < height; ++y) {
        EXPECT_EQ(EdgeAt(maps, width, 0, y), 255);
        EXPECT_EQ(EdgeAt(maps, width, 1, y), 255 - 180);
        EXPECT_EQ(EdgeAt(maps, width, 2, y), 255 - 180);
        EXPECT_EQ(EdgeAt(maps, width, 3, y), 255);
    }
}

// A one-column picture, rows 0 and 1 black, rows 2 and 3 grey 10: the row
// sum sees 3 x 10 per channel beside the step. Strong steps clamp to 0.
TEST(BuildEdgeMap, RowStepInOneColumn) {
    for (int grey : {10, 100}) {
        std::vector<uint8_t> source(4 * 4, 0);  // stride 4
        std::fill_n(&source[8], 3, static_cast<uint8_t>(grey));
        std::fill_n(&source[12], 3, static_cast<uint8_t>(grey));
        const Maps maps = Build(source, 1, 4);
        const int expected = grey == 10 ? 255 - 90 : 0;
        EXPECT_EQ(EdgeAt(maps, 1, 0, 0), 255);
        EXPECT_EQ(EdgeAt(maps, 1, 0, 1), expected);
        EXPECT_EQ(EdgeAt(maps, 1, 0, 2), expected);
        EXPECT_EQ(EdgeAt(maps, 1, 0, 3), 255);
    }
    const std::vector<uint8_t> single = {1, 2, 3, 0};
    EXPECT_EQ(Build(single, 1, 1).edges[0], 255);
}

// The four directions come in mirror pairs (rows, columns, the two
// diagonals) and the stand-ins are the same on both sides, so the edge map of
// a mirrored picture is the mirrored edge map.
TEST(BuildEdgeMap, MirroredPictureGivesMirroredMap) {
    const int32_t width = 9;
    const int32_t height = 6;
    const int32_t stride = DibRowStride(width, 24);
    std::vector<uint8_t> source = PatternBytes(width, height);
    for (size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<uint8_t>(source[i] * 13 % 97);  // sharper changes
    }
    std::vector<uint8_t> leftRight(source.size(), 0);
    std::vector<uint8_t> upDown(source.size(), 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            for (int32_t c = 0; c < 3; ++c) {
                const uint8_t value = source[y * stride + x * 3 + c];
                leftRight[y * stride + (width - 1 - x) * 3 + c] = value;
                upDown[(height - 1 - y) * stride + x * 3 + c] = value;
            }
        }
    }
    const Maps plain = Build(source, width, height);
    const Maps mirroredX = Build(leftRight, width, height);
    const Maps mirroredY = Build(upDown, width, height);
    int32_t edgesSeen = 0;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t value = EdgeAt(plain, width, x, y);
            edgesSeen += value != 255 && value != 0;
            ASSERT_EQ(EdgeAt(mirroredX, width, width - 1 - x, y), value) << x << "," << y;
            ASSERT_EQ(EdgeAt(mirroredY, width, x, height - 1 - y), value) << x << "," << y;
        }
    }
    EXPECT_GT(edgesSeen, 10);  // the picture is not trivially flat or saturated
}
