#include "image/JpegCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "PictureTestFiles.h"
#include "image/DibImage.h"
#include "support/TestSupport.h"

namespace {

JpegRows DecodeBytes(const std::vector<uint8_t>& jpeg, int32_t wantWidth = 65535,
                     int32_t wantHeight = 65535) {
    return DecodeWithCodec(OpenJpegMemory(jpeg.data(), jpeg.size()), wantWidth, wantHeight);
}

JpegRows DecodeFile(const std::string& name) {
    return DecodeWithCodec(OpenJpegFile(TestDataPath("jpeg/" + name)), 65535, 65535);
}

int MaxChannelDifference(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        largest = std::max(largest, std::abs(static_cast<int>(a >> shift & 0xFF) -
                                             static_cast<int>(b >> shift & 0xFF)));
    }
    return largest;
}

// libjpeg versions round differently; flat areas come back within 10.
bool Near(uint32_t actual, uint32_t expected) {
    return MaxChannelDifference(actual, expected) <= 10;
}

std::vector<uint8_t> QuadrantJpeg(int width, int height, const JpegTestOptions& options = {}) {
    return EncodeTestJpeg(
        width, height, [=](int x, int y) { return QuadrantColour(x, y, width, height); }, options);
}

// A greyscale progressive script of one DC scan and then, for each of the 63
// AC coefficients on its own, a first scan and `refinements` refinement
// scans: 1 + 63 x (1 + refinements) scans in all.
std::vector<jpeg_scan_info> EveryCoefficientScript(int refinements) {
    std::vector<jpeg_scan_info> script = {{1, {0}, 0, 0, 0, 0}};
    for (int k = 1; k < 64; ++k) {
        script.push_back({1, {0}, k, k, 0, refinements});
        for (int bit = refinements; bit > 0; --bit) {
            script.push_back({1, {0}, k, k, bit, bit - 1});
        }
    }
    return script;
}

int32_t Eighths(int32_t side, int32_t eighths) {
    return (side * eighths + 7) / 8;
}

}  // namespace

TEST(JpegCodec, ReportsTheLargestEighthThatFits) {
    const std::vector<uint8_t> jpeg = QuadrantJpeg(203, 157);
    for (int32_t m = 1; m <= 8; ++m) {
        const int32_t w = Eighths(203, m);
        const int32_t h = Eighths(157, m);
        const int32_t below = m > 1 ? m - 1 : 1;  // 1/8 when nothing fits
        const int32_t asked[3][2] = {{w, h}, {w - 1, h}, {w, h - 1}};
        for (int i = 0; i < 3; ++i) {
            std::unique_ptr<JpegCodec> codec = OpenJpegMemory(jpeg.data(), jpeg.size());
            int32_t gotW = asked[i][0];
            int32_t gotH = asked[i][1];
            ASSERT_TRUE(codec->ReadHeader(&gotW, &gotH));
            const int32_t eighths = i == 0 ? m : below;
            EXPECT_EQ(gotW, Eighths(203, eighths)) << "asked " << asked[i][0] << "x" << asked[i][1];
            EXPECT_EQ(gotH, Eighths(157, eighths)) << "asked " << asked[i][0] << "x" << asked[i][1];
        }
    }
    const JpegRows whole = DecodeBytes(jpeg);  // never enlarged
    EXPECT_EQ(whole.width, 203);
    EXPECT_EQ(whole.height, 157);
}

TEST(JpegCodec, RowsComeTopFirstAsBlueGreenRed) {
    JpegTestOptions options[3];
    options[1].lumaH = options[1].lumaV = 2;  // 4:2:0
    options[2].progressive = true;
    for (const JpegTestOptions& option : options) {
        const std::vector<uint8_t> jpeg = QuadrantJpeg(64, 48, option);
        // Full size, and reduced by the decoder to 1/2 and 1/8 (where each
        // pixel is one 8 x 8 block).
        for (int32_t width : {64, 32, 8}) {
            const JpegRows decoded = DecodeBytes(jpeg, width, width * 3 / 4);
            ASSERT_EQ(decoded.width, width);
            ASSERT_EQ(decoded.rowsRead, decoded.height);
            for (int y : {decoded.height / 4, decoded.height * 3 / 4}) {
                for (int x : {width / 4, width * 3 / 4}) {
                    EXPECT_PRED2(Near, decoded.At(x, y),
                                 QuadrantColour(x, y, width, decoded.height))
                        << x << "," << y << " of " << width << (option.progressive ? " prog" : "")
                        << (option.lumaH == 2 ? " 4:2:0" : "");
                }
            }
        }
    }
    // Progressive refinement ends at the same coefficients as baseline.
    EXPECT_EQ(DecodeBytes(QuadrantJpeg(77, 53)).pixels,
              DecodeBytes(QuadrantJpeg(77, 53, options[2])).pixels);

    JpegTestOptions grey;
    grey.grey = true;
    const JpegRows ramp = DecodeBytes(EncodeTestJpeg(
        64, 16, [](int x, int) { return x * 4u; }, grey));
    ASSERT_EQ(ramp.rowsRead, 16);
    for (int x = 0; x < 64; x += 9) {
        EXPECT_EQ(ramp.At(x, 8), (ramp.At(x, 8) & 0xFF) * 0x010101u) << "grey at " << x;
        EXPECT_NEAR(static_cast<int>(ramp.At(x, 8) & 0xFF), x * 4, 10) << x;
    }
}

TEST(JpegCodec, RefusesCleanly) {
    std::vector<uint8_t> cut = QuadrantJpeg(16, 16);
    cut.resize(40);
    JpegTestOptions grey;
    grey.grey = true;
    const auto flat = [](int, int) { return 0x808080u; };
    const std::vector<uint8_t> refused[] = {
        {},
        std::vector<uint8_t>(500, 0x5A),
        cut,
        ReadWholeFile(TestDataPath("jpeg/ljt-testorig12.jpg")),  // 12-bit samples
        EncodeTestJpeg(kMaxPictureSide + 1, 1, flat, grey),
    };
    for (const std::vector<uint8_t>& bytes : refused) {
        EXPECT_FALSE(DecodeBytes(bytes).headerRead) << bytes.size() << " bytes";
    }
    EXPECT_EQ(DecodeBytes(EncodeTestJpeg(kMaxPictureSide, 1, flat, grey)).rowsRead, 1);

    std::unique_ptr<JpegCodec> missing = OpenJpegFile("/nonexistent/folder/picture.jpg");
    int32_t w = 176;
    int32_t h = 180;
    EXPECT_FALSE(missing->ReadHeader(&w, &h));
    EXPECT_FALSE(missing->StartRows());
    missing->Close();

    // Rows past the end are black, and nothing beyond the row is written.
    const std::vector<uint8_t> jpeg = QuadrantJpeg(16, 8);
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(jpeg.data(), jpeg.size());
    ASSERT_TRUE(codec->ReadHeader(&w, &h));
    std::vector<uint8_t> row(52, 0xAA);
    for (int y = 0; y < 8; ++y) {
        EXPECT_TRUE(codec->ReadRow(row.data()));
    }
    EXPECT_FALSE(codec->ReadRow(row.data()));
    EXPECT_TRUE(std::all_of(row.begin(), row.begin() + 48, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(row[48], 0xAA);
}

TEST(JpegCodec, BoundsTheWorkOfProgressivePictures) {
    // All coefficients of a progressive picture are kept: 30000 x 30000 in
    // colour would take over 5 GB and is refused from its header. 6000 x 4000
    // (144 MB) is refused too from a file of a few hundred bytes, which could
    // never hold such a photo, and taken from a file the size of a real one.
    JpegTestOptions progressive;
    progressive.progressive = true;
    std::vector<uint8_t> large = QuadrantJpeg(16, 16, progressive);
    ASSERT_TRUE(PatchJpegSize(&large, 30000, 30000));
    EXPECT_FALSE(DecodeBytes(large, 176, 180).headerRead);
    ASSERT_TRUE(PatchJpegSize(&large, 6000, 4000));
    EXPECT_FALSE(DecodeBytes(large, 352, 360).headerRead);
    large.resize(3u * 1024u * 1024u, 0);  // after the end of the image: ignored
    const JpegRows camera = DecodeBytes(large, 352, 360);
    EXPECT_EQ(camera.width, 750);
    EXPECT_TRUE(camera.started);

    // 442 scans over 16 x 16 pixels decode; the same over 4000 x 4000 make
    // 110 million block visits from 15 KB, and 694 scans are too many.
    JpegTestOptions scans;
    scans.grey = true;
    scans.script = EveryCoefficientScript(6);
    const auto texture = [](int x, int y) { return static_cast<uint32_t>(x * 16 ^ y * 8); };
    std::vector<uint8_t> jpeg = EncodeTestJpeg(16, 16, texture, scans);
    EXPECT_EQ(DecodeBytes(jpeg).rowsRead, 16);
    ASSERT_TRUE(PatchJpegSize(&jpeg, 4000, 4000));
    EXPECT_FALSE(DecodeBytes(jpeg, 176, 180).started);
    scans.script = EveryCoefficientScript(10);
    const JpegRows endless = DecodeBytes(EncodeTestJpeg(16, 16, texture, scans));
    EXPECT_TRUE(endless.headerRead);
    EXPECT_FALSE(endless.started);
    EXPECT_EQ(endless.rowsRead, 0);
    EXPECT_TRUE(std::all_of(endless.pixels.begin(), endless.pixels.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST(JpegCodec, CmykComesOutInColour) {
    // Inverted (Adobe) CMYK: the words "cyan", "yellow", "magenta" and
    // "black" printed in their inks on white. Somewhere in each word's box a
    // pixel comes close to the ink; swapped or uninverted channels do not.
    const JpegRows decoded = DecodeFile("jdec-jpg-cmyk-2.jpg");
    ASSERT_EQ(decoded.rowsRead, 256);
    EXPECT_PRED2(Near, decoded.At(5, 5), 0xFFFFFFu);
    struct Word {
        int left, top, right, bottom;
        uint32_t ink;
    } words[] = {{28, 33, 72, 52, 0x00FFFFu},
                 {125, 70, 185, 90, 0xFFFF00u},
                 {50, 115, 135, 135, 0xFF00FFu},
                 {66, 198, 119, 218, 0x000000u}};
    for (const Word& word : words) {
        int closest = 255;
        for (int y = word.top; y <= word.bottom; ++y) {
            for (int x = word.left; x <= word.right; ++x) {
                closest = std::min(closest, MaxChannelDifference(decoded.At(x, y), word.ink));
            }
        }
        EXPECT_LT(closest, 100) << std::hex << word.ink;
    }
}

// Every picture of the JPEG corpus, asked for at full size, against the
// "expected" column of tests/data/MANIFEST.md: "decode WxH" and the lenient
// cases must decode at that size, "refuse" must be refused, the rest may go
// either way but must have the listed size when decoded.
TEST(JpegCodec, CorpusDecodesOrRefusesAsTheManifestSays) {
    const std::vector<ManifestEntry> entries = ManifestEntries("jpeg");
    for (const ManifestEntry& entry : entries) {
        SCOPED_TRACE(entry.name + ": " + entry.expected);
        const bool mustDecode = entry.Says("lenient") || (entry.expected.rfind("decode", 0) == 0 &&
                                                          !entry.Says("or refuse"));
        const bool mustRefuse = entry.expected.rfind("refuse", 0) == 0 && entry.width == 0;
        const JpegRows decoded = DecodeFile(entry.name);
        EXPECT_TRUE(!mustDecode || decoded.Whole());
        EXPECT_TRUE(!mustRefuse || !decoded.started);
        if (decoded.headerRead && entry.width > 0) {
            EXPECT_EQ(decoded.width, entry.width);
            EXPECT_EQ(decoded.height, entry.height);
        }
    }
    // Every picture of the folder is listed.
    size_t pictures = 0;
    for (const auto& file : std::filesystem::directory_iterator(TestDataPath("jpeg"))) {
        const std::string extension = file.path().extension().string();
        pictures += extension == ".jpg" || extension == ".jpeg" ? 1 : 0;
    }
    EXPECT_EQ(entries.size(), pictures);
}
