#include "image/SavePicture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include <jpeglib.h>

#include "support/TestSupport.h"

namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// The file without its 14-byte header, and the block it should equal.
std::vector<uint8_t> AfterFileHeader(const std::string& path) {
    std::vector<uint8_t> file = ReadWholeFile(path);
    return file.size() < 14 ? file : std::vector<uint8_t>(file.begin() + 14, file.end());
}
std::vector<uint8_t> BlockBytes(const DibImage* image) {
    const uint8_t* start = reinterpret_cast<const uint8_t*>(image);
    return std::vector<uint8_t>(start, start + DibBlockBytes(image->header));
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// Channels that change slowly and differently: blue grows and red falls to
// the right, green grows with the row in memory (bottom first). An 8-bit
// image gets the blue ramp plus the rows. Anything flipped, mirrored or
// channel-swapped is off by 30 or more on average.
DibBlock MakeSmoothImage(int32_t width, int32_t height, int32_t bits) {
    DibBlock image = DibCreate(width, height, bits);
    const int32_t stride = DibRowStride(width, bits);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = DibPixels(image.get()) + y * stride + x * bits / 8;
            p[0] = static_cast<uint8_t>(30 + 3 * x + (bits == 8 ? y : 0));
            if (bits == 24) {
                p[1] = static_cast<uint8_t>(20 + 4 * y);
                p[2] = static_cast<uint8_t>(220 - 2 * x);
            }
        }
    }
    return image;
}

// Decodes a JPEG file with libjpeg (RGB or grey, top row first) and returns
// the mean absolute error of each channel against the image, or -1 for each
// when the size or the channel count is wrong.
std::vector<double> MeanErrorsAfterDecoding(const std::string& path, const DibImage* image) {
    const std::vector<uint8_t> file = ReadWholeFile(path);
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);  // a test may exit on a broken file
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, file.data(), file.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = cinfo.jpeg_color_space == JCS_GRAYSCALE ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    const int width = image->header.biWidth, height = image->header.biHeight;
    const int channels = image->header.biBitCount / 8;
    std::vector<double> sums(channels, 0.0);
    if (cinfo.output_width != JDIMENSION(width) || cinfo.output_height != JDIMENSION(height) ||
        cinfo.output_components != channels || cinfo.density_unit != 1 || cinfo.X_density != 72) {
        sums.assign(channels, -1.0);
    } else {
        std::vector<uint8_t> row(width * channels);
        JSAMPROW rows[] = {row.data()};
        const int stride = DibRowStride(width, channels * 8);
        for (int top = 0; top < height; ++top) {
            jpeg_read_scanlines(&cinfo, rows, 1);
            const uint8_t* bgr = DibPixels(image) + (height - 1 - top) * stride;
            for (int i = 0; i < width * channels; ++i) {
                const int c = i % channels;  // RGB from the file, BGR in memory
                sums[c] +=
                    std::abs(row[i] - bgr[i - c + channels - 1 - c]) / double(width * height);
            }
        }
        jpeg_finish_decompress(&cinfo);
    }
    jpeg_destroy_decompress(&cinfo);
    return sums;
}

}  // namespace

TEST(SavePicture, BmpIsTheFileHeaderFollowedByTheBlock) {
    TempDir dir;
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    ASSERT_TRUE(SavePicture(dir.File("canvas.bmp"), *canvas).Ok());
    const std::vector<uint8_t> file = ReadWholeFile(dir.File("canvas.bmp"));
    ASSERT_EQ(file.size(), 95094u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), 95094u);  // bfSize
    EXPECT_EQ(U32At(file, 6), 0u);      // both reserved fields
    EXPECT_EQ(U32At(file, 10), 54u);    // bfOffBits
    EXPECT_EQ(U32At(file, 18), 176u);   // biWidth
    EXPECT_EQ(U32At(file, 22), 180u);   // biHeight > 0: rows bottom-up
    EXPECT_EQ(U32At(file, 38), 2834u);  // biXPelsPerMeter
    EXPECT_EQ(AfterFileHeader(dir.File("canvas.bmp")), BlockBytes(canvas.get()));

    // The 1024-byte palette of a mask goes with it: pixels at 14 + 40 + 1024.
    DibBlock mask = MakeSmoothImage(13, 7, 8);
    ASSERT_TRUE(SavePicture(dir.File("mask.Bmp"), *mask).Ok());
    EXPECT_EQ(U32At(ReadWholeFile(dir.File("mask.Bmp")), 10), 1078u);
    EXPECT_EQ(AfterFileHeader(dir.File("mask.Bmp")), BlockBytes(mask.get()));

    // 13 pixels pad to 40 bytes, padding written as the block holds it; the
    // JPEG options change nothing in a BMP.
    DibBlock image = MakeSmoothImage(13, 7, 24);
    ASSERT_TRUE(SavePicture(dir.File("odd.bmp"), *image, {40, true}).Ok());
    EXPECT_EQ(AfterFileHeader(dir.File("odd.bmp")), BlockBytes(image.get()));
}

// Measured with libjpeg-turbo 2.1.5: mean absolute errors red 0.87, green
// 0.52, blue 1.05 for the colour picture, 0.16 for the mask. The bound
// leaves room for other library versions and catches a wrong orientation,
// channel order or row stride (the odd width pads every row).
TEST(SavePicture, JpegDecodesCloseToTheOriginalTopRowFirst) {
    TempDir dir;
    for (int bits : {24, 8}) {
        DibBlock image = MakeSmoothImage(61, 47, bits);
        ASSERT_TRUE(SavePicture(dir.File("smooth.jpg"), *image).Ok());
        for (double error : MeanErrorsAfterDecoding(dir.File("smooth.jpg"), image.get())) {
            EXPECT_TRUE(error >= 0.0 && error < 2.0) << bits << " bits: " << error;
        }
    }
}

// Columns alternating pure red and pure blue: sampling the colour once per
// two columns turns both into purple, so only full chroma keeps them.
TEST(SavePicture, JpegOfChosenQualityKeepsFullChromaWhenAsked) {
    TempDir dir;
    DibBlock stripes = DibCreate(32, 16, 24);
    const int32_t stride = DibRowStride(32, 24);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = DibPixels(stripes.get()) + y * stride + 3 * x;
            p[x % 2 == 0 ? 2 : 0] = 255;
        }
    }
    // Every name but .bmp gives JPEG data.
    const std::string path = dir.File("stripes.adm");
    ASSERT_TRUE(SavePicture(path, *stripes, {98, true}).Ok());
    for (double error : MeanErrorsAfterDecoding(path, stripes.get())) {
        EXPECT_TRUE(error >= 0.0 && error < 4.0) << error;
    }
    ASSERT_TRUE(SavePicture(path, *stripes, {98, false}).Ok());
    const std::vector<double> halved = MeanErrorsAfterDecoding(path, stripes.get());
    EXPECT_GT(halved[0] + halved[2], 100.0);

    DibBlock mask = MakeSmoothImage(20, 10, 8);
    ASSERT_TRUE(SavePicture(dir.File("mask.adm"), *mask, {100, true}).Ok());
    EXPECT_LT(MeanErrorsAfterDecoding(dir.File("mask.adm"), mask.get())[0], 1.0);

    for (const char* name : {"bad.adm", "bad.bmp"}) {
        for (int quality : {0, 101}) {
            const SaveResult refused = SavePicture(dir.File(name), *mask, {quality, false});
            EXPECT_EQ(refused.error, SAVE_BAD_OPTIONS) << name << " " << quality;
            EXPECT_EQ(refused.systemError, 0);
        }
        EXPECT_FALSE(Exists(dir.File(name)));
    }
}

TEST(SavePicture, ReplacesTheTargetWithoutFollowingWhatIsAtTheTemporaryName) {
    TempDir dir;
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    const std::string target = dir.File("photo.bmp");
    // A longer old file and a longer stale temporary file: leftover bytes
    // would show. The old file's permission bits carry over.
    ASSERT_TRUE(WriteWholeFile(target, std::vector<uint8_t>(300000, 0xEE)));
    ASSERT_TRUE(WriteWholeFile(target + ".xxx", std::vector<uint8_t>(200000, 0x55)));
    ASSERT_EQ(chmod(target.c_str(), 0640), 0);
    ASSERT_TRUE(SavePicture(target, *canvas).Ok());
    EXPECT_EQ(AfterFileHeader(target), BlockBytes(canvas.get()));
    struct stat info;
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_FALSE(Exists(target + ".xxx"));

    // A symbolic link planted at the temporary name is replaced, not written through.
    const std::vector<uint8_t> precious = {'k', 'e', 'e', 'p'};
    ASSERT_TRUE(WriteWholeFile(dir.File("victim"), precious));
    ASSERT_EQ(symlink(dir.File("victim").c_str(), (target + ".xxx").c_str()), 0);
    ASSERT_TRUE(SavePicture(target, *canvas).Ok());
    EXPECT_EQ(ReadWholeFile(dir.File("victim")), precious);
    EXPECT_EQ(AfterFileHeader(target), BlockBytes(canvas.get()));
    EXPECT_FALSE(Exists(target + ".xxx"));
}

// Each failure names the system call's reason.
TEST(SavePicture, FailureLeavesTheOldTargetAndNoTemporaryFile) {
    TempDir dir;
    DibBlock canvas = MakePatternImage(kCanvasWidth, kCanvasHeight);
    DibBlock small = MakePatternImage(8, 8);  // fits the stream buffer: fails at the flush
    const std::vector<uint8_t> old = {'o', 'l', 'd'};
    for (const char* name : {"old.bmp", "old.jpg"}) {
        const std::string target = dir.File(name);
        ASSERT_TRUE(WriteWholeFile(target, old));
        // Writes past a lowered file size limit fail (EFBIG) as on a full disk.
        rlimit saved, lowered;
        getrlimit(RLIMIT_FSIZE, &saved);
        lowered = {100, saved.rlim_max};
        const auto previous = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &lowered);
        const SaveResult big = SavePicture(target, *canvas);
        const SaveResult small8 = SavePicture(target, *small);
        setrlimit(RLIMIT_FSIZE, &saved);
        signal(SIGXFSZ, previous);
        for (const SaveResult& result : {big, small8}) {
            EXPECT_EQ(result.error, SAVE_CANNOT_WRITE) << name;
            EXPECT_EQ(result.systemError, EFBIG) << name;
        }
        EXPECT_EQ(ReadWholeFile(target), old) << name;
        EXPECT_FALSE(Exists(target + ".xxx")) << name;

        // The rename fails when the target is a folder.
        const std::string folder = dir.File(std::string("folder") + name);
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        ASSERT_TRUE(WriteWholeFile(folder + "/inside", old));
        const SaveResult onFolder = SavePicture(folder, *canvas);
        EXPECT_EQ(onFolder.error, SAVE_CANNOT_WRITE) << name;
        EXPECT_EQ(onFolder.systemError, EISDIR) << name;
        EXPECT_EQ(ReadWholeFile(folder + "/inside"), old) << name;
        EXPECT_FALSE(Exists(folder + ".xxx")) << name;
    }
    // No temporary file can be made: a read-only folder, or for root, whom
    // permissions do not stop, a place under /proc.
    const SaveResult underProc = SavePicture("/proc/self/photo.bmp", *canvas);
    EXPECT_EQ(underProc.error, SAVE_CANNOT_WRITE);
    EXPECT_NE(underProc.systemError, 0);
    const SaveResult unnamed = SavePicture("", *canvas);
    EXPECT_EQ(unnamed.error, SAVE_CANNOT_WRITE);
    EXPECT_EQ(unnamed.systemError, 0);
    if (geteuid() != 0) {
        ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
        const SaveResult readOnly = SavePicture(dir.File("old.bmp"), *canvas);
        EXPECT_EQ(readOnly.error, SAVE_CANNOT_WRITE);
        EXPECT_EQ(readOnly.systemError, EACCES);
        EXPECT_EQ(ReadWholeFile(dir.File("old.bmp")), old);
        EXPECT_FALSE(Exists(dir.File("old.bmp.xxx")));
    }
}

TEST(SavePicture, RefusesHeadersItCannotWrite) {
    TempDir dir;
    DibBlock image = MakePatternImage(8, 8);
    const BitmapInfoHeader good = image->header;
    void (*const spoilers[])(BitmapInfoHeader&) = {
        [](BitmapInfoHeader& h) { h.biWidth = 0; },
        [](BitmapInfoHeader& h) { h.biHeight = -8; },  // top-down rows
        [](BitmapInfoHeader& h) { h.biWidth = 32768; },
        [](BitmapInfoHeader& h) { h.biBitCount = 32; },
        [](BitmapInfoHeader& h) { h.biBitCount = 1; },
        [](BitmapInfoHeader& h) { h.biSize = 108; },
        [](BitmapInfoHeader& h) { h.biCompression = 1; },
    };
    for (auto spoil : spoilers) {
        image->header = good;
        spoil(image->header);
        for (const char* name : {"bad.bmp", "bad.jpg"}) {
            const SaveResult refused = SavePicture(dir.File(name), *image);
            EXPECT_EQ(refused.error, SAVE_UNSUPPORTED_PICTURE) << name;
            EXPECT_EQ(refused.systemError, 0) << name;
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}
