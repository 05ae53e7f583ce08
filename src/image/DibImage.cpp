#include "image/DibImage.h"

#include <cstdlib>
#include <cstring>

void DibFree::operator()(DibImage* image) const noexcept {
    std::free(image);
}

int32_t DibRowStride(int32_t width, int32_t bitsPerPixel) {
    if (width <= 0 || width > kMaxPictureSide || bitsPerPixel <= 0 || bitsPerPixel > 64) {
        return 0;
    }
    const uint32_t bits = static_cast<uint32_t>(width) * static_cast<uint32_t>(bitsPerPixel);
    return static_cast<int32_t>((bits + 31u) / 32u * 4u);
}

void DibInitHeader(BitmapInfoHeader* header, int32_t width, int32_t height, int32_t bitsPerPixel,
                   int32_t xDpi, int32_t yDpi) {
    header->biSize = kDibHeaderBytes;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = static_cast<uint16_t>(bitsPerPixel);
    header->biCompression = 0;
    header->biSizeImage =
        static_cast<uint32_t>(height) * static_cast<uint32_t>(DibRowStride(width, bitsPerPixel));
    header->biXPelsPerMeter = static_cast<int32_t>(static_cast<uint32_t>(xDpi) * 10000u / 254u);
    header->biYPelsPerMeter = static_cast<int32_t>(static_cast<uint32_t>(yDpi) * 10000u / 254u);
    header->biClrUsed =
        (bitsPerPixel == 24 || bitsPerPixel == 32 || bitsPerPixel <= 0 || bitsPerPixel > 16)
            ? 0u
            : (1u << bitsPerPixel);
    header->biClrImportant = 0;
}

bool DibSizeValid(int32_t width, int32_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide;
}

int32_t DibPaletteBytes(const BitmapInfoHeader& header) {
    if (header.biBitCount == 0 || header.biBitCount > 8) {
        return 0;
    }
    return 4 << header.biBitCount;
}

size_t DibBlockBytes(const BitmapInfoHeader& header) {
    if (!DibSizeValid(header.biWidth, header.biHeight)) {
        return 0;
    }
    const int32_t stride = DibRowStride(header.biWidth, header.biBitCount);
    if (stride == 0) {
        return 0;
    }
    return static_cast<size_t>(kDibHeaderBytes) + static_cast<size_t>(DibPaletteBytes(header)) +
           static_cast<size_t>(stride) * static_cast<size_t>(header.biHeight);
}

DibBlock DibCreate(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (!DibSizeValid(width, height) || (bitsPerPixel != 24 && bitsPerPixel != 8)) {
        return nullptr;
    }
    BitmapInfoHeader header{};
    DibInitHeader(&header, width, height, bitsPerPixel, kDefaultDpi, kDefaultDpi);
    // calloc: a new picture is black, padding and mask palette included.
    void* memory = std::calloc(1, DibBlockBytes(header));
    if (memory == nullptr) {
        return nullptr;
    }
    DibBlock block(static_cast<DibImage*>(memory));
    block->header = header;
    return block;
}

uint8_t* DibPixels(DibImage* image) {
    return reinterpret_cast<uint8_t*>(image) + kDibHeaderBytes + DibPaletteBytes(image->header);
}

const uint8_t* DibPixels(const DibImage* image) {
    return reinterpret_cast<const uint8_t*>(image) + kDibHeaderBytes +
           DibPaletteBytes(image->header);
}

DibBlock CanvasDuplicate(const uint8_t* pixels) {
    DibBlock copy = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (copy) {
        CanvasCopy(pixels, DibPixels(copy.get()));
    }
    return copy;
}

void CanvasCopy(const uint8_t* from, uint8_t* to) {
    std::memcpy(to, from, kCanvasPixelBytes);
}

void RowOverWhite(const uint8_t* source, int32_t channels, uint8_t* row, int32_t width) {
    if (channels == 3) {
        std::memcpy(row, source, static_cast<size_t>(width) * 3);
        return;
    }
    for (int32_t x = 0; x < width; ++x, source += 4, row += 3) {
        const unsigned alpha = source[3];
        const unsigned white = 255u * (255u - alpha) + 127u;
        for (int c = 0; c < 3; ++c) {
            row[c] = static_cast<uint8_t>((source[c] * alpha + white) / 255u);
        }
    }
}
