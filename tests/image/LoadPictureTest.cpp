// LoadPicture over real files: JPEG through libjpeg-turbo, BMP through the
// program's reader, GIF through giflib.
#include "image/LoadPicture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "JpegTestFiles.h"
#include "image/PictureType.h"
#include "support/TestSupport.h"

namespace {

struct Loaded {
    DibBlock image;
    int32_t width;
    int32_t height;
};

Loaded Load(const std::string& path, int32_t boxWidth = kCanvasWidth,
            int32_t boxHeight = kCanvasHeight, bool asMask = false, uint8_t* canvas = nullptr) {
    Loaded loaded{nullptr, boxWidth, boxHeight};
    loaded.image = LoadPicture(path, asMask, 100, &loaded.width, &loaded.height, canvas,
                               canvas != nullptr, false, false);
    return loaded;
}

}  // namespace

TEST(LoadPicture, LargeJpegBecomesAnImageExactlyTheBoxHigh) {
    TempDir folder;
    const std::string path = folder.File("wide.jpg");
    ASSERT_TRUE(WriteWholeFile(path, EncodeTestJpeg(640, 480, [](int, int y) {
                                   return y < 240 ? 0xFF0000u : 0x0000FFu;
                               })));
    Loaded loaded = Load(path);
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.height, 180);
    EXPECT_GT(loaded.width, 176);
    EXPECT_EQ(loaded.image->header.biWidth, loaded.width);
    EXPECT_EQ(loaded.image->header.biHeight, 180);
    // Red on top, which is the end of the rows in memory.
    EXPECT_GT(PixelAt(loaded.image.get(), 10, 175) >> 16, 0xF0u);
    EXPECT_LT(PixelAt(loaded.image.get(), 10, 175) & 0xFFu, 0x10u);
    EXPECT_GT(PixelAt(loaded.image.get(), 10, 5) & 0xFFu, 0xF0u);
}

TEST(LoadPicture, NameDecidesTheFormatAndFailuresReportZero) {
    TempDir folder;
    const std::vector<uint8_t> jpeg = EncodeTestJpeg(30, 20, [](int, int) { return 0x808080u; });
    for (const char* name : {"BackPict.ADM", "photo.png", "photo.bmp"}) {
        ASSERT_TRUE(WriteWholeFile(folder.File(name), jpeg));
    }
    Loaded adm = Load(folder.File("BackPict.ADM"));
    ASSERT_TRUE(adm.image);
    EXPECT_EQ(adm.width, 30);
    EXPECT_EQ(adm.height, 20);
    // The content is never sniffed; JPEG and BMP failures give 0 x 0, also
    // into the canvas, which they leave as it was.
    std::vector<uint8_t> canvas(kCanvasPixelBytes, 0x55);
    for (const std::string& path :
         {folder.File("photo.png"), folder.File("photo.bmp"), std::string("/nonexistent/a.jpg"),
          std::string("/nonexistent/a.bmp")}) {
        for (uint8_t* destination : {static_cast<uint8_t*>(nullptr), canvas.data()}) {
            Loaded failed = Load(path, kCanvasWidth, kCanvasHeight, false, destination);
            EXPECT_FALSE(failed.image) << path;
            EXPECT_EQ(failed.width, 0) << path;
            EXPECT_EQ(failed.height, 0) << path;
        }
    }
    EXPECT_EQ(canvas, std::vector<uint8_t>(kCanvasPixelBytes, 0x55));
}

TEST(LoadPicture, BmpAskedAsMaskComesOutInColour) {
    TempDir folder;
    // 2 x 2, 24 bits: bottom row blue, red; top row green, white.
    const std::vector<uint8_t> bmp = {
        'B',  'M',  70, 0,   0,    0,    0, 0, 0,  0, 54, 0, 0, 0,  // file header, pixels at 54
        40,   0,    0,  0,   2,    0,    0, 0, 2,  0, 0,  0,        // header size, width, height
        1,    0,    24, 0,   0,    0,    0, 0, 16, 0, 0,  0,        // planes, depth, no compression
        0x13, 0x0B, 0,  0,   0x13, 0x0B, 0, 0, 0,  0, 0,  0, 0, 0, 0, 0,  // 72 dpi, no palette
        255,  0,    0,  0,   0,    255,  0, 0,                            // bottom row and padding
        0,    255,  0,  255, 255,  255,  0, 0,                            // top row and padding
    };
    ASSERT_TRUE(WriteWholeFile(folder.File("tiny.BMP"), bmp));
    Loaded loaded = Load(folder.File("tiny.BMP"), 12, 12, true);
    ASSERT_TRUE(loaded.image);
    EXPECT_EQ(loaded.image->header.biBitCount, 24);
    EXPECT_EQ(loaded.width, 2);
    EXPECT_EQ(PixelAt(loaded.image.get(), 0, 0), 0x0000FFu);  // rows in file order
    EXPECT_EQ(PixelAt(loaded.image.get(), 1, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(loaded.image.get(), 0, 1), 0x00FF00u);
    EXPECT_EQ(PixelAt(loaded.image.get(), 1, 1), 0xFFFFFFu);
}

TEST(LoadPicture, GifSizeOutputsAreTheBoxWhenOneIsGiven) {
    const std::string path = TestDataPath("gif/giflib-porsche.gif");  // 320 x 200
    Loaded boxed = Load(path);
    ASSERT_TRUE(boxed.image);
    EXPECT_EQ(boxed.width, 176);
    EXPECT_EQ(boxed.height, 180);
    EXPECT_EQ(boxed.image->header.biHeight, 180);  // scaled by the truncated 90 %
    EXPECT_EQ(boxed.image->header.biWidth, 288);

    Loaded unboxed = Load(path, 0, 0);
    ASSERT_TRUE(unboxed.image);
    EXPECT_EQ(unboxed.width, 320);
    EXPECT_EQ(unboxed.height, 200);

    std::vector<uint8_t> canvas(kCanvasPixelBytes, 0x55);
    Loaded intoCanvas = Load(path, kCanvasWidth, kCanvasHeight, false, canvas.data());
    EXPECT_FALSE(intoCanvas.image);
    EXPECT_EQ(intoCanvas.width, 176);
    EXPECT_NE(canvas, std::vector<uint8_t>(kCanvasPixelBytes, 0x55));

    Loaded missing = Load("/nonexistent/a.gif");  // sizes left alone
    EXPECT_FALSE(missing.image);
    EXPECT_EQ(missing.width, 176);
    EXPECT_EQ(missing.height, 180);
}

// Every JPEG of the corpus, crash finds included, into the canvas and as a
// small thumbnail: each loads or fails cleanly; none crashes or hangs.
TEST(LoadPicture, JpegCorpusIntoTheCanvasAndAsThumbnails) {
    int loaded = 0;
    for (const auto& file : std::filesystem::recursive_directory_iterator(TestDataPath("jpeg"))) {
        const std::string path = file.path().string();
        if (PictureTypeFromName(path) != PICTURE_JPEG) {
            continue;
        }
        std::vector<uint8_t> canvas(kCanvasPixelBytes, 0x55);
        Loaded photo = Load(path, kCanvasWidth, kCanvasHeight, false, canvas.data());
        const bool ok = photo.width == kCanvasWidth && photo.height == kCanvasHeight;
        EXPECT_TRUE(ok || (photo.width == 0 && photo.height == 0)) << path;
        EXPECT_TRUE(ok || canvas == std::vector<uint8_t>(kCanvasPixelBytes, 0x55)) << path;
        loaded += ok ? 1 : 0;

        int32_t width = 44;
        int32_t height = 45;
        DibBlock thumbnail =
            LoadPicture(path, false, 100, &width, &height, nullptr, false, true, true);
        EXPECT_EQ(static_cast<bool>(thumbnail), ok) << path;
        if (thumbnail) {
            EXPECT_EQ(thumbnail->header.biWidth, width) << path;
        }
    }
    EXPECT_GE(loaded, 45);
}

TEST(LoadPicture, ErrorSaysWhyAndIsTheOnlySignInTheCanvasMode) {
    TempDir folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("ok.jpg"),
                               EncodeTestJpeg(40, 30, [](int, int) { return 0x336699u; })));
    ASSERT_TRUE(WriteWholeFile(folder.File("junk.gif"), {'G', 'I', 'F', '8', '9', 'a', 1}));
    ASSERT_TRUE(WriteWholeFile(folder.File("junk.jpg"), {0xFF, 0xD8, 0xFF}));
    ASSERT_TRUE(WriteWholeFile(folder.File("notes.txt"), {'h', 'i'}));
    struct Case {
        std::string name;
        LoadError expected;
    };
    const std::vector<Case> cases = {
        {"ok.jpg", LOAD_OK},
        {"junk.gif", LOAD_BAD_PICTURE},
        {"junk.jpg", LOAD_BAD_PICTURE},
        {"notes.txt", LOAD_UNKNOWN_TYPE},
        {"missing.gif", LOAD_CANNOT_OPEN},
        {"missing.bmp", LOAD_CANNOT_OPEN},
    };
    std::vector<uint8_t> canvas(kCanvasPixelBytes, 0);
    for (const Case& c : cases) {
        for (uint8_t* destination : {static_cast<uint8_t*>(nullptr), canvas.data()}) {
            int32_t width = kCanvasWidth;
            int32_t height = kCanvasHeight;
            LoadError error = LOAD_OK;
            if (c.expected == LOAD_OK) {
                error = LOAD_CANNOT_OPEN;  // must be overwritten
            }
            const DibBlock image = LoadPicture(folder.File(c.name), false, 100, &width, &height,
                                               destination, destination != nullptr, false, false,
                                               &error);
            EXPECT_EQ(error, c.expected) << c.name << (destination ? " into the canvas" : "");
            EXPECT_EQ(static_cast<bool>(image), c.expected == LOAD_OK && destination == nullptr)
                << c.name;
        }
    }
}
