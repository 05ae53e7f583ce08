// The PNG reader and writer over libpng.
// http://www.libpng.org/pub/png/libpng-manual.txt
//
// libpng reports errors by calling the error function, which must not
// return. As with libjpeg, it jumps back to a setjmp taken in a small guard
// function that holds no object with a destructor; everything libpng works
// on lives in PngReadState, a plain record. Warnings are dropped.
//
// The reader asks libpng for 8-bit blue, green, red rows, with an alpha
// channel where the file has transparency (palette and grey expanded, tRNS
// turned into alpha, 16-bit samples rounded); the alpha is laid over white
// here as each row is handed out.
#include "image/PngFile.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Ancillary chunks libpng may keep (text, suggested palettes) and the most
// it may allocate for any one chunk (a compressed profile or text). Nothing
// the reader uses comes near either.
constexpr png_uint_32 kPngMaxCachedChunks = 32;
constexpr png_alloc_size_t kPngMaxChunkBytes = 4 * 1024 * 1024;
// libpng reads image data in pieces of this size, and a read it cannot
// complete is an error: a cut file loses what lies in its last piece. Small
// pieces keep that loss small, for one more call per 128 bytes.
constexpr size_t kPngReadPieceBytes = 128;

// The ancillary chunks the reader has no use for: libpng skips them unread
// (no decompression, no allocation). tRNS is the one ancillary chunk used.
const png_byte kPngSkippedChunks[] =
    "bKGD\0cHRM\0cICP\0eXIf\0gAMA\0hIST\0iCCP\0iTXt\0oFFs\0pCAL\0pHYs\0sBIT\0sCAL\0sPLT\0"
    "sRGB\0tEXt\0tIME\0zTXt";
constexpr int kPngSkippedChunkCount = static_cast<int>(sizeof kPngSkippedChunks / 5);

}  // namespace

struct PngReadState {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::FILE* file = nullptr;      // the open file, or null over memory
    const uint8_t* data = nullptr;  // the bytes in memory and how far they are read
    size_t size = 0;
    size_t position = 0;

    int32_t width = 0;
    int32_t height = 0;
    int32_t channels = 0;  // 3 (blue, green, red) or 4 (and alpha), 8 bits each
    size_t rowBytes = 0;
    int passes = 1;           // 7 for an interlaced picture
    bool interlaced = false;  // then pixels holds the whole picture

    uint8_t* pixels = nullptr;  // one transformed row, or the whole picture
    int64_t rowCalls = 0;       // row reads libpng completed (interlaced: of all passes)
    int32_t next = 0;           // the row ReadRow hands out next
    int32_t pictureRows = 0;    // top rows that hold picture data
    bool broken = false;        // the data broke off or was corrupt
};

namespace {

[[noreturn]] void PngJumpOnError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void PngIgnoreWarning(png_structp, png_const_charp) {}

void PngReadFromFile(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (std::fread(out, 1, count, state->file) != count) {
        png_error(png, "the file ends early");
    }
}

void PngReadFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<PngReadState*>(png_get_io_ptr(png));
    if (count > state->size - state->position) {
        png_error(png, "the data ends early");
    }
    std::memcpy(out, state->data + state->position, count);
    state->position += count;
}

// Sets the limits and the transformations and reads everything up to the
// first row's data: the header, the palette, tRNS. The sizes are checked by
// the caller, before anything is allocated for the picture.
bool PngGuardedReadHeader(PngReadState* state) {
    png_structp png = state->png;
    png_infop info = state->info;
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    png_set_read_fn(png, state, state->file != nullptr ? PngReadFromFile : PngReadFromMemory);
    png_set_user_limits(png, kMaxPictureSide, kMaxPictureSide);
    png_set_chunk_cache_max(png, kPngMaxCachedChunks);
    png_set_chunk_malloc_max(png, kPngMaxChunkBytes);
    png_set_compression_buffer_size(png, kPngReadPieceBytes);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, kPngSkippedChunks,
                                kPngSkippedChunkCount);
    png_read_info(png, info);

    png_set_expand(png);  // palette to colour, grey below 8 bits to 8, tRNS to alpha
    png_set_scale_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    state->passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    state->width = static_cast<int32_t>(png_get_image_width(png, info));
    state->height = static_cast<int32_t>(png_get_image_height(png, info));
    state->channels = png_get_channels(png, info);
    state->rowBytes = png_get_rowbytes(png, info);
    state->interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    return png_get_bit_depth(png, info) == 8;
}

// One row of a picture that is not interlaced.
bool PngGuardedReadRow(PngReadState* state, uint8_t* row) {
    if (setjmp(png_jmpbuf(state->png)) != 0) {
        return false;
    }
    png_read_row(state->png, row, nullptr);
    ++state->rowCalls;
    return true;
}

// Every pass of an interlaced picture into the whole-picture buffer. Each
// pass writes its pixels as blocks covering the rows and columns of the
// passes still to come, so the picture is complete (if coarse) after the
// first pass. Counts the row reads done; false when the data broke off.
bool PngGuardedReadPasses(PngReadState* state) {
    if (setjmp(png_jmpbuf(state->png)) != 0) {
        return false;
    }
    for (int pass = 0; pass < state->passes; ++pass) {
        for (int32_t y = 0; y < state->height; ++y) {
            png_read_row(state->png, nullptr,
                         state->pixels + static_cast<size_t>(y) * state->rowBytes);
            ++state->rowCalls;
        }
    }
    return true;
}

// Header checks: the transformations must have given 8-bit colour rows of
// the expected length, and an interlaced picture must stay within its limit.
bool PngSizesAccepted(const PngReadState& state) {
    if (!DibSizeValid(state.width, state.height) || (state.channels != 3 && state.channels != 4) ||
        state.rowBytes != static_cast<size_t>(state.width) * static_cast<size_t>(state.channels)) {
        return false;
    }
    return !state.interlaced ||
           static_cast<int64_t>(state.width) * state.height <= kPngMaxInterlacedPixels;
}


}  // namespace

void PngReader::StateFree::operator()(PngReadState* state) const noexcept {
    if (state->png != nullptr) {
        png_destroy_read_struct(&state->png, &state->info, nullptr);
    }
    if (state->file != nullptr) {
        std::fclose(state->file);
    }
    std::free(state->pixels);
    delete state;
}

PngReader::~PngReader() = default;

bool PngReader::Open(const std::string& path) {
    Close();
    state_.reset(new (std::nothrow) PngReadState());
    if (!state_) {
        return false;
    }
    state_->file = std::fopen(path.c_str(), "rb");
    return state_->file != nullptr && Start();
}

bool PngReader::OpenMemory(const uint8_t* data, size_t size) {
    Close();
    if (data == nullptr) {
        return false;
    }
    state_.reset(new (std::nothrow) PngReadState());
    if (!state_) {
        return false;
    }
    state_->data = data;
    state_->size = size;
    return Start();
}

// Reads the header, checks it, and decodes the first row, or the whole
// picture when it is interlaced. Closes the reader when any of it fails.
bool PngReader::Start() {
    PngReadState& state = *state_;
    state.png =
        png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngJumpOnError, PngIgnoreWarning);
    if (state.png != nullptr) {
        state.info = png_create_info_struct(state.png);
    }
    bool started = state.info != nullptr && PngGuardedReadHeader(&state) && PngSizesAccepted(state);
    if (started) {
        const size_t rows = state.interlaced ? static_cast<size_t>(state.height) : 1;
        state.pixels = static_cast<uint8_t*>(std::calloc(rows, state.rowBytes));
        started = state.pixels != nullptr;
    }
    if (started && !state.interlaced) {
        // The first row now, so that a file that ends before it is refused
        // here, before the caller writes anything.
        started = PngGuardedReadRow(&state, state.pixels);
        state.pictureRows = state.height;
    } else if (started) {
        const bool whole = PngGuardedReadPasses(&state);
        state.broken = !whole;
        // Rows the first pass did not reach hold nothing of the picture.
        state.pictureRows = static_cast<int32_t>(std::min<int64_t>(state.rowCalls, state.height));
        started = state.pictureRows > 0;
    }
    if (!started) {
        Close();
    }
    return started;
}

int32_t PngReader::Width() const {
    return state_ ? state_->width : 0;
}

int32_t PngReader::Height() const {
    return state_ ? state_->height : 0;
}

bool PngReader::ReadRow(uint8_t* row) {
    if (!state_ || row == nullptr) {
        return false;
    }
    PngReadState& state = *state_;
    const int32_t y = state.next;
    const uint8_t* source = nullptr;
    if (y < state.pictureRows) {
        if (state.interlaced) {
            source = state.pixels + static_cast<size_t>(y) * state.rowBytes;
        } else if (y == 0) {
            source = state.pixels;  // read by Open
        } else if (!state.broken) {
            state.broken = !PngGuardedReadRow(&state, state.pixels);
            source = state.broken ? nullptr : state.pixels;
        }
    }
    if (y < state.height) {
        ++state.next;
    }
    if (source == nullptr) {
        std::memset(row, 0, static_cast<size_t>(state.width) * 3);
        return false;
    }
    RowOverWhite(source, state.channels, row, state.width);
    return true;
}

int32_t PngReader::UniformRowsAhead(uint8_t* bgr) {
    if (!state_ || bgr == nullptr) {
        return 0;
    }
    const PngReadState& state = *state_;
    const bool blackFromHere =
        state.next >= state.pictureRows || (!state.interlaced && state.broken);
    if (!blackFromHere || state.next >= state.height) {
        return 0;
    }
    bgr[0] = 0;
    bgr[1] = 0;
    bgr[2] = 0;
    return state.height - state.next;
}

void PngReader::SkipRows(int32_t count) {
    if (state_ && count > 0) {
        state_->next =
            static_cast<int32_t>(std::min<int64_t>(int64_t{state_->next} + count, state_->height));
    }
}

bool PngReader::Damaged() const {
    return state_ && state_->broken;
}

void PngReader::Close() {
    state_.reset();
}

namespace {

// Everything between the creation and the destruction of the writer; may
// leave by longjmp, so it holds no object with a destructor. Rows lie
// bottom-up in memory and a PNG starts with the top row.
bool PngGuardedWrite(png_structp png, png_infop info, std::FILE* file,
                     const BitmapInfoHeader& header, const uint8_t* pixels) {
    if (setjmp(png_jmpbuf(png)) != 0) {
        return false;
    }
    // libpng's own stdio functions raise an error on a short write.
    png_init_io(png, file);
    const bool colour = header.biBitCount == 24;
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 colour ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (header.biXPelsPerMeter > 0 && header.biYPelsPerMeter > 0) {
        png_set_pHYs(png, info, static_cast<png_uint_32>(header.biXPelsPerMeter),
                     static_cast<png_uint_32>(header.biYPelsPerMeter), PNG_RESOLUTION_METER);
    }
    png_write_info(png, info);
    if (colour) {
        png_set_bgr(png);
    }
    const size_t stride = static_cast<size_t>(DibRowStride(width, header.biBitCount));
    for (int32_t y = 0; y < height; ++y) {
        png_write_row(png, pixels + static_cast<size_t>(height - 1 - y) * stride);
    }
    png_write_end(png, info);
    return true;
}

}  // namespace

bool WritePngFile(std::FILE* file, const DibImage& image) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngJumpOnError, PngIgnoreWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    const bool written =
        info != nullptr && PngGuardedWrite(png, info, file, image.header, DibPixels(&image));
    png_destroy_write_struct(&png, &info);
    return written;
}
