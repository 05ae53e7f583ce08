// GifReader: the GIF path of the loader. giflib decodes the first image of
// the file into a bottom-up 24-bit picture (the "bitmap"); the fitting
// functions then scale it for the caller's box the way GIF pictures always
// have been: by a whole, truncated percentage.
// https://www.w3.org/Graphics/GIF/spec-gif89a.txt
//
// Contract: nothing throws. The decoders give null when the file cannot be
// opened or decoded; the fitting functions give null or false when memory
// runs out or a picture argument is not a 24-bit picture of a valid size.
// Limits: the picture (the logical screen) and the first image may have no
// side above kGifMaxSide; larger ones are refused before anything is
// allocated for them. Pixel data that breaks off (a truncated file, a
// corrupt LZW stream) leaves the rows decoded before the break and the
// background colour below them; data that breaks off before the first row is
// complete refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/DibImage.h"

constexpr int32_t kGifMaxSide = 10000;

// The first image of the GIF as a 24-bit picture the size of the logical
// screen (of the image itself when the screen has a zero side), filled with
// the background colour of the global colour table (black without one), the
// image drawn at its position and clipped. Transparent pixels keep the colour
// their palette index gives; indices without a colour are black. damaged,
// when given, is set for a picture whose pixel data broke off.
DibBlock GifDecodeFile(const std::string& path, bool* damaged = nullptr);
// The same over GIF bytes in memory.
DibBlock GifDecodeMemory(const uint8_t* data, size_t size, bool* damaged = nullptr);

// A new picture of the bitmap scaled for the box (both sides above 0; a side
// of 0 or less means no box, and the bitmap keeps its size). A bitmap larger
// than the box in either direction is scaled by the larger of the two
// truncated percentages box x 100 / bitmap, so that it covers the box or
// ends a few pixels short of it; one inside the box keeps its size. asMask
// gives the 8-bit mask-form picture of the result's blue channel instead.
DibBlock GifScaleToBox(const DibImage& bitmap, int32_t boxWidth, int32_t boxHeight, bool asMask);

// Fills the caller's 24-bit canvas with the bitmap scaled as GifScaleToBox
// does for the canvas's size: centred vertically and horizontally,
// left-aligned when wider, cut to the canvas, black elsewhere. False, with
// the canvas untouched, when memory runs out or either picture is unusable.
bool GifFitIntoCanvas(const DibImage& bitmap, DibImage& canvas);
