// Opens arbitrary bytes as a PNG and fits its rows as the loader does. Every
// PNG starts with the same eight bytes, so the load mode comes from the
// input's size: a photo fitted to the canvas box, a small thumbnail, or a
// photo written into a canvas.
#include <cstddef>
#include <cstdint>

#include "image/LoadPicture.h"
#include "image/PngFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PngReader reader;
    if (!reader.OpenMemory(data, size)) {
        return 0;
    }
    const size_t mode = size % 3;
    if (mode == 2) {
        DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        if (canvas) {
            DecodePngPictureInto(reader, *canvas, LoadRequest());
        }
        return 0;
    }
    const LoadRequest requests[] = {{kCanvasWidth, kCanvasHeight, LOAD_PHOTO},
                                    {44, 45, LOAD_SMALL_THUMBNAIL}};
    DecodePngPicture(reader, requests[mode]);
    return 0;
}
