// The WebP reader over libwebp: the demuxer finds the first frame (in an
// animation, or the one picture of a still file), the incremental decoder
// decodes it into memory the reader owns. The incremental decoder is used
// even though the whole file is at hand because it tells how many rows it
// completed when the data ends early or turns out corrupt, where the plain
// decoder gives nothing.
// https://developers.google.com/speed/webp/docs/api
#include "image/WebpReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <webp/decode.h>
#include <webp/demux.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "image/DibImage.h"

namespace {

struct WebpFree {
    void operator()(uint8_t* memory) const noexcept { std::free(memory); }
};
using WebpBytes = std::unique_ptr<uint8_t[], WebpFree>;

}  // namespace

struct WebpReadState {
    WebpBytes fileBytes;  // the file read into memory; empty over the caller's bytes
    const uint8_t* data = nullptr;
    size_t size = 0;
    int32_t width = 0;  // the picture (an animation's canvas)
    int32_t height = 0;

    // The first frame: its bytes within data and its place on the picture.
    const uint8_t* frame = nullptr;
    size_t frameSize = 0;
    int32_t frameLeft = 0;
    int32_t frameTop = 0;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    bool frameAlpha = false;
    bool decodeTried = false;

    // The decoded rows, top first, of 3 (blue, green, red) or 4 (and alpha)
    // bytes a pixel.
    WebpBytes pixels;
    int32_t channels = 3;
    size_t stride = 0;
    int32_t rowsWidth = 0;
    int32_t rowsHeight = 0;
    int32_t pictureRows = 0;  // top rows that hold picture data
    int32_t next = 0;
    bool broken = false;
};

namespace {

// The whole file, if it is not empty and not above kWebpMaxFileBytes.
bool WebpReadFile(const std::string& path, WebpReadState* state) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat info;
    bool read = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                info.st_size <= kWebpMaxFileBytes;
    if (read) {
        const size_t size = static_cast<size_t>(info.st_size);
        state->fileBytes.reset(static_cast<uint8_t*>(std::malloc(size)));
        read = state->fileBytes != nullptr;
        size_t done = 0;
        while (read && done < size) {
            const ssize_t got = ::read(fd, state->fileBytes.get() + done, size - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            read = got > 0;
            done += read ? static_cast<size_t>(got) : 0;
        }
        state->data = state->fileBytes.get();
        state->size = size;
    }
    close(fd);
    return read;
}

// Finds the first frame and the picture's size. A file cut short still
// yields its first frame as far as it goes.
bool WebpFindFirstFrame(WebpReadState* state) {
    WebPData data = {state->data, state->size};
    WebPDemuxState parsed = WEBP_DEMUX_PARSING_HEADER;
    WebPDemuxer* demux = WebPDemuxPartial(&data, &parsed);
    if (demux == nullptr) {
        return false;
    }
    bool found = false;
    WebPIterator frame;
    if (parsed >= WEBP_DEMUX_PARSED_HEADER && WebPDemuxGetFrame(demux, 1, &frame)) {
        const uint32_t width = WebPDemuxGetI(demux, WEBP_FF_CANVAS_WIDTH);
        const uint32_t height = WebPDemuxGetI(demux, WEBP_FF_CANVAS_HEIGHT);
        found = width <= static_cast<uint32_t>(kMaxPictureSide) &&
                height <= static_cast<uint32_t>(kMaxPictureSide);
        state->width = found ? static_cast<int32_t>(width) : 0;
        state->height = found ? static_cast<int32_t>(height) : 0;
        state->frame = frame.fragment.bytes;
        state->frameSize = frame.fragment.size;
        state->frameLeft = frame.x_offset;
        state->frameTop = frame.y_offset;
        state->frameWidth = frame.width;
        state->frameHeight = frame.height;
        WebPDemuxReleaseIterator(&frame);
    }
    WebPDemuxDelete(demux);
    return found;
}

// Checks the frame against the picture and the limits, with the sizes its
// own bitstream declares.
bool WebpFrameAccepted(WebpReadState* state) {
    WebPBitstreamFeatures features;
    if (state->frame == nullptr ||
        WebPGetFeatures(state->frame, state->frameSize, &features) != VP8_STATUS_OK ||
        features.width != state->frameWidth || features.height != state->frameHeight ||
        !DibSizeValid(state->width, state->height) ||
        !DibSizeValid(state->frameWidth, state->frameHeight) || state->frameLeft < 0 ||
        state->frameTop < 0 || state->frameWidth > state->width - state->frameLeft ||
        state->frameHeight > state->height - state->frameTop) {
        return false;
    }
    state->frameAlpha = features.has_alpha != 0;
    const int64_t framePixels = static_cast<int64_t>(state->frameWidth) * state->frameHeight;
    const int64_t picturePixels = static_cast<int64_t>(state->width) * state->height;
    const bool heldWhole = features.format == 2 || state->frameAlpha;
    const bool covers = framePixels == picturePixels;
    return (!heldWhole || framePixels <= kWebpMaxWholePixels) &&
           (covers || picturePixels <= kWebpMaxWholePixels);
}


// Decodes the first frame at width x height (libwebp's scaler makes any
// other size than the frame's own) into state->pixels. Counts the rows
// completed before a fault.
bool WebpDecodeFrame(int32_t width, int32_t height, WebpReadState* state) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) {
        return false;
    }
    state->channels = state->frameAlpha ? 4 : 3;
    state->stride = static_cast<size_t>(width) * static_cast<size_t>(state->channels);
    state->pixels.reset(
        static_cast<uint8_t*>(std::calloc(static_cast<size_t>(height), state->stride)));
    if (!state->pixels) {
        return false;
    }
    state->rowsWidth = width;
    state->rowsHeight = height;
    config.options.use_threads = 0;
    if (width != state->frameWidth || height != state->frameHeight) {
        config.options.use_scaling = 1;
        config.options.scaled_width = width;
        config.options.scaled_height = height;
    }
    config.output.colorspace = state->frameAlpha ? MODE_BGRA : MODE_BGR;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = state->pixels.get();
    config.output.u.RGBA.stride = static_cast<int>(state->stride);
    config.output.u.RGBA.size = static_cast<size_t>(height) * state->stride;

    WebPIDecoder* decoder = WebPIDecode(nullptr, 0, &config);
    if (decoder == nullptr) {
        return false;
    }
    const VP8StatusCode status = WebPIUpdate(decoder, state->frame, state->frameSize);
    int lastRow = 0;
    if (WebPIDecGetRGB(decoder, &lastRow, nullptr, nullptr, nullptr) == nullptr) {
        lastRow = 0;
    }
    WebPIDelete(decoder);
    WebPFreeDecBuffer(&config.output);
    state->pictureRows = lastRow < 0 ? 0 : lastRow > height ? height : lastRow;
    state->broken = status != VP8_STATUS_OK || state->pictureRows < height;
    return state->pictureRows > 0;
}

// Lays the decoded frame on a white picture of the animation's size at the
// frame's place; rows of the frame the data did not reach are black.
bool WebpComposeOnPicture(WebpReadState* state) {
    const size_t stride = static_cast<size_t>(state->width) * 3;
    WebpBytes picture(
        static_cast<uint8_t*>(std::malloc(stride * static_cast<size_t>(state->height))));
    if (!picture) {
        return false;
    }
    std::memset(picture.get(), 255, stride * static_cast<size_t>(state->height));
    for (int32_t y = 0; y < state->rowsHeight; ++y) {
        uint8_t* out = picture.get() + static_cast<size_t>(state->frameTop + y) * stride +
                       static_cast<size_t>(state->frameLeft) * 3;
        if (y < state->pictureRows) {
            RowOverWhite(state->pixels.get() + static_cast<size_t>(y) * state->stride,
                           state->channels, out, state->rowsWidth);
        } else {
            std::memset(out, 0, static_cast<size_t>(state->rowsWidth) * 3);
        }
    }
    state->pixels = std::move(picture);
    state->channels = 3;
    state->stride = stride;
    state->rowsWidth = state->width;
    state->rowsHeight = state->height;
    state->pictureRows = state->height;
    return true;
}

}  // namespace

WebpReader::WebpReader() = default;
WebpReader::~WebpReader() = default;

bool WebpReader::Open(const std::string& path) {
    Close();
    state_.reset(new (std::nothrow) WebpReadState());
    if (!state_ || !WebpReadFile(path, state_.get()) || !WebpFindFirstFrame(state_.get()) ||
        !WebpFrameAccepted(state_.get())) {
        Close();
        return false;
    }
    return true;
}

bool WebpReader::OpenMemory(const uint8_t* data, size_t size) {
    Close();
    if (data == nullptr || size == 0) {
        return false;
    }
    state_.reset(new (std::nothrow) WebpReadState());
    if (!state_) {
        return false;
    }
    state_->data = data;
    state_->size = size;
    if (!WebpFindFirstFrame(state_.get()) || !WebpFrameAccepted(state_.get())) {
        Close();
        return false;
    }
    return true;
}

int32_t WebpReader::Width() const {
    return state_ ? state_->width : 0;
}

int32_t WebpReader::Height() const {
    return state_ ? state_->height : 0;
}

bool WebpReader::Decode(int32_t* width, int32_t* height) {
    if (!state_ || state_->decodeTried || width == nullptr || height == nullptr) {
        return false;
    }
    WebpReadState& state = *state_;
    state.decodeTried = true;
    const bool covers = state.frameWidth == state.width && state.frameHeight == state.height;
    if (!covers) {
        if (!WebpDecodeFrame(state.frameWidth, state.frameHeight, &state) ||
            !WebpComposeOnPicture(&state)) {
            return false;
        }
    } else if (*width < 1 || *width > state.width || *height < 1 || *height > state.height ||
               !WebpDecodeFrame(*width, *height, &state)) {
        return false;
    }
    *width = state.rowsWidth;
    *height = state.rowsHeight;
    return true;
}

bool WebpReader::ReadRow(uint8_t* row) {
    if (!state_ || !state_->pixels || row == nullptr) {
        return false;
    }
    WebpReadState& state = *state_;
    const int32_t y = state.next;
    if (y < state.rowsHeight) {
        ++state.next;
    }
    if (y >= state.pictureRows) {
        std::memset(row, 0, static_cast<size_t>(state.rowsWidth) * 3);
        return false;
    }
    RowOverWhite(state.pixels.get() + static_cast<size_t>(y) * state.stride, state.channels, row,
                   state.rowsWidth);
    return true;
}

bool WebpReader::Damaged() const {
    return state_ && state_->broken;
}

void WebpReader::Close() {
    state_.reset();
}
