// JPEG files made on the spot with libjpeg's compressor, for the codec,
// loader and scan filter tests.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>

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
