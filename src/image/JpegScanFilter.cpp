// The scan plan and the filtering libjpeg source.
// Marker layout: ITU-T T.81 (https://www.w3.org/Graphics/JPEG/itu-t81.pdf),
// B.1.1.2 (markers, fill bytes), B.2.2 to B.2.4 (frame, scan and table
// segments), B.1.1.5 (byte stuffing in entropy-coded data), G.1.1.1.1 (the
// progression rules libjpeg checks scan by scan).
//
// A short or unreadable file gives no plan; the source reads the end of the
// data as EOI with a warning, as libjpeg's own sources do.
#include "image/JpegScanFilter.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <jerror.h>

namespace {

constexpr int kMaxFrameComponents = 4;  // libjpeg looks no further for a scan's components
constexpr int kHuffmanSlots = 4;
constexpr int kCoefficients = 64;

// pread until count bytes or the end; -1 on an error.
ssize_t ReadAt(int fd, uint8_t* buffer, size_t count, uint64_t offset) {
    for (;;) {
        const ssize_t got = pread(fd, buffer, count, static_cast<off_t>(offset));
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

// Reads a JpegInput front to back for the plan: a file through a window of
// kJpegReadChunk bytes, memory in place.
class ByteWalker {
  public:
    ByteWalker(const JpegInput& input, uint8_t* scratch) : input_(input), scratch_(scratch) {
        if (input.fd < 0) {
            window_ = input.data;
            windowLength_ = static_cast<size_t>(input.size);
        }
    }

    uint64_t Position() const { return position_; }

    // The next byte, or -1 at the end of the data or on a read error.
    int Next() {
        if (!InWindow() && !Load()) {
            return -1;
        }
        return window_[position_++ - windowStart_];
    }

    // Passes count bytes; false when they run past the end.
    bool Skip(uint64_t count) {
        if (count > input_.size - position_) {
            return false;
        }
        position_ += count;
        return true;
    }

    // Passes entropy-coded data up to the marker that ends it: 0xFF, any
    // number of 0xFF fill bytes, then a code that is neither 0 (a stuffed
    // data byte) nor RST0 to RST7 (which stay inside a scan). Stops on the
    // first 0xFF of that marker, libjpeg's own reading of where a scan ends
    // whatever the data in it. False when the data ends first.
    bool SkipEntropyData() {
        for (;;) {
            if (!InWindow() && !Load()) {
                return false;
            }
            const size_t offset = static_cast<size_t>(position_ - windowStart_);
            const uint8_t* here = window_ + offset;
            const void* found = std::memchr(here, 0xFF, windowLength_ - offset);
            if (found == nullptr) {
                position_ += windowLength_ - offset;
                continue;
            }
            position_ += static_cast<size_t>(static_cast<const uint8_t*>(found) - here);
            const uint64_t markerStart = position_++;
            int code = 0;
            do {
                code = Next();
            } while (code == 0xFF);
            if (code < 0) {
                return false;
            }
            if (code != 0 && (code < 0xD0 || code > 0xD7)) {
                position_ = markerStart;
                return true;
            }
        }
    }

  private:
    bool InWindow() const {
        return position_ >= windowStart_ && position_ - windowStart_ < windowLength_;
    }

    // Fills the window from the file at the current position.
    bool Load() {
        if (input_.fd < 0 || position_ >= input_.size) {
            return false;
        }
        const size_t wanted =
            static_cast<size_t>(std::min<uint64_t>(kJpegReadChunk, input_.size - position_));
        const ssize_t got = ReadAt(input_.fd, scratch_, wanted, position_);
        if (got <= 0) {
            return false;
        }
        window_ = scratch_;
        windowStart_ = position_;
        windowLength_ = static_cast<size_t>(got);
        return true;
    }

    const JpegInput& input_;
    uint8_t* scratch_;
    const uint8_t* window_ = nullptr;
    uint64_t windowStart_ = 0;
    size_t windowLength_ = 0;
    uint64_t position_ = 0;
};

// What the walk has learnt of the file so far.
struct Walk {
    bool sawFrame = false;
    bool sawScan = false;
    int componentCount = 0;
    int componentIds[kMaxFrameComponents] = {};
    // Per AC table slot: defined yet, and its code counts per length.
    bool acDefined[kHuffmanSlots] = {};
    uint8_t acBits[kHuffmanSlots][17] = {};
    // Per component and coefficient: the lowest bit supplied so far, -1 for
    // none (libjpeg's coef_bits).
    int coefBits[kMaxFrameComponents][kCoefficients];
};

bool ReadUint16(ByteWalker& walker, uint32_t* value) {
    const int high = walker.Next();
    const int low = walker.Next();
    if (high < 0 || low < 0) {
        return false;
    }
    *value = static_cast<uint32_t>(high) << 8 | static_cast<uint32_t>(low);
    return true;
}

// An APPn, COM, DQT or DRI segment: only its length matters here.
bool SkipJpegSegment(ByteWalker& walker, int code) {
    uint32_t length = 0;
    if (!ReadUint16(walker, &length) || length < 2) {
        return false;
    }
    if (code == 0xDD && length != 4) {  // DRI: libjpeg refuses other lengths
        return false;
    }
    return walker.Skip(length - 2);
}

// SOF2: 8-bit samples, a size, and components with distinct ids and
// sampling factors 1 to 4; as many components as the caller described.
bool ReadJpegFrame(ByteWalker& walker, int componentCount, Walk* walk) {
    if (walk->sawFrame || walk->sawScan) {
        return false;
    }
    uint32_t length = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    if (!ReadUint16(walker, &length) || walker.Next() != 8 || !ReadUint16(walker, &height) ||
        !ReadUint16(walker, &width) || height == 0 || width == 0 ||
        walker.Next() != componentCount ||
        length != 8 + 3 * static_cast<uint32_t>(componentCount)) {
        return false;
    }
    for (int c = 0; c < componentCount; ++c) {
        const int id = walker.Next();
        const int sampling = walker.Next();
        if (id < 0 || sampling < 0 || walker.Next() < 0) {
            return false;
        }
        const int horizontal = sampling >> 4;
        const int vertical = sampling & 15;
        if (horizontal < 1 || horizontal > 4 || vertical < 1 || vertical > 4) {
            return false;
        }
        for (int other = 0; other < c; ++other) {
            if (walk->componentIds[other] == id) {
                return false;
            }
        }
        walk->componentIds[c] = id;
    }
    walk->componentCount = componentCount;
    walk->sawFrame = true;
    return true;
}

// DHT, checked as libjpeg reads it; AC tables are kept for the scans that
// may be left out.
bool ReadJpegHuffmanTables(ByteWalker& walker, Walk* walk) {
    uint32_t length = 0;
    if (!ReadUint16(walker, &length) || length < 2) {
        return false;
    }
    int64_t remaining = static_cast<int64_t>(length) - 2;
    while (remaining > 16) {
        const int index = walker.Next();
        uint8_t bits[17] = {};
        int count = 0;
        for (int i = 1; i <= 16; ++i) {
            const int value = walker.Next();
            if (value < 0) {
                return false;
            }
            bits[i] = static_cast<uint8_t>(value);
            count += value;
        }
        remaining -= 17;
        if (index < 0 || count > 256 || count > remaining ||
            !walker.Skip(static_cast<uint64_t>(count))) {
            return false;
        }
        remaining -= count;
        if ((index & 0x10) != 0) {
            const int slot = index - 0x10;
            if (slot >= kHuffmanSlots) {
                return false;
            }
            walk->acDefined[slot] = true;
            std::memcpy(walk->acBits[slot], bits, sizeof bits);
        } else if (index >= kHuffmanSlots) {
            return false;
        }
    }
    return remaining == 0;
}

// Whether libjpeg can build decoding tables from these code counts: the
// codes of each length, counted on from the shorter ones, must fit in that
// many bits without the all-ones code (T.81 C.2).
bool HuffmanTableDerives(const uint8_t bits[17]) {
    uint32_t code = 0;
    for (int length = 1; length <= 16; ++length) {
        code += bits[length];
        if (code >= (1u << length)) {
            return false;
        }
        code <<= 1;
    }
    return true;
}

// SOS and the entropy-coded data behind it, which starts at markerStart.
bool ReadJpegScan(ByteWalker& walker, uint64_t markerStart, const bool* dcOnly, Walk* walk,
                  JpegScanPlan* plan) {
    uint32_t length = 0;
    if (!walk->sawFrame || !ReadUint16(walker, &length)) {
        return false;
    }
    const int count = walker.Next();
    if (count < 1 || count > kMaxFrameComponents ||
        length != 6 + 2 * static_cast<uint32_t>(count)) {
        return false;
    }
    int members[kMaxFrameComponents] = {};
    int acTable = 0;
    for (int i = 0; i < count; ++i) {
        const int id = walker.Next();
        const int tables = walker.Next();
        if (id < 0 || tables < 0) {
            return false;
        }
        int component = 0;
        while (component < walk->componentCount && walk->componentIds[component] != id) {
            ++component;
        }
        if (component == walk->componentCount ||
            std::find(members, members + i, component) != members + i) {
            return false;
        }
        members[i] = component;
        acTable = tables & 15;
    }
    const int start = walker.Next();
    const int end = walker.Next();
    const int approximation = walker.Next();
    if (start < 0 || end < 0 || approximation < 0) {
        return false;
    }
    const int high = approximation >> 4;
    const int low = approximation & 15;
    // What libjpeg refuses outright: a DC scan with AC coefficients, an AC
    // band out of order or of more than one component, a refinement by more
    // than one bit, a shift beyond 13.
    const bool dc = start == 0;
    if ((dc && end != 0) || (!dc && (start > end || end >= kCoefficients || count != 1)) ||
        (high != 0 && low != high - 1) || low > 13) {
        return false;
    }
    // What libjpeg warns of and decodes anyway: AC before DC, or a bit
    // position other than where the last scan of the band left off.
    for (int i = 0; i < count; ++i) {
        int* bits = walk->coefBits[members[i]];
        if (!dc && bits[0] < 0) {
            return false;
        }
        for (int k = start; k <= end; ++k) {
            if (high != std::max(bits[k], 0)) {
                return false;
            }
            bits[k] = low;
        }
    }
    walk->sawScan = true;
    ++plan->scanCount;

    const bool drop = !dc && dcOnly[members[0]];
    // libjpeg builds the scan's Huffman table before decoding it and gives
    // up on a missing or broken one; a scan left out must not hide that.
    if (drop && (acTable >= kHuffmanSlots || !walk->acDefined[acTable] ||
                 !HuffmanTableDerives(walk->acBits[acTable]))) {
        return false;
    }
    if (!walker.SkipEntropyData()) {
        return false;
    }
    if (drop) {
        if (plan->dropCount == kMaxDroppedScans) {
            return false;
        }
        plan->drops[plan->dropCount].begin = markerStart;
        plan->drops[plan->dropCount].end = walker.Position();
        ++plan->dropCount;
    }
    return true;
}

// At EOI: every coefficient of every component came to its last bit, so the
// whole file leaves nothing for block smoothing to guess.
bool EveryCoefficientComplete(const Walk& walk) {
    for (int c = 0; c < walk.componentCount; ++c) {
        for (int k = 0; k < kCoefficients; ++k) {
            if (walk.coefBits[c][k] != 0) {
                return false;
            }
        }
    }
    return true;
}

bool WalkJpegMarkers(ByteWalker& walker, const bool* dcOnly, int componentCount, Walk* walk,
                     JpegScanPlan* plan) {
    if (walker.Next() != 0xFF || walker.Next() != 0xD8) {
        return false;
    }
    for (;;) {
        const uint64_t markerStart = walker.Position();
        int code = walker.Next();
        if (code != 0xFF) {
            return false;  // bytes between segments, or the end without EOI
        }
        do {
            code = walker.Next();
        } while (code == 0xFF);
        bool read = false;
        switch (code) {
            case 0xD9:  // EOI
                return walk->sawScan && EveryCoefficientComplete(*walk) && plan->dropCount > 0;
            case 0xC2:  // SOF2, progressive Huffman
                read = ReadJpegFrame(walker, componentCount, walk);
                break;
            case 0xC4:  // DHT
                read = ReadJpegHuffmanTables(walker, walk);
                break;
            case 0xDA:  // SOS
                read = ReadJpegScan(walker, markerStart, dcOnly, walk, plan);
                break;
            case 0xDB:  // DQT
            case 0xDD:  // DRI
            case 0xFE:  // COM
                read = SkipJpegSegment(walker, code);
                break;
            default:
                read = code >= 0xE0 && code <= 0xEF && SkipJpegSegment(walker, code);  // APPn
                break;
        }
        if (!read) {
            return false;
        }
    }
}

JpegFilterSource* SourceOf(j_decompress_ptr cinfo) {
    return reinterpret_cast<JpegFilterSource*>(cinfo->src);
}

void StartJpegSource(j_decompress_ptr cinfo) {
    JpegFilterSource* source = SourceOf(cinfo);
    source->position = 0;
    source->nextDrop = 0;
    source->handedOut = false;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
}

// Passes the plan's ranges that start at the current position and returns
// where the bytes to hand out next end: the next range or the end of data.
uint64_t KeptRangeEnd(JpegFilterSource* source) {
    const JpegScanPlan* plan = source->plan;
    if (plan == nullptr) {
        return source->input.size;
    }
    while (source->nextDrop < plan->dropCount &&
           source->position >= plan->drops[source->nextDrop].begin) {
        source->position = std::max(source->position, plan->drops[source->nextDrop].end);
        ++source->nextDrop;
    }
    if (source->nextDrop < plan->dropCount) {
        return std::min(source->input.size, plan->drops[source->nextDrop].begin);
    }
    return source->input.size;
}

boolean FillJpegSource(j_decompress_ptr cinfo) {
    JpegFilterSource* source = SourceOf(cinfo);
    const uint64_t limit = KeptRangeEnd(source);
    const JOCTET* bytes = source->buffer;
    size_t count = 0;
    if (source->position < limit) {
        const uint64_t wanted = limit - source->position;
        if (source->input.fd < 0) {
            bytes = source->input.data + source->position;
            count = static_cast<size_t>(wanted);
        } else {
            const ssize_t got = ReadAt(
                source->input.fd, source->buffer,
                static_cast<size_t>(std::min<uint64_t>(wanted, kJpegReadChunk)), source->position);
            count = got > 0 ? static_cast<size_t>(got) : 0;
        }
    }
    if (count == 0) {
        if (!source->handedOut) {
            cinfo->err->msg_code = JERR_INPUT_EMPTY;
            cinfo->err->error_exit(reinterpret_cast<j_common_ptr>(cinfo));
        }
        cinfo->err->msg_code = JWRN_JPEG_EOF;
        cinfo->err->emit_message(reinterpret_cast<j_common_ptr>(cinfo), -1);
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        bytes = source->buffer;
        count = 2;
    } else {
        source->position += count;
        source->handedOut = true;
    }
    source->pub.next_input_byte = bytes;
    source->pub.bytes_in_buffer = count;
    return TRUE;
}

// Skips APPn and COM data: within the bytes at hand, then by moving the
// position while the skip stays inside the current kept range, else by
// reading on.
void SkipJpegSource(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    JpegFilterSource* source = SourceOf(cinfo);
    uint64_t left = static_cast<uint64_t>(count);
    for (;;) {
        if (left <= source->pub.bytes_in_buffer) {
            source->pub.next_input_byte += left;
            source->pub.bytes_in_buffer -= static_cast<size_t>(left);
            return;
        }
        left -= source->pub.bytes_in_buffer;
        source->pub.bytes_in_buffer = 0;
        const uint64_t limit = KeptRangeEnd(source);
        if (source->position <= limit && left <= limit - source->position) {
            source->position += left;
            return;
        }
        FillJpegSource(cinfo);
    }
}

void EndJpegSource(j_decompress_ptr) {}

}  // namespace

bool PlanJpegScanFilter(const JpegInput& input, const bool* dcOnly, int componentCount,
                        uint8_t* scratch, JpegScanPlan* plan) {
    plan->scanCount = 0;
    plan->dropCount = 0;
    if (dcOnly == nullptr || componentCount < 1 || componentCount > kMaxFrameComponents ||
        (input.fd < 0 && input.data == nullptr) || (input.fd >= 0 && scratch == nullptr)) {
        return false;
    }
    ByteWalker walker(input, scratch);
    Walk walk;
    for (auto& bits : walk.coefBits) {
        std::fill(bits, bits + kCoefficients, -1);
    }
    if (!WalkJpegMarkers(walker, dcOnly, componentCount, &walk, plan)) {
        plan->dropCount = 0;
        return false;
    }
    return true;
}

void UseJpegFilterSource(j_decompress_ptr cinfo, JpegFilterSource* source, const JpegInput& input,
                         const JpegScanPlan* plan) {
    source->pub.init_source = StartJpegSource;
    source->pub.fill_input_buffer = FillJpegSource;
    source->pub.skip_input_data = SkipJpegSource;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = EndJpegSource;
    source->pub.next_input_byte = nullptr;
    source->pub.bytes_in_buffer = 0;
    source->input = input;
    source->plan = plan;
    source->position = 0;
    source->nextDrop = 0;
    source->handedOut = false;
    cinfo->src = &source->pub;
}
