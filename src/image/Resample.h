// Integer resamplers for 24-bit pictures and the placement of a photo on the
// canvas.
//
// Shrinking averages whole source pixels and rows (a box filter driven by an
// error counter); enlarging interpolates between neighbours with per-byte
// error terms instead of divisions. The three bytes of a pixel are resampled
// as independent channels. Rows are DibImage rows: 24-bit, bottom-up, the
// source stride DibRowStride(width, 24).
//
// Contract: nothing here throws. The routines that allocate work memory
// return false (or null) when it cannot be had or when a size argument is out
// of range (sides 1 .. kMaxPictureSide, strides and row counts not negative);
// the target is then left as it was. No argument combination makes them read
// or write outside the source rows, the target rows or their own buffers.
#pragma once

#include <cstdint>

#include "image/CanvasView.h"
#include "image/DibImage.h"
#include "image/RowSource.h"

// Scales one row of sourceWidth pixels to targetWidth pixels, writing exactly
// targetWidth x 3 bytes; equal widths copy the row. The rows must not
// overlap. A null row or a width out of range writes nothing.
void ResampleRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth, int32_t targetWidth);

// What a picture resampler makes and where it puts it: the source picture
// (rows DibRowStride(sourceWidth, 24) apart), the size it is scaled to, the
// target's rows, and where in them the scaled picture goes.
struct ResampleImageRequest {
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;
    int32_t targetWidth = 0;  // the scaled picture
    int32_t targetHeight = 0;
    int32_t targetStride = 0;  // bytes per target row
    int32_t targetRows = 0;    // rows the target holds
    int32_t xOffset = 0;       // pixels from the start of each target row
    int32_t yOffset = 0;       // rows from the first target row in memory
    // Black into the target rows the picture does not cover; without it
    // those rows keep their bytes.
    bool fill = false;
    // Enlarge vertically by interpolating between rows (ResampleImage only).
    bool interpolate = false;
};

// The request that scales a whole picture into a new picture of the target
// size: its rows at DibRowStride(targetWidth, 24), all of them, no offsets,
// no fill, interpolating.
ResampleImageRequest NewPictureRequest(int32_t sourceWidth, int32_t sourceHeight,
                                       int32_t targetWidth, int32_t targetHeight);

// Scales a picture held in memory to targetWidth x targetHeight into target,
// placed at the request's offsets (which must not be negative: false).
//  - A scaled picture taller than targetRows (with yOffset 0) loses equal
//    parts at both ends; rows wider than targetStride are cut on the right.
//  - A source taller but not wider than the scaled size keeps its middle
//    rows; without interpolate a source that is not taller is copied
//    unscaled, which callers use only when the widths match.
bool ResampleImage(const uint8_t* source, uint8_t* target, const ResampleImageRequest& request);

// ResampleImage without interpolation (the request's flag is not read) over
// a picture whose rows arrive from rows, first row in memory first (one
// ReadRow per source row, in order): the same placement, the same pixels.
// Runs of rows the source reports as one colour cost no more than the rows
// they make, so a large picture that is mostly one colour is scaled at the
// cost of its other rows. Rows past what the target needs may never be read.
bool ResampleImageRows(RowSource& rows, uint8_t* target, const ResampleImageRequest& request);

// What the stream resampler makes: the source picture, the size it is scaled
// to, and the box it is centred in. The target holds boxHeight rows of
// targetStride bytes.
struct ResampleStreamRequest {
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;
    int32_t targetWidth = 0;  // the scaled picture
    int32_t targetHeight = 0;
    int32_t targetStride = 0;
    int32_t boxWidth = 0;
    int32_t boxHeight = 0;
    // The first row read goes to the last row in memory (for sources that
    // deliver the top row first).
    bool flip = false;
    bool fill = false;  // black where the picture does not cover the box
};

// Scales a picture whose rows arrive one at a time from rows (one ReadRow per
// source row, in order) and centres it in the box. Sources come already
// reduced: one that is not taller than the scaled size is copied unscaled.
// A picture larger than the box loses (width - boxWidth) / 2 columns on the
// left and (height - boxHeight) / 2 of the first rows read, the rest on the
// other side. Reading stops as soon as the scaled picture or the box is
// complete, so the last source rows may never be read, and runs of one
// colour are passed over in one step, as above. Failed reads are not
// checked: the row then holds what the source left in it. Returns false,
// before reading anything, on a size out of range.
bool ResampleStream(RowSource& rows, uint8_t* target, const ResampleStreamRequest& request);

// A new 24-bit image of newWidth x newHeight holding the 176 x 180 canvas
// scaled to that size, or null.
DibBlock RescaleCanvas(const uint8_t* canvas, int32_t newWidth, int32_t newHeight);

// The same for a 24-bit picture of any size (its rows at the view's
// stride): smaller in both directions through the box filter, a lower but
// not narrower picture keeps the middle rows and scales only across, a
// picture at least as high interpolates. Null for an invalid view or size,
// or when memory runs out.
DibBlock RescalePicture(const CanvasReadView& picture, int32_t newWidth, int32_t newHeight);

// A photo laid onto a canvas of any size: its rows, the canvas column and row
// its first column and row (in memory) land on, and the colour of every
// canvas pixel it does not cover.
struct PhotoPlacement {
    CanvasReadView photo;
    int32_t x = 0;
    int32_t y = 0;
    uint8_t fillBlue = 0;
    uint8_t fillGreen = 0;
    uint8_t fillRed = 0;
};

// Fills the whole of a 24-bit canvas of any size (the 176 x 180 screen is
// ScreenCanvasView): the photo placed with its first row in memory at canvas
// row y and its first column at canvas column x, every uncovered canvas
// pixel in the fill colour. The first width x 3 bytes of every canvas row
// are written, the padding never. Any x and y are accepted; an invalid photo
// view covers nothing, an invalid canvas view is not written. The photo must
// not overlap the canvas.
void PlacePhotoOnCanvas(const CanvasView& canvas, const PhotoPlacement& placement);
