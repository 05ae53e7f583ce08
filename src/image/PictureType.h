// Picture types, decided by the file name's ending alone; the content is
// never sniffed.
//
// Contract: never fails and never throws; a name without a picture ending
// (or an empty one) is PICTURE_UNKNOWN.
#pragma once

#include <cstdint>
#include <string>

enum PictureType : int16_t {
    PICTURE_UNKNOWN = -1,
    PICTURE_BMP = 1,
    PICTURE_JPEG = 2,  // .jpg, .jpeg, and .adm (the program's own assets, JPEG data)
    PICTURE_GIF = 3,
    PICTURE_PNG = 4,
    PICTURE_WEBP = 5,
};

// The type of a file name by its ending, in any letter case, whatever the
// name's length.
PictureType PictureTypeFromName(const std::string& name);

// True for the names the program can open: .bmp, .jpg, .jpeg, .adm, .gif,
// .png, .webp.
bool IsSupportedPicture(const std::string& name);
