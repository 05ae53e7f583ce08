// The scan filter against libjpeg's decode of the whole file: a progressive
// picture decoded by the codec at 1/8 (where the filter leaves AC scans out)
// must come out byte for byte as libjpeg's ordinary decode of every byte,
// block smoothing left at its default. Files the plan refuses must come out
// the same way too, since the codec then decodes them as they are.
#include "image/JpegScanFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "PictureTestFiles.h"
#include "image/DibImage.h"
#include "image/JpegCodec.h"
#include "support/TestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Gradients, 16-pixel tiles and hashed noise: plenty of AC energy in every
// component, so that a scan applied to the wrong place shows.
uint32_t Texture(int x, int y) {
    uint32_t h = static_cast<uint32_t>(x) * 73856093u ^ static_cast<uint32_t>(y) * 19349663u;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    const uint32_t tile = ((x >> 4) + (y >> 4)) & 1 ? 60u : 0u;
    return ((x * 3 + tile + (h & 63)) & 255u) << 16 | ((y * 2 + ((h >> 8) & 63)) & 255u) << 8 |
           ((x + y + tile + ((h >> 16) & 127)) & 255u);
}

// A progressive picture at quality 90, 200 x 150 unless said otherwise.
Bytes Encode(JpegTestOptions options, int width = 200, int height = 150) {
    options.quality = 90;
    options.progressive = true;
    return EncodeTestJpeg(width, height, Texture, options);
}

// A DC scan of all components, then AC 1-5 and 6-63 of each without
// successive approximation: two AC scans per component.
std::vector<jpeg_scan_info> BandsScript(int components) {
    std::vector<jpeg_scan_info> script = {{components, {0, 1, 2, 3}, 0, 0, 0, 0}};
    for (int c = 0; c < components; ++c) {
        script.push_back({1, {c}, 1, 5, 0, 0});
        script.push_back({1, {c}, 6, 63, 0, 0});
    }
    return script;
}

// One DC scan per component, then one AC scan 1-63 per component.
std::vector<jpeg_scan_info> SeparateScansScript(int components) {
    std::vector<jpeg_scan_info> script;
    for (int c = 0; c < components; ++c) {
        script.push_back({1, {c}, 0, 0, 0, 0});
    }
    for (int c = 0; c < components; ++c) {
        script.push_back({1, {c}, 1, 63, 0, 0});
    }
    return script;
}

// Equal outcome: both refused, or both decoded to the same bytes.
void ExpectSamePicture(const JpegRows& expected, const JpegRows& actual, const std::string& what) {
    ASSERT_EQ(actual.Whole(), expected.Whole()) << what;
    if (expected.Whole()) {
        EXPECT_EQ(actual.width, expected.width) << what;
        EXPECT_EQ(actual.height, expected.height) << what;
        EXPECT_TRUE(actual.pixels == expected.pixels) << what << ": pixels differ";
    }
}

// The codec asked for 1 x 1 (which it answers at 1/8 but for the tiniest
// pictures), over memory and over a file read in chunks, against the whole
// decode.
void ExpectCodecMatchesWholeDecode(const Bytes& jpeg, const std::string& what) {
    const LibjpegPicture whole = DecodeWithLibjpeg(jpeg, true);
    ExpectSamePicture(whole, DecodeWithCodec(OpenJpegMemory(jpeg.data(), jpeg.size()), 1, 1),
                      what + " (memory)");
    TempDir folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("picture.jpg"), jpeg));
    ExpectSamePicture(whole, DecodeWithCodec(OpenJpegFile(folder.File("picture.jpg")), 1, 1),
                      what + " (file)");
}

// The plan for a decode at 1/8, over memory; false when refused (or the
// header does not read).
bool PlanAtEighth(const Bytes& jpeg, JpegScanPlan* plan) {
    const std::vector<char> dcOnly = DecodeWithLibjpeg(jpeg, true).dcOnly;
    if (dcOnly.empty() || dcOnly.size() > 4) {
        return false;
    }
    bool flags[4] = {};
    std::copy(dcOnly.begin(), dcOnly.end(), flags);
    JpegInput input;
    input.data = jpeg.data();
    input.size = jpeg.size();
    return PlanJpegScanFilter(input, flags, static_cast<int>(dcOnly.size()), nullptr, plan);
}

Bytes Slice(const Bytes& bytes, size_t from, size_t to) {
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(to));
}

Bytes Joined(std::initializer_list<Bytes> parts) {
    Bytes joined;
    for (const Bytes& part : parts) {
        joined.insert(joined.end(), part.begin(), part.end());
    }
    return joined;
}

Bytes Spliced(const Bytes& jpeg, size_t at, const Bytes& inserted) {
    return Joined({Slice(jpeg, 0, at), inserted, Slice(jpeg, at, jpeg.size())});
}

// The bytes from `at` on overwritten with `values`.
Bytes Patched(Bytes jpeg, size_t at, std::initializer_list<uint8_t> values) {
    std::copy(values.begin(), values.end(), jpeg.begin() + static_cast<long>(at));
    return jpeg;
}

// A COM segment of the given payload size.
Bytes Comment(size_t payload) {
    Bytes segment = {0xFF, 0xFE, static_cast<uint8_t>((payload + 2) >> 8),
                     static_cast<uint8_t>(payload + 2)};
    segment.resize(segment.size() + payload, 'c');
    return segment;
}

// The length field of the marker segment at `at`, which counts itself.
size_t SegmentLength(const Bytes& jpeg, size_t at) {
    return static_cast<size_t>(jpeg[at + 2]) << 8 | jpeg[at + 3];
}

}  // namespace

// Every sampling layout, scan script and restart setting libjpeg writes: the
// plan leaves out the AC scans of the components decoded from DC alone
// (the chroma of 4:2:0 decodes at 2 x 2 and keeps them) and the picture is
// exactly the whole file's.
TEST(JpegScanFilter, LeavesOutUnusedScansWithoutChangingThePicture) {
    // drops: the AC scans left out; 0: any number but none.
    const auto check = [](const std::string& name, const JpegTestOptions& options, int drops,
                          int width = 200, int height = 150) {
        const Bytes jpeg = Encode(options, width, height);
        JpegScanPlan plan;
        ASSERT_TRUE(PlanAtEighth(jpeg, &plan)) << name;
        EXPECT_TRUE(drops > 0 ? plan.dropCount == drops : plan.dropCount > 0)
            << name << ": " << plan.dropCount << " scans left out";
        ExpectCodecMatchesWholeDecode(jpeg, name);
    };
    const struct {
        std::string name;
        bool grey;
        int h, v, dcOnly;  // dcOnly: components decoded from DC alone at 1/8
    } layouts[] = {{"4:4:4", false, 1, 1, 3},
                   {"4:2:2", false, 2, 1, 3},
                   {"4:2:0", false, 2, 2, 1},
                   {"4:4:0", false, 1, 2, 3},
                   {"grey", true, 1, 1, 1}};
    for (const auto& layout : layouts) {
        JpegTestOptions options;
        options.grey = layout.grey;
        options.lumaH = layout.h;
        options.lumaV = layout.v;
        // jpeg_simple_progression refines by successive approximation.
        check(layout.name + " simple", options, 0);
        options.script = BandsScript(layout.grey ? 1 : 3);
        check(layout.name + " bands", options, 2 * layout.dcOnly);
        options.script = SeparateScansScript(layout.grey ? 1 : 3);
        options.restartRows = 1;
        check(layout.name + " separate scans, restarts", options, layout.dcOnly);
    }
    // Larger than one read chunk, odd sizes, restarts in a successive
    // approximation script.
    JpegTestOptions large;
    large.lumaH = large.lumaV = 2;
    large.restartRows = 3;
    check("large 4:2:0", large, 0, 643, 487);
    large.lumaV = 1;
    check("large 4:2:2", large, 0, 643, 487);
}

// Segments the plan passes over without reading them, laid across the read
// chunks: a large comment before the frame and one between two scans (right
// where a scan left out begins) are skipped, not mistaken for scan data.
TEST(JpegScanFilter, SkipsLargeSegmentsAcrossReadChunks) {
    const Bytes jpeg = Encode({}, 320, 240);
    JpegScanPlan plan;
    ASSERT_TRUE(PlanAtEighth(jpeg, &plan));
    ASSERT_GT(plan.dropCount, 1);
    const size_t between = static_cast<size_t>(plan.drops[1].begin);
    Bytes bytes = Spliced(jpeg, between, Comment(65000));
    bytes = Spliced(bytes, between, Comment(40000));
    bytes = Spliced(bytes, 2, Comment(65533));  // right behind SOI
    JpegScanPlan spliced;
    ASSERT_TRUE(PlanAtEighth(bytes, &spliced));
    EXPECT_EQ(spliced.dropCount, plan.dropCount);
    ExpectCodecMatchesWholeDecode(bytes, "with large comments");
}

// Whatever the plan does not fully understand it refuses, and the codec
// decodes the file as it is: the same picture, the same refusal, never a
// crash. Several of these decode only with block smoothing on, which only
// the ordinary path keeps.
TEST(JpegScanFilter, RefusesWhatItDoesNotUnderstandAndDecodesAsUsual) {
    JpegTestOptions options;
    options.script = SeparateScansScript(3);  // scans: DC Y, Cb, Cr, then AC Y, Cb, Cr
    const Bytes jpeg = Encode(options);
    JpegScanPlan plan;
    ASSERT_TRUE(PlanAtEighth(jpeg, &plan));
    ASSERT_EQ(plan.dropCount, 3);
    const size_t acY = static_cast<size_t>(plan.drops[0].begin);  // SOS of the Y AC scan
    const size_t acYData = acY + 10;                              // behind its header
    const size_t acCb = static_cast<size_t>(plan.drops[1].begin);
    const size_t acCr = static_cast<size_t>(plan.drops[2].begin);
    size_t firstScan = 2;  // the SOS of the Y DC scan
    while (!(jpeg[firstScan] == 0xFF && jpeg[firstScan + 1] == 0xDA)) {
        firstScan += 2 + SegmentLength(jpeg, firstScan);
    }
    size_t acYTable = acY - 4;  // the DHT in front of the Y AC scan
    while (!(jpeg[acYTable] == 0xFF && jpeg[acYTable + 1] == 0xC4 &&
             acYTable + 2 + SegmentLength(jpeg, acYTable) == acY)) {
        --acYTable;
    }
    // The Y AC scan's table made unusable: two codes of length 1 leave no
    // room for the rest. libjpeg gives up on the scan even though it would
    // be left out.
    Bytes brokenTable = jpeg;
    const size_t oneBitCodes = acYTable + 5;
    size_t longer = oneBitCodes + 1;
    while (brokenTable[longer] < 2) {
        ++longer;
    }
    brokenTable[longer] -= 2;
    brokenTable[oneBitCodes] += 2;
    options.arithmetic = true;
    const Bytes arithmetic = Encode(options);
    options.arithmetic = false;
    options.script = {{3, {0, 1, 2}, 0, 63, 0, 0}};

    const struct {
        const char* name;
        Bytes bytes;
    } cases[] = {
        // Markers inside a scan left out.
        {"marker 01 in a dropped scan", Patched(jpeg, acYData + 20, {0xFF, 0x01})},
        {"SOF3 in a dropped scan", Patched(jpeg, acYData + 20, {0xFF, 0xC3})},
        {"garbage between segments", Spliced(jpeg, acY, {0x12, 0x34, 0x56})},
        {"DNL between scans", Spliced(jpeg, acCb, {0xFF, 0xDC, 0x00, 0x04, 0x00, 150})},
        {"RST between scans", Spliced(jpeg, acCb, {0xFF, 0xD3})},
        // Cut inside a scan left out, and inside the last scan: the ordinary
        // decode smooths what is missing.
        {"cut in the Y AC scan", Slice(jpeg, 0, acYData + 40)},
        {"cut in the Cr AC scan", Slice(jpeg, 0, jpeg.size() - 30)},
        {"a scan missing", Joined({Slice(jpeg, 0, acCr), {0xFF, 0xD9}})},
        // The Y DC scan names Y twice: Ns 2, length 6 + 2 Ns.
        {"component twice in a scan", Spliced(Patched(jpeg, firstScan + 3, {10, 2}), firstScan + 7,
                                              Slice(jpeg, firstScan + 5, firstScan + 7))},
        // The Y AC scan with its table moved before every DC scan: libjpeg
        // warns and decodes it.
        {"AC scan before its DC scan",
         Joined({Slice(jpeg, 0, firstScan), Slice(jpeg, acYTable, acCb),
                 Slice(jpeg, firstScan, acYTable), Slice(jpeg, acCb, jpeg.size())})},
        {"broken table of a dropped scan", brokenTable},
        {"missing table of a dropped scan", Patched(jpeg, acY + 6, {0x03})},  // Td 0, Ta 3
        {"refinement out of order", Patched(jpeg, acY + 9, {0x21})},          // Ah 2, Al 1
        {"arithmetic coding", arithmetic},
        {"sequential", Encode(options)},
    };
    for (const auto& test : cases) {
        ASSERT_FALSE(test.bytes.empty()) << test.name;
        JpegScanPlan refused;
        EXPECT_FALSE(PlanAtEighth(test.bytes, &refused)) << test.name;
        EXPECT_EQ(refused.dropCount, 0) << test.name;
        ExpectCodecMatchesWholeDecode(test.bytes, test.name);
    }
}

// The pictures of tests/data/jpeg: every one decodes at 1/8 as the whole
// file does; the complete progressive ones are planned, the cut and broken
// ones refused.
TEST(JpegScanFilter, CorpusDecodesAsTheWholeFile) {
    const std::pair<const char*, bool> files[] = {
        {"go-video-001.progressive.jpeg", true},
        {"go-video-001.q50.420.progressive.jpeg", true},
        {"go-video-001.separate.dc.progression.progressive.jpeg", true},
        {"ljt-testimgp.jpg", true},
        {"go-video-001.progressive.truncated.jpeg", false},
        {"wuffs-peacock.progressive.truncated.jpeg", false},
        {"jdec-partial_progressive.jpg", false},
        {"jdec-progressive-missing-ac.jpg", false},
        {"jdec-progressive-missing-dc.jpg", false},
        {"ljt-testimgari.jpg", false}};
    for (const auto& [name, planned] : files) {
        JpegScanPlan plan;
        EXPECT_EQ(PlanAtEighth(ReadWholeFile(TestDataPath(std::string("jpeg/") + name)), &plan),
                  planned)
            << name;
    }
    int compared = 0;
    for (const auto& file : std::filesystem::directory_iterator(TestDataPath("jpeg"))) {
        const std::string extension = file.path().extension().string();
        if (extension != ".jpg" && extension != ".jpeg") {
            continue;
        }
        const Bytes jpeg = ReadWholeFile(file.path().string());
        const JpegRows codec = DecodeWithCodec(OpenJpegMemory(jpeg.data(), jpeg.size()), 1, 1);
        const LibjpegPicture whole = DecodeWithLibjpeg(jpeg, true);
        // Pictures the codec refuses from their header on (too large, 12-bit)
        // never reach a scan.
        if (codec.headerRead && !whole.cmyk) {
            ExpectSamePicture(whole, codec, file.path().filename().string());
            ++compared;
        }
    }
    EXPECT_GT(compared, 40);
}

// A second header call part way through a filtered decode starts again from
// the first byte: at full size every scan is read, and at 1/8 again the
// filtered picture comes.
TEST(JpegScanFilter, RestartsAfterAFilteredDecode) {
    JpegTestOptions options;
    options.lumaH = 2;
    const Bytes jpeg = Encode(options);
    TempDir folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("picture.jpg"), jpeg));
    std::unique_ptr<JpegCodec> codec = OpenJpegFile(folder.File("picture.jpg"));
    int32_t width = 1;
    int32_t height = 1;
    std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(200, 24)));
    ASSERT_TRUE(codec->ReadHeader(&width, &height) && codec->ReadRow(row.data()));
    std::unique_ptr<JpegCodec> whole = OpenJpegMemory(jpeg.data(), jpeg.size());
    ExpectSamePicture(ReadJpegRows(*whole, 200, 150), ReadJpegRows(*codec, 200, 150), "full size");
    const LibjpegPicture eighth = DecodeWithLibjpeg(jpeg, true);
    EXPECT_EQ(width, eighth.width);
    ExpectSamePicture(eighth, ReadJpegRows(*codec, 1, 1), "at 1/8 again");
    whole->Close();
    codec->Close();
}
