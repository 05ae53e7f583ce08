// Loads arbitrary bytes as a PNG file in one of the loader's modes.
#include <cstddef>
#include <cstdint>

#include "FuzzLoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzLoadInMode(data, size, PICTURE_PNG, size);
    return 0;
}
