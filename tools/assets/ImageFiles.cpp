// Turns the tool's drawings into DibImages and files. QImage rows run top
// down; DibImage rows bottom up, so every conversion turns the rows over.
#include <QSaveFile>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <vector>

#include "AssetTool.h"
#include "image/SavePicture.h"

namespace {

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value & 0xFFFFu);
    PutU16(at + 2, value >> 16);
}

int SquaredDistance(QRgb a, QRgb b) {
    const int red = qRed(a) - qRed(b);
    const int green = qGreen(a) - qGreen(b);
    const int blue = qBlue(a) - qBlue(b);
    return red * red + green * green + blue * blue;
}

uint8_t NearestIndex(QRgb color, const QRgb palette[16]) {
    uint8_t best = 0;
    for (uint8_t i = 1; i < 16; ++i) {
        if (SquaredDistance(color, palette[i]) < SquaredDistance(color, palette[best])) {
            best = i;
        }
    }
    return best;
}

}  // namespace

DibBlock ColorDibFromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    DibBlock dib = DibCreate(rgb.width(), rgb.height(), 24);
    if (!dib) {
        return nullptr;
    }
    const int32_t stride = DibRowStride(rgb.width(), 24);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(rgb.height() - 1 - y));
        uint8_t* to = DibPixels(dib.get()) + static_cast<ptrdiff_t>(y) * stride;
        for (int x = 0; x < rgb.width(); ++x) {
            to[3 * x] = static_cast<uint8_t>(qBlue(from[x]));
            to[3 * x + 1] = static_cast<uint8_t>(qGreen(from[x]));
            to[3 * x + 2] = static_cast<uint8_t>(qRed(from[x]));
        }
    }
    return dib;
}

DibBlock GreyDibFromImage(const QImage& image) {
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    DibBlock dib = DibCreate(grey.width(), grey.height(), 8);
    if (!dib) {
        return nullptr;
    }
    uint8_t* palette = reinterpret_cast<uint8_t*>(dib.get()) + kDibHeaderBytes;
    for (int level = 0; level < 256; ++level) {
        std::memset(palette + 4 * level, level, 3);  // blue, green, red; the fourth byte stays 0
    }
    const int32_t stride = DibRowStride(grey.width(), 8);
    for (int y = 0; y < grey.height(); ++y) {
        std::memcpy(DibPixels(dib.get()) + static_cast<ptrdiff_t>(y) * stride,
                    grey.constScanLine(grey.height() - 1 - y), static_cast<size_t>(grey.width()));
    }
    return dib;
}

bool SaveDib(const QString& path, const DibImage* image) {
    if (image == nullptr || !SavePicture(path.toStdString(), *image).Ok()) {
        std::fprintf(stderr, "fotakle-assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool Save4BitBmp(const QString& path, const QImage& image, const QRgb palette[16]) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    BitmapInfoHeader header{};
    DibInitHeader(&header, rgb.width(), rgb.height(), 4, kDefaultDpi, kDefaultDpi);
    const size_t stride = static_cast<size_t>(DibRowStride(rgb.width(), 4));
    const size_t pixelsAt = 14 + kDibHeaderBytes + 16 * 4;
    std::vector<uint8_t> file(pixelsAt + stride * static_cast<size_t>(rgb.height()), 0);

    file[0] = 'B';
    file[1] = 'M';
    PutU32(&file[2], static_cast<uint32_t>(file.size()));  // bfSize
    PutU32(&file[10], static_cast<uint32_t>(pixelsAt));    // bfOffBits
    std::memcpy(&file[14], &header, sizeof header);        // the header is kept in file order
    for (int i = 0; i < 16; ++i) {
        uint8_t* entry = &file[14 + kDibHeaderBytes + 4 * i];
        entry[0] = static_cast<uint8_t>(qBlue(palette[i]));
        entry[1] = static_cast<uint8_t>(qGreen(palette[i]));
        entry[2] = static_cast<uint8_t>(qRed(palette[i]));
    }
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(rgb.height() - 1 - y));
        uint8_t* to = &file[pixelsAt + stride * static_cast<size_t>(y)];
        for (int x = 0; x < rgb.width(); ++x) {
            // Two pixels a byte, the left one in the high half.
            const int shift = (x % 2 == 0) ? 4 : 0;
            to[x / 2] = static_cast<uint8_t>(to[x / 2] | NearestIndex(from[x], palette) << shift);
        }
    }

    return SaveBytes(path, file.data(), file.size());
}

bool SaveBytes(const QString& path, const void* bytes, size_t size) {
    // Written beside the target and renamed over it when complete, so that a
    // failed run never leaves a newer, broken file for the build to trust.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(static_cast<const char*>(bytes), static_cast<qint64>(size)) !=
            static_cast<qint64>(size) ||
        !file.commit()) {
        std::fprintf(stderr, "fotakle-assets: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}
