// Test pictures for the picture-layer tests: JPEG and BMP files made on the
// spot, libjpeg's own decode as the oracle for the codec, the rows a codec
// hands out, and the expectations tests/data/MANIFEST.md lists.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "image/JpegCodec.h"

struct JpegTestOptions {
    int quality = 95;
    bool progressive = false;  // jpeg_simple_progression, unless a script is given
    bool grey = false;
    int lumaH = 1;  // sampling factors of the first component; the others
    int lumaV = 1;  // are 1 x 1, so that 2 x 2 is 4:2:0
    int restartRows = 0;
    bool arithmetic = false;
    std::vector<jpeg_scan_info> script;  // the scans to write; empty: libjpeg's choice
};

// Colour of the pixel at column x, row y (0 = top), as 0xRRGGBB; a grey
// picture takes the low byte.
using PixelFunction = std::function<uint32_t(int x, int y)>;

std::vector<uint8_t> EncodeTestJpeg(int width, int height, const PixelFunction& pixel,
                                    const JpegTestOptions& options = {});

// Four flat quadrants, chosen so that a swapped channel or row order shows:
// top left red, top right green, bottom left blue, bottom right 0xC86432.
uint32_t QuadrantColour(int x, int y, int width, int height);

// Overwrites the picture size in the frame header (SOF0 to SOF2) of a JPEG.
// False when there is no such header.
bool PatchJpegSize(std::vector<uint8_t>* jpeg, uint16_t width, uint16_t height);

// Decoded rows: blue, green, red (CMYK: four bytes) per pixel, top row
// first, no padding.
struct JpegRows {
    bool headerRead = false;
    bool started = false;
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowsRead = 0;
    std::vector<uint8_t> pixels;
    bool Whole() const { return started && rowsRead == height; }
    uint32_t At(int x, int y) const;  // 0xRRGGBB
};

// Asks the codec for width x height and reads every row it then reports,
// also when StartRows refused; the codec stays open.
JpegRows ReadJpegRows(JpegCodec& codec, int32_t width, int32_t height);
// The same, then closes the codec.
JpegRows DecodeWithCodec(std::unique_ptr<JpegCodec> codec, int32_t width, int32_t height);

// libjpeg's ordinary decode of every byte, its default block smoothing on,
// errors a refusal and warnings counted without a word: at full size, or at
// the scale the codec takes for a 1 x 1 request (the largest eighth that
// fits, 1/8 when none does). Grey comes out as blue, green, red too.
struct LibjpegPicture : JpegRows {
    int components = 0;  // in the file
    bool cmyk = false;
    std::vector<char> dcOnly;  // per component: decoded from DC alone at 1/8
    int densityUnit = 0;
    int xDensity = 0;
};
LibjpegPicture DecodeWithLibjpeg(const std::vector<uint8_t>& jpeg, bool smallest);

// A BMP file put together field by field; the defaults make a valid 1 x 1
// 24-bit file with a 40-byte header.
struct BmpLayout {
    uint32_t infoSize = 40;
    int32_t width = 1;
    int32_t height = 1;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;  // written right after the info header
    std::vector<uint8_t> palette;
    int64_t pixelOffset = -1;  // bfOffBits; -1: where the rows really start
    size_t gap = 0;            // bytes of 0xEE between the palette and the rows
    std::vector<uint8_t> rows;
};
std::vector<uint8_t> BuildBmp(const BmpLayout& layout);
// Appends value little-endian in `bytes` bytes.
void PutLittleEndian(std::vector<uint8_t>& out, uint64_t value, int bytes);

// One row of a folder's table in tests/data/MANIFEST.md: the file, what is
// expected of it ("decode 320x200", "refuse", "lenient: ..."), and the size
// given there (0 x 0 when none is).
struct ManifestEntry {
    std::string name;
    std::string expected;
    int32_t width = 0;
    int32_t height = 0;
    bool Says(const char* words) const { return expected.find(words) != std::string::npos; }
};
std::vector<ManifestEntry> ManifestEntries(const std::string& folder);
