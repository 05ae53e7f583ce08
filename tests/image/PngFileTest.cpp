// The PNG reader and writer. Every colour type and depth is written here with
// libpng's own writer and must load to the same pixels as the same picture
// saved as a 24-bit BMP and loaded through the BMP path; large pictures are
// fitted as they stream; the limits hold; the writer round-trips exactly.
#include "image/PngFile.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace {

using Samples = std::array<uint16_t, 4>;

// A PNG to be written by libpng, row by row from a sample function, so that
// pictures of any size can be made without holding them.
struct PngPlan {
    int width = 37;
    int height = 24;
    int colorType = PNG_COLOR_TYPE_RGB;
    int depth = 8;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha;  // tRNS of a palette picture
    bool colourKey = false;              // tRNS of a grey or RGB picture: this colour
    png_color_16 key{};
    // The stored samples of pixel (x, y), y = 0 at the top, in the colour
    // type's order: grey; grey, alpha; index; red, green, blue; and alpha.
    std::function<Samples(int x, int y)> samples;
    // Stops after this many png_write_row calls and keeps the bytes written
    // so far: a file cut off in its image data (what zlib still held is
    // lost). 0 writes all.
    int stopAfterRows = 0;
};

void AppendToVector(png_structp png, png_bytep data, size_t size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + size);
}

void FlushNothing(png_structp) {}

// libpng's own error handling ends the test program on an error, which is
// loud enough for a test's encoder.
std::vector<uint8_t> EncodePng(const PngPlan& plan) {
    std::vector<uint8_t> bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &bytes, AppendToVector, FlushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(plan.width),
                 static_cast<png_uint_32>(plan.height), plan.depth, plan.colorType,
                 plan.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!plan.palette.empty()) {
        png_set_PLTE(png, info, plan.palette.data(), static_cast<int>(plan.palette.size()));
    }
    if (!plan.paletteAlpha.empty()) {
        png_set_tRNS(png, info, plan.paletteAlpha.data(),
                     static_cast<int>(plan.paletteAlpha.size()), nullptr);
    } else if (plan.colourKey) {
        png_set_tRNS(png, info, nullptr, 0, &plan.key);
    }
    png_write_info(png, info);
    if (plan.depth < 8) {
        png_set_packing(png);  // one sample a byte in, packed by libpng
    }
    const int passes = plan.interlaced ? png_set_interlace_handling(png) : 1;
    const int channels = png_get_channels(png, info);
    const size_t sampleBytes = plan.depth == 16 ? 2 : 1;
    std::vector<png_byte> row(static_cast<size_t>(plan.width) * channels * sampleBytes);
    int calls = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < plan.height; ++y) {
            if (plan.stopAfterRows > 0 && calls == plan.stopAfterRows) {
                png_destroy_write_struct(&png, &info);
                return bytes;
            }
            png_byte* out = row.data();
            for (int x = 0; x < plan.width; ++x) {
                const Samples s = plan.samples(x, y);
                for (int c = 0; c < channels; ++c) {
                    if (sampleBytes == 2) {
                        *out++ = static_cast<png_byte>(s[c] >> 8);  // big-endian
                    }
                    *out++ = static_cast<png_byte>(s[c]);
                }
            }
            png_write_row(png, row.data());
            ++calls;
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

uint8_t To8Bits(unsigned sample, int depth) {
    if (depth == 16) {
        return static_cast<uint8_t>((sample * 255u + 32767u) / 65535u);
    }
    return static_cast<uint8_t>(sample * 255u / ((1u << depth) - 1u));
}

// What the file shows at pixel (x, y), y from the top, worked out from the
// plan by the rules PngFile.h states.
uint32_t ShownColour(const PngPlan& plan, int x, int y) {
    const Samples s = plan.samples(x, y);
    uint8_t rgba[4] = {0, 0, 0, 255};
    if (plan.colorType == PNG_COLOR_TYPE_PALETTE) {
        const png_color& entry = plan.palette[s[0]];
        rgba[0] = entry.red;
        rgba[1] = entry.green;
        rgba[2] = entry.blue;
        rgba[3] = s[0] < plan.paletteAlpha.size() ? plan.paletteAlpha[s[0]] : 255;
    } else {
        const bool grey = !(plan.colorType & PNG_COLOR_MASK_COLOR);
        const int colours = grey ? 1 : 3;
        for (int c = 0; c < 3; ++c) {
            rgba[c] = To8Bits(s[grey ? 0 : c], plan.depth);
        }
        if (plan.colorType & PNG_COLOR_MASK_ALPHA) {
            rgba[3] = To8Bits(s[colours], plan.depth);
        }
        const bool keyed =
            grey ? s[0] == plan.key.gray
                 : s[0] == plan.key.red && s[1] == plan.key.green && s[2] == plan.key.blue;
        if (plan.colourKey && keyed) {
            rgba[3] = 0;
        }
    }
    return uint32_t{OverWhite(rgba[0], rgba[3])} << 16 |
           uint32_t{OverWhite(rgba[1], rgba[3])} << 8 | OverWhite(rgba[2], rgba[3]);
}

// The whole picture the file shows: 24 bits, rows bottom-up.
DibBlock ExpectedPicture(const PngPlan& plan) {
    return MakePicture(plan.width, plan.height, [&plan](int32_t x, int32_t y) {
        return ShownColour(plan, x, plan.height - 1 - y);
    });
}

// Samples that vary in every channel and cover the whole range of the depth.
Samples Varied(int x, int y, int depth) {
    const unsigned mask = (1u << depth) - 1u;
    if (depth == 16) {
        return {static_cast<uint16_t>((x * 2749u + y * 40503u) & mask),
                static_cast<uint16_t>((x * 31337u + y * 977u + 5u) & mask),
                static_cast<uint16_t>((x * 7919u ^ y * 12011u) & mask),
                static_cast<uint16_t>((x * 1543u + y * 30011u) & mask)};
    }
    return {static_cast<uint16_t>((x * 7u + y * 13u) & mask),
            static_cast<uint16_t>((x * 29u + y * 5u + 3u) & mask),
            static_cast<uint16_t>((x * 11u ^ y * 17u) & mask),
            static_cast<uint16_t>((x * 37u + y * 23u + 1u) & mask)};
}

std::vector<png_color> TestPalette(int count) {
    std::vector<png_color> palette;
    for (int i = 0; i < count; ++i) {
        palette.push_back({static_cast<png_byte>(i * 37), static_cast<png_byte>(255 - i * 11),
                           static_cast<png_byte>(i * i)});
    }
    return palette;
}

struct PngKind {
    const char* name;
    int colorType;
    int depth;
    bool interlaced;
    bool transparency;  // tRNS: some palette alphas, or a colour key
};

PngPlan PlanOf(const PngKind& kind, int width, int height) {
    PngPlan plan;
    plan.width = width;
    plan.height = height;
    plan.colorType = kind.colorType;
    plan.depth = kind.depth;
    plan.interlaced = kind.interlaced;
    const int depth = kind.depth;
    plan.samples = [depth](int x, int y) { return Varied(x, y, depth); };
    if (kind.colorType == PNG_COLOR_TYPE_PALETTE) {
        const int count = depth == 8 ? 200 : 1 << depth;
        plan.palette = TestPalette(count);
        plan.samples = [depth, count](int x, int y) {
            Samples s = Varied(x, y, depth);
            s[0] = static_cast<uint16_t>(s[0] % count);
            return s;
        };
        if (kind.transparency) {
            plan.paletteAlpha = {0, 255, 128, 1, 254, 77, 0, 200};
            plan.paletteAlpha.resize(std::min<size_t>(plan.paletteAlpha.size(), count));
        }
    } else if (kind.transparency) {
        plan.colourKey = true;
        const Samples keyed = Varied(3, 2, depth);  // this pixel's colour turns transparent
        plan.key.gray = keyed[0];
        plan.key.red = keyed[0];
        plan.key.green = keyed[1];
        plan.key.blue = keyed[2];
    }
    return plan;
}

const PngKind kKinds[] = {
    {"grey 1", PNG_COLOR_TYPE_GRAY, 1, false, false},
    {"grey 2", PNG_COLOR_TYPE_GRAY, 2, false, false},
    {"grey 4", PNG_COLOR_TYPE_GRAY, 4, false, false},
    {"grey 8", PNG_COLOR_TYPE_GRAY, 8, false, false},
    {"grey 16", PNG_COLOR_TYPE_GRAY, 16, false, false},
    {"grey 8 with a transparent level", PNG_COLOR_TYPE_GRAY, 8, false, true},
    {"grey and alpha 8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
    {"grey and alpha 16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
    {"palette 4", PNG_COLOR_TYPE_PALETTE, 4, false, false},
    {"palette 8", PNG_COLOR_TYPE_PALETTE, 8, false, false},
    {"palette 2 with tRNS", PNG_COLOR_TYPE_PALETTE, 2, false, true},
    {"palette 8 with tRNS", PNG_COLOR_TYPE_PALETTE, 8, false, true},
    {"RGB 8", PNG_COLOR_TYPE_RGB, 8, false, false},
    {"RGB 16", PNG_COLOR_TYPE_RGB, 16, false, false},
    {"RGB 8 with a transparent colour", PNG_COLOR_TYPE_RGB, 8, false, true},
    {"RGBA 8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
    {"RGBA 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
    {"interlaced grey 2", PNG_COLOR_TYPE_GRAY, 2, true, false},
    {"interlaced palette 8 with tRNS", PNG_COLOR_TYPE_PALETTE, 8, true, true},
    {"interlaced RGB 16", PNG_COLOR_TYPE_RGB, 16, true, false},
    {"interlaced RGBA 8", PNG_COLOR_TYPE_RGB_ALPHA, 8, true, false},
};

// The kind's plan with samples that do not compress, so that a file cut at
// a share of its length holds about that share of the rows.
PngPlan NoisePlan(const PngKind& kind, int width, int height) {
    PngPlan plan = PlanOf(kind, width, height);
    const uint32_t mask = (1u << kind.depth) - 1u;
    plan.samples = [mask](int x, int y) {
        const uint32_t h = NoiseAt(x, y);
        return Samples{static_cast<uint16_t>(h & mask), static_cast<uint16_t>((h >> 8) & mask),
                       static_cast<uint16_t>((h >> 16) & mask),
                       static_cast<uint16_t>((h >> 4) & mask)};
    };
    return plan;
}

}  // namespace

// Every kind equals the BMP path exactly. At its own size and into the
// canvas at 37 x 24 (an odd width for the row padding, an even margin so
// that the BMP path's bottom-first rows centre alike); and larger than the
// box at 301 x 263, where a picture streams through the resampler top row
// first: what the BMP path makes of it upside down, turned back.
TEST(PngFile, EveryKindLoadsAsTheSamePictureThroughTheBmpPath) {
    TempDir folder;
    const std::string png = folder.File("kind.PNG");
    for (const PngKind& kind : kKinds) {
        SCOPED_TRACE(kind.name);
        for (const bool large : {false, true}) {
            const PngPlan plan = PlanOf(kind, large ? 301 : 37, large ? 263 : 24);
            ASSERT_TRUE(WriteWholeFile(png, EncodePng(plan)));
            const LoadRequest request = large ? LoadRequest{176, 180, LOAD_PHOTO} : LoadRequest();
            EXPECT_EQ(DifferenceFromTheBmpPath(png, *ExpectedPicture(plan), request, large), "");
        }
    }
}

// A file cut off in its image data keeps the rows before the cut; the rest
// is black and the result says damaged, as a new picture and into the
// canvas. Cut before the first row is whole, nothing is shown and the canvas
// is left alone. An interlaced picture cut in its first pass shows that
// pass's pixels as 8 x 8 blocks down to where it got; cut later, every row
// shows the passes before.
TEST(PngFile, DataCutOffKeepsTheRowsBeforeTheCut) {
    TempDir folder;
    const std::string path = folder.File("cut.png");
    struct Case {
        PngKind kind;
        int width;
        int height;
        double share;  // of the file kept; 0: the signature and the header alone
        int block;     // the side of the blocks the kept rows show
        int leastRows;
    } cases[] = {
        {{"RGB 8", PNG_COLOR_TYPE_RGB, 8, false, false}, 64, 48, 0.6, 1, 20},
        {{"RGBA 16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false}, 64, 48, 0.5, 1, 16},
        {{"grey 1", PNG_COLOR_TYPE_GRAY, 1, false, false}, 64, 48, 0.0, 1, 0},
        {{"interlaced RGB 8", PNG_COLOR_TYPE_RGB, 8, true, false}, 400, 300, 0.008, 8, 64},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.name);
        const PngPlan plan = NoisePlan(c.kind, c.width, c.height);
        const DibBlock whole = ExpectedPicture(plan);
        std::vector<uint8_t> bytes = EncodePng(plan);
        bytes.resize(c.share == 0.0
                         ? 8 + 25
                         : static_cast<size_t>(static_cast<double>(bytes.size()) * c.share));
        ASSERT_TRUE(WriteWholeFile(path, bytes));

        DibBlock canvas = FilledCanvas(0x55);
        const LoadResult into = LoadPictureInto(path, *canvas, LoadRequest());
        const LoadResult own = LoadPicture(path, LoadRequest());
        if (c.share == 0.0) {
            EXPECT_EQ(own.error, LOAD_BAD_PICTURE);
            EXPECT_EQ(into.error, LOAD_BAD_PICTURE);
            EXPECT_EQ(PixelAt(canvas.get(), 0, 0), 0x555555u);
            continue;
        }
        ASSERT_TRUE(own.Ok() && into.Ok());
        EXPECT_TRUE(own.damaged);
        EXPECT_TRUE(into.damaged);
        const int32_t kept = KeptRowsThen(
            own.picture.get(),
            [&](int32_t x, int32_t y) {
                return PixelAt(whole.get(), x / c.block * c.block,
                               c.height - 1 - y / c.block * c.block);
            },
            0);
        EXPECT_GE(kept, c.leastRows);
        EXPECT_LT(kept, c.height);
    }

    // Cut well into the later passes: no row is black, the first pass's
    // pixels are exact.
    const PngPlan plan =
        NoisePlan({"interlaced RGB 8", PNG_COLOR_TYPE_RGB, 8, true, false}, 80, 60);
    const DibBlock whole = ExpectedPicture(plan);
    std::vector<uint8_t> bytes = EncodePng(plan);
    bytes.resize(bytes.size() * 6 / 10);
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    const LoadResult coarse = LoadPicture(path, LoadRequest());
    ASSERT_TRUE(coarse.Ok());
    EXPECT_TRUE(coarse.damaged);
    for (int32_t y = 0; y < 60; y += 8) {
        EXPECT_EQ(PixelAt(coarse.picture.get(), 8, 59 - y), PixelAt(whole.get(), 8, 59 - y)) << y;
    }
}

// Sides above kMaxPictureSide are refused whether interlaced or not; an
// interlaced picture is held whole, so its pixel count is bounded too. The
// large pictures are cut off early (their writer stops), so that only the
// header's sizes decide.
TEST(PngFile, SizeLimitsAreCheckedBeforeAnythingIsAllocated) {
    struct Case {
        int width;
        int height;
        bool interlaced;
        bool opens;
    } cases[] = {
        {32767, 2, false, true},   {32768, 2, false, false},
        {2, 32768, false, false},  {8192, 8192, true, true},  // kPngMaxInterlacedPixels exactly
        {8193, 8192, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        PngPlan plan =
            NoisePlan({"", PNG_COLOR_TYPE_GRAY, 1, c.interlaced, false}, c.width, c.height);
        plan.stopAfterRows = 2048;  // a quarter of the first pass
        const std::vector<uint8_t> bytes = EncodePng(plan);
        PngReader reader;
        EXPECT_EQ(reader.OpenMemory(bytes.data(), bytes.size()), c.opens);
        if (c.opens) {
            EXPECT_EQ(reader.Width(), c.width);
            DibBlock canvas = FilledCanvas(0);
            const LoadResult loaded = DecodePngPictureInto(reader, *canvas, LoadRequest());
            EXPECT_TRUE(loaded.Ok());
            EXPECT_EQ(loaded.damaged, c.interlaced);
        }
    }
    // Bytes that are not a PNG at all.
    PngReader reader;
    const std::vector<uint8_t> bmp = {'B', 'M', 0, 0};
    EXPECT_FALSE(reader.OpenMemory(bmp.data(), bmp.size()));
    EXPECT_FALSE(reader.OpenMemory(nullptr, 0));
    EXPECT_FALSE(reader.Open("/nonexistent/a.png"));
    EXPECT_EQ(reader.Width(), 0);
}

// A short file declaring a huge picture: once its data breaks off, every
// row after it is one black run, known without reading, so that the
// resampler passes over the missing rows in one step; the few rows the file
// holds still come through.
TEST(PngFile, RowsAfterABreakAreOneBlackRun) {
    PngPlan plan = NoisePlan({"", PNG_COLOR_TYPE_GRAY, 1, false, false}, 20000, 30000);
    plan.stopAfterRows = 300;
    const std::vector<uint8_t> bytes = EncodePng(plan);
    ASSERT_LT(bytes.size(), 1000000u);
    PngReader reader;
    ASSERT_TRUE(reader.OpenMemory(bytes.data(), bytes.size()));
    std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(plan.width, 24)));
    uint8_t bgr[3] = {1, 1, 1};
    int32_t read = 0;
    while (reader.UniformRowsAhead(bgr) == 0 && read < plan.height) {
        reader.ReadRow(row.data());
        ++read;
    }
    EXPECT_TRUE(reader.Damaged());
    EXPECT_GT(read, 0);
    EXPECT_LE(read, plan.stopAfterRows + 1) << "rows past the break were read one by one";
    EXPECT_EQ(reader.UniformRowsAhead(bgr), plan.height - read);
    EXPECT_EQ(bgr[0] + bgr[1] + bgr[2], 0);
    reader.SkipRows(plan.height);
    EXPECT_EQ(reader.UniformRowsAhead(bgr), 0);
    EXPECT_FALSE(reader.ReadRow(row.data()));

    ASSERT_TRUE(reader.OpenMemory(bytes.data(), bytes.size()));
    DibBlock canvas = FilledCanvas(7);
    const LoadResult loaded = DecodePngPictureInto(reader, *canvas, LoadRequest());
    EXPECT_TRUE(loaded.Ok());
    EXPECT_TRUE(loaded.damaged);
}

// A saved PNG reads back the very pixels the BMP save holds; masks become
// grey pictures of their levels.
TEST(PngFile, SavedPngsReadBackExactly) {
    TempDir folder;
    const DibBlock pattern = MakePatternImage(37, 21);
    ASSERT_TRUE(SavePicture(folder.File("p.png"), *pattern).Ok());
    const LoadResult png = LoadPicture(folder.File("p.png"), LoadRequest());
    ASSERT_TRUE(png.Ok());
    ASSERT_EQ(png.picture->header.biSizeImage, pattern->header.biSizeImage);
    EXPECT_EQ(std::memcmp(DibPixels(png.picture.get()), DibPixels(pattern.get()),
                          pattern->header.biSizeImage),
              0);

    DibBlock mask = DibCreate(9, 5, 8);
    uint8_t* levels = DibPixels(mask.get());
    for (int i = 0; i < DibRowStride(9, 8) * 5; ++i) {
        levels[i] = static_cast<uint8_t>(i * 13);
    }
    ASSERT_TRUE(SavePicture(folder.File("m.png"), *mask).Ok());
    const DibBlock grey = MakePicture(
        9, 5, [&](int32_t x, int32_t y) { return levels[y * DibRowStride(9, 8) + x] * 0x010101u; });
    EXPECT_EQ(FirstDifference(grey.get(), LoadPicture(folder.File("m.png"), {}).picture.get()), "");
}

// A write that fails part way (a full disk) makes the writer give up.
TEST(PngFile, ShortWriteFails) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    const DibBlock pattern = MakePatternImage(300, 300);
    EXPECT_FALSE(WritePngFile(full, *pattern));
    std::fclose(full);
}
