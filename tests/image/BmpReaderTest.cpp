#include "image/BmpReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "PictureTestFiles.h"
#include "support/TestSupport.h"

namespace {

// What a reader gave: pixels as 0xRRGGBB, bottom row first, and each
// ReadRow's result.
struct Decoded {
    bool opened = false;
    int32_t width = 0, height = 0, bits = 0;
    std::vector<uint32_t> pixels;
    std::vector<bool> rowRead;
    uint32_t At(int32_t x, int32_t rowFromBottom) const {
        return pixels[rowFromBottom * width + x];
    }
};

bool Opens(const std::vector<uint8_t>& bytes) {
    BmpReader reader;
    return reader.OpenMemory(bytes.data(), bytes.size());
}

// Reads up to maxRows rows from a reader that `out` says is open.
Decoded ReadRows(BmpReader& reader, Decoded out, int32_t maxRows = kMaxPictureSide) {
    out.width = reader.Width();
    out.height = reader.Height();
    out.bits = reader.BitsPerPixel();
    std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(out.width, 24)) + 3);
    for (int32_t y = 0; out.opened && y < out.height && y < maxRows; ++y) {
        std::memset(row.data(), 0xAB, row.size());
        out.rowRead.push_back(reader.ReadRow(row.data()));
        for (int32_t x = 0; x < out.width; ++x) {
            out.pixels.push_back(row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]);
        }
        EXPECT_EQ(row[3 * out.width], 0xAB) << "more than width pixels written, row " << y;
    }
    return out;
}

Decoded Decode(const std::vector<uint8_t>& bytes, int32_t maxRows = kMaxPictureSide) {
    BmpReader reader;
    Decoded out;
    out.opened = reader.OpenMemory(bytes.data(), bytes.size());
    return ReadRows(reader, out, maxRows);
}

// Palette entries from 0xRRGGBB colours: blue, green, red, a reserved byte.
std::vector<uint8_t> Palette(std::initializer_list<uint32_t> colors) {
    std::vector<uint8_t> out;
    for (uint32_t color : colors) {
        PutLittleEndian(out, color, 4);
    }
    return out;
}

}  // namespace

TEST(BmpReader, FourBitRowsFiveWideUseBothHalvesOfEachByte) {
    BmpLayout layout;
    layout.width = 5;
    layout.height = 2;
    layout.bits = 4;
    layout.colorsUsed = 3;
    layout.palette = Palette({0x302010, 0x605040, 0x908070});
    layout.rows = {0x01, 0x21, 0x02, 0,   // bottom row: 0 1 2 1 0, spare half-byte 2
                   0x3F, 0x00, 0x00, 0};  // top row: indices 3 and 15 lie past the table
    const Decoded got = Decode(BuildBmp(layout));
    ASSERT_TRUE(got.opened);
    EXPECT_EQ(got.bits, 4);
    EXPECT_EQ(got.pixels, (std::vector<uint32_t>{0x302010, 0x605040, 0x908070, 0x605040, 0x302010,
                                                 0, 0, 0x302010, 0x302010, 0x302010}));
    EXPECT_EQ(got.rowRead, (std::vector<bool>{true, true}));
}

TEST(BmpReader, RowsStartAtThePixelOffsetOnlyWhenItIsSound) {
    BmpLayout layout;
    layout.bits = 8;
    layout.colorsUsed = 2;
    layout.palette = Palette({0x111111, 0x222222});
    layout.rows = {1, 0, 0, 0};
    layout.gap = 8;  // rows lie 8 bytes past the table, as the offset says
    EXPECT_EQ(Decode(BuildBmp(layout)).pixels, (std::vector<uint32_t>{0x222222}));
    // An offset into the table or past the end: the rows follow the table,
    // which here holds the gap (index 0xEE, past the table: black).
    for (int64_t offset : {0, 58, 71, 1 << 20}) {
        layout.pixelOffset = offset;
        EXPECT_EQ(Decode(BuildBmp(layout)).pixels, (std::vector<uint32_t>{0})) << offset;
    }
    // 32767 rows of 131068 bytes after offset 262140 wrap a 32-bit sum to 0,
    // which would "fit"; in 64 bits they do not, so the rows follow the table.
    layout = BmpLayout();
    layout.width = kMaxPictureSide;
    layout.height = kMaxPictureSide;
    layout.bits = 32;
    layout.pixelOffset = 262140;
    layout.rows = {0x56, 0x34, 0x12, 0};
    const Decoded got = Decode(BuildBmp(layout), 1);
    ASSERT_TRUE(got.opened);
    EXPECT_EQ(got.At(0, 0), 0x123456u);
    EXPECT_EQ(got.At(1, 0), 0u);
    EXPECT_FALSE(got.rowRead[0]);
}

TEST(BmpReader, ShortFileGivesBlackForWhatIsMissing) {
    BmpLayout layout;
    layout.width = 2;
    layout.height = 3;
    layout.bits = 8;
    layout.palette = Palette({0x111111, 0x222222});
    layout.colorsUsed = 2;
    layout.rows = {1, 1, 0, 0, 1};  // a whole bottom row, then one pixel
    Decoded got = Decode(BuildBmp(layout));
    ASSERT_TRUE(got.opened);
    EXPECT_EQ(got.pixels, (std::vector<uint32_t>{0x222222, 0x222222, 0x222222, 0, 0, 0}));
    EXPECT_EQ(got.rowRead, (std::vector<bool>{true, false, false}));
    // Only the last row's padding missing: the picture is whole.
    layout.height = 2;
    layout.rows = {1, 1, 0, 0, 1, 1};
    EXPECT_EQ(Decode(BuildBmp(layout)).rowRead, (std::vector<bool>{true, true}));
    // A colour table cut short is refused.
    std::vector<uint8_t> file = BuildBmp(layout);
    file.resize(14 + 40 + 5);
    EXPECT_FALSE(Decode(file).opened);
}

TEST(BmpReader, RefusesHostileSizesAndUnsupportedLayouts) {
    auto opens = [](const std::function<void(BmpLayout&)>& change) {
        BmpLayout layout;
        change(layout);
        return Opens(BuildBmp(layout));
    };
    EXPECT_TRUE(opens([](BmpLayout& s) { s.width = s.height = kMaxPictureSide; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.width = kMaxPictureSide + 1; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.height = -kMaxPictureSide - 1; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.width = 0; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.width = -1; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.height = 0; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.height = INT_MIN; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.width = s.height = 40000, s.infoSize = 12; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 0; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 64; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 30000; }));
    for (uint32_t size : {16u, 52u, 56u, 66u, 108u, 124u, 0xFFFFFFFFu}) {
        EXPECT_FALSE(opens([size](BmpLayout& s) { s.infoSize = size; })) << size;
    }
    // RLE 8 and 4, JPEG, PNG, alpha bit fields; bit fields below 16 bits;
    // 3 and 4 in a 64-byte header are Huffman and RLE24 there.
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 8, s.compression = 1; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 4, s.compression = 2; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.compression = 4; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.compression = 5; }));
    EXPECT_FALSE(opens([](BmpLayout& s) {
        s.bits = 32, s.compression = 6, s.masks = {1, 2, 4, 8};
    }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 8, s.compression = 3, s.masks = {1, 2, 4}; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.bits = 1, s.compression = 3, s.infoSize = 64; }));
    EXPECT_FALSE(opens([](BmpLayout& s) { s.compression = 4, s.infoSize = 64; }));

    std::vector<uint8_t> file = BuildBmp(BmpLayout());
    for (size_t size : {0, 1, 13, 14, 20}) {
        EXPECT_FALSE(Opens(std::vector<uint8_t>(file.begin(), file.begin() + size))) << size;
    }
    file[1] = 'A';
    EXPECT_FALSE(Opens(file));
    BmpReader reader;
    uint8_t row[4] = {7, 7, 7, 7};
    EXPECT_FALSE(reader.OpenMemory(nullptr, 0));
    EXPECT_FALSE(reader.Open("/nonexistent/picture.bmp"));
    EXPECT_FALSE(reader.ReadRow(row));
    EXPECT_EQ(row[0], 7);
    // A refused file leaves no picture behind, also after a good one.
    const std::vector<uint8_t> good = BuildBmp(BmpLayout());
    ASSERT_TRUE(reader.OpenMemory(good.data(), good.size()));
    EXPECT_EQ(reader.Width(), 1);
    EXPECT_FALSE(reader.OpenMemory(file.data(), file.size()));
    EXPECT_EQ(reader.Width(), 0);
    EXPECT_EQ(reader.Height(), 0);
    EXPECT_FALSE(reader.ReadRow(row));
}

namespace {

// A binary PPM (P6, maxval 255) as 0xRRGGBB pixels, top row first.
bool ReadPpm(const std::string& path, int32_t* width, int32_t* height,
             std::vector<uint32_t>* pixels) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> *width >> *height >> maxval;
    in.get();
    std::vector<uint8_t> bytes(static_cast<size_t>(*width) * *height * 3);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
        pixels->push_back(bytes[i] << 16 | bytes[i + 1] << 8 | bytes[i + 2]);
    }
    return in && magic == "P6" && maxval == 255;
}

void WritePpm(const std::string& path, const Decoded& picture) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << picture.width << " " << picture.height << "\n255\n";
    for (int32_t y = picture.height - 1; y >= 0; --y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.At(x, y);
            const char rgb[3] = {char(p >> 16), char(p >> 8), char(p)};
            out.write(rgb, 3);
        }
    }
}

}  // namespace

TEST(BmpReader, SuiteFilesDecodeAsReferencedOrAreRefused) {
    // file -> outcome and tolerance, from the checked-in table.
    const std::string root = TestDataPath("bmpsuite");
    std::map<std::string, std::pair<std::string, int>> expected;
    std::ifstream table(root + "/ref/expected.txt");
    for (std::string line; std::getline(table, line);) {
        std::istringstream fields(line);
        std::string file, outcome;
        int tolerance = 0;
        if (line[0] != '#' && fields >> file >> outcome) {
            fields >> tolerance;
            expected[file] = {outcome, tolerance};
        }
    }
    BmpReader reader;  // one reader for every file: each Open starts afresh
    size_t files = 0;
    for (const char* folder : {"g", "q", "b", "x"}) {
        for (const auto& entry : std::filesystem::directory_iterator(root + "/" + folder)) {
            const std::string name = std::string(folder) + "/" + entry.path().filename().string();
            SCOPED_TRACE(name);
            ++files;
            ASSERT_EQ(expected.count(name), 1u) << "no expectation for this file";
            const auto& [outcome, tolerance] = expected[name];
            Decoded got;
            got.opened = reader.Open(entry.path().string());
            got = ReadRows(reader, got);
            ASSERT_EQ(got.opened, outcome != "refused");
            if (outcome == "refused" || outcome == "decoded") {
                continue;
            }
            int32_t width = 0, height = 0;
            std::vector<uint32_t> reference;
            ASSERT_TRUE(ReadPpm(root + "/ref/" + outcome + ".ppm", &width, &height, &reference));
            ASSERT_EQ(got.width, width);
            ASSERT_EQ(got.height, height);
            int wrong = 0;  // channel values further off than the tolerance
            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x < width; ++x) {
                    const uint32_t a = got.At(x, height - 1 - y), b = reference[y * width + x];
                    for (int shift : {0, 8, 16}) {
                        wrong +=
                            std::abs(int(a >> shift & 255) - int(b >> shift & 255)) > tolerance;
                    }
                }
            }
            if (wrong != 0) {
                const std::string actual =
                    ::testing::TempDir() + "/" + entry.path().stem().string() + "-actual.ppm";
                WritePpm(actual, got);
                ADD_FAILURE() << wrong << " channel values differ; decoded picture in " << actual;
            }
        }
    }
    EXPECT_EQ(files, expected.size());

    // The short file gives its first rows and black after them.
    const Decoded shortFile = Decode(ReadWholeFile(root + "/b/shortfile.bmp"));
    ASSERT_TRUE(shortFile.opened);
    EXPECT_TRUE(shortFile.rowRead.front());
    EXPECT_FALSE(shortFile.rowRead.back());
    EXPECT_EQ(shortFile.At(0, shortFile.height - 1), 0u);
}

// Rows that lie wholly past the end of the file are reported as one black
// run, at the end of a bottom-up file and at the start of a top-down one
// (which stores its bottom rows last). Reading with the runs skipped gives
// the picture reading every row gives, and reads only the rows the file
// holds.
TEST(BmpReader, RowsPastTheEndOfTheFileAreOneBlackRun) {
    struct Case {
        int32_t height;
        size_t rowBytes;  // of pixel data in the file, rows of 8 bytes
        int32_t rowsRead;
    } cases[] = {
        {40, 8 * 3, 3}, {40, 8 * 3 + 5, 4}, {40, 0, 0}, {5, 8 * 5, 5}, {1, 2, 1},
    };
    for (const Case& c : cases) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(std::to_string(c.height) + (topDown ? " top-down" : " bottom-up"));
            BmpLayout layout;
            layout.width = 2;
            layout.height = topDown ? -c.height : c.height;
            for (size_t i = 0; i < c.rowBytes; ++i) {
                layout.rows.push_back(static_cast<uint8_t>(i % 8 < 6 ? 0x40 + i : 0));
            }
            const std::vector<uint8_t> file = BuildBmp(layout);
            const Decoded everyRow = Decode(file);
            ASSERT_TRUE(everyRow.opened);

            BmpReader reader;
            ASSERT_TRUE(reader.OpenMemory(file.data(), file.size()));
            std::vector<uint32_t> pixels;
            int32_t reads = 0;
            std::vector<uint8_t> row(DibRowStride(2, 24));
            for (int32_t y = 0; y < c.height;) {
                uint8_t bgr[3] = {1, 2, 3};
                const int32_t run = reader.UniformRowsAhead(bgr);
                ASSERT_LE(run, c.height - y);
                if (run > 0) {
                    EXPECT_EQ(bgr[0] | bgr[1] | bgr[2], 0);
                    // Only whole missing rows: the next stored row starts
                    // at or past the end of the file.
                    pixels.insert(pixels.end(), 2 * static_cast<size_t>(run), 0u);
                    reader.SkipRows(run);
                    y += run;
                    continue;
                }
                reader.ReadRow(row.data());
                ++reads;
                ++y;
                for (int x = 0; x < 2; ++x) {
                    pixels.push_back(row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x]);
                }
            }
            EXPECT_EQ(pixels, everyRow.pixels);
            EXPECT_EQ(reads, c.rowsRead);
            uint8_t bgr[3];
            EXPECT_EQ(reader.UniformRowsAhead(bgr), 0) << "past the last row";
        }
    }
}

// A colours-used count declares a table: it is refused when that table could
// not lie inside the file, whatever the depth, and a longer table than the
// depth indexes is fine while the file holds it (its first entries serve).
TEST(BmpReader, ColoursUsedMustFitInTheFile) {
    struct Case {
        uint16_t bits;
        uint32_t colorsUsed;
        size_t paletteEntries;  // written to the file
        bool opens;
    } cases[] = {
        {8, 300, 300, true},  {8, 305402420, 256, false}, {8, 300, 256, false},
        {24, 300, 300, true}, {24, 1u << 24, 0, false},   {1, 0xFFFFFFFF, 2, false},
        {4, 16, 16, true},    {32, 2, 2, true},
    };
    for (const Case& c : cases) {
        BmpLayout layout;
        layout.bits = c.bits;
        layout.colorsUsed = c.colorsUsed;
        for (size_t i = 0; i < c.paletteEntries; ++i) {
            PutLittleEndian(layout.palette, 0x010101u * (i % 256), 4);
        }
        layout.rows = {0, 0, 0, 0};
        EXPECT_EQ(Opens(BuildBmp(layout)), c.opens) << c.bits << " bits, " << c.colorsUsed;
    }
}
