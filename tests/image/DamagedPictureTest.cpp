// Damaged pictures through the loader, every format alike: a file whose data
// breaks off or is corrupt part way loads and says damaged, as a new picture
// and into the canvas; a file of which nothing can be read is refused and
// leaves the canvas alone; a whole file never says damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PictureTestFiles.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ImageTestSupport.h"
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

uint32_t NoiseColour(int x, int y) {
    return NoiseAt(x, y) & 0xFFFFFFu;
}

// The noise as a 96 x 64 picture, its top row last in memory.
DibBlock Picture() {
    return MakePicture(96, 64, [](int32_t x, int32_t y) { return NoiseColour(x, 63 - y); });
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
        DibBlock canvas = FilledCanvas(0x55);
        const LoadResult into = LoadPictureInto(c.path, *canvas, LoadRequest());
        EXPECT_EQ(into.error, c.expect == REFUSED ? LOAD_BAD_PICTURE : LOAD_OK);
        EXPECT_EQ(into.damaged, c.expect == DAMAGED);
        if (c.expect == REFUSED) {
            EXPECT_EQ(PixelAt(canvas.get(), 88, 90), 0x555555u)
                << "a refused file wrote the canvas";
        }
    }
}
