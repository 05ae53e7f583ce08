#include "image/LoadPicture.h"

#include "image/DecodePicture.h"
#include "image/GifReader.h"
#include "image/PictureType.h"

namespace {

// GIF files are decoded whole and then fitted with a truncated percentage.
// The size outputs are left alone when the file cannot be decoded.
DibBlock LoadGifPicture(const std::string& path, bool asMask, int16_t scalePercent, int32_t* width,
                        int32_t* height, uint8_t* destination, bool intoDestination) {
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

}  // namespace

DibBlock LoadPicture(const std::string& path, bool asMask, int16_t scalePercent, int32_t* width,
                     int32_t* height, uint8_t* destination, bool intoDestination, bool thumbnail,
                     bool smallSize) {
    const PictureType type = PictureTypeFromName(path);
    if (type == PICTURE_GIF) {
        return LoadGifPicture(path, asMask, scalePercent, width, height, destination,
                              intoDestination);
    }
    return DecodePictureFile(path, type, destination, asMask, width, height, thumbnail, smallSize,
                             intoDestination);
}
