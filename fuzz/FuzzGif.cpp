// Decodes arbitrary bytes as a GIF and fits the picture to the canvas, as the
// loader does for the display photo, and to a small box as a mask.
#include <cstddef>
#include <cstdint>

#include "image/GifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibBlock bitmap = GifDecodeMemory(data, size);
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (bitmap && canvas) {
        GifFitIntoCanvas(*bitmap, *canvas);
        DibBlock mask = GifScaleToBox(*bitmap, 60, 60, true);
    }
    return 0;
}
