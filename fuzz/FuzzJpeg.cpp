// Feeds arbitrary bytes through the libjpeg-turbo codec and the decoding
// driver. The load mode comes from the input's size, since the first bytes of
// every JPEG are the same: a photo for the canvas, a small thumbnail, a mask,
// a photo written into a canvas, or the codec alone at 1/8, where progressive
// pictures go through the scan filter, read part way and then again from the
// start.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/JpegCodec.h"
#include "image/LoadPicture.h"

namespace {

// Asks for 1 x 1, which the codec answers with its smallest scale.
void ReadAtEighth(JpegCodec& codec) {
    for (int pass = 0; pass < 2; ++pass) {
        int32_t width = 1;
        int32_t height = 1;
        if (!codec.ReadHeader(&width, &height) || !codec.StartRows()) {
            break;
        }
        std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(width, 24)));
        const int32_t rows = pass == 0 ? height / 2 : height;
        for (int32_t y = 0; y < rows; ++y) {
            codec.ReadRow(row.data());
        }
    }
    codec.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(data, size);
    if (!codec) {
        return 0;
    }
    const size_t mode = size % 5;
    if (mode == 4) {
        ReadAtEighth(*codec);
        return 0;
    }
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
