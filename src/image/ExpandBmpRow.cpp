// Expands one stored BMP row to 24-bit blue, green, red pixels.
#include <cstdint>
#include <cstring>

#include "image/BmpHeader.h"

// The channel's bits scaled to the full 0..255 range, rounded, so that the
// largest value of any mask width is 255 (5-bit white is 255, not 248).
static uint8_t ScaleChannel(uint32_t pixel, const BmpChannel& channel) {
    if (channel.maximum == 0) {
        return 0;
    }
    const uint32_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.maximum == 255) {
        return static_cast<uint8_t>(value);
    }
    return static_cast<uint8_t>((uint64_t{value} * 255u + channel.maximum / 2) / channel.maximum);
}

static void WriteMasked(uint32_t pixel, const BmpHeader& header, uint8_t* out) {
    out[0] = ScaleChannel(pixel, header.blue);
    out[1] = ScaleChannel(pixel, header.green);
    out[2] = ScaleChannel(pixel, header.red);
}

void ExpandBmpRow(const uint8_t* stored, const BmpHeader& header, const BmpPalette& palette,
                  uint8_t* row) {
    const int32_t width = header.width;
    const int32_t bits = header.bitsPerPixel;
    switch (bits) {
        case 1:
        case 2:
        case 4: {
            // Several pixels per byte, the leftmost in the high bits.
            const uint32_t indexMask = (1u << bits) - 1u;
            for (int32_t x = 0; x < width; ++x) {
                const int32_t bit = x * bits;
                const int32_t shift = 8 - bits - (bit & 7);
                const uint32_t index = (stored[bit >> 3] >> shift) & indexMask;
                const BmpColor& color = palette.entries[index];
                row[3 * x] = color.blue;
                row[3 * x + 1] = color.green;
                row[3 * x + 2] = color.red;
            }
            break;
        }
        case 8:
            for (int32_t x = 0; x < width; ++x) {
                const BmpColor& color = palette.entries[stored[x]];
                row[3 * x] = color.blue;
                row[3 * x + 1] = color.green;
                row[3 * x + 2] = color.red;
            }
            break;
        case 16:
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t pixel = stored[2 * x] | static_cast<uint32_t>(stored[2 * x + 1])
                                                           << 8;
                WriteMasked(pixel, header, row + 3 * x);
            }
            break;
        case 24:
            std::memcpy(row, stored, static_cast<size_t>(width) * 3);
            break;
        case 32:
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* bytes = stored + 4 * x;
                const uint32_t pixel = bytes[0] | static_cast<uint32_t>(bytes[1]) << 8 |
                                       static_cast<uint32_t>(bytes[2]) << 16 |
                                       static_cast<uint32_t>(bytes[3]) << 24;
                WriteMasked(pixel, header, row + 3 * x);
            }
            break;
        default:
            // ReadBmpHeader admits no other depth; a row of nothing is black.
            std::memset(row, 0, static_cast<size_t>(width) * 3);
            break;
    }
}
