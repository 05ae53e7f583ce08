// GifReader: the GIF path of the loader. giflib decodes the first image of
// the file (the "frame"); the picture is the logical screen in the
// background colour with the frame on it. Only the frame's decoded rows are
// held in memory: the screen around them is made row by row while the
// picture is fitted to the caller's box, and runs of background rows are
// scaled in one step, so that what a GIF costs follows what the file holds,
// not the screen its header declares. Fitting scales the way GIF pictures
// always have been: by a whole, truncated percentage.
// https://www.w3.org/Graphics/GIF/spec-gif89a.txt
//
// Contract: nothing throws. The decoders return false, with the picture
// left empty, when the file cannot be opened or decoded; the fitting
// functions give null or false when memory runs out or a picture argument
// is unusable (an empty GifPicture, a canvas that is not a 24-bit picture of
// a valid size).
// Limits: the picture (the logical screen) and the first image may have no
// side above kGifMaxSide; larger ones are refused before anything is
// allocated for them. Pixel data that breaks off (a truncated file, a
// corrupt LZW stream) leaves the rows decoded before the break and the
// background colour below them; data that breaks off before the first row is
// complete refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "image/DibImage.h"

constexpr int32_t kGifMaxSide = 10000;

// The frame's decoded rows, defined beside the decoder in GifReader.cpp.
struct GifFrameRows;
struct GifFrameRowsFree {
    void operator()(GifFrameRows* rows) const noexcept;
};

// The first image of a GIF on its logical screen.
struct GifPicture {
    // The logical screen, or the frame itself when the screen has a zero
    // side: 1 .. kGifMaxSide each once decoded, 0 before.
    int32_t width = 0;
    int32_t height = 0;
    // Blue, green, red: the global colour table's background entry, black
    // without one.
    uint8_t background[3] = {0, 0, 0};
    // The part of the frame that lies on the screen: its top-left pixel,
    // counted from the screen's top-left corner, and its size (0 x 0 when
    // none of the frame shows).
    int32_t frameLeft = 0;
    int32_t frameTop = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    // Its rows, as far as the data reached. Transparent pixels keep the
    // colour their palette index gives; indices without a colour are black.
    std::unique_ptr<GifFrameRows, GifFrameRowsFree> rows;
    // The frame's data broke off: the rows after the break are background.
    bool damaged = false;
};

// Decodes the first image of the GIF file into picture.
bool GifDecodeFile(const std::string& path, GifPicture* picture);
// The same over GIF bytes in memory.
bool GifDecodeMemory(const uint8_t* data, size_t size, GifPicture* picture);

// A new picture of the GIF scaled for the box (both sides above 0; a side of
// 0 or less means no box, and the picture keeps the screen's size). A
// picture larger than the box in either direction is scaled by the larger
// of the two truncated percentages box x 100 / picture, so that it covers
// the box or ends a few pixels short of it; one inside the box keeps its
// size. asMask gives the 8-bit mask-form picture of the result's blue
// channel instead.
DibBlock GifScaleToBox(const GifPicture& picture, int32_t boxWidth, int32_t boxHeight, bool asMask);

// Fills the caller's 24-bit canvas with the GIF scaled as GifScaleToBox
// does for the canvas's size: centred vertically and horizontally,
// left-aligned when wider, cut to the canvas, black elsewhere. False, with
// the canvas untouched, when memory runs out or either picture is unusable.
bool GifFitIntoCanvas(const GifPicture& picture, DibImage& canvas);
