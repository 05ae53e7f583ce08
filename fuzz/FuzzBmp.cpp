// Opens the bytes as a BMP file and reads every row, as the decoding driver does.
#include <cstdint>
#include <vector>

#include "image/BmpReader.h"
#include "image/DibImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpReader reader;
    int32_t width = 0, height = 0, bits = 0;
    if (reader.OpenMemory(data, size, &width, &height, &bits)) {
        std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(width, 24)));
        for (int32_t y = 0; y < height; ++y) {
            reader.ReadRow(row.data());
        }
    }
    return 0;
}
