#include <cstring>

#include "image/Resample.h"

// Shrinks (or copies) a row with a box filter: an error counter decides
// which source pixels close a group; each output pixel is the truncated
// average of its group.
static void ShrinkRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth,
                      int32_t targetWidth) {
    if (sourceWidth == targetWidth) {
        std::memcpy(target, source, static_cast<size_t>(sourceWidth) * 3);
        return;
    }
    int32_t counter = 0;
    int32_t count = 0;
    int32_t blue = 0;
    int32_t green = 0;
    int32_t red = 0;
    const uint8_t* const end = target + static_cast<ptrdiff_t>(targetWidth) * 3;
    for (int32_t i = 0; i < sourceWidth && target < end; ++i, source += 3) {
        counter += targetWidth;
        if (counter < sourceWidth) {
            blue += source[0];
            green += source[1];
            red += source[2];
            ++count;
            continue;
        }
        counter -= sourceWidth;
        const int32_t divisor = count + 1;
        target[0] = static_cast<uint8_t>((blue + source[0]) / divisor);
        target[1] = static_cast<uint8_t>((green + source[1]) / divisor);
        target[2] = static_cast<uint8_t>((red + source[2]) / divisor);
        target += 3;
        blue = green = red = 0;
        count = 0;
    }
}

// Enlarges a row: every source pixel is kept, and an error counter spreads
// the targetWidth - sourceWidth new pixels over the gaps between neighbours.
// The k pixels put into one gap step linearly from the left neighbour towards
// the right one, value + (j * d) / (k + 1) truncated toward zero, made with a
// running remainder per channel instead of a division.
static void EnlargeRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth,
                       int32_t targetWidth) {
    uint8_t* out = target;
    const uint8_t* const end = target + static_cast<ptrdiff_t>(targetWidth) * 3;
    const int32_t gaps = sourceWidth - 1;
    const int32_t added = targetWidth - sourceWidth;
    int32_t error = 0;
    for (int32_t i = 0; i < gaps && out < end; ++i) {
        const uint8_t* left = source + static_cast<ptrdiff_t>(i) * 3;
        std::memcpy(out, left, 3);
        out += 3;
        error += added;
        int32_t k = 0;
        while (error >= gaps) {
            error -= gaps;
            ++k;
        }
        if (k == 0) {
            continue;
        }
        const int32_t span = k + 1;
        int32_t value[3];
        int32_t delta[3];
        int32_t remainder[3] = {0, 0, 0};
        for (int32_t c = 0; c < 3; ++c) {
            value[c] = left[c];
            delta[c] = left[c + 3] - left[c];
        }
        for (int32_t j = 0; j < k && out < end; ++j, out += 3) {
            for (int32_t c = 0; c < 3; ++c) {
                remainder[c] += delta[c];
                while (remainder[c] >= span) {
                    ++value[c];
                    remainder[c] -= span;
                }
                while (remainder[c] <= -span) {
                    --value[c];
                    remainder[c] += span;
                }
                out[c] = static_cast<uint8_t>(value[c]);
            }
        }
    }
    // The walk ends one pixel short (and a one-pixel source at once): the
    // rest repeats the last source pixel.
    const uint8_t* last = source + static_cast<ptrdiff_t>(gaps) * 3;
    for (; out < end; out += 3) {
        std::memcpy(out, last, 3);
    }
}

void ResampleRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth, int32_t targetWidth) {
    if (source == nullptr || target == nullptr || !DibSizeValid(sourceWidth, targetWidth)) {
        return;
    }
    if (sourceWidth >= targetWidth) {
        ShrinkRow(source, target, sourceWidth, targetWidth);
    } else {
        EnlargeRow(source, target, sourceWidth, targetWidth);
    }
}
