// Damaged pictures through the loader, every format alike: a file whose data
// breaks off or is corrupt part way loads and says damaged, as a new picture
// and into the canvas; a file of which nothing can be read is refused and
// leaves the canvas alone; a whole file never says damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "JpegTestFiles.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/TestSupport.h"
#include "support/WebpTestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

enum Expect { WHOLE, DAMAGED, REFUSED };

struct Case {
    std::string path;
    Expect expect;
};

Bytes Head(const Bytes& bytes, double share) {
    return Bytes(bytes.begin(),
                 bytes.begin() + static_cast<long>(static_cast<double>(bytes.size()) * share));
}

// A picture that does not compress, so that a file cut at a share of its
// length is cut in its pixel data, at about that share of the rows.
uint32_t NoiseColour(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    return (h ^ (h >> 12)) & 0xFFFFFFu;
}

DibBlock Picture() {
    DibBlock picture = DibCreate(96, 64, 24);
    for (int32_t y = 0; y < 64; ++y) {
        for (int32_t x = 0; x < 96; ++x) {
            const uint32_t colour = NoiseColour(x, 63 - y);
            uint8_t* pixel = DibPixels(picture.get()) + y * DibRowStride(96, 24) + 3 * x;
            pixel[0] = static_cast<uint8_t>(colour);
            pixel[1] = static_cast<uint8_t>(colour >> 8);
            pixel[2] = static_cast<uint8_t>(colour >> 16);
        }
    }
    return picture;
}

}  // namespace

TEST(DamagedPicture, CutAndCorruptFilesOfEveryFormatSayDamaged) {
    TempDir folder;
    auto write = [&folder](const std::string& name, const Bytes& bytes) {
        EXPECT_TRUE(WriteWholeFile(folder.File(name), bytes));
        return folder.File(name);
    };
    auto saved = [&folder](const std::string& name) {
        EXPECT_TRUE(SavePicture(folder.File(name), *Picture()).Ok());
        return ReadWholeFile(folder.File(name));
    };
    const Bytes jpeg = EncodeTestJpeg(96, 64, NoiseColour);
    JpegTestOptions progressive;
    progressive.progressive = true;
    const Bytes progressiveJpeg = EncodeTestJpeg(96, 64, NoiseColour, progressive);
    const Bytes png = saved("whole.png");
    const Bytes bmp = saved("whole.bmp");
    const Bytes lossless = EncodeTestWebp(*Picture(), -1);
    const Bytes lossy = EncodeTestWebp(*Picture(), 80);
    const Bytes gif = ReadWholeFile(TestDataPath("gif/giflib-porsche.gif"));
    // A corrupt byte in the middle of a JPEG's entropy-coded data.
    Bytes corruptJpeg = jpeg;
    corruptJpeg[corruptJpeg.size() / 2] = 0xFF;
    corruptJpeg[corruptJpeg.size() / 2 + 1] = 0xD4;  // a restart marker out of place

    const Case cases[] = {
        {write("whole.jpg", jpeg), WHOLE},
        {write("whole.progressive.jpg", progressiveJpeg), WHOLE},
        {folder.File("whole.png"), WHOLE},
        {folder.File("whole.bmp"), WHOLE},
        {write("lossless.webp", lossless), WHOLE},
        {write("lossy.webp", lossy), WHOLE},
        {TestDataPath("gif/giflib-porsche.gif"), WHOLE},
        // Extraneous bytes before the end marker: reported by libjpeg, but
        // every pixel is there.
        {TestDataPath("jpeg/jdec-extraneous-data.jpg"), WHOLE},

        {write("cut.jpg", Head(jpeg, 0.6)), DAMAGED},
        {write("cut.progressive.jpg", Head(progressiveJpeg, 0.6)), DAMAGED},
        {write("corrupt.jpg", corruptJpeg), DAMAGED},
        {write("cut.png", Head(png, 0.6)), DAMAGED},
        {write("cut.bmp", Head(bmp, 0.6)), DAMAGED},
        {write("cut-lossless.webp", Head(lossless, 0.6)), DAMAGED},
        {write("cut-lossy.webp", Head(lossy, 0.6)), DAMAGED},
        {write("cut.gif", Head(gif, 0.6)), DAMAGED},
        {TestDataPath("jpeg/wuffs-peacock.default.truncated.jpeg"), DAMAGED},
        {TestDataPath("jpeg/wuffs-peacock.progressive.truncated.jpeg"), DAMAGED},

        {TestDataPath("bmpsuite/b/shortfile.bmp"), DAMAGED},

        {write("header.jpg", Bytes(jpeg.begin(), jpeg.begin() + 100)), REFUSED},
        {write("header.png", Bytes(png.begin(), png.begin() + 40)), REFUSED},
        {write("header.gif", Bytes(gif.begin(), gif.begin() + 30)), REFUSED},
        {write("header.webp", Bytes(lossy.begin(), lossy.begin() + 30)), REFUSED},
        {write("header.bmp", Bytes(bmp.begin(), bmp.begin() + 30)), REFUSED},
        // Cut inside the first data sub-block, which giflib reads whole or
        // not at all.
        {TestDataPath("gif/wuffs-hippopotamus.interlaced.truncated.gif"), REFUSED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        // A photo fitted to the canvas box, a small thumbnail (a progressive
        // JPEG then takes the scan filter), and into the canvas.
        const LoadRequest requests[] = {{kCanvasWidth, kCanvasHeight, LOAD_PHOTO},
                                        {44, 45, LOAD_SMALL_THUMBNAIL}};
        for (const LoadRequest& request : requests) {
            const LoadResult loaded = LoadPicture(c.path, request);
            EXPECT_EQ(loaded.Ok(), c.expect != REFUSED);
            EXPECT_EQ(loaded.damaged, c.expect == DAMAGED) << "purpose " << request.purpose;
            EXPECT_EQ(static_cast<bool>(loaded.picture), c.expect != REFUSED);
        }
        DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        std::memset(DibPixels(canvas.get()), 0x55, kCanvasPixelBytes);
        const LoadResult into = LoadPictureInto(c.path, *canvas, LoadRequest());
        EXPECT_EQ(into.error, c.expect == REFUSED ? LOAD_BAD_PICTURE : LOAD_OK);
        EXPECT_EQ(into.damaged, c.expect == DAMAGED);
        if (c.expect == REFUSED) {
            EXPECT_EQ(PixelAt(canvas.get(), 88, 90), 0x555555u)
                << "a refused file wrote the canvas";
        }
    }
}

// The part before the cut is the file's own: a cut BMP (rows bottom first)
// keeps its bottom rows, a cut PNG its top rows, and the rest is black.
TEST(DamagedPicture, ThePartBeforeTheCutIsThePicturesOwn) {
    TempDir folder;
    const DibBlock picture = Picture();
    for (const char* name : {"cut.bmp", "cut.png"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SavePicture(folder.File(name), *picture).Ok());
        const Bytes whole = ReadWholeFile(folder.File(name));
        ASSERT_TRUE(WriteWholeFile(folder.File(name), Head(whole, 0.5)));
        const LoadResult loaded = LoadPicture(folder.File(name), LoadRequest());
        ASSERT_TRUE(loaded.Ok());
        EXPECT_TRUE(loaded.damaged);
        const bool bottomFirst = std::string(name) == "cut.bmp";
        const int32_t inFile = bottomFirst ? 0 : 63;  // a row read before the cut
        const int32_t lost = bottomFirst ? 63 : 0;    // and one after it
        for (int32_t x = 0; x < 96; ++x) {
            EXPECT_EQ(PixelAt(loaded.picture.get(), x, inFile), PixelAt(picture.get(), x, inFile));
            EXPECT_EQ(PixelAt(loaded.picture.get(), x, lost), 0u);
        }
    }
}
