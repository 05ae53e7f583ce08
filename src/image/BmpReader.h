// BmpReader: the program's own reader of Windows bitmap files.
// https://learn.microsoft.com/en-us/windows/win32/gdi/bitmap-storage
//
// Accepts a "BM" file header followed by an info header of 12 (core), 40 or
// 64 bytes; 1, 4, 8 and 24 bits per pixel uncompressed, 16 and 32 bits
// uncompressed or with bit-field masks. Everything else (other header sizes,
// RLE or embedded JPEG/PNG data, a compression that does not fit the depth,
// a side of 0 or above kMaxPictureSide) is refused by Open before anything
// is allocated from the file's sizes.
//
// Rows are handed out bottom row first, whatever the file's row order, as
// 24-bit blue, green, red pixels. A short file: rows or parts of rows past
// the end of the file come out black.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/RowSource.h"

class BmpReader final : public RowSource {
public:
    BmpReader() = default;
    ~BmpReader() override;
    BmpReader(const BmpReader&) = delete;
    BmpReader& operator=(const BmpReader&) = delete;

    // Opens the file, reads and checks its headers and colour table and
    // positions the reader at the bottom row. On success writes the picture's
    // width, height (always positive) and bits per pixel and returns true; on
    // any refusal returns false with nothing left open.
    bool Open(const std::string& path, int32_t* width, int32_t* height, int32_t* bitsPerPixel);
    // The same over a file held in memory (the bytes must outlive the reader).
    bool OpenMemory(const uint8_t* data, size_t size, int32_t* width, int32_t* height,
                    int32_t* bitsPerPixel);

    // Writes the next row (bottom row first) as width 24-bit pixels.
    // Returns false when the row lies wholly or partly past the end of the
    // file (the missing pixels are black) or when no file is open.
    bool ReadRow(uint8_t* row) override;

    // Closes the file and frees the colour table and row buffer.
    void Close();

private:
    bool OpenStream(std::FILE* file, int32_t* width, int32_t* height, int32_t* bitsPerPixel);
    // The implementation adds what else it needs here.
    std::FILE* file_ = nullptr;
};
