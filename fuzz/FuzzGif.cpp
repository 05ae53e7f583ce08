// Decodes arbitrary bytes as a GIF and fits the picture to the canvas box.
#include <cstddef>
#include <cstdint>

#include "image/GifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DibBlock bitmap = GifDecodeMemoryToBitmap(data, size, nullptr, nullptr);
    int16_t scale = 100;
    int32_t width = kCanvasWidth;
    int32_t height = kCanvasHeight;
    DibBlock fitted = BitmapToDib(bitmap.get(), &scale, false, &width, &height, nullptr, true);
    return 0;
}
