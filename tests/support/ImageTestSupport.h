// Pictures and checks shared by the picture-layer tests: canvases filled so
// that unwritten bytes show, pictures drawn from a colour function, flipped
// copies, noise that does not compress, and the rows a cut file keeps.
// Colours are packed as 0xRRGGBB, like PixelAt.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "image/DibImage.h"
#include "image/LoadPicture.h"

// Colour of the pixel at column x, row y.
using ColourAt = std::function<uint32_t(int32_t x, int32_t y)>;

// A 176 x 180 24-bit canvas whose pixel bytes all say fill.
DibBlock FilledCanvas(uint8_t fill);

// A 24-bit picture whose pixel (x, y), y counted from the first row in
// memory, is colour(x, y).
DibBlock MakePicture(int32_t width, int32_t height, const ColourAt& colour);

// A 24-bit picture upside down.
DibBlock Flipped(const DibImage* picture);

// A colour channel laid over white at the alpha given, rounded.
uint8_t OverWhite(uint8_t colour, uint8_t alpha);

// Bits that look random for every pixel position: a picture of them does not
// compress, so that a file cut at a share of its length is cut at about that
// share of its rows.
uint32_t NoiseAt(int32_t x, int32_t y);

// How many rows from the top of a 24-bit picture (its last row in memory)
// equal expected(x, y), y counted from the top. Every row after them must be
// `rest` throughout; a row that is not fails the test.
int32_t KeptRowsThen(const DibImage* picture, const ColourAt& expected, uint32_t rest);

// Loads the file at path with the request and into a canvas, and the same
// for picture saved as a BMP beside it: "" when the file loads whole and
// both ways give what the BMP path gives, else what differs. With upsideDown
// the BMP holds the picture upside down and its loads are turned back, so
// that a picture scaled on its way in meets the resampler in the row order
// of a file that stores its top row first.
std::string DifferenceFromTheBmpPath(const std::string& path, const DibImage& picture,
                                     const LoadRequest& request, bool upsideDown);
