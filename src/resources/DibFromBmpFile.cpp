// Turns a whole BMP file held in memory into a DibImage: the packed bitmap
// behind the 14-byte file header, copied as it stands. The bytes are checked
// first, so that DibPixels finds complete rows right behind the palette.
// https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader
#include <cstdlib>
#include <cstring>

#include "resources/EmbeddedResources.h"

namespace {

constexpr size_t kFileHeaderBytes = 14;

uint32_t U32At(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// True for the depths whose layout DibPixels knows, with their palette size:
// a full palette below 16 bits, none above.
bool PaletteComplete(const BitmapInfoHeader& header) {
    switch (header.biBitCount) {
        case 1:
        case 4:
        case 8:
            return header.biClrUsed == 0 || header.biClrUsed == (1u << header.biBitCount);
        case 24:
        case 32:
            return header.biClrUsed == 0;
        default:
            return false;
    }
}

}  // namespace

DibBlock DibFromBmpFile(const uint8_t* bytes, size_t size) {
    if (bytes == nullptr || size < kFileHeaderBytes + kDibHeaderBytes || bytes[0] != 'B' ||
        bytes[1] != 'M') {
        return nullptr;
    }
    const uint64_t fileBytes = U32At(bytes + 2);
    const uint64_t pixelsAt = U32At(bytes + 10);
    if (fileBytes > size || fileBytes < kFileHeaderBytes + kDibHeaderBytes) {
        return nullptr;
    }
    BitmapInfoHeader header;
    std::memcpy(&header, bytes + kFileHeaderBytes, sizeof header);
    if (header.biSize != static_cast<uint32_t>(kDibHeaderBytes) || header.biCompression != 0 ||
        header.biPlanes != 1 || !DibSizeValid(header.biWidth, header.biHeight) ||
        !PaletteComplete(header)) {
        return nullptr;
    }
    const uint64_t blockBytes = fileBytes - kFileHeaderBytes;
    if (pixelsAt != kFileHeaderBytes + kDibHeaderBytes + DibPaletteBytes(header) ||
        DibBlockBytes(header) > blockBytes) {
        return nullptr;
    }
    void* block = std::malloc(static_cast<size_t>(blockBytes));
    if (block == nullptr) {
        return nullptr;
    }
    std::memcpy(block, bytes + kFileHeaderBytes, static_cast<size_t>(blockBytes));
    return DibBlock(static_cast<DibImage*>(block));
}
