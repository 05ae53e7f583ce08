// BmpReader: opens a BMP file, checks its headers and colour table, and hands
// out its rows bottom row first as 24-bit pixels. The stages follow the
// file's order: the file and info headers into a BmpHeader record, the colour
// table into a BmpPalette, then one stored row at a time expanded to blue,
// green, red.
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapinfoheader
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapcoreheader
//
// A short file: rows or parts of rows past the end of the file come out black
// and ReadRow returns false for them; the rows before them are exact.
#include "image/BmpReader.h"

#include <stdio.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "image/DibImage.h"
#include "image/LoadPicture.h"

namespace {

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

uint16_t ReadU16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t ReadU32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

bool ReadBytes(std::FILE* file, uint8_t* bytes, size_t count) {
    return std::fread(bytes, 1, count, file) == count;
}

BmpChannel MakeChannel(uint32_t mask) {
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

bool IsKnownDepth(int32_t bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

// Reads and checks the file header, the info header and any bit-field masks
// from the start of the file, which holds fileSize bytes. Fills the record
// only on success; every size in a filled record is validated: sides
// 1 .. kMaxPictureSide, a row of at most kMaxPictureSide x 32 bits, a colour
// table of at most 256 entries lying wholly inside the file, and the first
// row at or after the end of the table.
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
#ifdef FOTAKLE_FUZZING
    if (width * height > kFuzzingMaxPixels) {
        return false;
    }
#endif

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
    // The colours-used count declares a table, also where the depth indexes
    // fewer entries than it (only those are used) or none at all. A table
    // that cannot lie inside the file is not a long table but a broken
    // header, whatever the pixels look like.
    if (static_cast<int64_t>(colorsUsed) * entryBytes > fileSize - paletteOffset) {
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

// Reads the header's colour table into palette, entries past it black: blue,
// green, red and, after a 40- or 64-byte header, one reserved byte per entry.
// False when the table cannot be read whole.
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

// The channel's bits scaled to the full 0..255 range, rounded, so that the
// largest value of any mask width is 255 (5-bit white is 255, not 248).
uint8_t ScaleChannel(uint32_t pixel, const BmpChannel& channel) {
    if (channel.maximum == 0) {
        return 0;
    }
    const uint32_t value = (pixel & channel.mask) >> channel.shift;
    if (channel.maximum == 255) {
        return static_cast<uint8_t>(value);
    }
    return static_cast<uint8_t>((uint64_t{value} * 255u + channel.maximum / 2) / channel.maximum);
}

void WriteMasked(uint32_t pixel, const BmpHeader& header, uint8_t* out) {
    out[0] = ScaleChannel(pixel, header.blue);
    out[1] = ScaleChannel(pixel, header.green);
    out[2] = ScaleChannel(pixel, header.red);
}

// Expands one stored row (header.rowBytes bytes) into header.width pixels of
// blue, green, red. Spare bits at the end of the row are ignored.
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

}  // namespace

struct BmpReadState {
    std::FILE* file = nullptr;
    int64_t fileSize = 0;
    int64_t position = -1;  // where the file stands, to skip needless seeks
    BmpHeader header{};
    BmpPalette palette{};
    std::unique_ptr<uint8_t[]> stored;  // one stored row, header.rowBytes long
    int32_t storedRowsInFile = 0;       // stored rows of which at least a byte is in the file
    int32_t nextRow = 0;                // rows handed out (or skipped) so far
};

void BmpReader::StateFree::operator()(BmpReadState* state) const noexcept {
    delete state;
}

BmpReader::~BmpReader() {
    Close();
}

bool BmpReader::Open(const std::string& path) {
    Close();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    return OpenStream(file);
}

bool BmpReader::OpenMemory(const uint8_t* data, size_t size) {
    Close();
    // fmemopen refuses an empty buffer on some C libraries; nothing so short
    // is a BMP anyway.
    if (data == nullptr || size == 0) {
        return false;
    }
    // Opened for reading only: the bytes are never written through it.
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) {
        return false;
    }
    return OpenStream(file);
}

// Takes over the open file: reads the headers and the colour table and makes
// the row buffer. On any refusal the file is closed again.
bool BmpReader::OpenStream(std::FILE* file) {
    if (!state_) {
        state_.reset(new (std::nothrow) BmpReadState);
        if (!state_) {
            std::fclose(file);
            return false;
        }
    }
    BmpReadState& state = *state_;
    state.file = file;
    if (fseeko(file, 0, SEEK_END) != 0) {
        Close();
        return false;
    }
    state.fileSize = ftello(file);
    if (state.fileSize < 0 || fseeko(file, 0, SEEK_SET) != 0 ||
        !ReadBmpHeader(file, state.fileSize, &state.header) ||
        !ReadBmpColorTable(file, state.header, &state.palette)) {
        Close();
        return false;
    }
    // The header bounds a row to kMaxPictureSide x 32 bits (128 KiB).
    state.stored.reset(new (std::nothrow) uint8_t[static_cast<size_t>(state.header.rowBytes)]);
    if (!state.stored) {
        Close();
        return false;
    }
    // Rows are stored one after the other from rowsOffset; those that start
    // at or past the end of the file are black.
    const int64_t rowsAvailable = state.fileSize - state.header.rowsOffset;
    state.storedRowsInFile =
        rowsAvailable <= 0 ? 0
                           : static_cast<int32_t>(std::min<int64_t>(
                                 state.header.height, (rowsAvailable + state.header.rowBytes - 1) /
                                                          state.header.rowBytes));
    state.position = -1;  // unknown: the first row read seeks
    state.nextRow = 0;
    return true;
}

int32_t BmpReader::Width() const {
    return state_ && state_->file != nullptr ? state_->header.width : 0;
}

int32_t BmpReader::Height() const {
    return state_ && state_->file != nullptr ? state_->header.height : 0;
}

int32_t BmpReader::BitsPerPixel() const {
    return state_ && state_->file != nullptr ? state_->header.bitsPerPixel : 0;
}

bool BmpReader::ReadRow(uint8_t* row) {
    if (!state_ || state_->file == nullptr) {
        return false;
    }
    BmpReadState& state = *state_;
    const BmpHeader& header = state.header;
    const size_t pixelBytes = static_cast<size_t>(header.width) * 3;
    if (state.nextRow >= header.height) {
        std::memset(row, 0, pixelBytes);
        return false;
    }
    // Bottom-up files store the bottom row first; top-down ones store it last.
    const int64_t stored = header.topDown ? header.height - 1 - state.nextRow : state.nextRow;
    ++state.nextRow;
    const int64_t offset = header.rowsOffset + stored * header.rowBytes;
    const size_t rowBytes = static_cast<size_t>(header.rowBytes);

    size_t got = 0;
    if (offset < state.fileSize) {
        if (offset == state.position || fseeko(state.file, offset, SEEK_SET) == 0) {
            got = std::fread(state.stored.get(), 1, rowBytes, state.file);
            state.position = offset + static_cast<int64_t>(got);
        } else {
            state.position = -1;
        }
    }
    if (got == 0) {
        std::memset(row, 0, pixelBytes);
        return false;
    }
    if (got < rowBytes) {
        std::memset(state.stored.get() + got, 0, rowBytes - got);
    }
    ExpandBmpRow(state.stored.get(), header, state.palette, row);

    // Pixels whose bits are not all in the file are black: index 0 or a zero
    // bit field need not be black. Missing padding alone loses nothing.
    const int64_t wholePixels = static_cast<int64_t>(got) * 8 / header.bitsPerPixel;
    if (wholePixels < header.width) {
        std::memset(row + 3 * wholePixels, 0, pixelBytes - static_cast<size_t>(3 * wholePixels));
        return false;
    }
    return true;
}

// Rows not in the file come first in a top-down file (its bottom rows are
// stored last) and last in a bottom-up one.
int32_t BmpReader::UniformRowsAhead(uint8_t* bgr) {
    if (!state_ || state_->file == nullptr) {
        return 0;
    }
    const BmpReadState& state = *state_;
    const int32_t height = state.header.height;
    const int32_t missing = height - state.storedRowsInFile;
    int32_t run = 0;
    if (state.header.topDown) {
        run = missing - state.nextRow;
    } else if (state.nextRow >= state.storedRowsInFile) {
        run = height - state.nextRow;
    }
    if (run <= 0) {
        return 0;
    }
    bgr[0] = bgr[1] = bgr[2] = 0;
    return run;
}

void BmpReader::SkipRows(int32_t count) {
    uint8_t bgr[3];
    const int32_t run = UniformRowsAhead(bgr);
    state_->nextRow += std::min(count, run);
}

void BmpReader::Close() {
    if (!state_) {
        return;
    }
    BmpReadState& state = *state_;
    if (state.file != nullptr) {
        std::fclose(state.file);
        state.file = nullptr;
    }
    state.stored.reset();
    state.header = BmpHeader{};
    state.palette = BmpPalette{};
    state.fileSize = 0;
    state.position = -1;
    state.storedRowsInFile = 0;
    state.nextRow = 0;
}
