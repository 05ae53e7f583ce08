// EXIF orientation and embedded thumbnails: a tagged JPEG loads as the same
// picture turned by hand, in every form the loader makes; damaged blocks are
// ignored; the block is read alike from a file and from memory.
#include "image/Exif.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "PictureTestFiles.h"
#include "image/LoadPicture.h"
#include "support/ExifTestSupport.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace {

// Where the stored picture's first row and first column are shown, for each
// orientation tag, in the words of the EXIF standard (tag 274): "the 0th row
// is at the visual top / bottom / left / right, the 0th column at the visual
// left / right / top / bottom".
enum Side { TOP, BOTTOM, LEFT, RIGHT };
struct TagMeaning {
    Side row0;
    Side column0;
};
const TagMeaning kMeaning[9] = {
    {TOP, LEFT},  // unused
    {TOP, LEFT}, {TOP, RIGHT}, {BOTTOM, RIGHT}, {BOTTOM, LEFT},
    {LEFT, TOP}, {RIGHT, TOP}, {RIGHT, BOTTOM}, {LEFT, BOTTOM},
};

// The stored pixel (x, y) of a width x height picture, shown under the tag,
// lands at *shownX, *shownY.
void ShowPixel(int tag, int width, int height, int x, int y, int* shownX, int* shownY) {
    const TagMeaning meaning = kMeaning[tag];
    if (meaning.row0 == TOP || meaning.row0 == BOTTOM) {
        *shownY = meaning.row0 == TOP ? y : height - 1 - y;
        *shownX = meaning.column0 == LEFT ? x : width - 1 - x;
    } else {
        *shownX = meaning.row0 == LEFT ? y : height - 1 - y;
        *shownY = meaning.column0 == TOP ? x : width - 1 - x;
    }
}

// The stored picture turned as the tag says, as a pixel function of the
// shown picture.
PixelFunction Shown(int tag, int width, int height, const PixelFunction& stored) {
    const bool swaps = tag >= 5;
    const int shownWidth = swaps ? height : width;
    auto pixels = std::make_shared<std::vector<uint32_t>>(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int sx = 0;
            int sy = 0;
            ShowPixel(tag, width, height, x, y, &sx, &sy);
            (*pixels)[static_cast<size_t>(sy) * shownWidth + sx] = stored(x, y);
        }
    }
    return [pixels, shownWidth](int x, int y) {
        return (*pixels)[static_cast<size_t>(y) * shownWidth + x];
    };
}

// Flat 16 x 16 blocks, each its own colour: a JPEG decodes a flat block to
// the same pixels wherever it stands, at every DCT scale.
uint32_t BlockColour(int x, int y) {
    const uint32_t bx = static_cast<uint32_t>(x / 16);
    const uint32_t by = static_cast<uint32_t>(y / 16);
    return ((40 * bx + 20) & 0xFF) << 16 | ((60 * by + 30) & 0xFF) << 8 |
           ((bx * 7 + by * 13) * 9 & 0xFF);
}

// Gradients with grain.
uint32_t PhotoColour(int x, int y) {
    const uint32_t ux = static_cast<uint32_t>(x);
    const uint32_t uy = static_cast<uint32_t>(y);
    const uint32_t grain = (ux * 73856093u ^ uy * 19349663u) % 23;
    return ((ux * 2 + grain) & 0xFF) << 16 | ((uy * 3 + 40) & 0xFF) << 8 |
           ((ux + uy + grain * 3) & 0xFF);
}

// "" when the two loads made pictures of the same form and size whose bytes
// differ by at most tolerance, else what differs.
std::string CompareBytes(const DibImage* expected, const DibImage* actual, int tolerance) {
    if (expected == nullptr || actual == nullptr) {
        return "a load failed";
    }
    const BitmapInfoHeader& a = expected->header;
    const BitmapInfoHeader& b = actual->header;
    if (a.biWidth != b.biWidth || a.biHeight != b.biHeight || a.biBitCount != b.biBitCount) {
        return "made " + std::to_string(b.biWidth) + " x " + std::to_string(b.biHeight) + " x " +
               std::to_string(b.biBitCount) + ", expected " + std::to_string(a.biWidth) + " x " +
               std::to_string(a.biHeight) + " x " + std::to_string(a.biBitCount);
    }
    const size_t bytes = DibBlockBytes(a);
    const uint8_t* p = reinterpret_cast<const uint8_t*>(expected);
    const uint8_t* q = reinterpret_cast<const uint8_t*>(actual);
    for (size_t i = kDibHeaderBytes; i < bytes; ++i) {
        if (std::abs(p[i] - q[i]) > tolerance) {
            return "byte " + std::to_string(i) + " is " + std::to_string(q[i]) + ", expected " +
                   std::to_string(p[i]);
        }
    }
    return "";
}

// "" when every form the loader makes of the file at path (at its decode
// size, a thumbnail, a mask, a small thumbnail, a photo into the canvas) is
// that form of the file at expectedPath, bytes at most tolerance apart.
std::string CompareEveryForm(const std::string& expectedPath, const std::string& path,
                             int tolerance) {
    const LoadRequest requests[] = {{0, 0, LOAD_PHOTO},
                                    {36, 36, LOAD_THUMBNAIL},
                                    {kCanvasWidth, kCanvasHeight, LOAD_MASK},
                                    {44, 45, LOAD_SMALL_THUMBNAIL}};
    for (const LoadRequest& request : requests) {
        const std::string difference =
            CompareBytes(LoadPicture(expectedPath, request).picture.get(),
                         LoadPicture(path, request).picture.get(), tolerance);
        if (!difference.empty()) {
            return "purpose " + std::to_string(request.purpose) + ": " + difference;
        }
    }
    DibBlock expected = FilledCanvas(0);
    DibBlock actual = FilledCanvas(0);
    if (!LoadPictureInto(expectedPath, *expected, {}).Ok() ||
        !LoadPictureInto(path, *actual, {}).Ok()) {
        return "a load into the canvas failed";
    }
    const std::string difference = CompareBytes(expected.get(), actual.get(), tolerance);
    return difference.empty() ? "" : "into the canvas: " + difference;
}

// A hand-made block: orientation 6 in Intel order, then what each damage
// changes.
const std::vector<uint8_t> kTurnedBlock = {
    'E',  'x',  'i', 'f', 0, 0,        // APP1 identifier
    'I',  'I',  42,  0,   8, 0, 0, 0,  // TIFF header: Intel, magic 42, IFD0 at 8
    1,    0,                           // IFD0: one entry
    0x12, 0x01, 3,   0,   1, 0, 0, 0,  // tag 274 (Orientation), SHORT, 1 value
    6,    0,    0,   0,                // the value 6, padded
    0,    0,    0,   0,                // no next IFD
};
constexpr size_t kMagic = 8;
constexpr size_t kFirstIfd = 10;
constexpr size_t kFormat = 18;
constexpr size_t kCount = 20;
constexpr size_t kValue = 24;

// The JPEG with an EXIF segment behind its JFIF segment (as some editors
// write them) rather than ahead of it.
std::vector<uint8_t> BehindJfif(const std::vector<uint8_t>& jpeg,
                                const std::vector<uint8_t>& block) {
    // SOI, then APP0: marker (2 bytes) and a length that counts itself.
    const size_t jfifEnd = 4 + (static_cast<size_t>(jpeg[4]) << 8 | jpeg[5]);
    const std::vector<uint8_t> withSegment = WithExifSegment(jpeg, block);
    const size_t segment = withSegment.size() - jpeg.size();
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + static_cast<ptrdiff_t>(jfifEnd));
    out.insert(out.end(), withSegment.begin() + 2,
               withSegment.begin() + 2 + static_cast<ptrdiff_t>(segment));
    out.insert(out.end(), jpeg.begin() + static_cast<ptrdiff_t>(jfifEnd), jpeg.end());
    return out;
}

}  // namespace

TEST(Exif, EveryOrientationLoadsAsThePictureTurnedByHand) {
    TempDir dir;
    // Wider than a photo's decode box, so that the decoder reduces it, and a
    // swapped picture needs the box swapped to be reduced alike.
    const int width = 480;
    const int height = 320;
    const std::vector<uint8_t> stored = EncodeTestJpeg(width, height, BlockColour);
    for (int tag = 1; tag <= 8; ++tag) {
        SCOPED_TRACE("orientation " + std::to_string(tag));
        const bool motorola = tag % 2 == 0;
        const std::string tagged = dir.File("tagged" + std::to_string(tag) + ".jpg");
        const std::string turned = dir.File("turned" + std::to_string(tag) + ".jpg");
        ASSERT_TRUE(
            WriteWholeFile(tagged, WithExifSegment(stored, MakeExifBlock({tag, motorola, {}}))));
        const bool swaps = tag >= 5;
        ASSERT_TRUE(
            WriteWholeFile(turned, EncodeTestJpeg(swaps ? height : width, swaps ? width : height,
                                                  Shown(tag, width, height, BlockColour))));
        EXPECT_EQ(ReadJpegExif(tagged, false).orientation, tag);
        EXPECT_EQ(CompareEveryForm(turned, tagged, 1), "");
    }
}

TEST(Exif, DamagedBlocksAreIgnoredAndTheFileLoadsAsWithoutThem) {
    TempDir dir;
    const std::vector<uint8_t> plain = EncodeTestJpeg(48, 32, PhotoColour);
    const std::string plainPath = dir.File("plain.jpg");
    ASSERT_TRUE(WriteWholeFile(plainPath, plain));

    // The undamaged block turns the picture: the damages below are what
    // stops it.
    ASSERT_TRUE(WriteWholeFile(dir.File("good.jpg"), WithExifSegment(plain, kTurnedBlock)));
    EXPECT_EQ(ReadJpegExif(dir.File("good.jpg"), false).orientation, ORIENTATION_TURNED_90);

    struct Damage {
        const char* what;
        std::function<void(std::vector<uint8_t>*)> apply;
    };
    const Damage damages[] = {
        {"value 9", [](std::vector<uint8_t>* b) { (*b)[kValue] = 9; }},
        {"value 0", [](std::vector<uint8_t>* b) { (*b)[kValue] = 0; }},
        {"value in the other byte order",
         [](std::vector<uint8_t>* b) {
             (*b)[kValue] = 0;
             (*b)[kValue + 1] = 6;
         }},
        {"ASCII format", [](std::vector<uint8_t>* b) { (*b)[kFormat] = 2; }},
        {"no values", [](std::vector<uint8_t>* b) { (*b)[kCount] = 0; }},
        {"IFD0 past the end", [](std::vector<uint8_t>* b) { (*b)[kFirstIfd] = 0xF0; }},
        {"wrong TIFF magic", [](std::vector<uint8_t>* b) { (*b)[kMagic] = 43; }},
        {"cut inside the entry", [](std::vector<uint8_t>* b) { b->resize(kValue); }},
        {"no TIFF header", [](std::vector<uint8_t>* b) { b->resize(6); }},
        {"not EXIF", [](std::vector<uint8_t>* b) { (*b)[0] = 'X'; }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<uint8_t> block = kTurnedBlock;
        damage.apply(&block);
        const std::string path = dir.File("damaged.jpg");
        ASSERT_TRUE(WriteWholeFile(path, WithExifSegment(plain, block)));
        const ExifInfo exif = ReadJpegExif(path, true);
        EXPECT_EQ(exif.orientation, ORIENTATION_NORMAL);
        EXPECT_TRUE(exif.thumbnail.empty());
        EXPECT_EQ(CompareEveryForm(plainPath, path, 0), "");
    }
}

TEST(Exif, ThumbnailAndOrientationReadAlikeFromAFileAndFromMemory) {
    TempDir dir;
    const std::vector<uint8_t> thumbnail = EncodeTestJpeg(40, 30, BlockColour);
    const std::vector<uint8_t> photo = EncodeTestJpeg(64, 48, PhotoColour);
    struct Case {
        std::vector<uint8_t> file;
        int orientation;
        std::vector<uint8_t> thumbnail;
    };
    const auto cutShort = [](std::vector<uint8_t> block) {
        block.resize(block.size() - 10);
        return block;
    };
    const Case cases[] = {
        {photo, 1, {}},
        {WithExifSegment(photo, MakeExifBlock({8, true, thumbnail})), 8, thumbnail},
        {WithExifSegment(photo, MakeExifBlock({3, false, thumbnail})), 3, thumbnail},
        {WithExifSegment(photo, MakeExifBlock({0, false, thumbnail})), 1, thumbnail},
        // A thumbnail whose offset and length reach past the block.
        {WithExifSegment(photo, cutShort(MakeExifBlock({5, false, thumbnail}))), 5, {}},
        {BehindJfif(photo, MakeExifBlock({6, true, thumbnail})), 6, thumbnail},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const std::string path = dir.File("case.jpg");
        ASSERT_TRUE(WriteWholeFile(path, cases[i].file));
        const ExifInfo fromFile = ReadJpegExif(path, true);
        const ExifInfo fromMemory =
            ReadJpegExifMemory(cases[i].file.data(), cases[i].file.size(), true);
        EXPECT_EQ(fromFile.orientation, cases[i].orientation);
        EXPECT_EQ(fromFile.thumbnail, cases[i].thumbnail);
        EXPECT_EQ(fromMemory.orientation, cases[i].orientation);
        EXPECT_EQ(fromMemory.thumbnail, cases[i].thumbnail);
        EXPECT_TRUE(ReadJpegExif(path, false).thumbnail.empty());
    }
    EXPECT_EQ(ReadJpegExif(dir.File("missing.jpg"), true).orientation, ORIENTATION_NORMAL);
    EXPECT_EQ(ReadJpegExifMemory(nullptr, 0, true).orientation, ORIENTATION_NORMAL);
}

TEST(Exif, OrientPictureRefusesWhatItCannotTurn) {
    const DibBlock colour = MakePatternImage(3, 2);
    const DibBlock turned = OrientPicture(*colour, ORIENTATION_TURNED_270);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->header.biWidth, 2);
    EXPECT_EQ(turned->header.biHeight, 3);
    const DibBlock mask = DibCreate(3, 2, 8);
    EXPECT_FALSE(OrientPicture(*mask, ORIENTATION_NORMAL));
    EXPECT_FALSE(OrientPicture(*colour, static_cast<PictureOrientation>(9)));
    EXPECT_FALSE(OrientPicture(*colour, static_cast<PictureOrientation>(0)));
}
