// The steps of the BMP reader: the header record, the colour table and the
// expansion of one stored row to 24-bit pixels. BmpReader strings them
// together; they are open for tests.
// https://learn.microsoft.com/en-us/windows/win32/gdi/bitmap-storage
//
// Contract: ReadBmpHeader returns false for every file the reader does not
// decode (see BmpReader.h) and fills the record only on success. Every size in
// a filled record is validated: sides 1 .. kMaxPictureSide, a row of at most
// kMaxPictureSide x 32 bits, a colour table of at most 256 entries lying
// wholly inside the file, and the first row at or after the end of the table.
#pragma once

#include <cstdint>
#include <cstdio>

// Info header sizes the reader accepts: the 12-byte core header (16-bit
// sides, 3-byte colour entries), the 40-byte BITMAPINFOHEADER, and the
// 64-byte second-generation core header, whose first 40 bytes match it.
constexpr uint32_t kBmpCoreHeaderBytes = 12;
constexpr uint32_t kBmpInfoHeaderBytes = 40;
constexpr uint32_t kBmpCore2HeaderBytes = 64;
constexpr int32_t kBmpFileHeaderBytes = 14;

// Compression values of the info header.
constexpr uint32_t kBmpUncompressed = 0;
constexpr uint32_t kBmpBitFields = 3;

// One channel of a 16- or 32-bit pixel: the bits the mask selects, shifted
// down, and the largest value they can hold (0 for an empty mask).
struct BmpChannel {
    uint32_t mask;
    int32_t shift;
    uint32_t maximum;
};

struct BmpHeader {
    int32_t width;         // pixels per row, 1 .. kMaxPictureSide
    int32_t height;        // rows, 1 .. kMaxPictureSide, whatever the row order
    bool topDown;          // rows stored top row first (negative height in the file)
    int32_t bitsPerPixel;  // 1, 2, 4, 8, 16, 24 or 32
    BmpChannel red;        // 16 and 32 bits: where each channel lies
    BmpChannel green;
    BmpChannel blue;
    int64_t paletteOffset;      // where the colour table starts
    int32_t paletteEntries;     // 0 .. 256; 0 above 8 bits
    int32_t paletteEntryBytes;  // 3 after a core header, else 4
    int32_t rowBytes;           // one stored row with its padding to 4 bytes
    int64_t rowsOffset;         // where the first stored row starts
};

struct BmpColor {
    uint8_t blue;
    uint8_t green;
    uint8_t red;
};

// The colour table, always 256 entries long: entries the file does not give
// stay black, so an index past the file's table gives black.
struct BmpPalette {
    BmpColor entries[256];
};

// Reads and checks the file header, the info header and any bit-field masks
// from the start of the file, which holds fileSize bytes.
bool ReadBmpHeader(std::FILE* file, int64_t fileSize, BmpHeader* header);

// Reads the header's colour table into palette (entries past it black).
// False when the table cannot be read whole.
bool ReadBmpColorTable(std::FILE* file, const BmpHeader& header, BmpPalette* palette);

// Expands one stored row (header.rowBytes bytes) into header.width pixels of
// blue, green, red. Spare bits at the end of the row are ignored.
void ExpandBmpRow(const uint8_t* stored, const BmpHeader& header, const BmpPalette& palette,
                  uint8_t* row);
