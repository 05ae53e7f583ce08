// The decoding driver for JPEG and BMP files: asks the decoder for a reduced
// size, fits the result to the caller's box with the cover rule and streams
// the rows into a new image or centred into the caller's canvas. Rows that
// need resampling go through ResampleStream, so a full-size copy of a large
// photo never exists.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "image/DecodePicture.h"
#include "image/Resample.h"

namespace {

// What the JPEG decoder is asked for first: twice the canvas for a photo, so
// that the program's own resampler has detail to average; the canvas size, or
// a quarter of it per side with the small flag, for previews, decorations and
// masks.
constexpr int32_t kPhotoRequestWidth = 2 * kCanvasWidth;
constexpr int32_t kPhotoRequestHeight = 2 * kCanvasHeight;
constexpr int32_t kSmallRequestWidth = 44;
constexpr int32_t kSmallRequestHeight = 45;

// Where the rows go: outWidth x outHeight pixels of stride bytes per row.
struct DecodeTarget {
    DibBlock block;  // empty when decoding into the caller's pixels
    uint8_t* pixels = nullptr;
    int32_t stride = 0;
    int32_t outWidth = 0;
    int32_t outHeight = 0;
    bool intoDestination = false;
};

void ReportFailure(int32_t* width, int32_t* height) {
    if (width != nullptr) {
        *width = 0;
    }
    if (height != nullptr) {
        *height = 0;
    }
}

// The cover rule: a source larger than the box in either direction is scaled
// by one rounded percentage for both sides, the larger of the two ratios
// (ties go to the height), so that the result covers the box. A source inside
// the box keeps its size. Percentages are computed in 64 bits: a tiny source
// side against a large box must not wrap.
void FitToBox(int32_t sourceWidth, int32_t sourceHeight, int32_t boxWidth, int32_t boxHeight,
              int32_t* fitWidth, int32_t* fitHeight) {
    *fitWidth = sourceWidth;
    *fitHeight = sourceHeight;
    if (boxWidth <= 0 || boxHeight <= 0 || (sourceWidth <= boxWidth && sourceHeight <= boxHeight)) {
        return;
    }
    const int64_t widthPercent =
        (static_cast<int64_t>(boxWidth) * 100 + sourceWidth / 2) / sourceWidth;
    const int64_t heightPercent =
        (static_cast<int64_t>(boxHeight) * 100 + sourceHeight / 2) / sourceHeight;
    if (heightPercent >= widthPercent) {
        if (heightPercent < 100) {
            *fitHeight = boxHeight;
            *fitWidth = static_cast<int32_t>((heightPercent * sourceWidth + 50) / 100);
        }
    } else if (widthPercent < 100) {
        *fitWidth = boxWidth;
        *fitHeight = static_cast<int32_t>((widthPercent * sourceHeight + 50) / 100);
    }
    // A box far smaller than the source rounds the percentage down to 0; keep
    // at least one pixel rather than make an empty picture.
    if (*fitWidth < 1) {
        *fitWidth = 1;
    }
    if (*fitHeight < 1) {
        *fitHeight = 1;
    }
}

// Into the caller's pixels (a picture of exactly the box size) when asked and
// given, otherwise a new zero-filled image of the fitted size. False when the
// box is unusable for the caller's pixels or memory runs out.
bool PrepareTarget(int32_t fitWidth, int32_t fitHeight, int32_t boxWidth, int32_t boxHeight,
                   bool asMask, uint8_t* destination, bool intoDestination, DecodeTarget* target) {
    const int32_t bitsPerPixel = asMask ? 8 : 24;
    if (intoDestination && destination != nullptr) {
        if (!DibSizeValid(boxWidth, boxHeight)) {
            return false;
        }
        target->pixels = destination;
        target->stride = DibRowStride(boxWidth, bitsPerPixel);
        target->outWidth = boxWidth;
        target->outHeight = boxHeight;
        target->intoDestination = true;
        return true;
    }
    target->block = DibCreate(fitWidth, fitHeight, bitsPerPixel);
    if (!target->block) {
        return false;
    }
    target->pixels = DibPixels(target->block.get());
    target->stride = DibRowStride(fitWidth, bitsPerPixel);
    target->outWidth = fitWidth;
    target->outHeight = fitHeight;
    return true;
}

// Rows at the target's size: read straight into place, the first (top) row
// into the last row in memory.
void ReadRowsDirect(JpegCodec& codec, const DecodeTarget& target) {
    for (int32_t y = 0; y < target.outHeight; ++y) {
        codec.ReadRow(target.pixels +
                      static_cast<size_t>(target.outHeight - 1 - y) * target.stride);
    }
}

// A mask keeps the blue byte of each decoded pixel, unscaled, from the top
// left of the picture; the top row goes last in memory. Parts of the target
// the picture does not reach are black.
bool ReadMaskRows(JpegCodec& codec, int32_t sourceWidth, int32_t sourceHeight,
                  const DecodeTarget& target) {
    uint8_t* row =
        static_cast<uint8_t*>(std::calloc(static_cast<size_t>(DibRowStride(sourceWidth, 24)), 1));
    if (row == nullptr) {
        return false;
    }
    const int32_t columns = sourceWidth < target.outWidth ? sourceWidth : target.outWidth;
    for (int32_t y = 0; y < target.outHeight; ++y) {
        uint8_t* mask =
            target.pixels + static_cast<size_t>(target.outHeight - 1 - y) * target.stride;
        int32_t x = 0;
        if (y < sourceHeight) {
            codec.ReadRow(row);
            for (; x < columns; ++x) {
                mask[x] = row[3 * x];
            }
        }
        std::memset(mask + x, 0, static_cast<size_t>(target.outWidth - x));
    }
    std::free(row);
    return true;
}

// Finishes a decode: the size outputs and the result.
DibBlock Finish(bool decoded, DecodeTarget* target, int32_t fitWidth, int32_t fitHeight,
                int32_t* width, int32_t* height, bool* succeeded) {
    if (succeeded != nullptr) {
        *succeeded = decoded;
    }
    if (!decoded) {
        ReportFailure(width, height);
        return nullptr;
    }
    if (target->intoDestination) {
        return nullptr;  // the pixels went into the caller's picture
    }
    if (width != nullptr) {
        *width = fitWidth;
    }
    if (height != nullptr) {
        *height = fitHeight;
    }
    return std::move(target->block);
}

}  // namespace

DibBlock DecodeJpegPicture(JpegCodec& codec, uint8_t* destination, bool asMask, int32_t* width,
                           int32_t* height, bool thumbnail, bool smallSize, bool intoDestination,
                           bool* succeeded) {
    const int32_t boxWidth = width != nullptr ? *width : 0;
    const int32_t boxHeight = height != nullptr ? *height : 0;
    int32_t requestWidth = kPhotoRequestWidth;
    int32_t requestHeight = kPhotoRequestHeight;
    if (thumbnail || asMask) {
        requestWidth = smallSize ? kSmallRequestWidth : kCanvasWidth;
        requestHeight = smallSize ? kSmallRequestHeight : kCanvasHeight;
    }

    int32_t sourceWidth = requestWidth;
    int32_t sourceHeight = requestHeight;
    bool decoded = codec.ReadHeader(&sourceWidth, &sourceHeight);
    if (decoded && !thumbnail && (sourceWidth > requestWidth || sourceHeight > requestHeight)) {
        // Still too large: ask once more for three quarters of the request;
        // that answer is final.
        requestWidth -= requestWidth / 4;
        requestHeight -= requestHeight / 4;
        sourceWidth = requestWidth;
        sourceHeight = requestHeight;
        decoded = codec.ReadHeader(&sourceWidth, &sourceHeight);
    }
    decoded = decoded && DibSizeValid(sourceWidth, sourceHeight) && codec.StartRows();

    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    DecodeTarget target;
    if (decoded) {
        FitToBox(sourceWidth, sourceHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);
        decoded = PrepareTarget(fitWidth, fitHeight, boxWidth, boxHeight, asMask, destination,
                                intoDestination, &target);
    }
    if (decoded) {
        if (asMask) {
            decoded = ReadMaskRows(codec, sourceWidth, sourceHeight, target);
        } else if (target.outWidth == sourceWidth && target.outHeight == sourceHeight) {
            ReadRowsDirect(codec, target);
        } else {
            decoded = ResampleStream(codec, target.pixels, sourceWidth, sourceHeight, fitWidth,
                                     fitHeight, target.stride, target.outWidth, target.outHeight,
                                     true, target.intoDestination);
        }
    }
    codec.Close();
    return Finish(decoded, &target, fitWidth, fitHeight, width, height, succeeded);
}

DibBlock DecodeBmpPicture(BmpReader& reader, int32_t sourceWidth, int32_t sourceHeight,
                          uint8_t* destination, int32_t* width, int32_t* height,
                          bool intoDestination, bool* succeeded) {
    const int32_t boxWidth = width != nullptr ? *width : 0;
    const int32_t boxHeight = height != nullptr ? *height : 0;
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    DecodeTarget target;
    bool decoded = DibSizeValid(sourceWidth, sourceHeight);
    if (decoded) {
        FitToBox(sourceWidth, sourceHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);
        decoded = PrepareTarget(fitWidth, fitHeight, boxWidth, boxHeight, false, destination,
                                intoDestination, &target);
    }
    if (decoded) {
        // BMP rows come bottom row first, the order they take in memory.
        decoded = ResampleStream(reader, target.pixels, sourceWidth, sourceHeight, fitWidth,
                                 fitHeight, target.stride, target.outWidth, target.outHeight, false,
                                 target.intoDestination);
    }
    reader.Close();
    return Finish(decoded, &target, fitWidth, fitHeight, width, height, succeeded);
}

DibBlock DecodePictureFile(const std::string& path, PictureType type, uint8_t* destination,
                           bool asMask, int32_t* width, int32_t* height, bool thumbnail,
                           bool smallSize, bool intoDestination, bool* succeeded) {
    if (succeeded != nullptr) {
        *succeeded = false;
    }
    if (type == PICTURE_JPEG) {
        std::unique_ptr<JpegCodec> codec = OpenJpegFile(path);
        if (!codec) {
            ReportFailure(width, height);
            return nullptr;
        }
        return DecodeJpegPicture(*codec, destination, asMask, width, height, thumbnail, smallSize,
                                 intoDestination, succeeded);
    }
    if (type == PICTURE_BMP) {
        // A BMP is always delivered as a 24-bit picture, also when a mask was
        // asked for.
        BmpReader reader;
        if (!reader.Open(path)) {
            ReportFailure(width, height);
            return nullptr;
        }
        return DecodeBmpPicture(reader, reader.Width(), reader.Height(), destination, width,
                                height, intoDestination, succeeded);
    }
    ReportFailure(width, height);
    return nullptr;
}
