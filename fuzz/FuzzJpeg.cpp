// Feeds arbitrary bytes through the libjpeg-turbo codec and the decoding
// driver. The load mode comes from the input's size, since the first bytes of
// every JPEG are the same: a photo for the canvas, a small thumbnail, a mask,
// or a photo written into a canvas.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "image/JpegCodec.h"
#include "image/LoadPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(data, size);
    if (!codec) {
        return 0;
    }
    const size_t mode = size % 4;
    if (mode == 3) {
        DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        if (canvas) {
            DecodeJpegPictureInto(*codec, *canvas, LoadRequest());
        }
        return 0;
    }
    const LoadRequest requests[] = {{kCanvasWidth, kCanvasHeight, LOAD_PHOTO},
                                    {44, 45, LOAD_SMALL_THUMBNAIL},
                                    {kCanvasWidth, kCanvasHeight, LOAD_MASK}};
    DecodeJpegPicture(*codec, requests[mode]);
    return 0;
}
