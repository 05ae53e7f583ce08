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
// A short or slightly corrupt stream is decoded as far as it goes: libjpeg
// fills the missing part and reports a warning, which is counted only.
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

struct ErrorManager {
    jpeg_error_mgr pub;  // first, so that libjpeg's pointer is ours too
    std::jmp_buf jump;
};

void JumpOnError(j_common_ptr cinfo) {
    ErrorManager* error = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::longjmp(error->jump, 1);
}

// Warnings (level -1) are counted; trace messages are dropped. Nothing is
// printed: the core has no log.
void CountWarning(j_common_ptr cinfo, int messageLevel) {
    if (messageLevel < 0) {
        cinfo->err->num_warnings++;
    }
}

void PrintNothing(j_common_ptr) {}

// The progress monitor, extended by what it needs to bound the work.
struct ProgressLimit {
    jpeg_progress_mgr pub;  // first, so that libjpeg's pointer is ours too
    bool counting;          // while the scans are read, before the first row
    uint64_t blockVisits;
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
    if (cinfo->input_scan_number > kMaxScans || limit->blockVisits > kMaxBlockVisits) {
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
    std::FILE* file;
    const uint8_t* data;
    size_t size;
    JSAMPROW rowBuffer;  // one decoded row, from libjpeg's image pool
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

bool GuardedReadHeader(Decoder* decoder) {
    if (setjmp(decoder->error.jump) != 0) {
        return false;
    }
    if (decoder->file != nullptr) {
        jpeg_stdio_src(&decoder->cinfo, decoder->file);
    } else {
        jpeg_mem_src(&decoder->cinfo, decoder->data, static_cast<unsigned long>(decoder->size));
    }
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
        if (eighths == 1 || (static_cast<int64_t>(cinfo->output_width) <= wantWidth &&
                             static_cast<int64_t>(cinfo->output_height) <= wantHeight)) {
            break;
        }
    }
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

class LibjpegCodec final : public JpegCodec {
  public:
    LibjpegCodec() { std::memset(&decoder_, 0, sizeof decoder_); }
    ~LibjpegCodec() override { Close(); }
    LibjpegCodec(const LibjpegCodec&) = delete;
    LibjpegCodec& operator=(const LibjpegCodec&) = delete;

    // Creates the decompressor over a file (taken over, may be null when it
    // could not be opened) or over bytes in memory. False when memory runs out.
    bool Create(std::FILE* file, const uint8_t* data, size_t size);

    bool ReadHeader(int32_t* width, int32_t* height) override;
    bool StartRows() override;
    bool ReadRow(uint8_t* row) override;
    void Close() override;

  private:
    enum class State { kIdle, kHeaderRead, kRows, kFailed, kClosed };

    bool Restart();
    bool AcceptHeader();
    void ConvertRow(uint8_t* row) const;
    void Fail();

    Decoder decoder_;
    State state_ = State::kIdle;
    bool created_ = false;
    bool invertedCmyk_ = false;
    int32_t rowWidth_ = 0;  // the width last reported, for black rows
};

bool LibjpegCodec::Create(std::FILE* file, const uint8_t* data, size_t size) {
    decoder_.file = file;
    decoder_.data = data;
    decoder_.size = size;
    decoder_.cinfo.err = jpeg_std_error(&decoder_.error.pub);
    decoder_.error.pub.error_exit = JumpOnError;
    decoder_.error.pub.emit_message = CountWarning;
    decoder_.error.pub.output_message = PrintNothing;
    decoder_.progress.pub.progress_monitor = LimitProgression;
    created_ = GuardedCreate(&decoder_);
    if (!created_) {
        // libjpeg's own clean-up copes with a half-made object.
        jpeg_destroy_decompress(&decoder_.cinfo);
    }
    return created_;
}

// Brings the decompressor back to the start of the stream, so that a second
// header call after rows were read starts a fresh decode.
bool LibjpegCodec::Restart() {
    jpeg_abort_decompress(&decoder_.cinfo);
    decoder_.rowBuffer = nullptr;
    state_ = State::kIdle;
    return decoder_.file == nullptr || std::fseek(decoder_.file, 0, SEEK_SET) == 0;
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
    if (BufferedCoefficientBytes(cinfo) > static_cast<uint64_t>(kMaxDecoderMemory)) {
        return false;
    }
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
    if (decoder_.file == nullptr && decoder_.data == nullptr) {
        Fail();  // the file could not be opened
        return false;
    }
    if (state_ == State::kRows && !Restart()) {
        Fail();
        return false;
    }
    if (state_ == State::kIdle) {
        if (!GuardedReadHeader(&decoder_) || !AcceptHeader()) {
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

// Started here rather than in ReadHeader: for a progressive picture the start
// decodes every scan, which a second header call would throw away.
bool LibjpegCodec::StartRows() {
    if (state_ == State::kHeaderRead) {
        if (!GuardedStart(&decoder_)) {
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
    if (decoder_.file != nullptr) {
        std::fclose(decoder_.file);
        decoder_.file = nullptr;
    }
    decoder_.data = nullptr;
    decoder_.rowBuffer = nullptr;
    state_ = State::kClosed;
}

std::unique_ptr<JpegCodec> MakeCodec(std::FILE* file, const uint8_t* data, size_t size) {
    LibjpegCodec* codec = new (std::nothrow) LibjpegCodec();
    if (codec == nullptr) {
        if (file != nullptr) {
            std::fclose(file);
        }
        return nullptr;
    }
    std::unique_ptr<JpegCodec> owner(codec);
    if (!codec->Create(file, data, size)) {
        return nullptr;  // the codec closes the file as it goes
    }
    return owner;
}

}  // namespace

std::unique_ptr<JpegCodec> OpenJpegFile(const std::string& path) {
    return MakeCodec(std::fopen(path.c_str(), "rb"), nullptr, 0);
}

std::unique_ptr<JpegCodec> OpenJpegMemory(const uint8_t* data, size_t size) {
    // An empty buffer still gets a codec; its header call fails.
    static const uint8_t kEmpty[1] = {0};
    return MakeCodec(nullptr, data != nullptr ? data : kEmpty, data != nullptr ? size : 0);
}
