// The loader: over real files (JPEG through libjpeg-turbo, BMP through the
// program's reader, GIF through giflib), and its JPEG path over a scripted
// decoder: how it fits, where the rows go, and that the decoder is closed
// exactly once.
#include "image/LoadPicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "PictureTestFiles.h"
#include "image/JpegCodec.h"
#include "image/PictureType.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace {

using Size = std::pair<int32_t, int32_t>;

Size SizeOf(const LoadResult& result) {
    return {result.width, result.height};
}

Size SizeOf(const DibImage* picture) {
    return {picture->header.biWidth, picture->header.biHeight};
}

// A canvas's pixel bytes as they stand.
std::vector<uint8_t> CanvasBytes(const DibImage* canvas) {
    const uint8_t* pixels = DibPixels(canvas);
    return std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes);
}

// True when every pixel byte of a canvas still holds FilledCanvas(0x55)'s.
bool Untouched(const DibImage* canvas) {
    return CanvasBytes(canvas) == std::vector<uint8_t>(kCanvasPixelBytes, 0x55);
}

// 2 x 2, 24 bits: bottom row blue, red; top row green, white.
std::vector<uint8_t> TinyBmp() {
    BmpLayout layout;
    layout.width = layout.height = 2;
    layout.rows = {255, 0, 0, 0, 0, 255, 0, 0, 0, 255, 0, 255, 255, 255, 0, 0};
    return BuildBmp(layout);
}

}  // namespace

// Every format reports alike: the picture made, the canvas filled, or 0 x 0.
TEST(LoadPicture, SizesAreThoseOfThePictureMadeForEveryFormat) {
    TempDir folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("wide.jpg"), EncodeTestJpeg(320, 200, [](int, int y) {
                                   return y < 100 ? 0xFF0000u : 0x0000FFu;
                               })));
    ASSERT_TRUE(WriteWholeFile(folder.File("tiny.bmp"), TinyBmp()));
    struct Case {
        std::string path;
        Size own, boxed;  // at its own size, and fitted to the canvas box
    } cases[] = {
        {folder.File("wide.jpg"), {320, 200}, {288, 180}},                 // 90 %
        {folder.File("tiny.bmp"), {2, 2}, {2, 2}},                         // never enlarged
        {TestDataPath("gif/giflib-porsche.gif"), {320, 200}, {288, 180}},  // truncated 90 %
        {TestDataPath("gif/giflib-gifgrid.gif"), {100, 100}, {100, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const LoadResult own = LoadPicture(c.path, LoadRequest());
        ASSERT_TRUE(own.Ok());
        EXPECT_EQ(SizeOf(own), c.own);
        const LoadResult boxed = LoadPicture(c.path, {kCanvasWidth, kCanvasHeight, LOAD_PHOTO});
        ASSERT_TRUE(boxed.Ok());
        EXPECT_EQ(SizeOf(boxed), c.boxed);
        EXPECT_EQ(SizeOf(boxed.picture.get()), c.boxed);

        DibBlock canvas = FilledCanvas(0x55);
        const LoadResult into = LoadPictureInto(c.path, *canvas, LoadRequest());
        ASSERT_TRUE(into.Ok());
        EXPECT_FALSE(into.picture);
        EXPECT_EQ(SizeOf(into), Size(kCanvasWidth, kCanvasHeight));
        EXPECT_FALSE(Untouched(canvas.get()));
    }
    // The JPEG fitted to the box: red on top, which is the end of the rows
    // in memory.
    const LoadResult wide = LoadPicture(folder.File("wide.jpg"), {176, 180, LOAD_PHOTO});
    EXPECT_EQ(PixelAt(wide.picture.get(), 10, 175) & 0xF0F0F0u, 0xF00000u);
    EXPECT_EQ(PixelAt(wide.picture.get(), 10, 5) & 0xF0F0F0u, 0x0000F0u);
    // A BMP asked for as a mask stays a colour picture, rows in file order.
    const LoadResult mask = LoadPicture(folder.File("tiny.bmp"), {12, 12, LOAD_MASK});
    ASSERT_TRUE(mask.Ok());
    EXPECT_EQ(mask.picture->header.biBitCount, 24);
    EXPECT_EQ(PixelAt(mask.picture.get(), 1, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(mask.picture.get(), 0, 1), 0x00FF00u);
}

// The name decides the format: the content is never sniffed. Every failure
// says why, as a new picture and into a canvas, reports 0 x 0 and writes
// nothing into the canvas.
TEST(LoadPicture, NameDecidesTheFormatAndFailuresSayWhyLeavingTheCanvas) {
    TempDir folder;
    const std::vector<uint8_t> jpeg = EncodeTestJpeg(30, 20, [](int, int) { return 0x808080u; });
    for (const char* name : {"BackPict.ADM", "ok.jpg", "photo.png", "photo.bmp", "photo.gif"}) {
        ASSERT_TRUE(WriteWholeFile(folder.File(name), jpeg));
    }
    ASSERT_TRUE(WriteWholeFile(folder.File("junk.gif"), {'G', 'I', 'F', '8', '9', 'a', 1}));
    ASSERT_TRUE(WriteWholeFile(folder.File("junk.jpg"), {0xFF, 0xD8, 0xFF}));
    ASSERT_TRUE(WriteWholeFile(folder.File("notes.txt"), {'h', 'i'}));
    const std::pair<const char*, LoadError> cases[] = {
        {"BackPict.ADM", LOAD_OK},          {"ok.jpg", LOAD_OK},
        {"photo.png", LOAD_BAD_PICTURE},    {"photo.bmp", LOAD_BAD_PICTURE},
        {"photo.gif", LOAD_BAD_PICTURE},    {"junk.gif", LOAD_BAD_PICTURE},
        {"junk.jpg", LOAD_BAD_PICTURE},     {"notes.txt", LOAD_UNKNOWN_TYPE},
        {"missing.gif", LOAD_CANNOT_OPEN},  {"missing.bmp", LOAD_CANNOT_OPEN},
        {"missing/a.jpg", LOAD_CANNOT_OPEN}};
    for (const auto& [name, error] : cases) {
        DibBlock canvas = FilledCanvas(0x55);
        const LoadResult image = LoadPicture(folder.File(name), {176, 180, LOAD_PHOTO});
        const LoadResult into = LoadPictureInto(folder.File(name), *canvas, LoadRequest());
        EXPECT_EQ(image.error, error) << name;
        EXPECT_EQ(into.error, error) << name << " into the canvas";
        EXPECT_EQ(static_cast<bool>(image.picture), error == LOAD_OK) << name;
        if (error != LOAD_OK) {
            EXPECT_EQ(SizeOf(image), Size(0, 0)) << name;
            EXPECT_EQ(SizeOf(into), Size(0, 0)) << name;
            EXPECT_TRUE(Untouched(canvas.get())) << name;
        }
    }
    EXPECT_EQ(SizeOf(LoadPicture(folder.File("BackPict.ADM"), LoadRequest())), Size(30, 20));
    // A canvas the loader cannot write counts as a bad picture.
    std::filesystem::copy_file(TestDataPath("gif/giflib-porsche.gif"), folder.File("ok.gif"));
    DibBlock grey = DibCreate(kCanvasWidth, kCanvasHeight, 8);
    for (const char* name : {"ok.jpg", "ok.gif"}) {
        EXPECT_EQ(LoadPictureInto(folder.File(name), *grey, LoadRequest()).error, LOAD_BAD_PICTURE)
            << name;
    }
}

namespace {

// A decoder that cannot reduce: it delivers its one size whatever is asked,
// rows scripted by `colour` (x, y from the top; 0xRRGGBB).
class FakeJpegCodec final : public JpegCodec {
  public:
    explicit FakeJpegCodec(Size size) : size_(size) {}

    bool ReadHeader(int32_t* width, int32_t* height) override {
        *width = size_.first;
        *height = size_.second;
        return failingHeaderCall != ++headerCalls;
    }
    bool StartRows() override { return startSucceeds; }
    bool ReadRow(uint8_t* row) override {
        for (int32_t x = 0; x < size_.first; ++x) {
            const uint32_t c = colour(x, rowsRead);
            row[3 * x] = static_cast<uint8_t>(c);
            row[3 * x + 1] = static_cast<uint8_t>(c >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(c >> 16);
        }
        ++rowsRead;
        return true;
    }
    void Close() override { ++closeCalls; }

    int headerCalls = 0;
    int failingHeaderCall = 0;
    bool startSucceeds = true;
    int closeCalls = 0;
    int32_t rowsRead = 0;
    std::function<uint32_t(int32_t, int32_t)> colour = [](int32_t x, int32_t y) {
        return static_cast<uint32_t>((x * 7 + y * 3) & 255) << 16 |
               static_cast<uint32_t>((x * 5 + y * 11) & 255) << 8 | ((x * 13 + y) & 255);
    };

  private:
    Size size_;
};

LoadResult DecodeNew(FakeJpegCodec& codec, Size box, LoadPurpose purpose = LOAD_PHOTO) {
    return DecodeJpegPicture(codec, {box.first, box.second, purpose});
}

// Decodes into a 176 x 180 canvas first filled with 0x55.
DibBlock DecodeIntoCanvas(FakeJpegCodec& codec, LoadResult* result,
                          LoadPurpose purpose = LOAD_PHOTO) {
    DibBlock canvas = FilledCanvas(0x55);
    *result = DecodeJpegPictureInto(codec, *canvas, {0, 0, purpose});
    EXPECT_FALSE(result->picture);
    return canvas;
}

}  // namespace

TEST(DecodeJpegPicture, FailuresCloseOnceWriteNothingAndReportZero) {
    for (int failure = 1; failure <= 3; ++failure) {
        // The first header call, the second, or the start of the rows.
        FakeJpegCodec photo({640, 480});
        FakeJpegCodec intoCanvas({176, 180});
        photo.failingHeaderCall = failure < 3 ? failure : 0;
        intoCanvas.failingHeaderCall = failure < 3 ? 1 : 0;
        photo.startSucceeds = intoCanvas.startSucceeds = failure < 3;
        const LoadResult result = DecodeNew(photo, {176, 180});
        EXPECT_EQ(result.error, LOAD_BAD_PICTURE);
        EXPECT_FALSE(result.picture);
        EXPECT_EQ(SizeOf(result), Size(0, 0));
        LoadResult into;
        EXPECT_TRUE(Untouched(DecodeIntoCanvas(intoCanvas, &into).get()));
        EXPECT_EQ(into.error, LOAD_BAD_PICTURE);
        EXPECT_EQ(SizeOf(into), Size(0, 0));
        for (const FakeJpegCodec* codec : {&photo, &intoCanvas}) {
            EXPECT_EQ(codec->closeCalls, 1) << failure;
            EXPECT_EQ(codec->rowsRead, 0) << failure;
        }
    }
    // A canvas that is not a 24-bit picture is refused before any row.
    FakeJpegCodec grey({176, 180});
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 8);
    EXPECT_FALSE(DecodeJpegPictureInto(grey, *canvas, LoadRequest()).Ok());
    EXPECT_EQ(grey.closeCalls, 1);
    EXPECT_EQ(grey.rowsRead, 0);
}

TEST(DecodeJpegPicture, IntoTheCanvasTopRowLastInMemory) {
    // A canvas-sized picture is read straight in, unscaled.
    FakeJpegCodec exact({176, 180});
    LoadResult result;
    DibBlock canvas = DecodeIntoCanvas(exact, &result);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(SizeOf(result), Size(176, 180));
    EXPECT_EQ(exact.rowsRead, 180);
    const DibBlock upright = MakePicture(176, 180, exact.colour);
    EXPECT_EQ(FirstDifference(Flipped(upright.get()).get(), canvas.get()), "");
    // A smaller one is centred: black borders of (176 - 100) / 2 columns and
    // (180 - 100) / 2 rows, its top row (green) highest in memory.
    FakeJpegCodec small({100, 100});
    small.colour = [](int32_t, int32_t y) { return y == 0 ? 0x00FF00u : 0xFFFFFFu; };
    canvas = DecodeIntoCanvas(small, &result);
    EXPECT_EQ(SizeOf(result), Size(176, 180));
    EXPECT_EQ(small.closeCalls, 1);
    const DibBlock centred = MakePicture(176, 180, [](int32_t x, int32_t row) {
        const bool inside = x >= 38 && x < 138 && row >= 40 && row < 140;
        return !inside ? 0u : row == 139 ? 0x00FF00u : 0xFFFFFFu;
    });
    EXPECT_EQ(FirstDifference(centred.get(), canvas.get()), "");
}

TEST(DecodeJpegPicture, MaskKeepsTheBlueBytesUnscaled) {
    // 12 x 12 for a 12 x 12 box; 40 x 20 is cut (not scaled) to its fitted
    // size of 24 x 12 (percentages 30 and 60).
    for (Size source : {Size(12, 12), Size(40, 20)}) {
        FakeJpegCodec codec(source);
        const LoadResult result = DecodeNew(codec, {12, 12}, LOAD_MASK);
        ASSERT_TRUE(result.Ok());
        const DibImage* mask = result.picture.get();
        const int32_t width = source.first == 12 ? 12 : 24;
        EXPECT_EQ(SizeOf(result), Size(width, 12));
        EXPECT_EQ(mask->header.biBitCount, 8);
        EXPECT_EQ(mask->header.biWidth, width);
        const uint8_t* block = reinterpret_cast<const uint8_t*>(mask);
        EXPECT_EQ(std::vector<uint8_t>(block + 40, block + 1064), std::vector<uint8_t>(1024, 0));
        const uint8_t* pixels = DibPixels(mask);
        ASSERT_EQ(pixels, block + 1064);
        for (int32_t row = 0; row < 12; ++row) {
            for (int32_t x = 0; x < width; ++x) {
                ASSERT_EQ(pixels[row * DibRowStride(width, 8) + x],
                          codec.colour(x, 11 - row) & 0xFF)
                    << x << "," << row;
            }
        }
    }
    // Into a canvas the levels lie packed in 8-bit rows of the canvas's
    // width at the start of its pixels; the bytes behind them are kept.
    FakeJpegCodec codec({100, 50});
    LoadResult result;
    const std::vector<uint8_t> canvas =
        CanvasBytes(DecodeIntoCanvas(codec, &result, LOAD_MASK).get());
    ASSERT_TRUE(result.Ok());
    for (int32_t row = 0; row < kCanvasHeight; ++row) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const int32_t top = kCanvasHeight - 1 - row;
            const uint32_t expected = x < 100 && top < 50 ? codec.colour(x, top) & 0xFF : 0;
            ASSERT_EQ(canvas[row * kCanvasWidth + x], expected) << x << "," << row;
        }
    }
    EXPECT_EQ(std::vector<uint8_t>(canvas.begin() + kCanvasWidth * kCanvasHeight, canvas.end()),
              std::vector<uint8_t>(kCanvasPixelBytes - kCanvasWidth * kCanvasHeight, 0x55));
}

TEST(DecodeJpegPicture, FitsToCoverTheBoxWithRoundedPercentages) {
    struct Case {
        Size source, box, expected;
    } cases[] = {
        {{640, 480}, {176, 180}, {243, 180}},  // 28 % and 38 %
        {{480, 640}, {176, 180}, {176, 237}}, {{320, 240}, {176, 180}, {240, 180}},
        {{200, 180}, {176, 180}, {200, 180}},  // 100 %: unchanged
        {{100, 100}, {176, 180}, {100, 100}},  // never enlarged
        {{350, 360}, {176, 180}, {175, 180}},  // 50 % each: the height wins
        {{500, 90}, {0, 0}, {500, 90}},        // no box
        {{500, 90}, {0, 50}, {500, 90}},       // half a box is no box
        {{4000, 3000}, {1, 1}, {1, 1}},        // 0 %, kept at one pixel
    };
    for (const Case& c : cases) {
        FakeJpegCodec codec(c.source);
        const LoadResult result = DecodeNew(codec, c.box, LOAD_THUMBNAIL);
        ASSERT_TRUE(result.Ok()) << c.source.first;
        EXPECT_EQ(SizeOf(result), c.expected) << c.source.first << "x" << c.source.second;
        EXPECT_EQ(SizeOf(result.picture.get()), c.expected);
    }
}

// The loader's entry for bytes in memory takes the path the file entry
// takes: for every test picture and every mode, the same error, the same
// size and the same pixels.
TEST(LoadPicture, FromMemoryAsFromTheFileInEveryMode) {
    const LoadRequest requests[] = {LoadRequest(),
                                    {kCanvasWidth, kCanvasHeight, LOAD_PHOTO},
                                    {36, 36, LOAD_THUMBNAIL},
                                    {44, 45, LOAD_SMALL_THUMBNAIL},
                                    {60, 45, LOAD_MASK},
                                    {44, 45, LOAD_SMALL_MASK}};
    int files = 0;
    int loaded = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(TestDataPath(""))) {
        const std::string path = entry.path().string();
        const PictureType type = PictureTypeFromName(path);
        if (!entry.is_regular_file() || type == PICTURE_UNKNOWN) {
            continue;
        }
        ++files;
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = ReadWholeFile(path);
        DibBlock fileCanvas = FilledCanvas(0x55);
        DibBlock memoryCanvas = FilledCanvas(0x55);
        const LoadResult into = LoadPictureInto(path, *fileCanvas, LoadRequest());
        EXPECT_EQ(LoadPictureFromMemoryInto(bytes.data(), bytes.size(), type, *memoryCanvas,
                                            LoadRequest())
                      .error,
                  into.error);
        EXPECT_EQ(CanvasBytes(memoryCanvas.get()), CanvasBytes(fileCanvas.get()));
        // A failure leaves the canvas alone.
        EXPECT_TRUE(into.Ok() || Untouched(fileCanvas.get()));
        loaded += into.Ok() ? 1 : 0;
        for (const LoadRequest& request : requests) {
            const LoadResult fromFile = LoadPicture(path, request);
            const LoadResult fromMemory =
                LoadPictureFromMemory(bytes.data(), bytes.size(), type, request);
            ASSERT_EQ(fromMemory.error, fromFile.error) << request.purpose;
            ASSERT_EQ(SizeOf(fromMemory), SizeOf(fromFile));
            // Fitted to a box, every form loads where the canvas does.
            EXPECT_TRUE(request.boxWidth == 0 || fromFile.Ok() == into.Ok()) << request.purpose;
            if (fromFile.picture) {
                ASSERT_TRUE(fromMemory.picture);
                ASSERT_EQ(DibBlockBytes(fromMemory.picture->header),
                          DibBlockBytes(fromFile.picture->header));
                ASSERT_EQ(std::memcmp(fromMemory.picture.get(), fromFile.picture.get(),
                                      DibBlockBytes(fromFile.picture->header)),
                          0)
                    << request.purpose;
            }
        }
    }
    EXPECT_GT(files, 200);
    EXPECT_GE(loaded, 133);  // every picture of the corpus that loads today
    const uint8_t junk[] = {'B', 'M'};
    EXPECT_EQ(LoadPictureFromMemory(junk, sizeof junk, PICTURE_UNKNOWN, LoadRequest()).error,
              LOAD_UNKNOWN_TYPE);
    for (PictureType type : {PICTURE_BMP, PICTURE_GIF, PICTURE_JPEG}) {
        EXPECT_EQ(LoadPictureFromMemory(nullptr, 0, type, LoadRequest()).error, LOAD_BAD_PICTURE);
        EXPECT_EQ(LoadPictureFromMemory(junk, sizeof junk, type, LoadRequest()).error,
                  LOAD_BAD_PICTURE);
    }
}

// A tiny file may declare a huge picture. Without a box, a new picture of
// more than kMaxLoadedPixels is refused; with a box, or into a canvas, the
// file loads, black where it holds no rows.
TEST(LoadPicture, HugeDeclaredPicturesAreRefusedUnboxedAndLoadBoxed) {
    TempDir folder;
    struct Case {
        const char* name;
        int32_t width, height;
        bool plainLoads;
    } cases[] = {
        {"over.bmp", 10001, 10000, false},
        {"largest.bmp", kMaxPictureSide, kMaxPictureSide, false},
        {"topdown.bmp", kMaxPictureSide, -kMaxPictureSide, false},
        {"wide.bmp", kMaxPictureSide, 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(int64_t{c.width} * std::abs(c.height) > kMaxLoadedPixels, c.plainLoads);
        const std::string path = folder.File(c.name);
        BmpLayout layout;  // a header and one row of a grey ramp
        layout.width = c.width;
        layout.height = c.height;
        for (int32_t i = 0; i < DibRowStride(c.width, 24); ++i) {
            layout.rows.push_back(static_cast<uint8_t>(0x80 + i % 64));
        }
        ASSERT_TRUE(WriteWholeFile(path, BuildBmp(layout)));
        const LoadResult plain = LoadPicture(path, LoadRequest());
        EXPECT_EQ(plain.error, c.plainLoads ? LOAD_OK : LOAD_TOO_LARGE);
        EXPECT_EQ(static_cast<bool>(plain.picture), c.plainLoads);
        if (!c.plainLoads) {
            EXPECT_EQ(SizeOf(plain), Size(0, 0));
        }
        for (LoadPurpose purpose : {LOAD_PHOTO, LOAD_THUMBNAIL, LOAD_MASK}) {
            const LoadResult boxed = LoadPicture(path, {kCanvasWidth, kCanvasHeight, purpose});
            EXPECT_TRUE(boxed.Ok()) << purpose;
        }
        DibBlock canvas = FilledCanvas(0x55);
        ASSERT_TRUE(LoadPictureInto(path, *canvas, LoadRequest()).Ok());
        // The one row the file holds is the bottom row of a bottom-up file
        // and the top row of a top-down one; the rest of the canvas's
        // middle is black.
        const std::vector<uint8_t> pixels = CanvasBytes(canvas.get());
        const size_t middle = static_cast<size_t>(kCanvasStride) * (kCanvasHeight / 2);
        EXPECT_EQ(std::count(pixels.begin() + middle, pixels.begin() + middle + kCanvasStride, 0),
                  kCanvasStride);
    }
}
