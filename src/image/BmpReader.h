// BmpReader: the program's own reader of Windows bitmap files.
// https://learn.microsoft.com/en-us/windows/win32/gdi/bitmap-storage
//
// Accepts a "BM" file header followed by an info header of 12 (core), 40 or
// 64 bytes; 1, 2, 4, 8 and 24 bits per pixel uncompressed, 16 and 32 bits
// uncompressed (5-5-5 and 8-8-8) or, after a 40-byte header, with bit-field
// masks. Everything else (other header sizes, RLE or embedded JPEG/PNG data,
// a compression that does not fit the depth or the header, a side of 0 or
// above kMaxPictureSide, a colour table cut off by the end of the file, a
// colours-used count declaring a table longer than the file) is refused by
// Open before anything is allocated from the file's sizes.
//
// The colour table has the header's colours-used count of entries when the
// depth can index that many, else 2^bits; an index past it gives black. Rows
// start at the file header's pixel-data offset when that lies at or after
// the end of the table and all rows fit in the file, else right after the
// table.
//
// Rows are handed out bottom row first, whatever the file's row order, as
// 24-bit blue, green, red pixels. A short file: rows or parts of rows past
// the end of the file come out black, and the reader reports the rows that
// lie wholly past it as one black run, so that what reading costs follows
// what the file holds, not what its header declares.
//
// Contract: nothing throws. Open and OpenMemory return false, with nothing
// left open, for every file the reader does not decode; the size getters are
// 0 while no file is open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "image/RowSource.h"

// The header record, the colour table and the read position of an open file;
// defined beside the reading stages in BmpReader.cpp.
struct BmpReadState;

class BmpReader final : public RowSource {
  public:
    BmpReader() = default;
    ~BmpReader() override;
    BmpReader(const BmpReader&) = delete;
    BmpReader& operator=(const BmpReader&) = delete;

    // Opens the file, reads and checks its headers and colour table and
    // positions the reader at the bottom row. A reader that was open is
    // closed first.
    bool Open(const std::string& path);
    // The same over a file held in memory (the bytes must outlive the reader).
    bool OpenMemory(const uint8_t* data, size_t size);

    // The open picture: width and height are 1 .. kMaxPictureSide whatever
    // the file's row order; the depth is as stored (1 .. 32).
    int32_t Width() const;
    int32_t Height() const;
    int32_t BitsPerPixel() const;

    // Writes the next row (bottom row first) as Width() 24-bit pixels.
    // Returns false when pixels of the row lie past the end of the file (they
    // come out black), when every row has been read (the row comes out
    // black) or when no file is open (the row is left untouched).
    bool ReadRow(uint8_t* row) override;
    // Rows that lie wholly past the end of the file are black: a file cut
    // short (or declaring far more rows than it holds) reports them as one
    // run, and skipping them costs nothing.
    int32_t UniformRowsAhead(uint8_t* bgr) override;
    void SkipRows(int32_t count) override;

    // Closes the file and frees the colour table and row buffer.
    void Close();

  private:
    bool OpenStream(std::FILE* file);

    struct StateFree {
        void operator()(BmpReadState* state) const noexcept;
    };
    // Made by the first Open; null before it or when memory ran out.
    std::unique_ptr<BmpReadState, StateFree> state_;
};
