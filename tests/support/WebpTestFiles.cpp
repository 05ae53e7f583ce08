#include "support/WebpTestFiles.h"

#include <webp/encode.h>

#include "support/TestSupport.h"

std::vector<uint8_t> EncodeTestWebpBgra(const std::vector<uint8_t>& bgra, int width, int height,
                                        int quality) {
    WebPConfig config;
    WebPPicture picture;
    if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) {
        return {};
    }
    config.lossless = quality < 0 ? 1 : 0;
    config.quality = quality < 0 ? 75.0f : static_cast<float>(quality);
    config.exact = 1;
    picture.use_argb = 1;
    picture.width = width;
    picture.height = height;
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &writer;
    std::vector<uint8_t> bytes;
    if (WebPPictureImportBGRA(&picture, bgra.data(), width * 4) && WebPEncode(&config, &picture)) {
        bytes.assign(writer.mem, writer.mem + writer.size);
    }
    WebPPictureFree(&picture);
    WebPMemoryWriterClear(&writer);
    return bytes;
}

std::vector<uint8_t> EncodeTestWebp(const DibImage& picture, int quality) {
    const int32_t width = picture.header.biWidth;
    const int32_t height = picture.header.biHeight;
    std::vector<uint8_t> bgra;
    bgra.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int32_t y = height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = PixelAt(&picture, x, y);
            bgra.insert(bgra.end(), {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8),
                                     static_cast<uint8_t>(c >> 16), 255});
        }
    }
    return EncodeTestWebpBgra(bgra, width, height, quality);
}
