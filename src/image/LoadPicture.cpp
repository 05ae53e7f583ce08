#include "image/LoadPicture.h"

#include <cstdio>

#include "image/DecodePicture.h"
#include "image/GifReader.h"
#include "image/PictureType.h"

namespace {

// GIF files are decoded whole and then fitted with a truncated percentage.
// The size outputs are left alone when the file cannot be decoded.
DibBlock LoadGifPicture(const std::string& path, bool asMask, int16_t scalePercent, int32_t* width,
                        int32_t* height, uint8_t* destination, bool intoDestination,
                        bool* succeeded) {
    *succeeded = false;
    int32_t boxWidth = width != nullptr ? *width : 0;
    int32_t boxHeight = height != nullptr ? *height : 0;
    // Writing into the caller's picture needs the box it has the size of;
    // without one nothing could say how large that picture is.
    const bool boxGiven = DibSizeValid(boxWidth, boxHeight);
    const bool intoCaller = intoDestination && destination != nullptr;
    if (intoCaller && !boxGiven) {
        return nullptr;
    }
    DibBlock bitmap = GifDecodeToBitmap(path, nullptr, nullptr);
    if (!bitmap) {
        return nullptr;
    }
    int16_t scale = scalePercent;
    // The caller's pixels are handed on only together with the fit flag:
    // without it the conversion would write a picture of its own size there.
    DibBlock image = BitmapToDib(bitmap.get(), &scale, asMask, &boxWidth, &boxHeight,
                                 intoCaller ? destination : nullptr, intoDestination && boxGiven);
    if (!intoCaller && !image) {
        return nullptr;
    }
    *succeeded = true;
    if (width != nullptr) {
        *width = boxWidth;
    }
    if (height != nullptr) {
        *height = boxHeight;
    }
    if (intoCaller) {
        return nullptr;
    }
    return image;
}

// True when the file can be opened for reading.
bool Readable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    std::fclose(file);
    return true;
}

}  // namespace

DibBlock LoadPicture(const std::string& path, bool asMask, int16_t scalePercent, int32_t* width,
                     int32_t* height, uint8_t* destination, bool intoDestination, bool thumbnail,
                     bool smallSize, LoadError* error) {
    const PictureType type = PictureTypeFromName(path);
    bool succeeded = false;
    DibBlock image;
    if (type == PICTURE_GIF) {
        image = LoadGifPicture(path, asMask, scalePercent, width, height, destination,
                               intoDestination, &succeeded);
    } else {
        image = DecodePictureFile(path, type, destination, asMask, width, height, thumbnail,
                                  smallSize, intoDestination, &succeeded);
    }
    if (error != nullptr) {
        *error = succeeded                ? LOAD_OK
                 : type == PICTURE_UNKNOWN ? LOAD_UNKNOWN_TYPE
                 : !Readable(path)         ? LOAD_CANNOT_OPEN
                                           : LOAD_BAD_PICTURE;
    }
    return image;
}
