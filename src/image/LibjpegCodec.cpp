// The JPEG codec behind the loader: libjpeg-turbo through the libjpeg API.
// https://github.com/libjpeg-turbo/libjpeg-turbo/blob/main/libjpeg.txt
//
// libjpeg reports fatal errors by calling error_exit, whose default ends the
// process. As in the library's example.c, error_exit here jumps back to a
// setjmp taken in a small guard function that holds no objects with
// destructors; the guard returns false and the codec is marked failed, so
// nothing past that point touches the decompressor again except Close.
//
// Limits: sides above kMaxPictureSide are refused right after the header is
// read; the decoder's own memory is held to kMaxDecoderMemory (a progressive
// picture keeps all its coefficients, 128 bytes per 8 x 8 block and
// component); a progressive stream with more than kMaxScans scans, or whose
// scans together would make libjpeg visit more than kMaxBlockVisits blocks, is
// aborted, so that a small file cannot keep the decoder busy for seconds.
// Both bounds also follow the file's size (CostBounds): the coefficients may
// take 64 bytes for each byte of the file, the scans visit 1000 blocks for
// each, above floors that any picture the phone shows stays within. A camera
// photo holds well over half a bit per pixel, so real files never meet them,
// while a few kilobytes declaring a huge picture are refused at once.
// A short or slightly corrupt stream is decoded as far as it goes: libjpeg
// fills the missing part and reports a warning, which is counted only.
//
// Progressive pictures decoded at 1/8 skip the AC scans of the components
// whose blocks shrink to one pixel (JpegScanFilter.h): the start plans which
// scans to leave out, then reads the header again through the filtering
// source, with block smoothing off. Pictures the plan refuses are decoded as
// they are.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

#include "image/DibImage.h"
#include "image/JpegCodec.h"
#include "image/JpegScanFilter.h"
#include "image/LoadPicture.h"

namespace {

// Enough for a 6000 x 4000 progressive picture without chroma subsampling
// (144 MB of coefficients) with room for the decoder's other buffers.
constexpr long kMaxDecoderMemory = 256L * 1024L * 1024L;
// Ordinary progressive files have about ten scans.
constexpr int kMaxScans = 500;
// Each scan of a progressive picture passes over all blocks of its
// components, even when the scan holds no data at all. Ten scans over a
// 6000 x 4000 picture without subsampling make about 10 million visits; a
// 14 KB file of 442 empty scans over 11000 x 11000 pixels makes 835 million,
// some four seconds of work.
constexpr uint64_t kMaxBlockVisits = 100u * 1000u * 1000u;
// Bytes one 8 x 8 block of coefficients takes in a buffered decode.
constexpr uint64_t kCoefficientBlockBytes = 64u * sizeof(JCOEF);
// The bounds that follow the file's size, and their floors.
constexpr uint64_t kCoefficientBytesPerFileByte = 64;
constexpr uint64_t kCoefficientFloor = 48u * 1024u * 1024u;
constexpr uint64_t kBlockVisitsPerFileByte = 1000;
constexpr uint64_t kBlockVisitFloor = 20u * 1000u * 1000u;

// What decoding a file of this many bytes may cost: the coefficient memory
// of a buffered decode, and the block visits of its scans.
struct CostBounds {
    uint64_t coefficientBytes;
    uint64_t blockVisits;
};

CostBounds CostBoundsOf(uint64_t fileBytes) {
    const auto bounded = [fileBytes](uint64_t perByte, uint64_t floor, uint64_t ceiling) {
        const uint64_t grown = fileBytes > ceiling / perByte ? ceiling : fileBytes * perByte;
        return grown < floor ? floor : grown;
    };
    return {bounded(kCoefficientBytesPerFileByte, kCoefficientFloor,
                    static_cast<uint64_t>(kMaxDecoderMemory)),
            bounded(kBlockVisitsPerFileByte, kBlockVisitFloor, kMaxBlockVisits)};
}

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    ErrorManager* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

// Warnings (level -1) that mean picture data was missing or corrupt, so that
// libjpeg made up what it could not decode, are counted (libjpeg resets the
// count with every header read); other warnings and trace messages are
// dropped. Nothing is printed: the core has no log.
void CountWarning(j_common_ptr cinfo, int messageLevel) {
    const int code = cinfo->err->msg_code;
    if (messageLevel < 0 && (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF ||
                             code == JWRN_MUST_RESYNC || code == JWRN_HUFF_BAD_CODE)) {
        cinfo->err->num_warnings++;
    }
}

void PrintNothing(j_common_ptr) {}

// The progress monitor, extended by what it needs to bound the work.
struct ProgressLimit {
    jpeg_progress_mgr pub;  // first, so that libjpeg's pointer is ours too
    bool counting;          // while the scans are read, before the first row
    uint64_t blockVisits;
    uint64_t maxBlockVisits;  // this file's bound (CostBoundsOf)
};

// Every scan of a progressive picture is decoded in full before the first
// row comes out. libjpeg calls this before each row of MCUs it reads then; a
// stream that goes on too long is treated as corrupt.
void LimitProgression(j_common_ptr common) {
    if (!common->is_decompressor) {
        return;
    }
    j_decompress_ptr cinfo = reinterpret_cast<j_decompress_ptr>(common);
    ProgressLimit* limit = reinterpret_cast<ProgressLimit*>(cinfo->progress);
    if (limit->counting) {
        // A scan of one component reads as many block rows per call as the
        // component's vertical sampling factor; an interleaved scan one MCU row.
        uint64_t blockRows = 1;
        if (cinfo->comps_in_scan == 1 && cinfo->cur_comp_info[0] != nullptr) {
            blockRows = static_cast<uint64_t>(cinfo->cur_comp_info[0]->v_samp_factor);
        }
        limit->blockVisits += static_cast<uint64_t>(cinfo->MCUs_per_row) *
                              static_cast<uint64_t>(cinfo->blocks_in_MCU) * blockRows;
    }
    if (cinfo->input_scan_number > kMaxScans || limit->blockVisits > limit->maxBlockVisits) {
        common->err->msg_code = JERR_NOTIMPL;
        common->err->error_exit(common);
    }
}

// Everything libjpeg sees, in one plain record so that the guard functions
// below can work on it without any C++ object alive across a setjmp.
struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager error;
    ProgressLimit progress;
    JpegInput input;  // the file descriptor belongs to the codec
    JpegFilterSource source;
    JpegScanPlan plan;
    unsigned int eighths;  // the scale chosen for the last request
    JSAMPROW rowBuffer;    // one decoded row, from libjpeg's image pool
};

bool GuardedCreate(Decoder* decoder) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&decoder->cinfo);
    decoder->cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    decoder->cinfo.progress = &decoder->progress.pub;
    return true;
}

// Reads the header from the first byte, of the whole stream or, with a plan,
// of the filtered one.
bool GuardedReadHeader(Decoder* decoder, const JpegScanPlan* plan) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    UseJpegFilterSource(&decoder->cinfo, &decoder->source, decoder->input, plan);
    return jpeg_read_header(&decoder->cinfo, TRUE) == JPEG_HEADER_OK;
}

// Picks the largest reduction M/8 (M = 8 down to 1) whose output fits in
// wantWidth x wantHeight; 1/8 when none does.
bool GuardedChooseScale(Decoder* decoder, int32_t wantWidth, int32_t wantHeight) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    jpeg_decompress_struct* cinfo = &decoder->cinfo;
    for (unsigned int eighths = 8; eighths >= 1; --eighths) {
        cinfo->scale_num = eighths;
        cinfo->scale_denom = 8;
        jpeg_calc_output_dimensions(cinfo);
        decoder->eighths = eighths;
        if (eighths == 1 || (static_cast<int64_t>(cinfo->output_width) <= wantWidth &&
                             static_cast<int64_t>(cinfo->output_height) <= wantHeight)) {
            break;
        }
    }
    return true;
}

// Sets the scale chosen before on a header read again.
bool GuardedKeepScale(Decoder* decoder) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    decoder->cinfo.scale_num = decoder->eighths;
    decoder->cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&decoder->cinfo);
    return true;
}

bool GuardedStart(Decoder* decoder) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    jpeg_decompress_struct* cinfo = &decoder->cinfo;
    decoder->progress.blockVisits = 0;
    decoder->progress.counting = true;
    const boolean started = jpeg_start_decompress(cinfo);
    decoder->progress.counting = false;
    if (!started) {
        return false;
    }
    decoder->rowBuffer = (*cinfo->mem->alloc_sarray)(
        reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
        cinfo->output_width * static_cast<JDIMENSION>(cinfo->output_components), 1)[0];
    return true;
}

bool GuardedReadScanline(Decoder* decoder) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    JSAMPROW rows[1] = {decoder->rowBuffer};
    return jpeg_read_scanlines(&decoder->cinfo, rows, 1) == 1;
}

// Bytes of coefficients libjpeg keeps for the whole picture when it cannot
// decode in one pass (progressive, or sequential with separate scans per
// component); 0 when it decodes in one pass.
uint64_t BufferedCoefficientBytes(const jpeg_decompress_struct& cinfo) {
    if (!cinfo.progressive_mode && cinfo.comps_in_scan >= cinfo.num_components) {
        return 0;
    }
    uint64_t total = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& component = cinfo.comp_info[i];
        const uint64_t columns =
            static_cast<uint64_t>(component.width_in_blocks) + component.h_samp_factor;
        const uint64_t rows =
            static_cast<uint64_t>(component.height_in_blocks) + component.v_samp_factor;
        total += columns * rows * kCoefficientBlockBytes;
    }
    return total;
}

// Whether the inverse DCT of the component reads its DC coefficient alone:
// its blocks come out as one pixel.
bool ReadsDcOnly(const jpeg_component_info& component) {
#if JPEG_LIB_VERSION >= 70
    return component.DCT_h_scaled_size == 1 && component.DCT_v_scaled_size == 1;
#else
    return component.DCT_scaled_size == 1;
#endif
}

// An upper bound of the block visits LimitProgression counts over a whole
// progressive file of scanCount scans: at most one call per iMCU row of each
// scan and one per scan's markers, each adding at most the blocks of one
// iMCU row of all components.
uint64_t BlockVisitBound(const jpeg_decompress_struct& cinfo, int scanCount) {
    uint64_t rowBlocks = 0;
    for (int i = 0; i < cinfo.num_components; ++i) {
        const jpeg_component_info& component = cinfo.comp_info[i];
        const uint64_t h = static_cast<uint64_t>(component.h_samp_factor);
        const uint64_t columns = (component.width_in_blocks + h - 1) / h * h;
        rowBlocks += columns * static_cast<uint64_t>(component.v_samp_factor);
    }
    const uint64_t calls =
        static_cast<uint64_t>(scanCount) * (static_cast<uint64_t>(cinfo.total_iMCU_rows) + 1) + 1;
    return calls * rowBlocks;
}

class LibjpegCodec final : public JpegCodec {
  public:
    LibjpegCodec() = default;
    ~LibjpegCodec() override { Close(); }
    LibjpegCodec(const LibjpegCodec&) = delete;
    LibjpegCodec& operator=(const LibjpegCodec&) = delete;

    // Creates the decompressor over a file (taken over, -1 when it could not
    // be opened) or over bytes in memory. False when memory runs out.
    bool Create(const JpegInput& input);

    bool ReadHeader(int32_t* width, int32_t* height) override;
    bool StartRows() override;
    bool ReadRow(uint8_t* row) override;
    bool Damaged() const override { return rowFailed_ || decoder_.error.pub.num_warnings > 0; }
    void Close() override;

  private:
    enum class State { kIdle, kHeaderRead, kRows, kFailed, kClosed };

    void Restart();
    bool AcceptHeader();
    bool PlanScanFilter();
    bool ReadFilteredHeader();
    void ConvertRow(uint8_t* row) const;
    void Fail();

    Decoder decoder_{};  // zero-filled, as libjpeg expects of its structures
    State state_ = State::kIdle;
    bool created_ = false;
    bool invertedCmyk_ = false;
    int32_t rowWidth_ = 0;  // the width last reported, for black rows
    // A fatal error came while rows were read: the rest of them are black.
    bool rowFailed_ = false;
};

bool LibjpegCodec::Create(const JpegInput& input) {
    decoder_.input = input;
    decoder_.cinfo.err = jpeg_std_error(&decoder_.error.pub);
    decoder_.error.pub.error_exit = JumpOnError;
    decoder_.error.pub.emit_message = CountWarning;
    decoder_.error.pub.output_message = PrintNothing;
    decoder_.progress.pub.progress_monitor = LimitProgression;
    decoder_.progress.maxBlockVisits = kMaxBlockVisits;
    created_ = GuardedCreate(&decoder_);
    if (!created_) {
        // libjpeg's own clean-up copes with a half-made object.
        jpeg_destroy_decompress(&decoder_.cinfo);
    }
    return created_;
}

// Brings the decompressor back to the start of the stream, so that a second
// header call after rows were read starts a fresh decode.
// The source starts again at the first byte with every header read.
void LibjpegCodec::Restart() {
    jpeg_abort_decompress(&decoder_.cinfo);
    decoder_.rowBuffer = nullptr;
    state_ = State::kIdle;
}

// Checks what the header declares before anything is allocated for it and
// chooses the output colour space.
bool LibjpegCodec::AcceptHeader() {
    jpeg_decompress_struct& cinfo = decoder_.cinfo;
    if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
        cinfo.image_width > static_cast<JDIMENSION>(kMaxPictureSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(kMaxPictureSide)) {
        return false;
    }
    const CostBounds bounds = CostBoundsOf(decoder_.input.size);
    if (BufferedCoefficientBytes(cinfo) > bounds.coefficientBytes) {
        return false;
    }
    decoder_.progress.maxBlockVisits = bounds.blockVisits;
#ifdef FOTAKLE_FUZZING
    if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > kFuzzingMaxPixels) {
        return false;
    }
#endif
    switch (cinfo.jpeg_color_space) {
        case JCS_GRAYSCALE:
        case JCS_YCbCr:
        case JCS_RGB:
            cinfo.out_color_space = JCS_EXT_BGR;
            break;
        case JCS_CMYK:
        case JCS_YCCK:
            // libjpeg hands out CMYK; ConvertRow turns it into colour.
            cinfo.out_color_space = JCS_CMYK;
            break;
        default:
            return false;
    }
    // Files written by Adobe's applications store CMYK inverted (0 = full
    // ink); YCCK always comes from them and converts to inverted CMYK.
    invertedCmyk_ = cinfo.saw_Adobe_marker || cinfo.jpeg_color_space == JCS_YCCK;
    return true;
}

bool LibjpegCodec::ReadHeader(int32_t* width, int32_t* height) {
    if (state_ == State::kFailed || state_ == State::kClosed || width == nullptr ||
        height == nullptr) {
        return false;
    }
    if (decoder_.input.fd < 0 && decoder_.input.data == nullptr) {
        Fail();  // the file could not be opened
        return false;
    }
    if (state_ == State::kRows) {
        Restart();
    }
    if (state_ == State::kIdle) {
        if (!GuardedReadHeader(&decoder_, nullptr) || !AcceptHeader()) {
            Fail();
            return false;
        }
        state_ = State::kHeaderRead;
    }
    if (!GuardedChooseScale(&decoder_, *width, *height)) {
        Fail();
        return false;
    }
    rowWidth_ = static_cast<int32_t>(decoder_.cinfo.output_width);
    *width = rowWidth_;
    *height = static_cast<int32_t>(decoder_.cinfo.output_height);
    return true;
}

void LibjpegCodec::ConvertRow(uint8_t* row) const {
    const jpeg_decompress_struct& cinfo = decoder_.cinfo;
    const uint8_t* source = decoder_.rowBuffer;
    const size_t width = cinfo.output_width;
    if (cinfo.out_color_space != JCS_CMYK) {
        std::memcpy(row, source, width * 3);
        return;
    }
    for (size_t i = 0; i < width; ++i, source += 4, row += 3) {
        unsigned int cyan = source[0];
        unsigned int magenta = source[1];
        unsigned int yellow = source[2];
        unsigned int black = source[3];
        if (!invertedCmyk_) {
            cyan = 255u - cyan;
            magenta = 255u - magenta;
            yellow = 255u - yellow;
            black = 255u - black;
        }
        // Now each value is the light left over: 255 = no ink.
        row[0] = static_cast<uint8_t>((yellow * black + 127u) / 255u);
        row[1] = static_cast<uint8_t>((magenta * black + 127u) / 255u);
        row[2] = static_cast<uint8_t>((cyan * black + 127u) / 255u);
    }
}

// Plans the AC scans a progressive decode at the chosen scale can leave out
// (none when no component is decoded from its DC coefficient alone). The
// whole file must also pass the bounds LimitProgression applies, or leaving
// scans out would decode a picture the ordinary decode refuses.
bool LibjpegCodec::PlanScanFilter() {
    const jpeg_decompress_struct& cinfo = decoder_.cinfo;
    constexpr int kMaxComponents = 4;
    if (!cinfo.progressive_mode || cinfo.arith_code || cinfo.num_components > kMaxComponents) {
        return false;
    }
    bool dcOnly[kMaxComponents] = {};
    bool anyDcOnly = false;
    for (int i = 0; i < cinfo.num_components; ++i) {
        dcOnly[i] = ReadsDcOnly(cinfo.comp_info[i]);
        anyDcOnly = anyDcOnly || dcOnly[i];
    }
    if (!anyDcOnly) {
        return false;
    }
    std::unique_ptr<uint8_t[]> scratch;
    if (decoder_.input.fd >= 0) {
        scratch.reset(new (std::nothrow) uint8_t[kJpegReadChunk]);
        if (!scratch) {
            return false;
        }
    }
    JpegScanPlan& plan = decoder_.plan;
    return PlanJpegScanFilter(decoder_.input, dcOnly, cinfo.num_components, scratch.get(), &plan) &&
           plan.scanCount <= kMaxScans &&
           BlockVisitBound(cinfo, plan.scanCount) <= decoder_.progress.maxBlockVisits;
}

// Reads the header again through the filtering source, at the same scale and
// colour space, with block smoothing off: it would otherwise guess the AC
// coefficients left out and change the picture.
bool LibjpegCodec::ReadFilteredHeader() {
    const JDIMENSION width = decoder_.cinfo.output_width;
    const JDIMENSION height = decoder_.cinfo.output_height;
    jpeg_abort_decompress(&decoder_.cinfo);
    if (!GuardedReadHeader(&decoder_, &decoder_.plan) || !AcceptHeader() ||
        !GuardedKeepScale(&decoder_)) {
        return false;
    }
    decoder_.cinfo.do_block_smoothing = FALSE;
    return decoder_.cinfo.output_width == width && decoder_.cinfo.output_height == height;
}

// Started here rather than in ReadHeader: for a progressive picture the start
// decodes every scan, which a second header call would throw away.
bool LibjpegCodec::StartRows() {
    if (state_ == State::kHeaderRead) {
        if ((PlanScanFilter() && !ReadFilteredHeader()) || !GuardedStart(&decoder_)) {
            Fail();
            return false;
        }
        state_ = State::kRows;
    }
    return state_ == State::kRows;
}

bool LibjpegCodec::ReadRow(uint8_t* row) {
    if (row == nullptr) {
        return false;
    }
    if (StartRows() && decoder_.cinfo.output_scanline < decoder_.cinfo.output_height) {
        if (GuardedReadScanline(&decoder_)) {
            ConvertRow(row);
            return true;
        }
        rowFailed_ = true;
        Fail();
    }
    std::memset(row, 0, static_cast<size_t>(rowWidth_) * 3);
    return false;
}

// Frees the decoder's picture memory at once; the object itself goes with
// Close.
void LibjpegCodec::Fail() {
    if (created_) {
        jpeg_abort_decompress(&decoder_.cinfo);
    }
    decoder_.rowBuffer = nullptr;
    state_ = State::kFailed;
}

void LibjpegCodec::Close() {
    if (created_) {
        jpeg_destroy_decompress(&decoder_.cinfo);
        created_ = false;
    }
    if (decoder_.input.fd >= 0) {
        close(decoder_.input.fd);
        decoder_.input.fd = -1;
    }
    decoder_.input.data = nullptr;
    decoder_.rowBuffer = nullptr;
    state_ = State::kClosed;
}

std::unique_ptr<JpegCodec> MakeCodec(const JpegInput& input) {
    LibjpegCodec* codec = new (std::nothrow) LibjpegCodec();
    if (codec == nullptr) {
        if (input.fd >= 0) {
            close(input.fd);
        }
        return nullptr;
    }
    std::unique_ptr<JpegCodec> owner(codec);
    if (!codec->Create(input)) {
        return nullptr;  // the codec closes the file as it goes
    }
    return owner;
}

}  // namespace

std::unique_ptr<JpegCodec> OpenJpegFile(const std::string& path) {
    JpegInput input;
    input.fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info;
    if (input.fd >= 0 && fstat(input.fd, &info) == 0 && info.st_size > 0) {
        input.size = static_cast<uint64_t>(info.st_size);
    }
    return MakeCodec(input);
}

std::unique_ptr<JpegCodec> OpenJpegMemory(const uint8_t* data, size_t size) {
    // An empty buffer still gets a codec; its header call fails.
    static const uint8_t kEmpty[1] = {0};
    JpegInput input;
    input.data = data != nullptr ? data : kEmpty;
    input.size = data != nullptr ? size : 0;
    return MakeCodec(input);
}
