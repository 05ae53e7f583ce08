// Opens the bytes as a BMP file and reads every row, as the decoding driver does.
#include <cstdint>
#include <vector>

#include "image/BmpReader.h"
#include "image/DibImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BmpReader reader;
    if (reader.OpenMemory(data, size)) {
        std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(reader.Width(), 24)));
        for (int32_t y = 0; y < reader.Height(); ++y) {
            reader.ReadRow(row.data());
        }
    }
    return 0;
}
