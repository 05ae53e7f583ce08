// Exif: what a JPEG's EXIF block says about showing the picture, read with
// libexif, and the turn it asks for.
//
// Cameras store a portrait photo as the sensor saw it, lying on its side,
// and record in the orientation tag (TIFF tag 274 of the first IFD) how the
// stored rows and columns are to be turned; many also embed a small JPEG
// thumbnail (the second IFD's JPEGInterchangeFormat). The embedded
// thumbnail is stored the same way as the main picture, so the same turn
// applies to it.
// https://www.cipa.jp/std/documents/e/DC-008-Translation-2019-E.pdf (4.6.4 A, Orientation)
//
// Contract: nothing throws. The block is parsed by libexif alone, within
// the length the APP1 segment declares; a file without EXIF, or with a block
// libexif cannot make sense of, reads as ORIENTATION_NORMAL without a
// thumbnail, and so does an orientation tag of another format or a value
// outside 1 .. 8. Only the file's APP segments ahead of the picture data are
// read; an embedded thumbnail is at most one APP1 segment (64 KB).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/DibImage.h"

// The orientation tag's values, named by what showing the stored picture
// takes. The turns are clockwise; mirroring swaps left and right, flipping
// top and bottom; the transposed picture is mirrored across its top-left to
// bottom-right diagonal, the transversed one across the other diagonal.
enum PictureOrientation : int16_t {
    ORIENTATION_NORMAL = 1,
    ORIENTATION_MIRRORED = 2,
    ORIENTATION_TURNED_180 = 3,
    ORIENTATION_FLIPPED = 4,
    ORIENTATION_TRANSPOSED = 5,
    ORIENTATION_TURNED_90 = 6,
    ORIENTATION_TRANSVERSED = 7,
    ORIENTATION_TURNED_270 = 8,
};

// True for the orientations whose picture shows width and height swapped
// (5 to 8).
bool OrientationSwapsSides(PictureOrientation orientation);

struct ExifInfo {
    PictureOrientation orientation = ORIENTATION_NORMAL;
    // The embedded thumbnail's bytes (a JPEG stream, not checked here);
    // empty when there is none or it was not asked for.
    std::vector<uint8_t> thumbnail;
};

// The EXIF block of a JPEG file, or of a JPEG stream in memory. The
// thumbnail's bytes are copied only when asked for.
ExifInfo ReadJpegExif(const std::string& path, bool withThumbnail);
ExifInfo ReadJpegExifMemory(const uint8_t* data, size_t size, bool withThumbnail);

// A new 24-bit picture holding the picture shown the way the orientation
// says: for 5 to 8 it is height x width. Null when the picture is not
// 24-bit, memory runs out, or the orientation is not 1 .. 8.
DibBlock OrientPicture(const DibImage& picture, PictureOrientation orientation);
