#include "effects/BuildEdgeMap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "effects/EdgeMap.h"

namespace {

// The strength of the change around one pixel: for each of four directions
// (rows, columns and the two diagonals) the per-channel difference between
// the three neighbours on one side and the three on the other, summed as
// absolute values over blue, green and red. The largest direction counts.
int32_t EdgeStrength(const uint8_t* previous, const uint8_t* current, const uint8_t* next,
                     int32_t left, int32_t middle, int32_t right) {
    int32_t rows = 0;     // previous row against next row
    int32_t columns = 0;  // left column against right column
    int32_t falling = 0;  // corner of TL against corner of BR
    int32_t rising = 0;   // corner of TR against corner of BL
    for (int32_t c = 0; c < 3; ++c) {
        const int32_t tl = previous[left + c];
        const int32_t t = previous[middle + c];
        const int32_t tr = previous[right + c];
        const int32_t l = current[left + c];
        const int32_t r = current[right + c];
        const int32_t bl = next[left + c];
        const int32_t b = next[middle + c];
        const int32_t br = next[right + c];
        rows += std::abs((tl + t + tr) - (bl + b + br));
        columns += std::abs((tl + l + bl) - (tr + r + br));
        falling += std::abs((tl + t + l) - (r + br + b));
        rising += std::abs((t + tr + r) - (l + bl + b));
    }
    return std::max({rows, columns, falling, rising});
}

}  // namespace

EdgeMap NewEdgeMap(int32_t width, int32_t height) {
    EdgeMap map;
    if (!DibSizeValid(width, height)) {
        return map;
    }
    // At most 32767 x 32768 bytes: the product fits size_t, and nothrow new
    // keeps an allocation failure from throwing out of the core.
    const size_t bytes = static_cast<size_t>(EdgeMapStride(width)) * static_cast<size_t>(height);
    map.levels.reset(new (std::nothrow) uint8_t[bytes]());
    if (map.levels) {
        map.width = width;
        map.height = height;
    }
    return map;
}

void BuildEdgeMap(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
                  int32_t height) {
    if (source == nullptr || destination == nullptr || edgeMap == nullptr ||
        !DibSizeValid(width, height)) {
        return;
    }
    const size_t stride = static_cast<size_t>(DibRowStride(width, 24));
    const size_t edgeStride = static_cast<size_t>(EdgeMapStride(width));
    std::memset(destination, 255, stride * static_cast<size_t>(height));

    for (int32_t y = 0; y < height; ++y) {
        const int32_t above = y > 0 ? y - 1 : y;
        const int32_t below = y < height - 1 ? y + 1 : y;
        const uint8_t* previous = source + static_cast<size_t>(above) * stride;
        const uint8_t* current = source + static_cast<size_t>(y) * stride;
        const uint8_t* next = source + static_cast<size_t>(below) * stride;
        uint8_t* edges = edgeMap + static_cast<size_t>(y) * edgeStride;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t left = (x > 0 ? x - 1 : x) * 3;
            const int32_t right = (x < width - 1 ? x + 1 : x) * 3;
            const int32_t strength = EdgeStrength(previous, current, next, left, x * 3, right);
            edges[x] = static_cast<uint8_t>(255 - std::min(255, strength));
        }
    }
}
