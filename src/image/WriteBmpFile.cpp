// Writes a DibImage as a BMP file: the 14-byte BITMAPFILEHEADER followed by
// the block as it lies in memory.
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "image/PictureWriters.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value & 0xFFFFu);
    PutU16(at + 2, value >> 16);
}

bool WriteBytes(std::FILE* file, const void* bytes, size_t count) {
    return std::fwrite(bytes, 1, count, file) == count;
}

}  // namespace

bool WriteBmpFile(std::FILE* file, const DibImage* image, const uint8_t* pixels) {
    if (file == nullptr || image == nullptr || !DibHeaderSavable(image->header)) {
        return false;
    }
    const BitmapInfoHeader& header = image->header;
    // Header and palette as the block holds them; the rows may come from
    // elsewhere. The largest picture (32767 x 32767 x 24) stays below 4 GiB,
    // so the total fits bfSize.
    const size_t headBytes =
        static_cast<size_t>(kDibHeaderBytes) + static_cast<size_t>(DibPaletteBytes(header));
    const size_t rowBytes = static_cast<size_t>(DibRowStride(header.biWidth, header.biBitCount)) *
                            static_cast<size_t>(header.biHeight);
    const uint64_t fileBytes = kFileHeaderBytes + headBytes + rowBytes;

    uint8_t fileHeader[kFileHeaderBytes] = {'B', 'M'};
    PutU32(fileHeader + 2, static_cast<uint32_t>(fileBytes));  // bfSize
    PutU32(fileHeader + 6, 0);                                 // bfReserved1, bfReserved2
    PutU32(fileHeader + 10, static_cast<uint32_t>(kFileHeaderBytes + headBytes));  // bfOffBits

    if (pixels == nullptr) {
        pixels = DibPixels(image);
    }
    return WriteBytes(file, fileHeader, sizeof fileHeader) && WriteBytes(file, image, headBytes) &&
           WriteBytes(file, pixels, rowBytes);
}
