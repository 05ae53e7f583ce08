// Feeds arbitrary bytes through the libjpeg-turbo codec and the decoding
// driver. The load mode comes from the input's size, since the first bytes of
// every JPEG are the same: a photo for the canvas, a small thumbnail, a mask,
// or a photo written into a canvas.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/DecodePicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(data, size);
    if (!codec) {
        return 0;
    }
    std::vector<uint8_t> canvas(kCanvasPixelBytes);
    const size_t mode = size % 4;
    int32_t width = mode == 1 ? 44 : kCanvasWidth;
    int32_t height = mode == 1 ? 45 : kCanvasHeight;
    DecodeJpegPicture(*codec, mode == 3 ? canvas.data() : nullptr, mode == 2, &width, &height,
                      mode == 1, mode == 1, mode == 3);
    return 0;
}
