// Reads and checks the headers of a BMP file.
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapinfoheader
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapcoreheader
#include <cstdint>
#include <cstdio>

#include "image/BmpHeader.h"
#include "image/DibImage.h"

static uint16_t ReadU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

static uint32_t ReadU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

static bool ReadBytes(std::FILE* file, uint8_t* bytes, size_t count) {
    return std::fread(bytes, 1, count, file) == count;
}

static BmpChannel MakeChannel(uint32_t mask) {
    BmpChannel channel{mask, 0, 0};
    if (mask == 0) {
        return channel;
    }
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++channel.shift;
    }
    channel.maximum = mask;
    return channel;
}

static bool IsKnownDepth(int32_t bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

bool ReadBmpHeader(std::FILE* file, int64_t fileSize, BmpHeader* header) {
    // File header: "BM", file size (unused), two reserved words, bfOffBits.
    uint8_t fileHeader[kBmpFileHeaderBytes];
    if (!ReadBytes(file, fileHeader, sizeof fileHeader) || fileHeader[0] != 'B' ||
        fileHeader[1] != 'M') {
        return false;
    }
    const int64_t pixelDataOffset = ReadU32(fileHeader + 10);

    uint8_t info[kBmpCore2HeaderBytes];
    if (!ReadBytes(file, info, 4)) {
        return false;
    }
    const uint32_t infoSize = ReadU32(info);
    if (infoSize != kBmpCoreHeaderBytes && infoSize != kBmpInfoHeaderBytes &&
        infoSize != kBmpCore2HeaderBytes) {
        return false;
    }
    if (!ReadBytes(file, info + 4, infoSize - 4)) {
        return false;
    }

    // Planes (and, in the longer headers, the density fields) are not used.
    const bool core = infoSize == kBmpCoreHeaderBytes;
    int64_t width = 0;
    int64_t height = 0;
    int32_t bits = 0;
    uint32_t compression = kBmpUncompressed;
    uint32_t colorsUsed = 0;
    if (core) {
        width = ReadU16(info + 4);
        height = ReadU16(info + 6);
        bits = ReadU16(info + 10);
    } else {
        width = static_cast<int32_t>(ReadU32(info + 4));
        height = static_cast<int32_t>(ReadU32(info + 8));
        bits = ReadU16(info + 14);
        compression = ReadU32(info + 16);
        colorsUsed = ReadU32(info + 32);
    }

    // A negative height marks rows stored top row first. Computed in 64 bits,
    // so INT_MIN has no positive twin to hide behind.
    const bool topDown = height < 0;
    if (topDown) {
        height = -height;
    }
    if (width <= 0 || width > kMaxPictureSide || height <= 0 || height > kMaxPictureSide) {
        return false;
    }
    if (!IsKnownDepth(bits)) {
        return false;
    }

    // Only plain rows are read, and bit-field masks only where the 40-byte
    // header puts them. In the 64-byte header the value 3 means Huffman
    // coding, not bit fields; RLE, embedded JPEG or PNG data and alpha
    // bit fields are not decoded.
    const bool bitFields = compression == kBmpBitFields && infoSize == kBmpInfoHeaderBytes &&
                           (bits == 16 || bits == 32);
    if (compression != kBmpUncompressed && !bitFields) {
        return false;
    }

    uint32_t redMask = bits == 16 ? 0x7C00u : 0x00FF0000u;
    uint32_t greenMask = bits == 16 ? 0x03E0u : 0x0000FF00u;
    uint32_t blueMask = bits == 16 ? 0x001Fu : 0x000000FFu;
    int64_t maskBytes = 0;
    if (bitFields) {
        uint8_t masks[12];
        if (!ReadBytes(file, masks, sizeof masks)) {
            return false;
        }
        maskBytes = sizeof masks;
        // A 16-bit pixel has no bits above its 16th.
        const uint32_t pixelBits = bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        redMask = ReadU32(masks) & pixelBits;
        greenMask = ReadU32(masks + 4) & pixelBits;
        blueMask = ReadU32(masks + 8) & pixelBits;
    }

    // Colour table: colorsUsed entries when that is a count the depth can
    // index, else the full 2^bits. A core header has no such field; its table
    // ends where the pixel data starts when that lies inside the full table
    // on a whole entry, else it is full.
    const int64_t paletteOffset = kBmpFileHeaderBytes + infoSize + maskBytes;
    const int32_t entryBytes = core ? 3 : 4;
    int64_t entries = 0;
    if (bits <= 8) {
        const int64_t fullTable = int64_t{1} << bits;
        entries = fullTable;
        if (!core && colorsUsed >= 1 && colorsUsed <= fullTable) {
            entries = colorsUsed;
        }
        const int64_t gap = pixelDataOffset - paletteOffset;
        if (core && gap > 0 && gap < fullTable * entryBytes && gap % entryBytes == 0) {
            entries = gap / entryBytes;
        }
    }
    const int64_t paletteEnd = paletteOffset + entries * entryBytes;
    if (paletteEnd > fileSize) {
        return false;
    }

    // Rows start at the pixel-data offset when it does not point into the
    // headers or the table and all rows fit behind it; otherwise right after
    // the table.
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    const int64_t imageBytes = rowBytes * height;
    int64_t rowsOffset = paletteEnd;
    if (pixelDataOffset >= paletteEnd && pixelDataOffset + imageBytes <= fileSize) {
        rowsOffset = pixelDataOffset;
    }

    header->width = static_cast<int32_t>(width);
    header->height = static_cast<int32_t>(height);
    header->topDown = topDown;
    header->bitsPerPixel = bits;
    header->red = MakeChannel(redMask);
    header->green = MakeChannel(greenMask);
    header->blue = MakeChannel(blueMask);
    header->paletteOffset = paletteOffset;
    header->paletteEntries = static_cast<int32_t>(entries);
    header->paletteEntryBytes = entryBytes;
    header->rowBytes = static_cast<int32_t>(rowBytes);
    header->rowsOffset = rowsOffset;
    return true;
}
