// PngFile: PNG pictures, read row by row and written, through libpng.
// https://www.w3.org/TR/png-3/
//
// The reader takes every colour type and depth: grey of 1, 2, 4, 8 and 16
// bits, grey with alpha, palette with or without tRNS transparency, RGB and
// RGBA of 8 and 16 bits, interlaced or not. Rows come out top row first as
// 24-bit blue, green, red:
//  - 16-bit samples are rounded to 8 bits: (v x 255 + 32767) / 65535;
//  - a pixel of alpha a (from the alpha channel or from tRNS) is laid over
//    white: (c x a + 255 x (255 - a) + 127) / 255 for each colour c;
//  - gamma, colour profiles, the background colour and text chunks are not
//    applied: samples are taken as they are stored, as in a BMP.
// A picture that is not interlaced is decoded one row at a time as ReadRow
// asks for it: besides libpng's own row buffers nothing of it is held. An
// interlaced picture spreads every row over seven passes, so Open decodes
// it whole and ReadRow hands out rows from there.
//
// Limits, checked before anything is allocated for the picture: sides of
// 1 .. kMaxPictureSide (libpng refuses larger ones as it reads the header);
// an interlaced picture of at most kPngMaxInterlacedPixels; libpng keeps no
// more than a few ancillary chunks and allocates no more than a few
// megabytes for any one chunk, and skips the ancillary chunks the reader
// does not use without decompressing them.
//
// A short or corrupt file (data that ends early, a chunk whose CRC fails, a
// broken compressed stream): the rows decoded before the fault are kept (a
// cut file loses what its last 128 bytes would have added) and the rows
// after it come out black; Damaged() then says so. An interlaced
// picture that breaks off in its first pass is black below the last row
// reached; one that breaks off later keeps the coarser picture of the passes
// before. A fault before the first row is complete refuses the file.
//
// Contract: nothing throws and nothing is printed; libpng's warnings are
// dropped and its errors end the operation that met them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "image/DibImage.h"
#include "image/RowSource.h"

// An interlaced picture is held whole while it is read, at up to 4 bytes a
// pixel (256 MiB here, the memory the JPEG decoder may take for a
// progressive photo). Interlacing is a web format for small graphics: this
// takes a 50-megapixel camera frame or a 4K screenshot with room to spare,
// while a 60-byte header cannot ask for the 4 GiB of a 32767 x 32767 one.
constexpr int64_t kPngMaxInterlacedPixels = 64LL * 1024 * 1024;

// The decoder of an open file, its transformed row or whole picture and the
// read position; defined beside the reading stages in PngFile.cpp.
struct PngReadState;

class PngReader final : public RowSource {
  public:
    PngReader() = default;
    ~PngReader() override;
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    // Opens the file, reads and checks its header and decodes the first row
    // (an interlaced picture whole). False, with nothing left open, for a
    // file that is not a PNG, breaks the limits, breaks off before its first
    // row is complete, or when memory runs out. A reader that was open is
    // closed first.
    bool Open(const std::string& path);
    // The same over a file held in memory (the bytes must outlive the reader).
    bool OpenMemory(const uint8_t* data, size_t size);

    // The open picture's size, 0 while none is open.
    int32_t Width() const;
    int32_t Height() const;

    // Writes the next row (top row first) as Width() 24-bit pixels. False,
    // with the row black, for a row at or after a fault or past the last
    // row; false with the row untouched when nothing is open.
    bool ReadRow(uint8_t* row) override;
    // The rows after a break in the data, and those below the rows an
    // interlaced picture's data reached, are black: they are reported as one
    // run, so that a short file declaring a huge picture costs what it holds.
    int32_t UniformRowsAhead(uint8_t* bgr) override;
    void SkipRows(int32_t count) override;

    // True once the reader has met a fault in the data: rows at and after it
    // (for an interlaced picture, the passes after it) are not the picture's.
    bool Damaged() const;

    // Ends the decode, closes the file and frees the buffers.
    void Close();

  private:
    bool Start();

    struct StateFree {
        void operator()(PngReadState* state) const noexcept;
    };
    std::unique_ptr<PngReadState, StateFree> state_;
};

// Writes a 24-bit picture as 8-bit RGB and an 8-bit mask-form picture as
// 8-bit grey of its levels (the palette is not consulted), not interlaced,
// with the picture's density as pixels per metre. The caller has checked the
// header (40 bytes, uncompressed, valid sides, 8 or 24 bits). False when
// libpng gives up, a short write included.
bool WritePngFile(std::FILE* file, const DibImage& image);
