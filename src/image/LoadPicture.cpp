// The loader: picks the reader by the name's ending (or the caller's type,
// for bytes in memory), fits the picture to the box and delivers it as a new
// picture or into the caller's canvas. Files and bytes in memory take the
// same path from the moment their reader is open. JPEG, BMP, PNG and WebP
// rows stream from their decoder into their final place: rows that need
// resampling go through ResampleStream, so a full-size copy of a large photo
// never exists. GIF frames are decoded by giflib and fitted after, the
// screen around them made while they are fitted.
#include "image/LoadPicture.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

#include "image/BmpReader.h"
#include "image/Exif.h"
#include "image/GifReader.h"
#include "image/JpegCodec.h"
#include "image/PictureType.h"
#include "image/PngFile.h"
#include "image/Resample.h"
#include "image/WebpReader.h"

namespace {

// How a purpose asks the JPEG decoder, and the form it delivers.
struct PurposeTraits {
    int32_t requestWidth;  // the largest size asked for first
    int32_t requestHeight;
    bool asksTwice;  // ask again for three quarters when the answer is larger
    bool mask;       // 8-bit mask form of the blue channel
};

PurposeTraits TraitsOf(LoadPurpose purpose) {
    // A photo is decoded at twice the canvas so that the program's own
    // resampler has detail to average; previews, decorations and masks at
    // the canvas size, or 44 x 45 for the small ones.
    constexpr int32_t kSmallWidth = 44;
    constexpr int32_t kSmallHeight = 45;
    switch (purpose) {
        case LOAD_THUMBNAIL:
            return {kCanvasWidth, kCanvasHeight, false, false};
        case LOAD_SMALL_THUMBNAIL:
            return {kSmallWidth, kSmallHeight, false, false};
        case LOAD_MASK:
            return {kCanvasWidth, kCanvasHeight, true, true};
        case LOAD_SMALL_MASK:
            return {kSmallWidth, kSmallHeight, true, true};
        case LOAD_PHOTO:
        default:
            return {2 * kCanvasWidth, 2 * kCanvasHeight, true, false};
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

// Where decoded rows go: height rows of stride bytes, each width pixels.
struct RowTarget {
    DibBlock block;  // the new picture; empty when the rows go into a canvas
    uint8_t* pixels = nullptr;
    int32_t stride = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool centred = false;  // into a canvas: centred in it, black around
    bool damaged = false;  // the decoder met a fault: rows after it are not the picture's
};

// Scales rows of the request's source size to its target size into the
// target, the box they are centred in (black around them in a canvas); flip
// for rows that arrive top row first.
bool ResampleIntoTarget(RowSource& rows, ResampleStreamRequest request, bool flip,
                        const RowTarget& target) {
    request.targetStride = target.stride;
    request.boxWidth = target.width;
    request.boxHeight = target.height;
    request.flip = flip;
    request.fill = target.centred;
    return ResampleStream(rows, target.pixels, request);
}

// True when LoadPicture may make a picture of this size.
bool NewPictureAllowed(int32_t width, int32_t height) {
    return int64_t{width} * height <= kMaxLoadedPixels;
}

// A new zero-filled picture of the fitted size: LOAD_TOO_LARGE above the
// limit, LOAD_BAD_PICTURE when memory runs out.
LoadError NewPictureTarget(int32_t fitWidth, int32_t fitHeight, int32_t bitsPerPixel,
                           RowTarget* target) {
    if (!NewPictureAllowed(fitWidth, fitHeight)) {
        return LOAD_TOO_LARGE;
    }
    target->block = DibCreate(fitWidth, fitHeight, bitsPerPixel);
    if (!target->block) {
        return LOAD_BAD_PICTURE;
    }
    target->pixels = DibPixels(target->block.get());
    target->stride = DibRowStride(fitWidth, bitsPerPixel);
    target->width = fitWidth;
    target->height = fitHeight;
    return LOAD_OK;
}

// The caller's canvas, which must be a 24-bit picture. Mask rows are laid
// out at their own 8-bit stride from the start of its pixels.
LoadError CanvasTarget(DibImage& canvas, int32_t bitsPerPixel, RowTarget* target) {
    const int32_t width = canvas.header.biWidth;
    const int32_t height = canvas.header.biHeight;
    if (canvas.header.biBitCount != 24 || !DibSizeValid(width, height)) {
        return LOAD_BAD_PICTURE;
    }
    target->pixels = DibPixels(&canvas);
    target->stride = DibRowStride(width, bitsPerPixel);
    target->width = width;
    target->height = height;
    target->centred = true;
    return LOAD_OK;
}

// Rows at the target's size: read straight into place, the first (top) row
// into the last row in memory.
void ReadRowsDirect(RowSource& rows, const RowTarget& target) {
    for (int32_t y = 0; y < target.height; ++y) {
        rows.ReadRow(target.pixels + static_cast<size_t>(target.height - 1 - y) * target.stride);
    }
}

// A mask keeps the blue byte of each decoded pixel, unscaled, from the top
// left of the picture; the top row goes last in memory. Parts of the target
// the picture does not reach are black.
bool ReadMaskRows(RowSource& rows, int32_t sourceWidth, int32_t sourceHeight,
                  const RowTarget& target) {
    uint8_t* row =
        static_cast<uint8_t*>(std::calloc(static_cast<size_t>(DibRowStride(sourceWidth, 24)), 1));
    if (row == nullptr) {
        return false;
    }
    const int32_t columns = sourceWidth < target.width ? sourceWidth : target.width;
    for (int32_t y = 0; y < target.height; ++y) {
        uint8_t* mask = target.pixels + static_cast<size_t>(target.height - 1 - y) * target.stride;
        int32_t x = 0;
        if (y < sourceHeight) {
            rows.ReadRow(row);
            for (; x < columns; ++x) {
                mask[x] = row[3 * x];
            }
        }
        std::memset(mask + x, 0, static_cast<size_t>(target.width - x));
    }
    std::free(row);
    return true;
}

// Asks the decoder for the purpose's size and, when the purpose asks twice
// and the answer is still larger, once more for three quarters of it; that
// answer is final. Then starts the rows. False when the decoder refuses the
// picture or delivers a size out of range.
bool NegotiateJpegSize(JpegCodec& codec, const PurposeTraits& traits, int32_t* sourceWidth,
                       int32_t* sourceHeight) {
    int32_t requestWidth = traits.requestWidth;
    int32_t requestHeight = traits.requestHeight;
    *sourceWidth = requestWidth;
    *sourceHeight = requestHeight;
    bool decoded = codec.ReadHeader(sourceWidth, sourceHeight);
    if (decoded && traits.asksTwice &&
        (*sourceWidth > requestWidth || *sourceHeight > requestHeight)) {
        requestWidth -= requestWidth / 4;
        requestHeight -= requestHeight / 4;
        *sourceWidth = requestWidth;
        *sourceHeight = requestHeight;
        decoded = codec.ReadHeader(sourceWidth, sourceHeight);
    }
    return decoded && DibSizeValid(*sourceWidth, *sourceHeight) && codec.StartRows();
}

// A picture held whole, handed out top row first as a decoder hands out its
// rows. Empty (every read fails) without a picture.
class PictureRows final : public RowSource {
  public:
    explicit PictureRows(const DibImage* picture) : picture_(picture) {}

    bool ReadRow(uint8_t* row) override {
        if (picture_ == nullptr || next_ >= picture_->header.biHeight) {
            return false;
        }
        const int32_t width = picture_->header.biWidth;
        const size_t stride = static_cast<size_t>(DibRowStride(width, 24));
        const size_t memoryRow = static_cast<size_t>(picture_->header.biHeight - 1 - next_);
        std::memcpy(row, DibPixels(picture_) + memoryRow * stride, static_cast<size_t>(width) * 3);
        ++next_;
        return true;
    }

  private:
    const DibImage* picture_;
    int32_t next_ = 0;
};

// The orientation step: the picture at its decode size (small: the decoder
// has reduced it already) read whole and turned as the file says, so that
// the fit and everything after it see the picture as it is shown. Null when
// memory runs out.
DibBlock DecodeTurned(JpegCodec& codec, int32_t width, int32_t height,
                      PictureOrientation orientation) {
    DibBlock stored = DibCreate(width, height, 24);
    if (!stored) {
        return nullptr;
    }
    RowTarget whole;
    whole.pixels = DibPixels(stored.get());
    whole.stride = DibRowStride(width, 24);
    whole.width = width;
    whole.height = height;
    ReadRowsDirect(codec, whole);
    return OrientPicture(*stored, orientation);
}

// A photo into a canvas is decoded at up to twice the canvas, whatever its
// size: the screen's 176 x 180 asks for 352 x 360, and the same photo
// rendered again at k times the screen asks for k times that.
PurposeTraits TraitsIntoCanvas(LoadPurpose purpose, const DibImage& canvas) {
    PurposeTraits traits = TraitsOf(purpose);
    if (purpose == LOAD_PHOTO) {
        traits.requestWidth = 2 * canvas.header.biWidth;
        traits.requestHeight = 2 * canvas.header.biHeight;
    }
    return traits;
}

// The JPEG path: the decode size, the orientation step, the fit to the box,
// the target (made by makeTarget(fitWidth, fitHeight, bitsPerPixel, target)
// once the fitted size is known) and the rows. A picture shown with its
// sides swapped asks the decoder for the purpose's size with its sides
// swapped. Closes the codec.
template <typename MakeTarget>
LoadError DecodeJpegRows(JpegCodec& codec, PurposeTraits traits, PictureOrientation orientation,
                         int32_t boxWidth, int32_t boxHeight, const MakeTarget& makeTarget,
                         RowTarget* target) {
    if (OrientationSwapsSides(orientation)) {
        std::swap(traits.requestWidth, traits.requestHeight);
    }
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    LoadError error = LOAD_BAD_PICTURE;
    DibBlock shown;
    if (NegotiateJpegSize(codec, traits, &sourceWidth, &sourceHeight)) {
        error = LOAD_OK;
        if (orientation != ORIENTATION_NORMAL) {
            shown = DecodeTurned(codec, sourceWidth, sourceHeight, orientation);
            if (shown) {
                sourceWidth = shown->header.biWidth;
                sourceHeight = shown->header.biHeight;
            } else {
                error = LOAD_BAD_PICTURE;
            }
        }
    }
    if (error == LOAD_OK) {
        FitToBox(sourceWidth, sourceHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);
        error = makeTarget(fitWidth, fitHeight, traits.mask ? 8 : 24, target);
    }
    PictureRows shownRows(shown.get());
    RowSource& rows = shown ? static_cast<RowSource&>(shownRows) : codec;
    if (error == LOAD_OK) {
        bool decoded = true;
        if (traits.mask) {
            decoded = ReadMaskRows(rows, sourceWidth, sourceHeight, *target);
        } else if (target->width == sourceWidth && target->height == sourceHeight) {
            ReadRowsDirect(rows, *target);
        } else {
            decoded = ResampleIntoTarget(rows, {sourceWidth, sourceHeight, fitWidth, fitHeight},
                                         true, *target);
        }
        error = decoded ? LOAD_OK : LOAD_BAD_PICTURE;
    }
    target->damaged = codec.Damaged();
    codec.Close();
    return error;
}

// Passes a BMP reader's rows on and notes whether any could not be read:
// rows past the end of a short file, read one by one or reported as the
// black run that lies wholly past it.
class NotedRows final : public RowSource {
  public:
    explicit NotedRows(RowSource& rows) : rows_(rows) {}
    bool ReadRow(uint8_t* row) override {
        const bool read = rows_.ReadRow(row);
        failed_ = failed_ || !read;
        return read;
    }
    int32_t UniformRowsAhead(uint8_t* bgr) override {
        const int32_t run = rows_.UniformRowsAhead(bgr);
        failed_ = failed_ || run > 0;
        return run;
    }
    void SkipRows(int32_t count) override { rows_.SkipRows(count); }
    bool Failed() const { return failed_; }

  private:
    RowSource& rows_;
    bool failed_ = false;
};

// The colour paths' common end: makes the target at the request's fitted
// size and scales the rows into it. A target that cannot be made, or rows
// that cannot be read, fail the load.
template <typename MakeTarget>
LoadError FillColourTarget(RowSource& rows, const ResampleStreamRequest& request, bool flip,
                           const MakeTarget& makeTarget, RowTarget* target) {
    const LoadError error = makeTarget(request.targetWidth, request.targetHeight, 24, target);
    if (error != LOAD_OK) {
        return error;
    }
    return ResampleIntoTarget(rows, request, flip, *target) ? LOAD_OK : LOAD_BAD_PICTURE;
}

// The BMP path over an open reader: BMP files always come out in colour,
// whatever the purpose. Rows come bottom row first, the order they take in
// memory; rows the file does not hold cost nothing (BmpReader.h). Closes the
// reader.
template <typename MakeTarget>
LoadError DecodeBmpRows(BmpReader& reader, int32_t boxWidth, int32_t boxHeight,
                        const MakeTarget& makeTarget, RowTarget* target) {
    const int32_t sourceWidth = reader.Width();
    const int32_t sourceHeight = reader.Height();
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    FitToBox(sourceWidth, sourceHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);
    NotedRows rows(reader);
    const LoadError error = FillColourTarget(rows, {sourceWidth, sourceHeight, fitWidth, fitHeight},
                                             false, makeTarget, target);
    target->damaged = rows.Failed();
    reader.Close();
    return error;
}

// The PNG path: in colour whatever the purpose, rows top row first from the
// reader (opened, and holding its first row, so that nothing can fail once
// rows are written). Closes the reader.
template <typename MakeTarget>
LoadError DecodePngRows(PngReader& reader, int32_t boxWidth, int32_t boxHeight,
                        const MakeTarget& makeTarget, RowTarget* target) {
    const int32_t sourceWidth = reader.Width();
    const int32_t sourceHeight = reader.Height();
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    FitToBox(sourceWidth, sourceHeight, boxWidth, boxHeight, &fitWidth, &fitHeight);
    const LoadError error =
        DibSizeValid(sourceWidth, sourceHeight)
            ? FillColourTarget(reader, {sourceWidth, sourceHeight, fitWidth, fitHeight}, true,
                               makeTarget, target)
            : LOAD_BAD_PICTURE;
    target->damaged = reader.Damaged();
    reader.Close();
    return error;
}

// The WebP path: in colour whatever the purpose. libwebp decodes at the
// fitted size where it can, and the resampler then only places the rows;
// an animation whose first frame leaves part of its picture uncovered comes
// at the picture's own size and is fitted by the resampler. The whole frame
// is decoded before the target is made, so nothing can fail once rows are
// written. Closes the reader.
template <typename MakeTarget>
LoadError DecodeWebpRows(WebpReader& reader, int32_t boxWidth, int32_t boxHeight,
                         const MakeTarget& makeTarget, RowTarget* target) {
    int32_t fitWidth = 0;
    int32_t fitHeight = 0;
    FitToBox(reader.Width(), reader.Height(), boxWidth, boxHeight, &fitWidth, &fitHeight);
    int32_t rowsWidth = fitWidth;
    int32_t rowsHeight = fitHeight;
    const LoadError error =
        reader.Decode(&rowsWidth, &rowsHeight)
            ? FillColourTarget(reader, {rowsWidth, rowsHeight, fitWidth, fitHeight}, true,
                               makeTarget, target)
            : LOAD_BAD_PICTURE;
    target->damaged = reader.Damaged();
    reader.Close();
    return error;
}

// The canvas is the box: the fitted size does not change the target.
auto IntoCanvas(DibImage& canvas) {
    return [&canvas](int32_t, int32_t, int32_t bitsPerPixel, RowTarget* target) {
        return CanvasTarget(canvas, bitsPerPixel, target);
    };
}

LoadResult Failed(LoadError error) {
    LoadResult result;
    result.error = error;
    return result;
}

LoadResult PictureMade(DibBlock picture, bool damaged = false) {
    LoadResult result;
    if (!picture) {
        return result;
    }
    result.width = picture->header.biWidth;
    result.height = picture->header.biHeight;
    result.picture = std::move(picture);
    result.error = LOAD_OK;
    result.damaged = damaged;
    return result;
}

LoadResult CanvasFilled(const DibImage& canvas, bool damaged = false) {
    LoadResult result;
    result.width = canvas.header.biWidth;
    result.height = canvas.header.biHeight;
    result.error = LOAD_OK;
    result.damaged = damaged;
    return result;
}

// Where a picture's bytes come from: a file (path), or bytes in memory.
struct PictureInput {
    PictureType type;
    const std::string* path;
    const uint8_t* data;
    size_t size;
};

PictureInput FileInput(const std::string& path) {
    return {PictureTypeFromName(path), &path, nullptr, 0};
}

PictureInput MemoryInput(const uint8_t* data, size_t size, PictureType type) {
    return {type, nullptr, data, size};
}

std::unique_ptr<JpegCodec> OpenJpeg(const PictureInput& input) {
    return input.path != nullptr ? OpenJpegFile(*input.path)
                                 : OpenJpegMemory(input.data, input.size);
}

bool OpenBmp(const PictureInput& input, BmpReader* reader) {
    return input.path != nullptr ? reader->Open(*input.path)
                                 : reader->OpenMemory(input.data, input.size);
}

bool DecodeGif(const PictureInput& input, GifPicture* picture) {
    return input.path != nullptr ? GifDecodeFile(*input.path, picture)
                                 : GifDecodeMemory(input.data, input.size, picture);
}

bool OpenPng(const PictureInput& input, PngReader* reader) {
    return input.path != nullptr ? reader->Open(*input.path)
                                 : reader->OpenMemory(input.data, input.size);
}

bool OpenWebp(const PictureInput& input, WebpReader* reader) {
    return input.path != nullptr ? reader->Open(*input.path)
                                 : reader->OpenMemory(input.data, input.size);
}

// How a JPEG's EXIF block says it is to be turned.
PictureOrientation JpegOrientation(const PictureInput& input) {
    const ExifInfo exif = input.path != nullptr ? ReadJpegExif(*input.path, false)
                                                : ReadJpegExifMemory(input.data, input.size, false);
    return exif.orientation;
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

// Why a load failed, from what the reader said. The readers do not tell a
// missing file from bad content, so a file is tried once more here; the cost
// falls on failures only.
LoadResult FailedLoad(const PictureInput& input, LoadError error) {
    if (input.type == PICTURE_UNKNOWN) {
        error = LOAD_UNKNOWN_TYPE;
    } else if (error == LOAD_BAD_PICTURE && input.path != nullptr && !Readable(*input.path)) {
        error = LOAD_CANNOT_OPEN;
    }
    return Failed(error);
}

LoadResult LoadNewPicture(const PictureInput& input, const LoadRequest& request) {
    LoadResult result;
    LoadError error = LOAD_BAD_PICTURE;
    if (input.type == PICTURE_JPEG) {
        std::unique_ptr<JpegCodec> codec = OpenJpeg(input);
        if (codec) {
            result = DecodeJpegPicture(*codec, request, JpegOrientation(input));
            error = result.error;
        }
    } else if (input.type == PICTURE_BMP) {
        BmpReader reader;
        RowTarget target;
        if (OpenBmp(input, &reader)) {
            error = DecodeBmpRows(reader, request.boxWidth, request.boxHeight, NewPictureTarget,
                                  &target);
            if (error == LOAD_OK) {
                result = PictureMade(std::move(target.block), target.damaged);
            }
        }
    } else if (input.type == PICTURE_GIF) {
        GifPicture gif;
        if (DecodeGif(input, &gif)) {
            // Scaling only ever shrinks a GIF, so without a box the picture
            // keeps the screen's size and with one it is smaller.
            const bool boxed = request.boxWidth > 0 && request.boxHeight > 0;
            error = boxed || NewPictureAllowed(gif.width, gif.height) ? LOAD_OK : LOAD_TOO_LARGE;
            if (error == LOAD_OK) {
                result = PictureMade(GifScaleToBox(gif, request.boxWidth, request.boxHeight,
                                                   TraitsOf(request.purpose).mask),
                                     gif.damaged);
                error = result.error;
            }
        }
    } else if (input.type == PICTURE_PNG) {
        PngReader reader;
        if (OpenPng(input, &reader)) {
            result = DecodePngPicture(reader, request);
            error = result.error;
        }
    } else if (input.type == PICTURE_WEBP) {
        WebpReader reader;
        if (OpenWebp(input, &reader)) {
            result = DecodeWebpPicture(reader, request);
            error = result.error;
        }
    }
    return result.Ok() ? std::move(result) : FailedLoad(input, error);
}

LoadResult LoadIntoCanvas(const PictureInput& input, DibImage& canvas, const LoadRequest& request) {
    LoadResult result;
    if (input.type == PICTURE_JPEG) {
        std::unique_ptr<JpegCodec> codec = OpenJpeg(input);
        if (codec) {
            result = DecodeJpegPictureInto(*codec, canvas, request, JpegOrientation(input));
        }
    } else if (input.type == PICTURE_BMP) {
        BmpReader reader;
        RowTarget target;
        if (OpenBmp(input, &reader)) {
            const LoadError error = DecodeBmpRows(
                reader, canvas.header.biWidth, canvas.header.biHeight, IntoCanvas(canvas), &target);
            result = error == LOAD_OK ? CanvasFilled(canvas, target.damaged) : Failed(error);
        }
    } else if (input.type == PICTURE_GIF) {
        // GIF pictures are centred their own way (see GifFitIntoCanvas).
        GifPicture gif;
        if (DecodeGif(input, &gif) && GifFitIntoCanvas(gif, canvas)) {
            result = CanvasFilled(canvas, gif.damaged);
        }
    } else if (input.type == PICTURE_PNG) {
        PngReader reader;
        if (OpenPng(input, &reader)) {
            result = DecodePngPictureInto(reader, canvas, request);
        }
    } else if (input.type == PICTURE_WEBP) {
        WebpReader reader;
        if (OpenWebp(input, &reader)) {
            result = DecodeWebpPictureInto(reader, canvas, request);
        }
    }
    return result.Ok() ? std::move(result) : FailedLoad(input, result.error);
}

}  // namespace

LoadResult DecodeJpegPicture(JpegCodec& codec, const LoadRequest& request,
                             PictureOrientation orientation) {
    RowTarget target;
    const LoadError error =
        DecodeJpegRows(codec, TraitsOf(request.purpose), orientation, request.boxWidth,
                       request.boxHeight, NewPictureTarget, &target);
    return error == LOAD_OK ? PictureMade(std::move(target.block), target.damaged) : Failed(error);
}

LoadResult DecodeJpegPictureInto(JpegCodec& codec, DibImage& canvas, const LoadRequest& request,
                                 PictureOrientation orientation) {
    RowTarget target;
    const LoadError error =
        DecodeJpegRows(codec, TraitsIntoCanvas(request.purpose, canvas), orientation,
                       canvas.header.biWidth, canvas.header.biHeight, IntoCanvas(canvas), &target);
    return error == LOAD_OK ? CanvasFilled(canvas, target.damaged) : Failed(error);
}

LoadResult DecodePngPicture(PngReader& reader, const LoadRequest& request) {
    RowTarget target;
    const LoadError error =
        DecodePngRows(reader, request.boxWidth, request.boxHeight, NewPictureTarget, &target);
    return error == LOAD_OK ? PictureMade(std::move(target.block), target.damaged) : Failed(error);
}

LoadResult DecodePngPictureInto(PngReader& reader, DibImage& canvas, const LoadRequest&) {
    RowTarget target;
    const LoadError error = DecodePngRows(reader, canvas.header.biWidth, canvas.header.biHeight,
                                          IntoCanvas(canvas), &target);
    return error == LOAD_OK ? CanvasFilled(canvas, target.damaged) : Failed(error);
}

LoadResult DecodeWebpPicture(WebpReader& reader, const LoadRequest& request) {
    RowTarget target;
    const LoadError error =
        DecodeWebpRows(reader, request.boxWidth, request.boxHeight, NewPictureTarget, &target);
    return error == LOAD_OK ? PictureMade(std::move(target.block), target.damaged) : Failed(error);
}

LoadResult DecodeWebpPictureInto(WebpReader& reader, DibImage& canvas, const LoadRequest&) {
    RowTarget target;
    const LoadError error = DecodeWebpRows(reader, canvas.header.biWidth, canvas.header.biHeight,
                                           IntoCanvas(canvas), &target);
    return error == LOAD_OK ? CanvasFilled(canvas, target.damaged) : Failed(error);
}

LoadResult LoadPicture(const std::string& path, const LoadRequest& request) {
    return LoadNewPicture(FileInput(path), request);
}

LoadResult LoadPictureInto(const std::string& path, DibImage& canvas, const LoadRequest& request) {
    return LoadIntoCanvas(FileInput(path), canvas, request);
}

LoadResult LoadPictureFromMemory(const uint8_t* data, size_t size, PictureType type,
                                 const LoadRequest& request) {
    return LoadNewPicture(MemoryInput(data, size, type), request);
}

LoadResult LoadPictureFromMemoryInto(const uint8_t* data, size_t size, PictureType type,
                                     DibImage& canvas, const LoadRequest& request) {
    return LoadIntoCanvas(MemoryInput(data, size, type), canvas, request);
}

LoadResult ReadPictureSize(const std::string& path) {
    const PictureType type = PictureTypeFromName(path);
    int32_t width = 0;
    int32_t height = 0;
    if (type == PICTURE_JPEG) {
        const std::unique_ptr<JpegCodec> codec = OpenJpegFile(path);
        if (codec) {
            // Asked for the largest size, the decoder reports the full one.
            width = kMaxPictureSide;
            height = kMaxPictureSide;
            if (!codec->ReadHeader(&width, &height)) {
                width = 0;
                height = 0;
            }
            codec->Close();
        }
        if (OrientationSwapsSides(ReadJpegExif(path, false).orientation)) {
            std::swap(width, height);
        }
    } else if (type == PICTURE_BMP) {
        BmpReader reader;
        if (reader.Open(path)) {
            width = reader.Width();
            height = reader.Height();
            reader.Close();
        }
    } else if (type == PICTURE_GIF) {
        GifPicture gif;
        if (GifDecodeFile(path, &gif)) {
            width = gif.width;
            height = gif.height;
        }
    } else if (type == PICTURE_PNG) {
        PngReader reader;
        if (reader.Open(path)) {
            width = reader.Width();
            height = reader.Height();
            reader.Close();
        }
    } else if (type == PICTURE_WEBP) {
        WebpReader reader;
        if (reader.Open(path)) {
            width = reader.Width();
            height = reader.Height();
            reader.Close();
        }
    }
    if (!DibSizeValid(width, height)) {
        return FailedLoad(FileInput(path), LOAD_BAD_PICTURE);
    }
    LoadResult result;
    result.width = width;
    result.height = height;
    result.error = LOAD_OK;
    return result;
}
