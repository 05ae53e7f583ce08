#include "support/ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

#include "image/SavePicture.h"
#include "support/TestSupport.h"

DibBlock FilledCanvas(uint8_t fill) {
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    std::memset(DibPixels(canvas.get()), fill, kCanvasPixelBytes);
    return canvas;
}

DibBlock MakePicture(int32_t width, int32_t height, const ColourAt& colour) {
    DibBlock picture = DibCreate(width, height, 24);
    for (int32_t y = 0; picture && y < height; ++y) {
        uint8_t* row = DibPixels(picture.get()) + static_cast<size_t>(y) * DibRowStride(width, 24);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
    }
    return picture;
}

DibBlock Flipped(const DibImage* picture) {
    const int32_t height = picture->header.biHeight;
    return MakePicture(picture->header.biWidth, height, [picture, height](int32_t x, int32_t y) {
        return PixelAt(picture, x, height - 1 - y);
    });
}

uint8_t OverWhite(uint8_t colour, uint8_t alpha) {
    return static_cast<uint8_t>((colour * alpha + 255u * (255u - alpha) + 127u) / 255u);
}

uint32_t NoiseAt(int32_t x, int32_t y) {
    uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return h ^ (h >> 12);
}

int32_t KeptRowsThen(const DibImage* picture, const ColourAt& expected, uint32_t rest) {
    const int32_t width = picture->header.biWidth;
    const int32_t height = picture->header.biHeight;
    const auto rowIs = [&](int32_t y, const ColourAt& colour) {
        for (int32_t x = 0; x < width; ++x) {
            if (PixelAt(picture, x, height - 1 - y) != colour(x, y)) {
                return false;
            }
        }
        return true;
    };
    int32_t kept = 0;
    while (kept < height && rowIs(kept, expected)) {
        ++kept;
    }
    for (int32_t y = kept; y < height; ++y) {
        EXPECT_TRUE(rowIs(y, [rest](int32_t, int32_t) { return rest; }))
            << "row " << y << " from the top, after " << kept << " kept rows";
    }
    return kept;
}

std::string DifferenceFromTheBmpPath(const std::string& path, const DibImage& picture,
                                     const LoadRequest& request, bool upsideDown) {
    const std::string bmp = path + ".bmp";
    if (!SavePicture(bmp, upsideDown ? *Flipped(&picture) : picture).Ok()) {
        return "the BMP could not be saved";
    }
    const auto differs = [upsideDown](const DibImage* expected, const DibImage* actual) {
        return FirstDifference(upsideDown ? Flipped(expected).get() : expected, actual);
    };
    const LoadResult file = LoadPicture(path, request);
    const LoadResult reference = LoadPicture(bmp, request);
    if (!file.Ok() || file.damaged || !reference.Ok()) {
        return "the pictures did not load whole";
    }
    std::string difference = differs(reference.picture.get(), file.picture.get());
    if (!difference.empty()) {
        return "as a new picture: " + difference;
    }
    DibBlock canvas = FilledCanvas(0x55);
    DibBlock referenceCanvas = FilledCanvas(0x55);
    if (!LoadPictureInto(path, *canvas, LoadRequest()).Ok() ||
        !LoadPictureInto(bmp, *referenceCanvas, LoadRequest()).Ok()) {
        return "a load into the canvas failed";
    }
    difference = differs(referenceCanvas.get(), canvas.get());
    return difference.empty() ? "" : "into the canvas: " + difference;
}
