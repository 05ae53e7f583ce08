// LoadPicture: reads a picture file, as a new picture or into the caller's
// canvas.
//
// The name's ending decides the format (PictureTypeFromName; the content is
// never sniffed): JPEG through libjpeg-turbo, BMP through the program's own
// reader, GIF through giflib, PNG through libpng, WebP through libwebp. A
// JPEG is first turned the way its EXIF orientation says (image/Exif.h), so
// that a portrait photo stored on its side loads as a portrait. The picture
// is fitted to the request's box: never enlarged, and when larger than the
// box in either direction scaled down by one factor until it covers the box.
// JPEG, BMP, PNG and WebP use a rounded percentage and are cut to the box
// centred; GIF uses a truncated percentage (so a side can end a few pixels
// short of the box) and is cut centred vertically but from the left. Large
// JPEG files are reduced while they are decoded, row by row; PNG rows stream
// through the resampler one at a time; WebP pictures are decoded at the
// fitted size by libwebp's scaler. A full-size copy of a large JPEG, PNG
// (unless interlaced) or lossy WebP never exists; a turned JPEG is held whole
// at its reduced decode size only.
//
// Contract: nothing throws and nothing is reported to the user. Every result
// has the same shape for every format:
//  - success: error LOAD_OK, the size of the picture made (into a canvas: the
//    canvas's size), and for LoadPicture the picture;
//  - success with damaged set: the data broke off or was corrupt part way
//    (a truncated download, say); the picture is made, but only the part
//    before the fault is the file's. The rest is what the reader fills in:
//    black rows for BMP, PNG and WebP, the background colour for GIF,
//    libjpeg's own filling for JPEG. The caller tells the user;
//  - failure (unknown name, missing file, unreadable or hostile content,
//    data that breaks off before the first row, out of memory): the reason,
//    0 x 0 and no picture; a canvas is left exactly as it was.
// Limits: no side above kMaxPictureSide; GIF pictures up to kGifMaxSide
// (10000) a side; interlaced PNG pictures up to kPngMaxInterlacedPixels;
// WebP files and pictures as WebpReader.h says. LoadPicture makes no picture
// of more than kMaxLoadedPixels: it refuses such a load (LOAD_TOO_LARGE)
// before anything is allocated for it. That limit is for loads without a
// box, which keep the size the file declares; a load with a box costs what
// the box and the file hold, not what the header declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/DibImage.h"
#include "image/Exif.h"
#include "image/PictureType.h"

class JpegCodec;
class PngReader;
class WebpReader;

// Why a load failed. New reasons are added at the end.
enum LoadError : int16_t {
    LOAD_OK = 0,
    LOAD_UNKNOWN_TYPE,  // the name does not end in a picture extension
    LOAD_CANNOT_OPEN,   // missing or unreadable file
    LOAD_BAD_PICTURE,   // the content was refused, or memory ran out
    LOAD_TOO_LARGE,     // a new picture of more than kMaxLoadedPixels
};

#ifdef FOTAKLE_FUZZING
// Fuzzing builds: the readers refuse files declaring pictures of more than
// kFuzzingMaxPixels, so that the fuzzers spend their time on the readers'
// logic instead of on filling huge pictures; new pictures stop lower still,
// so that their refusal is reached too.
constexpr int64_t kFuzzingMaxPixels = int64_t{1} << 16;
constexpr int64_t kMaxLoadedPixels = int64_t{1} << 14;
#else
constexpr int64_t kMaxLoadedPixels = 100 * 1000 * 1000;
#endif

// What the picture is for. It decides how far a JPEG is reduced while it is
// decoded, whether the decoder is asked a second time, and the result's form.
// BMP, PNG and WebP files ignore it (they always come out in colour at their
// own size before the fit); GIF files heed only the mask form.
enum LoadPurpose : int16_t {
    // The display photo or a plain load: a JPEG is decoded at up to twice
    // the canvas (352 x 360; into a canvas of another size, twice that
    // canvas), so that the program's own resampler has detail to average,
    // then fitted in colour. A decoder that cannot come down so
    // far is asked once more for three quarters of that.
    LOAD_PHOTO = 0,
    // A preview or a decoration: decoded at up to the canvas size
    // (176 x 180), asked once, fitted in colour.
    LOAD_THUMBNAIL,
    // A small preview: the same at up to 44 x 45.
    LOAD_SMALL_THUMBNAIL,
    // An 8-bit mask-form picture of the blue channel: a JPEG is decoded at up
    // to the canvas size (asked again for three quarters, as a photo) and its
    // levels are taken unscaled from the top left, cut to the fitted size; a
    // GIF is fitted first and its blue channel taken then.
    LOAD_MASK,
    // The same at up to 44 x 45 (33 x 34 the second time).
    LOAD_SMALL_MASK,
};

struct LoadRequest {
    // The box the picture is fitted to; a side of 0 or less means no box
    // (the picture keeps the size it is decoded at). Into a canvas the box is
    // always the canvas's size and these are not read.
    int32_t boxWidth = 0;
    int32_t boxHeight = 0;
    LoadPurpose purpose = LOAD_PHOTO;
};

struct LoadResult {
    DibBlock picture;  // LoadPicture only, on success
    int32_t width = 0;
    int32_t height = 0;
    LoadError error = LOAD_BAD_PICTURE;
    // With LOAD_OK: only part of the picture could be read (see above).
    bool damaged = false;

    bool Ok() const { return error == LOAD_OK; }
};

// A new picture: 24-bit, or 8-bit mask form for the mask purposes (BMP files
// stay 24-bit).
LoadResult LoadPicture(const std::string& path, const LoadRequest& request);

// Writes the picture into the caller's canvas, a 24-bit picture of any valid
// size that is the box: the fitted picture centred (GIF: left-aligned when
// wider), the rest black. A canvas that is not a 24-bit picture counts as
// LOAD_BAD_PICTURE. The purpose decides the JPEG decode size as above; a
// mask purpose writes a JPEG's levels as 8-bit rows of the canvas's width
// packed at the start of the canvas's pixels (the bytes behind them keep
// what they held), while the other formats are written in colour.
LoadResult LoadPictureInto(const std::string& path, DibImage& canvas, const LoadRequest& request);

// The two calls above over a file's bytes held in memory, the type given
// instead of taken from a name; the file calls run through the same code.
// An unknown type is LOAD_UNKNOWN_TYPE, no bytes LOAD_BAD_PICTURE.
LoadResult LoadPictureFromMemory(const uint8_t* data, size_t size, PictureType type,
                                 const LoadRequest& request);
LoadResult LoadPictureFromMemoryInto(const uint8_t* data, size_t size, PictureType type,
                                     DibImage& canvas, const LoadRequest& request);

// The size the picture of a file is shown at, as LoadPicture would see it
// before fitting: a JPEG turned by its EXIF orientation has its sides
// swapped, a GIF is its first frame's screen. Only headers are read where
// the format allows. No picture is made; width and height are 0 and error
// says why on failure.
LoadResult ReadPictureSize(const std::string& path);

// The JPEG path of the calls above over any decoder (tests drive it over a
// scripted one). The orientation is the one the file's EXIF block gives.
// Calls codec.Close() exactly once; a failure is LOAD_TOO_LARGE as above or
// else LOAD_BAD_PICTURE.
LoadResult DecodeJpegPicture(JpegCodec& codec, const LoadRequest& request,
                             PictureOrientation orientation = ORIENTATION_NORMAL);
LoadResult DecodeJpegPictureInto(JpegCodec& codec, DibImage& canvas, const LoadRequest& request,
                                 PictureOrientation orientation = ORIENTATION_NORMAL);

// The PNG and WebP paths of the calls above over a reader the caller has
// opened. The reader is closed; a failure is LOAD_TOO_LARGE as above or else
// LOAD_BAD_PICTURE.
LoadResult DecodePngPicture(PngReader& reader, const LoadRequest& request);
LoadResult DecodePngPictureInto(PngReader& reader, DibImage& canvas, const LoadRequest& request);
LoadResult DecodeWebpPicture(WebpReader& reader, const LoadRequest& request);
LoadResult DecodeWebpPictureInto(WebpReader& reader, DibImage& canvas, const LoadRequest& request);
