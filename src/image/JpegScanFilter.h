// JpegScanFilter: the bytes of a JPEG handed to libjpeg, less the scans a
// reduced decode never uses.
//
// At 1/8 scale libjpeg turns each 8 x 8 block of a component whose scaled
// block size is 1 into one pixel from its DC coefficient alone, yet it still
// entropy-decodes every AC scan of that component, which is most of a
// progressive file. PlanJpegScanFilter walks the file's markers once and lists
// those AC scans; a JpegFilterSource then gives libjpeg everything but them.
// Decoded with block smoothing off, the filtered stream gives the same pixels
// as the whole file: block smoothing only ever guesses coefficients that no
// scan supplied, and the plan is made only for files whose scans supply every
// coefficient of every component, so the whole file is never smoothed either.
//
// The plan is refused (false) for anything the walk does not fully
// understand, so that the caller decodes the file as it is: another frame
// type than progressive Huffman (arithmetic coding included), a marker out of
// place or unknown, bytes between segments, a segment running past the end,
// a component unknown or named twice, a scan out of the usual order or
// leaving a coefficient unrefined, an AC scan whose Huffman table libjpeg
// would reject, DNL, a file without EOI, or more than kMaxDroppedScans scans
// to leave out. A scan's end is found from its bytes, never from a length:
// the first marker after it that is neither RSTn nor a stuffed 0xFF00.
//
// Memory stays bounded: a file is read in kJpegReadChunk pieces with pread;
// bytes in memory are handed out in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

// Where the bytes come from: a file opened for reading (fd >= 0, read with
// pread, so its position is never used) of size bytes, or size bytes at data.
struct JpegInput {
    int fd = -1;
    const uint8_t* data = nullptr;
    uint64_t size = 0;
};

constexpr size_t kJpegReadChunk = 16 * 1024;
// jpeg_simple_progression writes 8 AC scans for colour; 64 is ample.
constexpr int kMaxDroppedScans = 64;

struct JpegByteRange {
    uint64_t begin = 0;  // the first byte left out
    uint64_t end = 0;    // the first byte after
};

// The byte ranges to leave out, in file order, and how many scans the whole
// file has.
struct JpegScanPlan {
    int scanCount = 0;
    int dropCount = 0;
    JpegByteRange drops[kMaxDroppedScans];
};

// dcOnly[i] tells whether the decode reads only the DC coefficient of the
// i-th component of the frame (in frame header order); componentCount must
// match the frame. scratch (kJpegReadChunk bytes) is used for a file. True
// when at least one scan can be left out; false leaves the plan empty.
bool PlanJpegScanFilter(const JpegInput& input, const bool* dcOnly, int componentCount,
                        uint8_t* scratch, JpegScanPlan* plan);

// A libjpeg data source over a JpegInput. With a plan it leaves out the
// plan's ranges; without one it hands out every byte. Each init_source (every
// jpeg_read_header from the start) begins again at the first byte, so a
// decompressor can be aborted and read again. The end of the data reads as
// an EOI marker with a warning, as in libjpeg's own sources; no data at all
// is an error.
struct JpegFilterSource {
    jpeg_source_mgr pub;  // first, so that libjpeg's pointer is ours too
    JpegInput input;
    const JpegScanPlan* plan;
    uint64_t position;  // of the next byte to hand out
    int nextDrop;       // the first plan range not yet passed
    bool handedOut;     // whether any byte was handed out since init_source
    uint8_t buffer[kJpegReadChunk];
};

// Installs the source as cinfo->src; plan may be null and is read, not kept
// alive: it must outlive the decode.
void UseJpegFilterSource(j_decompress_ptr cinfo, JpegFilterSource* source, const JpegInput& input,
                         const JpegScanPlan* plan);
