#include "image/JpegCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "JpegTestFiles.h"
#include "image/DibImage.h"
#include "support/TestSupport.h"

namespace {

// libjpeg versions round differently; flat areas come back within this.
constexpr int kTolerance = 10;

struct DecodedJpeg {
    bool headerRead = false;
    bool started = false;
    int32_t width = 0;
    int32_t height = 0;
    int rowsRead = 0;
    std::vector<uint8_t> pixels;  // blue, green, red, top row first, no padding

    uint32_t At(int x, int y) const {
        const size_t at = (static_cast<size_t>(y) * static_cast<size_t>(width) + x) * 3;
        return static_cast<uint32_t>(pixels[at + 2]) << 16 |
               static_cast<uint32_t>(pixels[at + 1]) << 8 | pixels[at];
    }
};

// Asks for wantWidth x wantHeight and reads every row the codec reports.
DecodedJpeg DecodeAll(JpegCodec& codec, int32_t wantWidth, int32_t wantHeight) {
    DecodedJpeg decoded;
    decoded.width = wantWidth;
    decoded.height = wantHeight;
    decoded.headerRead = codec.ReadHeader(&decoded.width, &decoded.height);
    if (decoded.headerRead) {
        decoded.started = codec.StartRows();
        std::vector<uint8_t> row(DibRowStride(decoded.width, 24));
        for (int32_t y = 0; y < decoded.height; ++y) {
            decoded.rowsRead += codec.ReadRow(row.data()) ? 1 : 0;
            decoded.pixels.insert(decoded.pixels.end(), row.begin(),
                                  row.begin() + decoded.width * 3);
        }
    }
    codec.Close();
    return decoded;
}

DecodedJpeg DecodeBytes(const std::vector<uint8_t>& jpeg, int32_t wantWidth = 65535,
                        int32_t wantHeight = 65535) {
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(jpeg.data(), jpeg.size());
    if (!codec) {
        ADD_FAILURE() << "no codec";
        return {};
    }
    return DecodeAll(*codec, wantWidth, wantHeight);
}

bool NearWithin(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int a = static_cast<int>(actual >> shift & 0xFF);
        const int e = static_cast<int>(expected >> shift & 0xFF);
        if (std::abs(a - e) > tolerance) {
            return false;
        }
    }
    return true;
}

bool Near(uint32_t actual, uint32_t expected) {
    return NearWithin(actual, expected, kTolerance);
}

std::vector<uint8_t> QuadrantJpeg(int width, int height, const JpegTestOptions& options = {}) {
    return EncodeTestJpeg(
        width, height, [&](int x, int y) { return QuadrantColour(x, y, width, height); }, options);
}

// Checks the middle of each quadrant of a decoded QuadrantJpeg.
void ExpectQuadrants(const DecodedJpeg& decoded, const char* what) {
    ASSERT_TRUE(decoded.headerRead) << what;
    ASSERT_EQ(decoded.rowsRead, decoded.height) << what;
    const int w = decoded.width;
    const int h = decoded.height;
    const int x[2] = {w / 4, w * 3 / 4};
    const int y[2] = {h / 4, h * 3 / 4};
    for (int qy = 0; qy < 2; ++qy) {
        for (int qx = 0; qx < 2; ++qx) {
            const uint32_t expected = QuadrantColour(x[qx], y[qy], w, h);
            EXPECT_PRED2(Near, decoded.At(x[qx], y[qy]), expected)
                << what << " quadrant " << qx << "," << qy << " of " << w << "x" << h;
        }
    }
}

int32_t Eighths(int32_t side, int32_t eighths) {
    return (side * eighths + 7) / 8;
}

}  // namespace

TEST(JpegCodec, ReportsTheLargestEighthThatFits) {
    const int32_t width = 203;
    const int32_t height = 157;
    const std::vector<uint8_t> jpeg = QuadrantJpeg(width, height);
    for (int32_t m = 1; m <= 8; ++m) {
        const int32_t w = Eighths(width, m);
        const int32_t h = Eighths(height, m);
        const int32_t smaller = m > 1 ? m - 1 : 1;  // 1/8 when nothing fits
        struct Case {
            int32_t askW, askH, gotW, gotH;
        } cases[] = {
            {w, h, w, h},
            {w - 1, h, Eighths(width, smaller), Eighths(height, smaller)},
            {w, h - 1, Eighths(width, smaller), Eighths(height, smaller)},
        };
        for (const Case& c : cases) {
            std::unique_ptr<JpegCodec> codec = OpenJpegMemory(jpeg.data(), jpeg.size());
            int32_t gotW = c.askW;
            int32_t gotH = c.askH;
            ASSERT_TRUE(codec->ReadHeader(&gotW, &gotH));
            EXPECT_EQ(gotW, c.gotW) << "asked " << c.askW << "x" << c.askH;
            EXPECT_EQ(gotH, c.gotH) << "asked " << c.askW << "x" << c.askH;
            codec->Close();
        }
    }
    // Never enlarged.
    const DecodedJpeg whole = DecodeBytes(jpeg, 65535, 65535);
    EXPECT_EQ(whole.width, width);
    EXPECT_EQ(whole.height, height);
}

TEST(JpegCodec, RowsComeTopFirstAsBlueGreenRed) {
    JpegTestOptions subsampled;
    subsampled.subsample420 = true;
    JpegTestOptions progressive;
    progressive.progressive = true;
    const std::vector<uint8_t> files[] = {QuadrantJpeg(64, 48), QuadrantJpeg(64, 48, subsampled),
                                          QuadrantJpeg(64, 48, progressive)};
    const char* names[] = {"4:4:4", "4:2:0", "progressive"};
    for (int i = 0; i < 3; ++i) {
        ExpectQuadrants(DecodeBytes(files[i]), names[i]);
        // Reduced by the decoder: 1/2 and 1/8 (each pixel one 8 x 8 block).
        const DecodedJpeg half = DecodeBytes(files[i], 32, 24);
        EXPECT_EQ(half.width, 32);
        ExpectQuadrants(half, names[i]);
        const DecodedJpeg eighth = DecodeBytes(files[i], 8, 6);
        EXPECT_EQ(eighth.width, 8);
        ExpectQuadrants(eighth, names[i]);
    }
}

TEST(JpegCodec, ProgressiveGivesTheSamePixelsAsBaseline) {
    const auto texture = [](int x, int y) {
        return static_cast<uint32_t>(((x * 9 + y * 5) & 255) << 16 | ((x * y) & 255) << 8 |
                                     ((y * 13) & 255));
    };
    JpegTestOptions progressive;
    progressive.progressive = true;
    const DecodedJpeg baseline = DecodeBytes(EncodeTestJpeg(77, 53, texture));
    const DecodedJpeg refined = DecodeBytes(EncodeTestJpeg(77, 53, texture, progressive));
    ASSERT_EQ(baseline.rowsRead, 53);
    ASSERT_EQ(refined.rowsRead, 53);
    EXPECT_EQ(baseline.pixels, refined.pixels);
}

TEST(JpegCodec, GreyscaleComesOutGrey) {
    JpegTestOptions grey;
    grey.grey = true;
    const DecodedJpeg decoded = DecodeBytes(EncodeTestJpeg(
        64, 16, [](int x, int) { return x * 4u; }, grey));
    ASSERT_EQ(decoded.rowsRead, 16);
    for (int x = 0; x < 64; x += 9) {
        const uint32_t pixel = decoded.At(x, 8);
        const uint32_t level = pixel & 0xFF;
        EXPECT_EQ(pixel, level * 0x010101u) << "x " << x;
        EXPECT_NEAR(static_cast<int>(level), x * 4, kTolerance) << "x " << x;
    }
}

TEST(JpegCodec, SecondHeaderCallRestartsAtTheNewRequest) {
    TempDir folder;
    const std::string path = folder.File("quadrants.jpg");
    const std::vector<uint8_t> jpeg = QuadrantJpeg(160, 120);
    ASSERT_TRUE(WriteWholeFile(path, jpeg));
    const DecodedJpeg expected = DecodeBytes(jpeg, 80, 60);

    // Once before any row, once after some rows were read (the file is read
    // again from its start).
    for (int rowsFirst : {0, 10}) {
        std::unique_ptr<JpegCodec> codec = OpenJpegFile(path);
        int32_t w = 352;
        int32_t h = 360;
        ASSERT_TRUE(codec->ReadHeader(&w, &h));
        EXPECT_EQ(w, 160);
        std::vector<uint8_t> row(DibRowStride(160, 24));
        for (int i = 0; i < rowsFirst; ++i) {
            ASSERT_TRUE(codec->ReadRow(row.data()));
        }
        const DecodedJpeg again = DecodeAll(*codec, 80, 60);
        EXPECT_EQ(again.width, 80);
        EXPECT_EQ(again.height, 60);
        EXPECT_EQ(again.rowsRead, 60);
        EXPECT_EQ(again.pixels, expected.pixels) << "after " << rowsFirst << " rows";
    }
}

TEST(JpegCodec, RowsPastTheEndAreBlack) {
    const std::vector<uint8_t> jpeg = QuadrantJpeg(16, 8);
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(jpeg.data(), jpeg.size());
    int32_t w = 16;
    int32_t h = 8;
    ASSERT_TRUE(codec->ReadHeader(&w, &h));
    std::vector<uint8_t> row(DibRowStride(16, 24) + 4, 0xAA);
    for (int y = 0; y < 8; ++y) {
        EXPECT_TRUE(codec->ReadRow(row.data()));
    }
    EXPECT_FALSE(codec->ReadRow(row.data()));
    EXPECT_TRUE(std::all_of(row.begin(), row.begin() + 48, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(row[48], 0xAA);  // nothing beyond the row's pixels
    codec->Close();
    EXPECT_FALSE(codec->ReadHeader(&w, &h));
}

TEST(JpegCodec, RefusesWhatItCannotDecode) {
    const std::vector<uint8_t> empty;
    const std::vector<uint8_t> garbage(500, 0x5A);
    std::vector<uint8_t> truncatedHeader = QuadrantJpeg(16, 16);
    truncatedHeader.resize(40);
    JpegTestOptions grey;
    grey.grey = true;
    const auto flat = [](int, int) { return 0x808080u; };
    const std::vector<uint8_t> widest = EncodeTestJpeg(kMaxPictureSide, 1, flat, grey);
    const std::vector<uint8_t> tooWide = EncodeTestJpeg(kMaxPictureSide + 1, 1, flat, grey);
    const std::vector<uint8_t> twelveBit = ReadWholeFile(TestDataPath("jpeg/ljt-testorig12.jpg"));
    ASSERT_FALSE(twelveBit.empty());

    EXPECT_FALSE(DecodeBytes(empty).headerRead);
    EXPECT_FALSE(DecodeBytes(garbage).headerRead);
    EXPECT_FALSE(DecodeBytes(truncatedHeader).headerRead);
    EXPECT_FALSE(DecodeBytes(twelveBit).headerRead);
    EXPECT_FALSE(DecodeBytes(tooWide).headerRead);
    const DecodedJpeg widestDecoded = DecodeBytes(widest);
    EXPECT_EQ(widestDecoded.width, kMaxPictureSide);
    EXPECT_EQ(widestDecoded.rowsRead, 1);

    std::unique_ptr<JpegCodec> missing = OpenJpegFile("/nonexistent/folder/picture.jpg");
    ASSERT_TRUE(missing);
    int32_t w = 176;
    int32_t h = 180;
    EXPECT_FALSE(missing->ReadHeader(&w, &h));
    EXPECT_FALSE(missing->StartRows());
    missing->Close();
    missing->Close();  // harmless
}

TEST(JpegCodec, RefusesProgressivePicturesTooLargeToBuffer) {
    // A progressive decode keeps every coefficient: 30000 x 30000 in colour
    // would need over 5 GB. Refused from the header, before any allocation.
    JpegTestOptions progressive;
    progressive.progressive = true;
    std::vector<uint8_t> jpeg = QuadrantJpeg(16, 16, progressive);
    ASSERT_TRUE(PatchJpegSize(&jpeg, 30000, 30000));
    EXPECT_FALSE(DecodeBytes(jpeg, 176, 180).headerRead);
    // 6000 x 4000, a large camera picture, is within the limits.
    ASSERT_TRUE(PatchJpegSize(&jpeg, 6000, 4000));
    const DecodedJpeg camera = DecodeBytes(jpeg, 352, 360);
    EXPECT_EQ(camera.width, 750);
    EXPECT_EQ(camera.height, 500);
    EXPECT_TRUE(camera.started);
}

TEST(JpegCodec, StopsEndlessProgressions) {
    JpegTestOptions manyScans;
    manyScans.grey = true;
    const auto texture = [](int x, int y) { return static_cast<uint32_t>(x * 16 ^ y * 8); };
    manyScans.refinements = 6;  // 1 + 63 x 7 = 442 scans: fine
    std::vector<uint8_t> jpeg = EncodeTestJpeg(16, 16, texture, manyScans);
    const DecodedJpeg fine = DecodeBytes(jpeg);
    EXPECT_TRUE(fine.started);
    EXPECT_EQ(fine.rowsRead, 16);
    // The same scans over 4000 x 4000 pixels: each scan passes over all
    // 250,000 blocks, 110 million visits in all for a file of 15 KB.
    ASSERT_TRUE(PatchJpegSize(&jpeg, 4000, 4000));
    const DecodedJpeg tooLong = DecodeBytes(jpeg, 176, 180);
    EXPECT_TRUE(tooLong.headerRead);
    EXPECT_FALSE(tooLong.started);

    manyScans.refinements = 10;  // 1 + 63 x 11 = 694 scans: too many
    const DecodedJpeg endless = DecodeBytes(EncodeTestJpeg(16, 16, texture, manyScans));
    EXPECT_TRUE(endless.headerRead);
    EXPECT_FALSE(endless.started);
    EXPECT_EQ(endless.rowsRead, 0);
    EXPECT_TRUE(std::all_of(endless.pixels.begin(), endless.pixels.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST(JpegCodec, CmykComesOutInColour) {
    // Inverted (Adobe) CMYK with the words "cyan", "yellow", "magenta" and
    // "black" printed in their inks on white.
    std::unique_ptr<JpegCodec> codec = OpenJpegFile(TestDataPath("jpeg/jdec-jpg-cmyk-2.jpg"));
    const DecodedJpeg decoded = DecodeAll(*codec, 65535, 65535);
    ASSERT_EQ(decoded.rowsRead, 256);
    EXPECT_PRED2(Near, decoded.At(5, 5), 0xFFFFFFu);
    // Each word's box; the ink absorbs red (cyan), green (magenta), blue
    // (yellow) or all three (black). Inverted or swapped channels show here.
    struct Word {
        const char* name;
        int left, top, right, bottom;
        bool absorbs[3];  // red, green, blue
    } words[] = {
        {"cyan", 28, 33, 72, 52, {true, false, false}},
        {"yellow", 125, 70, 185, 90, {false, false, true}},
        {"magenta", 50, 115, 135, 135, {false, true, false}},
        {"black", 66, 198, 119, 218, {true, true, true}},
    };
    for (const Word& word : words) {
        // The mean colour of the inked pixels of the box.
        int sum[3] = {0, 0, 0};
        int inked = 0;
        for (int y = word.top; y <= word.bottom; ++y) {
            for (int x = word.left; x <= word.right; ++x) {
                const uint32_t p = decoded.At(x, y);
                const int rgb[3] = {static_cast<int>(p >> 16), static_cast<int>(p >> 8 & 0xFF),
                                    static_cast<int>(p & 0xFF)};
                if (std::min({rgb[0], rgb[1], rgb[2]}) < 160) {
                    ++inked;
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += rgb[c];
                    }
                }
            }
        }
        ASSERT_GT(inked, 50) << word.name;
        for (int c = 0; c < 3; ++c) {
            const int mean = sum[c] / inked;
            if (word.absorbs[c]) {
                EXPECT_LT(mean, 150) << word.name << " channel " << c;
            } else {
                EXPECT_GT(mean, 200) << word.name << " channel " << c;
            }
        }
    }
}

// Every picture of the JPEG corpus against what tests/data/MANIFEST.md says
// of it, asked for at full size.
TEST(JpegCodec, CorpusDecodesOrRefusesAsListed) {
    enum Expect { kDecode, kDecodeOrRefuse, kRefuse };
    struct Entry {
        Expect expect;
        int32_t width, height;
    };
    const std::map<std::string, Entry> table = {
        {"ljt-testorig.jpg", {kDecode, 227, 149}},
        {"ljt-testimgp.jpg", {kDecode, 227, 149}},
        {"go-video-001.q50.444.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.422.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.420.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.440.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.411.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.410.jpeg", {kDecode, 150, 103}},
        {"go-video-001.221212.jpeg", {kDecode, 150, 103}},
        {"go-video-001.q50.420.progressive.jpeg", {kDecode, 150, 103}},
        {"go-video-001.progressive.jpeg", {kDecode, 150, 103}},
        {"go-video-001.separate.dc.progression.progressive.jpeg", {kDecode, 150, 103}},
        {"go-video-001.progressive.truncated.jpeg", {kDecode, 150, 103}},
        {"wuffs-peacock.progressive.scan003.jpeg", {kDecode, 100, 75}},
        {"go-video-001.rgb.jpeg", {kDecode, 150, 103}},
        {"go-video-001.cmyk.jpeg", {kDecode, 150, 103}},
        {"jdec-jpg-cmyk-1.jpg", {kDecode, 32, 32}},
        {"jdec-jpg-cmyk-2.jpg", {kDecode, 256, 256}},
        {"go-video-005.gray.q50.2x2.jpeg", {kDecode, 150, 103}},
        {"jdec-grayscale_24x16_sampling2x2.jpg", {kDecode, 24, 16}},
        {"wuffs-peacock.grayscale.jpeg", {kDecode, 100, 75}},
        {"jdec-jpg-gray.jpg", {kDecode, 32, 32}},
        {"jdec-jpg-srgb-icc.jpg", {kDecode, 1, 1}},
        {"jdec-restarts.jpg", {kDecode, 33, 33}},
        {"jdec-non-interleaved-mcu.jpg", {kDecode, 64, 16}},
        {"jdec-jpg-size-1x1.jpg", {kDecode, 1, 1}},
        {"jdec-jpg-size-7x7.jpg", {kDecode, 7, 7}},
        {"jdec-jpg-size-17x17.jpg", {kDecode, 17, 17}},
        {"jdec-jpg-size-33x33.jpg", {kDecode, 33, 33}},
        {"wuffs-mona-lisa.21x32.q50.jpeg", {kDecode, 21, 32}},
        {"wuffs-peacock.optimize.jpeg", {kDecode, 100, 75}},
        {"wuffs-peacock.s1x3.jpeg", {kDecode, 100, 75}},
        {"wuffs-peacock.s-weird.jpeg", {kDecode, 100, 75}},
        {"wuffs-peacock.s-very-weird.jpeg", {kDecode, 100, 75}},
        {"wuffs-hippopotamus-sof-dht-swap.jpeg", {kDecode, 36, 28}},
        {"jdec-multiple-0xff-before-eoi.jpg", {kDecode, 640, 480}},
        {"jdec-16bit-qtables.jpg", {kDecode, 1, 1}},
        // Optional features.
        {"ljt-testimgari.jpg", {kDecodeOrRefuse, 227, 149}},
        {"ljt-testorig12.jpg", {kDecodeOrRefuse, 227, 149}},
        {"ljt-monkey12.jpg", {kDecodeOrRefuse, 149, 227}},
        {"jdec-jpeg_lossless_sel1.jpg", {kDecodeOrRefuse, 256, 256}},
        // Harmless violations that a lenient reader like libjpeg accepts.
        {"jdec-extraneous-data.jpg", {kDecode, 16, 16}},
        {"wuffs-hippopotamus-bad-comment-length.jpeg", {kDecode, 36, 28}},
        {"jdec-progressive-missing-ac.jpg", {kDecode, 8, 8}},
        {"jdec-progressive-missing-dc.jpg", {kDecode, 8, 8}},
        {"jdec-partial_progressive.jpg", {kDecode, 4, 4}},
        {"jdec-subtract-with-overflow.jpg", {kDecodeOrRefuse, 546, 340}},
        {"jdec-dc-predictor-overflow.jpg", {kDecodeOrRefuse, 144, 144}},
        // Truncated (a partial picture is fine) and broken.
        {"wuffs-peacock.default.truncated.jpeg", {kDecodeOrRefuse, 100, 75}},
        {"wuffs-peacock.progressive.truncated.jpeg", {kDecodeOrRefuse, 100, 75}},
        {"jdec-empty.jpg", {kRefuse, 0, 0}},
        {"jdec-missing-frame-image-1410.jpg", {kRefuse, 0, 0}},
        {"jdec-missing-sof.jpg", {kRefuse, 0, 0}},
        {"jdec-missing-sos.jpg", {kRefuse, 0, 0}},
        {"jdec-null_height.jpg", {kRefuse, 0, 0}},
        {"jdec-invalid-dimensions.jpg", {kRefuse, 0, 0}},
        {"jdec-max_size.jpg", {kRefuse, 0, 0}},
        {"jdec-derive-huffman-codes-overflow.jpg", {kRefuse, 0, 0}},
        {"jdec-invalid-prediction-shift.jpg", {kRefuse, 0, 0}},
    };
    namespace fs = std::filesystem;
    int seen = 0;
    for (const fs::directory_entry& file : fs::recursive_directory_iterator(TestDataPath("jpeg"))) {
        const std::string extension = file.path().extension().string();
        if (!file.is_regular_file() || (extension != ".jpg" && extension != ".jpeg")) {
            continue;
        }
        const std::string name = file.path().filename().string();
        const bool crashFind = file.path().parent_path().filename() == "crashes";
        const auto listed = table.find(name);
        if (!crashFind && listed == table.end()) {
            ADD_FAILURE() << name << " is not in the table";
            continue;
        }
        ++seen;
        std::unique_ptr<JpegCodec> codec = OpenJpegFile(file.path().string());
        const DecodedJpeg decoded = DecodeAll(*codec, 65535, 65535);
        if (crashFind) {
            continue;  // anything but a crash, a hang or a sanitizer report
        }
        const Entry& entry = listed->second;
        const bool decodedAll = decoded.headerRead && decoded.rowsRead == decoded.height;
        if (entry.expect == kDecode) {
            EXPECT_TRUE(decodedAll) << name;
        }
        if (entry.expect == kRefuse) {
            EXPECT_FALSE(decoded.headerRead && decoded.started) << name;
        }
        if (decoded.headerRead && entry.expect != kRefuse) {
            EXPECT_EQ(decoded.width, entry.width) << name;
            EXPECT_EQ(decoded.height, entry.height) << name;
        }
    }
    EXPECT_GE(seen, static_cast<int>(table.size()));
}
