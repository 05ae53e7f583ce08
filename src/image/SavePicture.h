// SavePicture: writes a picture as a BMP or a JPEG (quality 90) file without
// ever risking the file it replaces; SaveJpegPicture writes JPEG data of a
// chosen quality the same way.
//
// The picture is written to a temporary file named target + ".xxx", flushed
// to disk, and then renamed over the target in one step. On any failure the
// temporary file is removed, an existing target is left untouched and 0 is
// returned. A symbolic link planted at the temporary name is never followed.
#pragma once

#include <cstdint>
#include <string>

#include "image/DibImage.h"

// Returns 1 when targetPath holds the complete picture, 0 otherwise. The
// format follows the name: .bmp (any case) gives BMP, every other name JPEG.
// pixels may be null: they are then the block's own (DibPixels). A BMP is
// the 14-byte file header followed by the block byte for byte (header,
// palette for depths of 8 or fewer, rows). Only 24-bit images and 8-bit
// mask-form images with a 40-byte uncompressed bottom-up header and sides of
// 1 .. kMaxPictureSide are written; anything else gives 0 and no file.
int SavePicture(const std::string& targetPath, const DibImage* image, const uint8_t* pixels);

// The same save as a JPEG file whatever the name's ending, at a quality of
// 1 .. 100 (anything else gives 0 and no file). With fullChroma a colour
// picture keeps its colour at every pixel (4:4:4) instead of one colour per
// 2 x 2 pixels, which keeps small coloured art and thin edges true; 8-bit
// mask-form images are greyscale either way.
int SaveJpegPicture(const std::string& targetPath, const DibImage* image, int quality,
                    bool fullChroma);
