// Truncated or corrupt pixel data: the rows decoded before the fault are kept
// and the rest show the background colour; a fault before the first row is
// complete refuses the file.
//
// Decodes the first image of a GIF file with giflib, record by record, so that
// besides the picture itself nothing but the screen descriptor, the colour
// tables, that image's descriptor and one row of it is held in memory, and
// nothing after the first image is read; then fits the picture to the
// caller's box. The format:
// https://www.w3.org/Graphics/GIF/spec-gif89a.txt
#include "image/GifReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "image/Resample.h"

namespace {

// The bytes of an in-memory GIF and how far giflib has read them.
struct GifMemoryCursor {
    const uint8_t* data;
    size_t size;
    size_t position;
};

int GifReadMemory(GifFileType* gif, GifByteType* buffer, int count) {
    auto* cursor = static_cast<GifMemoryCursor*>(gif->UserData);
    if (cursor == nullptr || buffer == nullptr || count <= 0) {
        return 0;
    }
    const size_t wanted = std::min(static_cast<size_t>(count), cursor->size - cursor->position);
    std::memcpy(buffer, cursor->data + cursor->position, wanted);
    cursor->position += wanted;
    return static_cast<int>(wanted);
}

int GifReadFile(GifFileType* gif, GifByteType* buffer, int count) {
    auto* file = static_cast<std::FILE*>(gif->UserData);
    if (file == nullptr || buffer == nullptr || count <= 0) {
        return 0;
    }
    return static_cast<int>(std::fread(buffer, 1, static_cast<size_t>(count), file));
}

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Closes the decoder; true when giflib reports no error in doing so.
bool GifClose(GifFileType* gif) {
    int error = 0;
    return DGifCloseFile(gif, &error) == GIF_OK;
}

// Closes the decoder on the paths that give up early.
struct GifCloser {
    void operator()(GifFileType* gif) const noexcept { GifClose(gif); }
};
using GifHandle = std::unique_ptr<GifFileType, GifCloser>;

// Skips the extension records in front of the first image descriptor and
// reads that descriptor (with its local colour table). False when the file
// ends, is damaged, or ends without an image.
bool GifReadFirstImageDesc(GifFileType* gif) {
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif, &record) != GIF_OK) {
            return false;
        }
        if (record == IMAGE_DESC_RECORD_TYPE) {
            return DGifGetImageDesc(gif) == GIF_OK;
        }
        if (record != EXTENSION_RECORD_TYPE) {
            return false;  // the trailer before any image, or an unknown record
        }
        // Graphic control, comment, application and unknown extensions all
        // go: transparent pixels keep the colour their index gives.
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif, &code, &block) != GIF_OK) {
            return false;
        }
        while (block != nullptr) {
            if (DGifGetExtensionNext(gif, &block) != GIF_OK) {
                return false;
            }
        }
    }
}

// A colour table expanded to 256 entries of blue, green, red; indices past
// the file's table (or all of them, when there is none) give black.
struct GifPalette {
    uint8_t bgr[256][3];
};

void GifFillPalette(const ColorMapObject* map, GifPalette* palette) {
    std::memset(palette, 0, sizeof *palette);
    if (map == nullptr || map->Colors == nullptr) {
        return;
    }
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
        palette->bgr[i][0] = map->Colors[i].Blue;
        palette->bgr[i][1] = map->Colors[i].Green;
        palette->bgr[i][2] = map->Colors[i].Red;
    }
}

// Paints every pixel of the picture in one colour; a new picture is
// already black.
void GifFillBackground(DibImage* picture, const uint8_t* bgr) {
    if (bgr[0] == 0 && bgr[1] == 0 && bgr[2] == 0) {
        return;
    }
    const int32_t width = picture->header.biWidth;
    const int32_t height = picture->header.biHeight;
    const size_t stride = static_cast<size_t>(DibRowStride(width, 24));
    uint8_t* rows = DibPixels(picture);
    for (int32_t x = 0; x < width; ++x) {
        std::memcpy(rows + static_cast<size_t>(x) * 3, bgr, 3);
    }
    for (int32_t y = 1; y < height; ++y) {
        std::memcpy(rows + static_cast<size_t>(y) * stride, rows, stride);
    }
}

// Where the first image lands on the picture.
struct GifPlacement {
    int32_t left;
    int32_t top;
    int32_t width;  // frame width and height, as the descriptor gives them
    int32_t height;
    int32_t visibleWidth;  // frame columns and rows that fall inside the picture
    int32_t visibleHeight;
};

// Decodes the frame's rows (in pass order when interlaced) and writes the
// visible part of each into the bottom-up picture. Stops once every visible
// row is in. False only when giflib fails before the first row is complete.
bool GifDecodeFrameRows(GifFileType* gif, const GifPlacement& place, const GifPalette& palette,
                        DibImage* picture) {
    if (place.visibleWidth <= 0 || place.visibleHeight <= 0) {
        return true;  // nothing of the frame shows: the picture is background
    }
    std::unique_ptr<GifPixelType[]> line(new (std::nothrow)
                                             GifPixelType[static_cast<size_t>(place.width)]);
    if (!line) {
        return false;
    }
    // The four interlace passes start at rows 0, 4, 2, 1 and step by 8, 8, 4, 2.
    static const int32_t kInterlaceStart[4] = {0, 4, 2, 1};
    static const int32_t kInterlaceStep[4] = {8, 8, 4, 2};
    static const int32_t kSequentialStart[1] = {0};
    static const int32_t kSequentialStep[1] = {1};
    const bool interlaced = gif->Image.Interlace;
    const int passes = interlaced ? 4 : 1;
    const int32_t* starts = interlaced ? kInterlaceStart : kSequentialStart;
    const int32_t* steps = interlaced ? kInterlaceStep : kSequentialStep;

    const int32_t pictureHeight = picture->header.biHeight;
    const size_t stride = static_cast<size_t>(DibRowStride(picture->header.biWidth, 24));
    uint8_t* rows = DibPixels(picture);
    int32_t rowsLeft = place.visibleHeight;
    int32_t rowsDone = 0;
    for (int pass = 0; pass < passes && rowsLeft > 0; ++pass) {
        for (int32_t row = starts[pass]; row < place.height && rowsLeft > 0; row += steps[pass]) {
            // giflib reads on to the end of the data blocks once the last row
            // is complete, so a file cut right there loses that row too.
            if (DGifGetLine(gif, line.get(), place.width) != GIF_OK) {
                return rowsDone > 0;  // keep what came before the fault
            }
            ++rowsDone;
            if (row >= place.visibleHeight) {
                continue;
            }
            --rowsLeft;
            const int32_t y = pictureHeight - 1 - (place.top + row);
            uint8_t* out =
                rows + static_cast<size_t>(y) * stride + static_cast<size_t>(place.left) * 3;
            for (int32_t x = 0; x < place.visibleWidth; ++x) {
                std::memcpy(out + static_cast<size_t>(x) * 3, palette.bgr[line[x]], 3);
            }
        }
    }
    return true;
}

// Reads the first image of an opened GIF into a new picture the size of the
// logical screen (or of the image, when the screen has a zero side).
DibBlock GifDecodeFirstImage(GifFileType* gif) {
    if (!GifReadFirstImageDesc(gif)) {
        return nullptr;
    }
    const GifImageDesc& frame = gif->Image;
    // The frame is decoded through a row buffer of its width; no side of it
    // may exceed what a picture may have.
    if (frame.Width < 0 || frame.Height < 0 || frame.Width > kGifMaxSide ||
        frame.Height > kGifMaxSide || frame.Left < 0 || frame.Top < 0) {
        return nullptr;
    }
    GifPlacement place{frame.Left, frame.Top, frame.Width, frame.Height, 0, 0};
    int32_t pictureWidth = gif->SWidth;
    int32_t pictureHeight = gif->SHeight;
    if (pictureWidth <= 0 || pictureHeight <= 0) {
        pictureWidth = frame.Width;
        pictureHeight = frame.Height;
        place.left = 0;
        place.top = 0;
    }
    if (pictureWidth < 1 || pictureHeight < 1 || pictureWidth > kGifMaxSide ||
        pictureHeight > kGifMaxSide) {
        return nullptr;
    }
    // Clip the frame to the picture.
    place.visibleWidth = std::max(0, std::min(place.width, pictureWidth - place.left));
    place.visibleHeight = std::max(0, std::min(place.height, pictureHeight - place.top));

    GifPalette palette;
    GifFillPalette(gif->SColorMap, &palette);
    uint8_t background[3] = {0, 0, 0};
    if (gif->SColorMap != nullptr && gif->SBackGroundColor >= 0 &&
        gif->SBackGroundColor < gif->SColorMap->ColorCount) {
        std::memcpy(background, palette.bgr[gif->SBackGroundColor], 3);
    }
    if (frame.ColorMap != nullptr) {
        GifFillPalette(frame.ColorMap, &palette);
    }

    DibBlock picture = DibCreate(pictureWidth, pictureHeight, 24);
    if (!picture) {
        return nullptr;
    }
    GifFillBackground(picture.get(), background);
    if (!GifDecodeFrameRows(gif, place, palette, picture.get())) {
        return nullptr;
    }
    return picture;
}

// Decodes from a decoder giflib has opened (or failed to open) and closes it.
// A picture made although giflib reported an error kept the rows before a
// break in its data.
DibBlock GifDecodeOpened(GifFileType* opened, bool* damaged) {
    if (opened == nullptr) {
        return nullptr;
    }
    GifHandle gif(opened);
    DibBlock picture = GifDecodeFirstImage(gif.get());
    if (damaged != nullptr) {
        *damaged = picture && gif->Error != D_GIF_SUCCEEDED;
    }
    if (!picture || !GifClose(gif.release())) {
        return nullptr;
    }
    return picture;
}

// An 8-bit mask-form image holding the blue channel of a 24-bit one.
DibBlock BitmapBlueMask(const DibImage* colour) {
    const int32_t width = colour->header.biWidth;
    const int32_t height = colour->header.biHeight;
    DibBlock mask = DibCreate(width, height, 8);
    if (!mask) {
        return nullptr;
    }
    const size_t colourStride = static_cast<size_t>(DibRowStride(width, 24));
    const size_t maskStride = static_cast<size_t>(DibRowStride(width, 8));
    const uint8_t* from = DibPixels(colour);
    uint8_t* to = DibPixels(mask.get());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            to[static_cast<size_t>(y) * maskStride + static_cast<size_t>(x)] =
                from[static_cast<size_t>(y) * colourStride + static_cast<size_t>(x) * 3];
        }
    }
    return mask;
}

// True for a bitmap the fitting functions take: 24 bits, sides in range.
bool GifBitmapUsable(const DibImage& bitmap) {
    return bitmap.header.biBitCount == 24 &&
           DibSizeValid(bitmap.header.biWidth, bitmap.header.biHeight);
}

// The size a bitmap is scaled to for the box. The scale is a whole
// percentage, truncated, so the covering side can end a few pixels short of
// the box. True when the picture must go through the resampler: it changes
// size, or it is larger than the box at exactly 100 % and must be cut to it.
bool GifScaledSize(int32_t bitmapWidth, int32_t bitmapHeight, int32_t boxWidth, int32_t boxHeight,
                   int32_t* newWidth, int32_t* newHeight) {
    int64_t scale = 100;
    bool scaling = false;
    if (boxWidth > 0 && boxHeight > 0 && (bitmapWidth > boxWidth || bitmapHeight > boxHeight)) {
        // The larger percentage makes the picture cover the box.
        const int64_t ws = int64_t{boxWidth} * 100 / bitmapWidth;
        const int64_t hs = int64_t{boxHeight} * 100 / bitmapHeight;
        scale = std::max(ws, hs);
        scaling = scale == 100;
    }
    *newWidth = bitmapWidth;
    *newHeight = bitmapHeight;
    if (scale < 100) {
        // A side that would round to nothing keeps one pixel.
        *newWidth = static_cast<int32_t>(std::max<int64_t>(1, (scale * bitmapWidth + 50) / 100));
        *newHeight = static_cast<int32_t>(std::max<int64_t>(1, (scale * bitmapHeight + 50) / 100));
        scaling = true;
    }
    return scaling;
}

}  // namespace

DibBlock GifDecodeFile(const std::string& path, bool* damaged) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        return nullptr;
    }
    int error = 0;
    return GifDecodeOpened(DGifOpen(file.get(), GifReadFile, &error), damaged);
}

DibBlock GifDecodeMemory(const uint8_t* data, size_t size, bool* damaged) {
    if (data == nullptr || size == 0) {
        return nullptr;
    }
    GifMemoryCursor cursor{data, size, 0};
    int error = 0;
    return GifDecodeOpened(DGifOpen(&cursor, GifReadMemory, &error), damaged);
}

DibBlock GifScaleToBox(const DibImage& bitmap, int32_t boxWidth, int32_t boxHeight, bool asMask) {
    if (!GifBitmapUsable(bitmap)) {
        return nullptr;
    }
    const int32_t bitmapWidth = bitmap.header.biWidth;
    const int32_t bitmapHeight = bitmap.header.biHeight;
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    const bool scaling =
        GifScaledSize(bitmapWidth, bitmapHeight, boxWidth, boxHeight, &newWidth, &newHeight);
    DibBlock image = DibCreate(newWidth, newHeight, 24);
    if (!image) {
        return nullptr;
    }
    const uint8_t* source = DibPixels(&bitmap);
    uint8_t* target = DibPixels(image.get());
    if (!scaling) {
        std::memcpy(
            target, source,
            static_cast<size_t>(DibRowStride(bitmapWidth, 24)) * static_cast<size_t>(bitmapHeight));
    } else if (!ResampleImage(source, target, bitmapWidth, bitmapHeight, newWidth, newHeight,
                              DibRowStride(newWidth, 24), newHeight, 0, 0, false, false)) {
        return nullptr;
    }
    return asMask ? BitmapBlueMask(image.get()) : std::move(image);
}

bool GifFitIntoCanvas(const DibImage& bitmap, DibImage& canvas) {
    if (!GifBitmapUsable(bitmap) || !GifBitmapUsable(canvas)) {
        return false;
    }
    const int32_t bitmapWidth = bitmap.header.biWidth;
    const int32_t bitmapHeight = bitmap.header.biHeight;
    const int32_t boxWidth = canvas.header.biWidth;
    const int32_t boxHeight = canvas.header.biHeight;
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    GifScaledSize(bitmapWidth, bitmapHeight, boxWidth, boxHeight, &newWidth, &newHeight);
    // Centred both ways, but a picture wider than the canvas keeps its left
    // part; a taller one its middle rows (the resampler's rule).
    const int32_t xOffset = std::max(0, (boxWidth - newWidth) / 2);
    const int32_t yOffset = std::max(0, (boxHeight - newHeight) / 2);
    return ResampleImage(DibPixels(&bitmap), DibPixels(&canvas), bitmapWidth, bitmapHeight,
                         newWidth, newHeight, DibRowStride(boxWidth, 24), boxHeight, xOffset,
                         yOffset, true, false);
}
