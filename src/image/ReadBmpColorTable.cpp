// Reads the colour table of a BMP file: blue, green, red and, after a 40- or
// 64-byte header, one reserved byte per entry.
#include <cstdio>
#include <cstring>

#include "image/BmpHeader.h"

bool ReadBmpColorTable(std::FILE* file, const BmpHeader& header, BmpPalette* palette) {
    std::memset(palette, 0, sizeof *palette);
    if (header.paletteEntries == 0) {
        return true;
    }
    // At most 256 entries of 4 bytes: ReadBmpHeader bounds the count.
    uint8_t bytes[256 * 4];
    const size_t count =
        static_cast<size_t>(header.paletteEntries) * static_cast<size_t>(header.paletteEntryBytes);
    if (header.paletteEntries > 256 || count > sizeof bytes ||
        fseeko(file, header.paletteOffset, SEEK_SET) != 0 ||
        std::fread(bytes, 1, count, file) != count) {
        return false;
    }
    for (int32_t i = 0; i < header.paletteEntries; ++i) {
        const uint8_t* entry = bytes + i * header.paletteEntryBytes;
        palette->entries[i] = BmpColor{entry[0], entry[1], entry[2]};
    }
    return true;
}
