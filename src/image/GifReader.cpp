// Truncated or corrupt pixel data: the rows decoded before the fault are kept
// and the rest show the background colour; a fault before the first row is
// complete refuses the file.
//
// Decodes the first image of a GIF file with giflib, record by record, so that
// besides the frame's rows nothing but the screen descriptor, the colour
// tables, that image's descriptor and one row of it is held in memory, and
// nothing after the first image is read. The frame's rows are kept in the
// order they are decoded, each where it lands known from a table, so that
// memory grows with the rows the data really holds; the screen around them is
// made row by row when the picture is fitted to the caller's box. The format:
// https://www.w3.org/Graphics/GIF/spec-gif89a.txt
#include "image/GifReader.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "image/LoadPicture.h"
#include "image/Resample.h"
#include "image/RowSource.h"

// The visible part of the frame, row by row: rows in decoding order and, for
// each row of the frame, where its pixels lie (-1 while not decoded).
struct GifFrameRows {
    struct Free {
        void operator()(void* memory) const noexcept { std::free(memory); }
    };
    int32_t width = 0;     // pixels of each stored row
    int32_t height = 0;    // rows of the frame
    int32_t capacity = 0;  // rows the pixel memory holds
    int32_t count = 0;     // rows stored
    std::unique_ptr<int32_t[], Free> slots;
    std::unique_ptr<uint8_t[], Free> pixels;
};

void GifFrameRowsFree::operator()(GifFrameRows* rows) const noexcept {
    delete rows;
}

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

// Where the first image lands on the picture.
struct GifPlacement {
    int32_t left;
    int32_t top;
    int32_t width;  // frame width and height, as the descriptor gives them
    int32_t height;
    int32_t visibleWidth;  // frame columns and rows that fall inside the picture
    int32_t visibleHeight;
};

// An empty store for the visible rows of the frame, or null when memory
// runs out.
GifFrameRows* GifNewFrameRows(int32_t width, int32_t height) {
    GifFrameRows* rows = new (std::nothrow) GifFrameRows;
    if (rows == nullptr) {
        return nullptr;
    }
    rows->width = width;
    rows->height = height;
    // A frame with nothing on the screen still gets its (empty) table.
    rows->slots.reset(
        static_cast<int32_t*>(std::malloc(static_cast<size_t>(std::max(height, 1)) * 4)));
    if (!rows->slots) {
        delete rows;
        return nullptr;
    }
    std::fill(rows->slots.get(), rows->slots.get() + height, -1);
    return rows;
}

// Room for the pixels of frame row `row`, kept until the store goes; grows
// the pixel memory by doubling, up to the whole frame. Null when memory runs
// out.
uint8_t* GifStoreRow(GifFrameRows* rows, int32_t row) {
    const size_t rowBytes = static_cast<size_t>(rows->width) * 3;
    if (rows->count == rows->capacity) {
        const int32_t capacity = std::min(rows->height, std::max(16, rows->capacity * 2));
        void* grown = std::realloc(rows->pixels.get(), static_cast<size_t>(capacity) * rowBytes);
        if (grown == nullptr) {
            return nullptr;
        }
        rows->pixels.release();
        rows->pixels.reset(static_cast<uint8_t*>(grown));
        rows->capacity = capacity;
    }
    rows->slots[row] = rows->count;
    return rows->pixels.get() + static_cast<size_t>(rows->count++) * rowBytes;
}

// Decodes the frame's rows (in pass order when interlaced) and keeps the
// visible part of each. Stops once every visible row is in. False when
// giflib fails before the first row is complete, or memory runs out.
bool GifDecodeFrameRows(GifFileType* gif, const GifPlacement& place, const GifPalette& palette,
                        GifFrameRows* rows) {
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
            uint8_t* out = GifStoreRow(rows, row);
            if (out == nullptr) {
                return false;
            }
            for (int32_t x = 0; x < place.visibleWidth; ++x) {
                std::memcpy(out + static_cast<size_t>(x) * 3, palette.bgr[line[x]], 3);
            }
        }
    }
    return true;
}

// True when a GIF of these sides may be decoded: each 1 .. kGifMaxSide (and,
// in fuzzing builds, not too many pixels).
bool GifSidesAllowed(int32_t width, int32_t height) {
    if (width < 1 || height < 1 || width > kGifMaxSide || height > kGifMaxSide) {
        return false;
    }
#ifdef FOTAKLE_FUZZING
    if (int64_t{width} * height > kFuzzingMaxPixels) {
        return false;
    }
#endif
    return true;
}

// Reads the first image of an opened GIF: the screen, the background colour,
// where the frame lies on the screen and its visible rows.
bool GifDecodeFirstImage(GifFileType* gif, GifPicture* picture) {
    if (!GifReadFirstImageDesc(gif)) {
        return false;
    }
    const GifImageDesc& frame = gif->Image;
    // The frame is decoded through a row buffer of its width; no side of it
    // may exceed what a picture may have.
    if (frame.Width < 0 || frame.Height < 0 || frame.Width > kGifMaxSide ||
        frame.Height > kGifMaxSide || frame.Left < 0 || frame.Top < 0) {
        return false;
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
    if (!GifSidesAllowed(pictureWidth, pictureHeight)) {
        return false;
    }
    // Clip the frame to the picture; a frame wholly off it keeps no row.
    place.visibleWidth = std::max(0, std::min(place.width, pictureWidth - place.left));
    place.visibleHeight = std::max(0, std::min(place.height, pictureHeight - place.top));
    if (place.visibleWidth == 0 || place.visibleHeight == 0) {
        place.visibleWidth = place.visibleHeight = 0;
    }

    GifPalette palette;
    GifFillPalette(gif->SColorMap, &palette);
    if (gif->SColorMap != nullptr && gif->SBackGroundColor >= 0 &&
        gif->SBackGroundColor < gif->SColorMap->ColorCount) {
        std::memcpy(picture->background, palette.bgr[gif->SBackGroundColor], 3);
    }
    if (frame.ColorMap != nullptr) {
        GifFillPalette(frame.ColorMap, &palette);
    }

    picture->rows.reset(GifNewFrameRows(place.visibleWidth, place.visibleHeight));
    if (!picture->rows || !GifDecodeFrameRows(gif, place, palette, picture->rows.get())) {
        return false;
    }
    picture->width = pictureWidth;
    picture->height = pictureHeight;
    picture->frameLeft = place.left;
    picture->frameTop = place.top;
    picture->frameWidth = place.visibleWidth;
    picture->frameHeight = place.visibleHeight;
    return true;
}

// Decodes from a decoder giflib has opened (or failed to open) and closes
// it. A failure leaves the picture empty.
bool GifDecodeOpened(GifFileType* opened, GifPicture* picture) {
    *picture = GifPicture();
    if (opened == nullptr) {
        return false;
    }
    GifHandle gif(opened);
    if (!GifDecodeFirstImage(gif.get(), picture)) {
        *picture = GifPicture();
        return false;
    }
    // A picture made although giflib reported an error kept the rows before
    // a break in its data.
    picture->damaged = gif->Error != D_GIF_SUCCEEDED;
    if (!GifClose(gif.release())) {
        *picture = GifPicture();
        return false;
    }
    return true;
}

// The screen of a decoded GIF row by row, bottom row first (the order rows
// take in memory): the frame's row between background on either side, or
// background only. Background rows are reported as runs.
class GifScreenRows final : public RowSource {
  public:
    explicit GifScreenRows(const GifPicture& picture) : picture_(picture) {}

    bool ReadRow(uint8_t* row) override {
        const uint8_t* frameRow = FrameRow(next_++);
        const GifPicture& p = picture_;
        if (frameRow == nullptr) {
            FillBackground(row, p.width);
            return true;
        }
        FillBackground(row, p.frameLeft);
        const size_t left = static_cast<size_t>(p.frameLeft) * 3;
        const size_t frameBytes = static_cast<size_t>(p.frameWidth) * 3;
        std::memcpy(row + left, frameRow, frameBytes);
        FillBackground(row + left + frameBytes, p.width - p.frameLeft - p.frameWidth);
        return true;
    }

    // The run is worked out once and then counted down, so that asking for
    // it before every row costs nothing.
    int32_t UniformRowsAhead(uint8_t* bgr) override {
        if (runEnd_ <= next_) {
            runEnd_ = next_;
            while (runEnd_ < picture_.height && FrameRow(runEnd_) == nullptr) {
                ++runEnd_;
            }
        }
        std::memcpy(bgr, picture_.background, 3);
        return runEnd_ - next_;
    }

    void SkipRows(int32_t count) override {
        uint8_t bgr[3];
        next_ += std::min(count, UniformRowsAhead(bgr));
    }

  private:
    // The decoded frame pixels of memory row `index` (0 is the bottom row),
    // or null when that row shows only background.
    const uint8_t* FrameRow(int32_t index) const {
        const GifPicture& p = picture_;
        const int32_t row = p.height - 1 - index - p.frameTop;
        if (row < 0 || row >= p.frameHeight) {
            return nullptr;
        }
        const int32_t slot = p.rows->slots[row];
        return slot < 0 ? nullptr
                        : p.rows->pixels.get() + static_cast<size_t>(slot) * p.frameWidth * 3;
    }

    void FillBackground(uint8_t* row, int32_t pixels) const {
        for (int32_t x = 0; x < pixels; ++x, row += 3) {
            std::memcpy(row, picture_.background, 3);
        }
    }

    const GifPicture& picture_;
    int32_t next_ = 0;    // memory rows handed out or skipped
    int32_t runEnd_ = 0;  // the end of the background run last worked out
};

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

// True for a canvas GifFitIntoCanvas writes: 24 bits, sides in range.
bool GifCanvasUsable(const DibImage& canvas) {
    return canvas.header.biBitCount == 24 &&
           DibSizeValid(canvas.header.biWidth, canvas.header.biHeight);
}

// True for a decoded picture.
bool GifPictureUsable(const GifPicture& picture) {
    return picture.rows && DibSizeValid(picture.width, picture.height);
}

// The size a picture is scaled to for the box. The scale is a whole
// percentage, truncated, so the covering side can end a few pixels short of
// the box. A picture larger than the box at exactly 100 % keeps its size
// (and is cut to the box by the caller).
void GifScaledSize(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight,
                   int32_t* newWidth, int32_t* newHeight) {
    int64_t scale = 100;
    if (boxWidth > 0 && boxHeight > 0 && (pictureWidth > boxWidth || pictureHeight > boxHeight)) {
        // The larger percentage makes the picture cover the box.
        const int64_t ws = int64_t{boxWidth} * 100 / pictureWidth;
        const int64_t hs = int64_t{boxHeight} * 100 / pictureHeight;
        scale = std::max(ws, hs);
    }
    *newWidth = pictureWidth;
    *newHeight = pictureHeight;
    if (scale < 100) {
        // A side that would round to nothing keeps one pixel.
        *newWidth = static_cast<int32_t>(std::max<int64_t>(1, (scale * pictureWidth + 50) / 100));
        *newHeight = static_cast<int32_t>(std::max<int64_t>(1, (scale * pictureHeight + 50) / 100));
    }
}

}  // namespace

bool GifDecodeFile(const std::string& path, GifPicture* picture) {
    FileHandle file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        *picture = GifPicture();
        return false;
    }
    int error = 0;
    return GifDecodeOpened(DGifOpen(file.get(), GifReadFile, &error), picture);
}

bool GifDecodeMemory(const uint8_t* data, size_t size, GifPicture* picture) {
    if (data == nullptr || size == 0) {
        *picture = GifPicture();
        return false;
    }
    GifMemoryCursor cursor{data, size, 0};
    int error = 0;
    return GifDecodeOpened(DGifOpen(&cursor, GifReadMemory, &error), picture);
}

DibBlock GifScaleToBox(const GifPicture& picture, int32_t boxWidth, int32_t boxHeight,
                       bool asMask) {
    if (!GifPictureUsable(picture)) {
        return nullptr;
    }
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    GifScaledSize(picture.width, picture.height, boxWidth, boxHeight, &newWidth, &newHeight);
    DibBlock image = DibCreate(newWidth, newHeight, 24);
    if (!image) {
        return nullptr;
    }
    GifScreenRows rows(picture);
    if (!ResampleImageRows(rows, DibPixels(image.get()),
                           NewPictureRequest(picture.width, picture.height, newWidth, newHeight))) {
        return nullptr;
    }
    return asMask ? BitmapBlueMask(image.get()) : std::move(image);
}

bool GifFitIntoCanvas(const GifPicture& picture, DibImage& canvas) {
    if (!GifPictureUsable(picture) || !GifCanvasUsable(canvas)) {
        return false;
    }
    const int32_t boxWidth = canvas.header.biWidth;
    const int32_t boxHeight = canvas.header.biHeight;
    int32_t newWidth = 0;
    int32_t newHeight = 0;
    GifScaledSize(picture.width, picture.height, boxWidth, boxHeight, &newWidth, &newHeight);
    // Centred both ways, but a picture wider than the canvas keeps its left
    // part; a taller one its middle rows (the resampler's rule).
    ResampleImageRequest request =
        NewPictureRequest(picture.width, picture.height, newWidth, newHeight);
    request.targetStride = DibRowStride(boxWidth, 24);
    request.targetRows = boxHeight;
    request.xOffset = std::max(0, (boxWidth - newWidth) / 2);
    request.yOffset = std::max(0, (boxHeight - newHeight) / 2);
    request.fill = true;
    GifScreenRows rows(picture);
    return ResampleImageRows(rows, DibPixels(&canvas), request);
}
