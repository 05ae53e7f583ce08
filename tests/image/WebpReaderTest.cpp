// The WebP reader through the loader, over files made here with libwebp's
// encoder and muxer: lossless pictures equal the BMP path exactly, lossy ones
// stay within a stated bound of it, libwebp's scaled decode stays close to
// the program's own fitting, an animation shows its first frame, a cut file
// keeps what came before the cut, and the limits hold.
#include "image/WebpReader.h"

#include <gtest/gtest.h>
#include <webp/mux.h>

#include <cmath>
#include <cstdlib>
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

// Blue, green, red, alpha rows, top first: a smooth picture (what a lossy
// coder is made for) with a hard edge, and alpha from 0 to 255.
Bytes TestBgra(int width, int height, bool alpha) {
    Bytes bgra(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(40 + 150 * x / width);
            p[1] = static_cast<uint8_t>(200 - 120 * y / height);
            p[2] = static_cast<uint8_t>(x < width / 3 ? 230 : 60 + (x + y) % 50);
            p[3] = alpha ? static_cast<uint8_t>((x * 255 / (width - 1) + y * 7) % 256) : 255;
        }
    }
    return bgra;
}

// The picture the rows show, laid over white: 24 bits, bottom-up.
DibBlock PictureOf(const Bytes& bgra, int width, int height) {
    return MakePicture(width, height, [&](int32_t x, int32_t y) {
        const uint8_t* p = &bgra[(static_cast<size_t>(height - 1 - y) * width + x) * 4];
        return uint32_t{OverWhite(p[2], p[3])} << 16 | uint32_t{OverWhite(p[1], p[3])} << 8 |
               OverWhite(p[0], p[3]);
    });
}

// "" when two 24-bit pictures of the same size are close: a mean absolute
// difference per channel below `mean` and less than `farShare` of the
// channels more than 24 apart; else how far apart they are.
std::string Farther(const DibImage* a, const DibImage* b, double mean, double farShare) {
    if (a->header.biWidth != b->header.biWidth || a->header.biHeight != b->header.biHeight) {
        return "the pictures differ in size";
    }
    const int32_t width = a->header.biWidth;
    const size_t stride = static_cast<size_t>(DibRowStride(width, 24));
    const double count = 3.0 * width * a->header.biHeight;
    double total = 0;
    double far = 0;
    for (int32_t y = 0; y < a->header.biHeight; ++y) {
        for (int32_t i = 0; i < width * 3; ++i) {
            const int d = std::abs(DibPixels(a)[y * stride + i] - DibPixels(b)[y * stride + i]);
            total += d;
            far += d > 24 ? 1 : 0;
        }
    }
    if (total / count < mean && far / count < farShare) {
        return "";
    }
    return "mean " + std::to_string(total / count) + ", far share " + std::to_string(far / count);
}

struct MuxFrame {
    Bytes webp;
    int left;
    int top;
};

// An animation of the frames (offsets even, as the format stores them
// halved), each replacing what was there.
Bytes MuxAnimation(int width, int height, const std::vector<MuxFrame>& frames) {
    WebPMux* mux = WebPMuxNew();
    WebPMuxSetCanvasSize(mux, width, height);
    const WebPMuxAnimParams params = {0xFFFFFFFFu, 0};
    WebPMuxSetAnimationParams(mux, &params);
    for (const MuxFrame& frame : frames) {
        WebPMuxFrameInfo info{};
        info.bitstream.bytes = frame.webp.data();
        info.bitstream.size = frame.webp.size();
        info.x_offset = frame.left;
        info.y_offset = frame.top;
        info.duration = 100;
        info.id = WEBP_CHUNK_ANMF;
        info.dispose_method = WEBP_MUX_DISPOSE_NONE;
        info.blend_method = WEBP_MUX_NO_BLEND;
        WebPMuxPushFrame(mux, &info, 1);
    }
    WebPData assembled = {nullptr, 0};
    Bytes bytes;
    if (WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK) {
        bytes.assign(assembled.bytes, assembled.bytes + assembled.size);
    }
    WebPDataClear(&assembled);
    WebPMuxDelete(mux);
    return bytes;
}

// A RIFF file holding one chunk; sizes little-endian.
Bytes RiffFile(const char* fourcc, Bytes payload) {
    payload.resize(40, 0);  // room for what the header's reader peeks at
    Bytes bytes = {'R', 'I', 'F', 'F'};
    PutLittleEndian(bytes, 12 + payload.size(), 4);
    bytes.insert(bytes.end(), {'W', 'E', 'B', 'P'});
    bytes.insert(bytes.end(), fourcc, fourcc + 4);
    PutLittleEndian(bytes, payload.size(), 4);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

// A lossless bitstream's header alone: signature 0x2F, then width - 1 and
// height - 1 in 14 bits each, the alpha hint and a zero version.
Bytes LosslessHeader(int width, int height) {
    Bytes payload = {0x2F};
    PutLittleEndian(payload, static_cast<uint32_t>(width - 1) | (height - 1) << 14, 4);
    return RiffFile("VP8L", payload);
}

// A lossy key frame's header alone: the frame tag (key frame, version 0,
// shown, first partition of 10 bytes), the start code and the sizes.
Bytes LossyHeader(int width, int height) {
    Bytes payload = {0x50, 0x01, 0x00, 0x9D, 0x01, 0x2A};
    PutLittleEndian(payload, static_cast<uint32_t>(width), 2);
    PutLittleEndian(payload, static_cast<uint32_t>(height), 2);
    return RiffFile("VP8 ", payload);
}

}  // namespace

// Lossless pictures, with and without alpha, at their own size and into the
// canvas, equal the same picture through the BMP path (37 x 24: an odd
// width, an even margin in the canvas). Lossy ones at quality 90 (colour
// lossy, alpha lossless) stay within a mean of 3 levels per channel of the
// picture encoded, and no more than 2 % of the channels (on the hard edge,
// where the coder halves the colour) are more than 24 levels off.
TEST(WebpReader, LosslessEqualsTheBmpPathAndLossyStaysWithinTheStatedBound) {
    TempDir folder;
    for (const bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "with alpha" : "opaque");
        Bytes bgra = TestBgra(37, 24, alpha);
        ASSERT_TRUE(WriteWholeFile(folder.File("p.WebP"), EncodeTestWebpBgra(bgra, 37, 24, -1)));
        EXPECT_EQ(DifferenceFromTheBmpPath(folder.File("p.WebP"), *PictureOf(bgra, 37, 24),
                                           LoadRequest(), false),
                  "");
        bgra = TestBgra(64, 48, alpha);
        ASSERT_TRUE(WriteWholeFile(folder.File("p.webp"), EncodeTestWebpBgra(bgra, 64, 48, 90)));
        const LoadResult lossy = LoadPicture(folder.File("p.webp"), LoadRequest());
        ASSERT_TRUE(lossy.Ok());
        EXPECT_FALSE(lossy.damaged);
        EXPECT_EQ(Farther(PictureOf(bgra, 64, 48).get(), lossy.picture.get(), 3.0, 0.02), "");
    }
}

// libwebp's scaler, which makes the fitted picture straight from the file,
// against the program's own fitting of the picture decoded at full size
// (the BMP path of it upside down, turned back, as rows come top first):
// the mean stays under 1.5 levels per channel and under 1 % of the channels
// differ by more than 24 (they sit on the hard edge, where the two filters
// place it a pixel apart).
TEST(WebpReader, ScaledDecodingStaysCloseToTheProgramsOwnFitting) {
    TempDir folder;
    const Bytes bgra = TestBgra(640, 480, false);
    for (const int quality : {-1, 90}) {
        SCOPED_TRACE(quality < 0 ? "lossless" : "lossy");
        ASSERT_TRUE(
            WriteWholeFile(folder.File("big.webp"), EncodeTestWebpBgra(bgra, 640, 480, quality)));
        const LoadResult full = LoadPicture(folder.File("big.webp"), LoadRequest());
        ASSERT_TRUE(full.Ok());
        ASSERT_TRUE(SavePicture(folder.File("upside-down.bmp"), *Flipped(full.picture.get())).Ok());

        const LoadRequest box{kCanvasWidth, kCanvasHeight, LOAD_PHOTO};
        const LoadResult scaled = LoadPicture(folder.File("big.webp"), box);
        const LoadResult ordinary = LoadPicture(folder.File("upside-down.bmp"), box);
        ASSERT_TRUE(scaled.Ok() && ordinary.Ok());
        EXPECT_EQ(scaled.width, ordinary.width);
        EXPECT_EQ(scaled.height, kCanvasHeight);
        EXPECT_EQ(Farther(Flipped(ordinary.picture.get()).get(), scaled.picture.get(), 1.5, 0.01),
                  "");

        DibBlock scaledCanvas = FilledCanvas(0);
        DibBlock ordinaryCanvas = FilledCanvas(0);
        ASSERT_TRUE(LoadPictureInto(folder.File("big.webp"), *scaledCanvas, LoadRequest()).Ok());
        ASSERT_TRUE(
            LoadPictureInto(folder.File("upside-down.bmp"), *ordinaryCanvas, LoadRequest()).Ok());
        EXPECT_EQ(Farther(Flipped(ordinaryCanvas.get()).get(), scaledCanvas.get(), 1.5, 0.01), "");
    }
}

// An animation shows its first frame. One that covers the picture is
// decoded like a still picture; one that covers only part of it is laid on
// white at its place, and a large such picture is fitted by the program's
// resampler.
TEST(WebpReader, AnimationShowsItsFirstFrame) {
    TempDir folder;
    const Bytes first = TestBgra(40, 30, true);
    Bytes second = TestBgra(40, 30, false);
    for (size_t i = 0; i < second.size(); i += 4) {
        second[i] = static_cast<uint8_t>(255 - second[i]);
    }
    ASSERT_TRUE(WriteWholeFile(folder.File("covering.webp"),
                               MuxAnimation(40, 30,
                                            {{EncodeTestWebpBgra(first, 40, 30, -1), 0, 0},
                                             {EncodeTestWebpBgra(second, 40, 30, -1), 0, 0}})));
    const LoadResult covering = LoadPicture(folder.File("covering.webp"), LoadRequest());
    ASSERT_TRUE(covering.Ok());
    EXPECT_EQ(FirstDifference(PictureOf(first, 40, 30).get(), covering.picture.get()), "");

    // A 20 x 10 first frame at (6, 4) of a 40 x 30 animation, and of a
    // 400 x 300 one fitted to the canvas.
    const Bytes small = TestBgra(20, 10, true);
    for (const int side : {40, 400}) {
        SCOPED_TRACE(side);
        const int height = side * 3 / 4;
        Bytes expected(static_cast<size_t>(side) * height * 4, 255);
        for (int y = 0; y < 10; ++y) {
            std::memcpy(&expected[(static_cast<size_t>(y + 4) * side + 6) * 4],
                        &small[static_cast<size_t>(y) * 20 * 4], 20 * 4);
        }
        ASSERT_TRUE(WriteWholeFile(folder.File("part.webp"),
                                   MuxAnimation(side, height,
                                                {{EncodeTestWebpBgra(small, 20, 10, -1), 6, 4},
                                                 {EncodeTestWebpBgra(second, 40, 30, -1), 0, 0}})));
        EXPECT_EQ(DifferenceFromTheBmpPath(folder.File("part.webp"),
                                           *PictureOf(expected, side, height), LoadRequest(), true),
                  "");
    }
}

// A file cut part way keeps the rows decoded before the cut (the same as the
// whole file gives), the rest black, and says damaged.
TEST(WebpReader, CutFilesKeepTheRowsBeforeTheCut) {
    TempDir folder;
    const Bytes bgra = TestBgra(64, 96, false);
    for (const int quality : {-1, 80}) {
        SCOPED_TRACE(quality < 0 ? "lossless" : "lossy");
        const Bytes whole = EncodeTestWebpBgra(bgra, 64, 96, quality);
        ASSERT_TRUE(WriteWholeFile(folder.File("whole.webp"), whole));
        const LoadResult complete = LoadPicture(folder.File("whole.webp"), LoadRequest());
        ASSERT_TRUE(complete.Ok());

        ASSERT_TRUE(WriteWholeFile(folder.File("cut.webp"),
                                   Bytes(whole.begin(), whole.begin() + whole.size() * 6 / 10)));
        const LoadResult cut = LoadPicture(folder.File("cut.webp"), LoadRequest());
        ASSERT_TRUE(cut.Ok());
        EXPECT_TRUE(cut.damaged);
        const int32_t kept = KeptRowsThen(
            cut.picture.get(),
            [&](int32_t x, int32_t y) { return PixelAt(complete.picture.get(), x, 95 - y); }, 0);
        EXPECT_GT(kept, 8);
        EXPECT_LT(kept, 96);
    }
}

// The headers' sizes decide before any pixel is allocated: a lossless
// picture is held whole, so its pixel count is bounded; a lossy one without
// alpha streams and may take any size WebP allows.
TEST(WebpReader, SizeLimitsAreCheckedAtOpen) {
    struct Case {
        Bytes bytes;
        bool opens;
    } cases[] = {
        {LosslessHeader(8192, 8192), true},  // kWebpMaxWholePixels exactly
        {LosslessHeader(8193, 8192), false},
        {LossyHeader(16383, 16383), true},
        {LossyHeader(0, 16), false},
        {Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'E', 'B', 'P'}, false},
        {Bytes{'G', 'I', 'F', '8', '9', 'a'}, false},
    };
    for (const Case& c : cases) {
        WebpReader reader;
        EXPECT_EQ(reader.OpenMemory(c.bytes.data(), c.bytes.size()), c.opens) << c.bytes.size();
        if (c.opens) {
            EXPECT_GT(reader.Width(), 8000);
            // The header alone holds no row.
            int32_t width = 100;
            int32_t height = 100;
            EXPECT_FALSE(reader.Decode(&width, &height));
        }
    }
    WebpReader reader;
    EXPECT_FALSE(reader.Open("/nonexistent/a.webp"));
    EXPECT_EQ(reader.Width(), 0);
    uint8_t row[3] = {7, 7, 7};
    EXPECT_FALSE(reader.ReadRow(row));
    EXPECT_EQ(row[0], 7) << "a reader with nothing open leaves the row alone";
}
