// LoadPicture: the single entry for reading a picture file into a DibImage,
// or into the pixels of an existing canvas.
//
// The picture is fitted to a box (width x height in; 0 or less: no box):
// never enlarged, and when larger than the box in either direction scaled
// down by one factor until it covers the box. Large JPEG files are reduced
// while they are decoded, row by row; a full-size copy never exists.
//
// Contract: nothing throws and nothing is reported to the user. Every failure
// (missing file, unknown name, unreadable or hostile content, out of memory)
// returns null. Size outputs:
//  - JPEG and BMP: width and height receive the new image's size, 0 x 0 on
//    failure; in into-destination mode they are left as they were.
//  - GIF: the box when one was given, else the new image's size; untouched
//    when the file cannot be decoded.
// Limits: no side above kMaxPictureSide; GIF pictures up to 10000 x 10000.
// error, when given, receives why a load failed (or LOAD_OK); it is the only
// sure sign of success in into-destination mode, where the result is null
// either way.
#pragma once

#include <cstdint>
#include <string>

#include "image/DibImage.h"

enum LoadError : int16_t {
    LOAD_OK = 0,
    LOAD_UNKNOWN_TYPE,  // the name does not end in a picture extension
    LOAD_CANNOT_OPEN,   // missing or unreadable file
    LOAD_BAD_PICTURE,   // the content was refused, or memory ran out
};

// path          the file; its ending decides the format (PictureTypeFromName)
// asMask        deliver an 8-bit mask-form image of the blue channel
// scalePercent  starting scale for the GIF path (callers pass 100)
// width, height box in, size out (see above); either may be null
// destination   pixels of a 24-bit image of exactly the box size to decode into
// intoDestination  decode into destination, centred, uncovered parts black;
//               the call then returns null
// thumbnail     reduced decode for previews and decorations
// smallSize     with thumbnail or asMask: request 44 x 45 instead of 176 x 180
DibBlock LoadPicture(const std::string& path, bool asMask, int16_t scalePercent, int32_t* width,
                     int32_t* height, uint8_t* destination, bool intoDestination, bool thumbnail,
                     bool smallSize, LoadError* error = nullptr);
