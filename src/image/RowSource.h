// RowSource: a decoder that hands out a picture one row at a time.
//
// The streaming resampler pulls its source rows through this interface, so a
// large photo is reduced while it is being decoded and never held whole.
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
};
