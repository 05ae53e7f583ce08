// Opens arbitrary bytes as a WebP, decodes its first frame and fits it as the
// loader does. Every WebP starts alike, so the load mode comes from the
// input's size: a photo fitted to the canvas box (libwebp's scaler), a small
// thumbnail, or a photo written into a canvas.
#include <cstddef>
#include <cstdint>

#include "image/LoadPicture.h"
#include "image/WebpReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WebpReader reader;
    if (!reader.OpenMemory(data, size)) {
        return 0;
    }
    const size_t mode = size % 3;
    if (mode == 2) {
        DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        if (canvas) {
            DecodeWebpPictureInto(reader, *canvas, LoadRequest());
        }
        return 0;
    }
    const LoadRequest requests[] = {{kCanvasWidth, kCanvasHeight, LOAD_PHOTO},
                                    {44, 45, LOAD_SMALL_THUMBNAIL}};
    DecodeWebpPicture(reader, requests[mode]);
    return 0;
}
