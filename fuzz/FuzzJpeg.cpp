// Loads arbitrary bytes as a JPEG file in one of the loader's modes, or,
// one time in six, drives the libjpeg-turbo codec alone at 1/8, where
// progressive pictures go through the scan filter, read part way and then
// again from the start.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "FuzzLoad.h"
#include "image/JpegCodec.h"

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
    if (size % (kFuzzLoadModes + 1) == kFuzzLoadModes) {
        std::unique_ptr<JpegCodec> codec = OpenJpegMemory(data, size);
        if (codec) {
            ReadAtEighth(*codec);
        }
        return 0;
    }
    FuzzLoadInMode(data, size, PICTURE_JPEG, size % (kFuzzLoadModes + 1));
    return 0;
}
