// The scan filter against libjpeg's decode of the whole file: a progressive
// picture decoded by the codec at 1/8 (where the filter leaves AC scans out)
// must come out byte for byte as libjpeg's ordinary decode of every byte,
// block smoothing left at its default. Files the plan refuses must come out
// the same way too, since the codec then decodes them as they are.
#include "image/JpegScanFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "JpegTestFiles.h"
#include "image/DibImage.h"
#include "image/JpegCodec.h"
#include "support/TestSupport.h"

namespace {

struct ErrorJump {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorJump*>(cinfo->err)->jump, 1);
}

// Counts warnings as libjpeg's own emit_message does (the decoder reads the
// count), without printing them.
void Quiet(j_common_ptr cinfo, int level) {
    if (level < 0) {
        cinfo->err->num_warnings++;
    }
}

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
std::vector<uint8_t> Encode(JpegTestOptions options, int width = 200, int height = 150) {
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

struct Picture {
    bool cmyk = false;  // not compared: the codec converts it on its own
    bool decoded = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgr;  // top row first, no padding
    std::vector<char> dcOnly;  // per component: decoded from DC alone at 1/8
};

bool GuardedWholeDecode(jpeg_decompress_struct* cinfo, ErrorJump* error, Picture* picture) {
    if (setjmp(error->jump) != 0 || jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    cinfo->scale_num = 1;
    cinfo->scale_denom = 8;
    jpeg_calc_output_dimensions(cinfo);
    for (int i = 0; i < cinfo->num_components; ++i) {
#if JPEG_LIB_VERSION >= 70
        picture->dcOnly.push_back(cinfo->comp_info[i].DCT_h_scaled_size == 1 &&
                                  cinfo->comp_info[i].DCT_v_scaled_size == 1);
#else
        picture->dcOnly.push_back(cinfo->comp_info[i].DCT_scaled_size == 1);
#endif
    }
    picture->cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    cinfo->out_color_space = picture->cmyk ? JCS_CMYK : JCS_EXT_BGR;
    // The scale the codec takes for a 1 x 1 request: the largest eighth that
    // fits, 1/8 when none does.
    for (unsigned int eighths = 8; eighths >= 1; --eighths) {
        cinfo->scale_num = eighths;
        jpeg_calc_output_dimensions(cinfo);
        if (cinfo->output_width <= 1 && cinfo->output_height <= 1) {
            break;
        }
    }
    jpeg_start_decompress(cinfo);
    const int channels = cinfo->output_components;
    picture->width = static_cast<int>(cinfo->output_width);
    picture->height = static_cast<int>(cinfo->output_height);
    picture->bgr.resize(static_cast<size_t>(picture->width) * picture->height * channels);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW rows[1] = {picture->bgr.data() + static_cast<size_t>(cinfo->output_scanline) *
                                                      picture->width * channels};
        jpeg_read_scanlines(cinfo, rows, 1);
    }
    return true;
}

// libjpeg's ordinary decode of every byte at 1/8 (or the largest eighth that
// makes a picture of one pixel), with its default block smoothing: what the
// picture looks like without the filter.
Picture DecodeWhole(const std::vector<uint8_t>& jpeg) {
    Picture picture;
    if (jpeg.empty()) {
        return picture;
    }
    jpeg_decompress_struct cinfo;
    ErrorJump error;
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = JumpBack;
    error.pub.emit_message = Quiet;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    picture.decoded = GuardedWholeDecode(&cinfo, &error, &picture);
    jpeg_destroy_decompress(&cinfo);
    return picture;
}

// The codec asked for width x height: every row it then reports.
Picture ReadAt(JpegCodec& codec, int32_t width, int32_t height) {
    Picture picture;
    if (codec.ReadHeader(&width, &height) && codec.StartRows()) {
        picture.width = width;
        picture.height = height;
        std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(width, 24)));
        picture.decoded = true;
        for (int32_t y = 0; y < height; ++y) {
            picture.decoded = codec.ReadRow(row.data()) && picture.decoded;
            picture.bgr.insert(picture.bgr.end(), row.begin(), row.begin() + width * 3);
        }
    }
    return picture;
}

// The codec asked for 1 x 1, which it answers at 1/8 but for the tiniest
// pictures.
Picture DecodeWithCodec(std::unique_ptr<JpegCodec> codec) {
    const Picture picture = codec ? ReadAt(*codec, 1, 1) : Picture();
    if (codec) {
        codec->Close();
    }
    return picture;
}

// Equal outcome: both refused, or both decoded to the same bytes.
void ExpectSamePicture(const Picture& expected, const Picture& actual, const std::string& what) {
    ASSERT_EQ(actual.decoded, expected.decoded) << what;
    if (expected.decoded) {
        EXPECT_EQ(actual.width, expected.width) << what;
        EXPECT_EQ(actual.height, expected.height) << what;
        EXPECT_TRUE(actual.bgr == expected.bgr) << what << ": pixels differ";
    }
}

// The codec over memory and over a file (read in chunks) against the whole
// decode.
void ExpectCodecMatchesWholeDecode(const std::vector<uint8_t>& jpeg, const std::string& what) {
    const Picture whole = DecodeWhole(jpeg);
    ExpectSamePicture(whole, DecodeWithCodec(OpenJpegMemory(jpeg.data(), jpeg.size())),
                      what + " (memory)");
    TempDir folder;
    const std::string path = folder.File("picture.jpg");
    ASSERT_TRUE(WriteWholeFile(path, jpeg));
    ExpectSamePicture(whole, DecodeWithCodec(OpenJpegFile(path)), what + " (file)");
}

// The plan for a decode at 1/8, over memory; false when refused (or the
// header does not read).
bool PlanAtEighth(const std::vector<uint8_t>& jpeg, JpegScanPlan* plan) {
    const std::vector<char> dcOnly = DecodeWhole(jpeg).dcOnly;
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

std::vector<uint8_t> Spliced(const std::vector<uint8_t>& jpeg, size_t at,
                             const std::vector<uint8_t>& inserted) {
    std::vector<uint8_t> bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(at));
    bytes.insert(bytes.end(), inserted.begin(), inserted.end());
    bytes.insert(bytes.end(), jpeg.begin() + static_cast<long>(at), jpeg.end());
    return bytes;
}

// A COM segment of the given payload size.
std::vector<uint8_t> Comment(size_t payload) {
    std::vector<uint8_t> segment = {0xFF, 0xFE, static_cast<uint8_t>((payload + 2) >> 8),
                                    static_cast<uint8_t>(payload + 2)};
    segment.resize(segment.size() + payload, 'c');
    return segment;
}

}  // namespace

// Every sampling layout, scan script and restart setting libjpeg writes: the
// plan leaves out the AC scans of the components decoded from DC alone
// (the chroma of 4:2:0 decodes at 2 x 2 and keeps them) and the picture is
// exactly the whole file's.
TEST(JpegScanFilter, LeavesOutUnusedScansWithoutChangingThePicture) {
    struct Case {
        std::string name;
        JpegTestOptions options;
        int dcOnlyComponents;  // components decoded from DC alone at 1/8
        int acScansEach;       // AC scans per component; 0: any number
        int width = 200;
        int height = 150;
    };
    std::vector<Case> cases;
    const struct {
        std::string name;
        bool grey;
        int h, v, dcOnly;
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
        cases.push_back({layout.name + " simple", options, layout.dcOnly, 0});
        options.script = BandsScript(layout.grey ? 1 : 3);
        cases.push_back({layout.name + " bands", options, layout.dcOnly, 2});
        options.script = SeparateScansScript(layout.grey ? 1 : 3);
        options.restartRows = 1;
        cases.push_back({layout.name + " separate scans, restarts", options, layout.dcOnly, 1});
    }
    // Larger than one read chunk, odd sizes, restarts in a successive
    // approximation script.
    JpegTestOptions large;
    large.lumaH = large.lumaV = 2;
    large.restartRows = 3;
    cases.push_back({"large 4:2:0", large, 1, 0, 643, 487});
    large.lumaV = 1;
    cases.push_back({"large 4:2:2", large, 3, 0, 643, 487});

    for (const Case& test : cases) {
        const std::vector<uint8_t> jpeg = Encode(test.options, test.width, test.height);
        JpegScanPlan plan;
        ASSERT_TRUE(PlanAtEighth(jpeg, &plan)) << test.name;
        if (test.acScansEach > 0) {
            EXPECT_EQ(plan.dropCount, test.dcOnlyComponents * test.acScansEach) << test.name;
        } else {
            EXPECT_GT(plan.dropCount, 0) << test.name;
        }
        ExpectCodecMatchesWholeDecode(jpeg, test.name);
    }
}

// Segments the plan passes over without reading them, laid across the read
// chunks: a large comment before the frame and one between two scans (right
// where a scan left out begins) are skipped, not mistaken for scan data.
TEST(JpegScanFilter, SkipsLargeSegmentsAcrossReadChunks) {
    const std::vector<uint8_t> jpeg = Encode({}, 320, 240);
    JpegScanPlan plan;
    ASSERT_TRUE(PlanAtEighth(jpeg, &plan));
    ASSERT_GT(plan.dropCount, 1);
    const size_t between = static_cast<size_t>(plan.drops[1].begin);
    std::vector<uint8_t> bytes = Spliced(jpeg, between, Comment(65000));
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
    const std::vector<uint8_t> jpeg = Encode(options);
    JpegScanPlan plan;
    ASSERT_TRUE(PlanAtEighth(jpeg, &plan));
    ASSERT_EQ(plan.dropCount, 3);
    const size_t acY = static_cast<size_t>(plan.drops[0].begin);  // SOS of the Y AC scan
    const size_t acYData = acY + 10;                              // behind its header
    const size_t acCb = static_cast<size_t>(plan.drops[1].begin);
    const size_t acCr = static_cast<size_t>(plan.drops[2].begin);
    size_t firstScan = 2;  // the SOS of the Y DC scan
    while (!(jpeg[firstScan] == 0xFF && jpeg[firstScan + 1] == 0xDA)) {
        firstScan += 2 + (static_cast<size_t>(jpeg[firstScan + 2]) << 8 | jpeg[firstScan + 3]);
    }
    size_t acYTable = acY - 4;  // the DHT in front of the Y AC scan
    while (!(jpeg[acYTable] == 0xFF && jpeg[acYTable + 1] == 0xC4 &&
             acYTable + 2 + (static_cast<size_t>(jpeg[acYTable + 2]) << 8 | jpeg[acYTable + 3]) ==
                 acY)) {
        --acYTable;
    }

    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        std::vector<uint8_t> bytes = jpeg;  // an invalid marker code inside a scan left out
        bytes[acYData + 20] = 0xFF;
        bytes[acYData + 21] = 0x01;
        cases.push_back({"marker 01 in a dropped scan", bytes});
        bytes = jpeg;  // SOF3 inside a scan left out
        bytes[acYData + 20] = 0xFF;
        bytes[acYData + 21] = 0xC3;
        cases.push_back({"SOF3 in a dropped scan", bytes});
    }
    cases.push_back({"garbage between segments", Spliced(jpeg, acY, {0x12, 0x34, 0x56})});
    cases.push_back(
        {"DNL between scans",
         Spliced(jpeg, acCb, {0xFF, 0xDC, 0x00, 0x04, 0x00, static_cast<uint8_t>(150)})});
    cases.push_back({"RST between scans", Spliced(jpeg, acCb, {0xFF, 0xD3})});
    // Cut inside a scan left out, and inside the last scan: the ordinary
    // decode smooths what is missing.
    cases.push_back(
        {"cut in the Y AC scan", std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + acYData + 40)});
    cases.push_back({"cut in the Cr AC scan", std::vector<uint8_t>(jpeg.begin(), jpeg.end() - 30)});
    // The Cr AC scan left out altogether, EOI kept.
    {
        std::vector<uint8_t> bytes(jpeg.begin(), jpeg.begin() + static_cast<long>(acCr));
        bytes.push_back(0xFF);
        bytes.push_back(0xD9);
        cases.push_back({"a scan missing", bytes});
    }
    {
        std::vector<uint8_t> bytes = jpeg;  // the Y DC scan names Y twice
        bytes[firstScan + 4] = 2;           // Ns
        bytes[firstScan + 3] = 10;          // length 6 + 2 Ns
        const std::vector<uint8_t> twice = {bytes[firstScan + 5], bytes[firstScan + 6]};
        cases.push_back({"component twice in a scan", Spliced(bytes, firstScan + 7, twice)});
    }
    {
        // The Y AC scan, with the table in front of it, moved before every
        // DC scan: libjpeg warns and decodes it.
        std::vector<uint8_t> bytes = jpeg;
        const std::vector<uint8_t> scan(jpeg.begin() + static_cast<long>(acYTable),
                                        jpeg.begin() + static_cast<long>(acCb));
        bytes.erase(bytes.begin() + static_cast<long>(acYTable),
                    bytes.begin() + static_cast<long>(acCb));
        cases.push_back({"AC scan before its DC scan", Spliced(bytes, firstScan, scan)});
    }
    {
        // The Y AC scan's table made unusable (two codes of length 1 leave no
        // room for the rest), and the scan pointed at a table never defined:
        // libjpeg gives up on the scan even though it would be left out.
        std::vector<uint8_t> bytes = jpeg;
        int length = 2;
        while (bytes[acYTable + 4 + static_cast<size_t>(length)] < 2) {
            ++length;
        }
        bytes[acYTable + 4 + static_cast<size_t>(length)] -= 2;
        bytes[acYTable + 5] += 2;  // codes of length 1
        cases.push_back({"broken table of a dropped scan", bytes});
        bytes = jpeg;
        bytes[acY + 6] = 0x03;  // Td 0, Ta 3
        cases.push_back({"missing table of a dropped scan", bytes});
    }
    {
        std::vector<uint8_t> bytes = jpeg;      // the Y AC scan refines a bit never sent
        bytes[acY + 2 + 2 + 1 + 2 + 2] = 0x21;  // Ah 2, Al 1
        cases.push_back({"refinement out of order", bytes});
    }
    options.arithmetic = true;
    cases.push_back({"arithmetic coding", Encode(options)});
    options.arithmetic = false;
    options.script = {{3, {0, 1, 2}, 0, 63, 0, 0}};
    cases.push_back({"sequential", Encode(options)});

    for (const Case& test : cases) {
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
    const char* planned[] = {
        "go-video-001.progressive.jpeg", "go-video-001.q50.420.progressive.jpeg",
        "go-video-001.separate.dc.progression.progressive.jpeg", "ljt-testimgp.jpg"};
    const char* refused[] = {"go-video-001.progressive.truncated.jpeg",
                             "wuffs-peacock.progressive.truncated.jpeg",
                             "jdec-partial_progressive.jpg",
                             "jdec-progressive-missing-ac.jpg",
                             "jdec-progressive-missing-dc.jpg",
                             "ljt-testimgari.jpg"};
    for (const char* name : planned) {
        JpegScanPlan plan;
        EXPECT_TRUE(PlanAtEighth(ReadWholeFile(TestDataPath(std::string("jpeg/") + name)), &plan))
            << name;
    }
    for (const char* name : refused) {
        JpegScanPlan plan;
        EXPECT_FALSE(PlanAtEighth(ReadWholeFile(TestDataPath(std::string("jpeg/") + name)), &plan))
            << name;
    }
    int compared = 0;
    for (const auto& file : std::filesystem::directory_iterator(TestDataPath("jpeg"))) {
        const std::string extension = file.path().extension().string();
        if (extension != ".jpg" && extension != ".jpeg") {
            continue;
        }
        const std::vector<uint8_t> jpeg = ReadWholeFile(file.path().string());
        // Pictures the codec refuses from their header on (too large, 12-bit)
        // never reach a scan.
        int32_t width = 1;
        int32_t height = 1;
        std::unique_ptr<JpegCodec> probe = OpenJpegMemory(jpeg.data(), jpeg.size());
        const bool headerRead = probe->ReadHeader(&width, &height);
        probe->Close();
        const Picture whole = DecodeWhole(jpeg);
        if (headerRead && !whole.cmyk) {
            ExpectSamePicture(whole, DecodeWithCodec(OpenJpegMemory(jpeg.data(), jpeg.size())),
                              file.path().filename().string());
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
    const std::vector<uint8_t> jpeg = Encode(options);
    TempDir folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("picture.jpg"), jpeg));
    std::unique_ptr<JpegCodec> codec = OpenJpegFile(folder.File("picture.jpg"));
    int32_t width = 1;
    int32_t height = 1;
    std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(200, 24)));
    ASSERT_TRUE(codec->ReadHeader(&width, &height) && codec->ReadRow(row.data()));
    std::unique_ptr<JpegCodec> whole = OpenJpegMemory(jpeg.data(), jpeg.size());
    ExpectSamePicture(ReadAt(*whole, 200, 150), ReadAt(*codec, 200, 150), "full size");
    const Picture eighth = DecodeWhole(jpeg);
    EXPECT_EQ(width, eighth.width);
    ExpectSamePicture(eighth, ReadAt(*codec, 1, 1), "at 1/8 again");
    whole->Close();
    codec->Close();
}
