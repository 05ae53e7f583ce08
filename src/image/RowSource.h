// RowSource: a decoder that hands out a picture one row at a time.
//
// The streaming resampler pulls its source rows through this interface, so a
// large photo is reduced while it is being decoded and never held whole.
// A source that knows rows without decoding them (rows a short file does not
// hold, a background around a small frame) says so, and the resampler passes
// over such a run in one step instead of row by row.
#pragma once

#include <cstdint>

class RowSource {
  public:
    virtual ~RowSource() = default;
    // Writes the next row as 24-bit blue, green, red pixels of the width the
    // source announced. The target always has room for DibRowStride(width, 24)
    // bytes. Returns false when the row could not be read; what the target
    // then holds is stated by each source.
    virtual bool ReadRow(uint8_t* row) = 0;
    // How many of the next rows are known, without reading them, to be one
    // colour from end to end (blue, green, red into bgr); 0 when the next row
    // has to be read. ReadRow delivers such a row in that colour.
    virtual int32_t UniformRowsAhead(uint8_t* bgr) {
        (void)bgr;
        return 0;
    }
    // Passes over the next count rows, at most the run UniformRowsAhead
    // reported, without delivering them.
    virtual void SkipRows(int32_t count) { (void)count; }
};
