// JPEG files made on the spot with libjpeg's compressor, for the codec and
// loader tests.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

struct JpegTestOptions {
    int quality = 95;
    bool progressive = false;
    bool grey = false;
    bool subsample420 = false;  // otherwise 4:4:4
    // Greyscale only: a progressive script of one DC scan and then, for each
    // of the 63 AC coefficients on its own, a first scan and `refinements`
    // refinement scans: 1 + 63 x (1 + refinements) scans in all.
    int refinements = -1;
};

// Colour of the pixel at column x, row y (0 = top), as 0xRRGGBB.
using PixelFunction = std::function<uint32_t(int x, int y)>;

std::vector<uint8_t> EncodeTestJpeg(int width, int height, const PixelFunction& pixel,
                                    const JpegTestOptions& options = {});

// Four flat quadrants, chosen so that a swapped channel or row order shows:
// top left red, top right green, bottom left blue, bottom right 0xC86432.
uint32_t QuadrantColour(int x, int y, int width, int height);

// Overwrites the picture size in the frame header (SOF0 to SOF2) of a JPEG.
// False when there is no such header.
bool PatchJpegSize(std::vector<uint8_t>* jpeg, uint16_t width, uint16_t height);
