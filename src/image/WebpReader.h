// WebpReader: WebP pictures through libwebp: lossy, lossless, with alpha,
// and the first frame of an animation.
// https://developers.google.com/speed/webp/docs/riff_container
//
// Open reads the file into memory and finds the first frame (a still
// picture is its own first frame). Decode then decodes it, and ReadRow hands
// out its rows top row first as 24-bit blue, green, red; a pixel of alpha a
// is laid over white, (c x a + 255 x (255 - a) + 127) / 255, as PNG pixels
// are. A frame that covers the whole picture (every still picture) is
// decoded straight at the size asked for, through libwebp's own scaler: a
// large lossy photo is reduced while it is decoded, a few rows at a time. An
// animation's first frame that covers only part of the picture is decoded
// at its own size and laid on a white picture of the animation's size.
//
// libwebp's scaler averages in its own way (a lossy picture's channels are
// scaled before they are turned into colour), so a reduced picture differs
// slightly from one decoded at full size and reduced by the program's
// resampler: by less than 1.5 levels a channel on average, with under 1 % of
// the channels (on hard edges) more than 24 levels apart (WebpReaderTest).
//
// Limits, checked before anything is allocated for the picture: files of at
// most kWebpMaxFileBytes; sides of 1 .. kMaxPictureSide (WebP itself stops
// at 16383); a picture libwebp must hold whole while decoding it (lossless
// data, an alpha plane, an animation's picture) of at most
// kWebpMaxWholePixels.
//
// A short or corrupt file: the rows decoded before the fault are kept and the
// rows after it come out black; Damaged() then says so. A file of which no
// row can be decoded is refused.
//
// Contract: nothing throws and nothing is printed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "image/RowSource.h"

// The largest file read into memory: a 20-megapixel lossy photo takes about
// 5 MB, a lossless one some 40 MB.
constexpr int64_t kWebpMaxFileBytes = 256LL * 1024 * 1024;
// libwebp holds a lossless picture whole at 4 bytes a pixel: 256 MiB here,
// as for an interlaced PNG.
constexpr int64_t kWebpMaxWholePixels = 64LL * 1024 * 1024;

// The file's bytes, the first frame's place in them and the decoded rows;
// defined in WebpReader.cpp.
struct WebpReadState;

class WebpReader final : public RowSource {
  public:
    WebpReader();
    ~WebpReader() override;
    WebpReader(const WebpReader&) = delete;
    WebpReader& operator=(const WebpReader&) = delete;

    // Reads the file and checks its headers and the first frame's. False,
    // with nothing left open, for a file that is not a WebP, breaks the
    // limits or holds no frame, or when memory runs out. A reader that was
    // open is closed first.
    bool Open(const std::string& path);
    // The same over bytes in memory (which must outlive the reader).
    bool OpenMemory(const uint8_t* data, size_t size);

    // The picture's size (an animation's canvas), 0 while none is open.
    int32_t Width() const;
    int32_t Height() const;

    // Decodes the first frame. In: the size wanted, each side 1 .. the
    // picture's own. Out: the size the rows come at: the size wanted, or the
    // picture's own for an animation whose first frame does not cover it.
    // False when no row of the frame can be decoded, when memory runs out,
    // or when the reader is not open or has decoded already.
    bool Decode(int32_t* width, int32_t* height);

    // Writes the next decoded row (top row first). False, with the row black,
    // for a row the data did not reach or past the last row; false with the
    // row untouched before Decode.
    bool ReadRow(uint8_t* row) override;

    // True when Decode met a fault in the data: rows from there on are not
    // the picture's.
    bool Damaged() const;

    void Close();

  private:
    std::unique_ptr<WebpReadState> state_;
};
