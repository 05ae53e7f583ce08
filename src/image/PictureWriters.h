// PictureWriters: the two file formats SavePicture writes, each onto an open
// stdio stream. Internal to the image folder; callers use SavePicture, which
// takes care of the temporary file and the replacement of the target.
//
// Contract: both writers refuse a header that DibHeaderSavable rejects and
// return false on any write or encoder failure, leaving whatever was written
// so far for the caller to discard. Nothing throws, nothing is printed and
// the process never exits. pixels may be null: the rows are then the block's
// own (DibPixels). An 8-bit image must be in mask form (palette in the block).
#pragma once

#include <cstdint>
#include <cstdio>

#include "image/DibImage.h"

// True for the headers the writers accept: a 40-byte header, uncompressed,
// both sides 1 .. kMaxPictureSide (rows bottom-up) and a depth of 8 or 24.
inline bool DibHeaderSavable(const BitmapInfoHeader& header) {
    return header.biSize == static_cast<uint32_t>(kDibHeaderBytes) && header.biCompression == 0 &&
           DibSizeValid(header.biWidth, header.biHeight) &&
           (header.biBitCount == 8 || header.biBitCount == 24);
}

// The 14-byte BITMAPFILEHEADER, then the block's header and palette, then
// the rows. With pixels null the file is the file header followed by the
// block byte for byte.
bool WriteBmpFile(std::FILE* file, const DibImage* image, const uint8_t* pixels);

// A baseline JFIF file of the given quality (1 .. 100). 24-bit images are
// encoded in colour, 8-bit mask images in greyscale from the levels as they
// stand (the palette is not consulted). Colour is sampled once per 2 x 2
// pixels (4:2:0) unless fullChroma asks for every pixel (4:4:4).
bool WriteJpegFile(std::FILE* file, const DibImage* image, const uint8_t* pixels, int quality,
                   bool fullChroma = false);
