// JpegCodec: the three operations the loader needs from a JPEG decoder.
//
// ReadHeader reports the size rows will be delivered at, at most the size
// asked for where the decoder can reduce the picture (libjpeg's DCT scaling by
// M/8); StartRows prepares the rows of the last request; ReadRow hands out
// rows top first as blue, green, red; Close ends the decode. The loader calls
// Close exactly once, also when ReadHeader failed. Tests stand a fake codec
// here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "image/RowSource.h"

class JpegCodec : public RowSource {
public:
    // In: width and height are the largest size wanted. Out: the size at which
    // rows will come. Returns false when the data is not a readable JPEG. A
    // second call without Close in between restarts at the new request.
    virtual bool ReadHeader(int32_t* width, int32_t* height) = 0;
    // Called once after the last ReadHeader, before the first ReadRow. Returns
    // false when the picture cannot be decoded after all (a progressive
    // picture reads and checks all its scans here), so that the caller can
    // give up before it writes any pixel. ReadRow starts on its own when this
    // was not called.
    virtual bool StartRows() { return true; }
    // The next row, top row first, width x 3 bytes blue, green, red of the
    // reported width; the row has room for DibRowStride(width, 24) bytes.
    bool ReadRow(uint8_t* row) override = 0;
    // True when the data of the decode broke off or was corrupt: the rows
    // still come, but the decoder made up part of them. Read before Close.
    virtual bool Damaged() const { return false; }
    // Ends the decode and releases the file.
    virtual void Close() = 0;
};

// A libjpeg-turbo decoder over a file or over bytes in memory (which must
// outlive the codec). Null only when memory runs out; a missing or unreadable
// file makes ReadHeader fail.
std::unique_ptr<JpegCodec> OpenJpegFile(const std::string& path);
std::unique_ptr<JpegCodec> OpenJpegMemory(const uint8_t* data, size_t size);
