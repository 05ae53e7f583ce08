// The EXIF block of a JPEG through libexif, and the eight turns of a
// picture.
//
// libexif's ExifLoader walks the JPEG's marker segments itself and stops at
// the first segment that is neither an APP segment nor a table, so only the
// head of a large photo is read. The block it collects is parsed by
// exif_data_load_data, which checks every offset against the block's length.
#include "image/Exif.h"

#include <climits>
#include <cstddef>
#include <memory>

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>
#include <libexif/exif-utils.h>

namespace {

struct LoaderRelease {
    void operator()(ExifLoader* loader) const { exif_loader_unref(loader); }
};
struct DataRelease {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
using LoaderHandle = std::unique_ptr<ExifLoader, LoaderRelease>;
using DataHandle = std::unique_ptr<ExifData, DataRelease>;

// The orientation tag of the first IFD, when it holds one value of 1 .. 8
// as the format says (SHORT; LONG is taken too, as some writers use it).
PictureOrientation OrientationOf(ExifData* data) {
    ExifContent* first = data->ifd[EXIF_IFD_0];
    ExifEntry* entry =
        first != nullptr ? exif_content_get_entry(first, EXIF_TAG_ORIENTATION) : nullptr;
    if (entry == nullptr || entry->data == nullptr || entry->components < 1) {
        return ORIENTATION_NORMAL;
    }
    const ExifByteOrder order = exif_data_get_byte_order(data);
    uint32_t value = 0;
    if (entry->format == EXIF_FORMAT_SHORT && entry->size >= 2) {
        value = exif_get_short(entry->data, order);
    } else if (entry->format == EXIF_FORMAT_LONG && entry->size >= 4) {
        value = exif_get_long(entry->data, order);
    }
    if (value < ORIENTATION_NORMAL || value > ORIENTATION_TURNED_270) {
        return ORIENTATION_NORMAL;
    }
    return static_cast<PictureOrientation>(value);
}

// Parses the block the loader collected. libexif's option to bring the
// block in line with the EXIF standard is turned off: it would add the tags
// the standard calls mandatory, with made-up values, and drop others; only
// what the file holds is wanted here.
ExifInfo ParseCollectedBlock(ExifLoader* loader, bool withThumbnail) {
    ExifInfo info;
    const unsigned char* block = nullptr;
    unsigned int size = 0;
    exif_loader_get_buf(loader, &block, &size);
    if (block == nullptr || size == 0) {
        return info;
    }
    const DataHandle data(exif_data_new());
    if (!data) {
        return info;
    }
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), block, size);
    info.orientation = OrientationOf(data.get());
    // libexif keeps the thumbnail only when its offset and length lie inside
    // the block.
    if (withThumbnail && data->data != nullptr && data->size > 0) {
        info.thumbnail.assign(data->data, data->data + data->size);
    }
    return info;
}

// Where a shown pixel comes from: for the shown picture's column x and row
// y (0 = top), the stored column is x0 + dxx * x + dxy * y and the stored row
// y0 + dyx * x + dyy * y.
struct TurnMapping {
    int32_t x0, dxx, dxy;
    int32_t y0, dyx, dyy;
};

TurnMapping MappingOf(PictureOrientation orientation, int32_t width, int32_t height) {
    const int32_t right = width - 1;
    const int32_t bottom = height - 1;
    switch (orientation) {
        case ORIENTATION_MIRRORED:
            return {right, -1, 0, 0, 0, 1};
        case ORIENTATION_TURNED_180:
            return {right, -1, 0, bottom, 0, -1};
        case ORIENTATION_FLIPPED:
            return {0, 1, 0, bottom, 0, -1};
        case ORIENTATION_TRANSPOSED:
            return {0, 0, 1, 0, 1, 0};
        case ORIENTATION_TURNED_90:
            return {0, 0, 1, bottom, -1, 0};
        case ORIENTATION_TRANSVERSED:
            return {right, 0, -1, bottom, -1, 0};
        case ORIENTATION_TURNED_270:
            return {right, 0, -1, 0, 1, 0};
        case ORIENTATION_NORMAL:
        default:
            return {0, 1, 0, 0, 0, 1};
    }
}

}  // namespace

bool OrientationSwapsSides(PictureOrientation orientation) {
    return orientation >= ORIENTATION_TRANSPOSED && orientation <= ORIENTATION_TURNED_270;
}

ExifInfo ReadJpegExif(const std::string& path, bool withThumbnail) {
    const LoaderHandle loader(exif_loader_new());
    if (!loader) {
        return {};
    }
    exif_loader_write_file(loader.get(), path.c_str());
    return ParseCollectedBlock(loader.get(), withThumbnail);
}

ExifInfo ReadJpegExifMemory(const uint8_t* data, size_t size, bool withThumbnail) {
    const LoaderHandle loader(exif_loader_new());
    if (!loader || data == nullptr || size == 0) {
        return {};
    }
    // The loader copies what it keeps and never writes to the bytes it is
    // given; its parameter is merely not declared const.
    const unsigned int length = size > UINT_MAX ? UINT_MAX : static_cast<unsigned int>(size);
    exif_loader_write(loader.get(), const_cast<unsigned char*>(data), length);
    return ParseCollectedBlock(loader.get(), withThumbnail);
}

DibBlock OrientPicture(const DibImage& picture, PictureOrientation orientation) {
    const int32_t width = picture.header.biWidth;
    const int32_t height = picture.header.biHeight;
    if (picture.header.biBitCount != 24 || !DibSizeValid(width, height) ||
        orientation < ORIENTATION_NORMAL || orientation > ORIENTATION_TURNED_270) {
        return nullptr;
    }
    const bool swaps = OrientationSwapsSides(orientation);
    const int32_t shownWidth = swaps ? height : width;
    const int32_t shownHeight = swaps ? width : height;
    DibBlock shown = DibCreate(shownWidth, shownHeight, 24);
    if (!shown) {
        return nullptr;
    }
    const TurnMapping map = MappingOf(orientation, width, height);
    const uint8_t* source = DibPixels(&picture);
    const ptrdiff_t sourceStride = DibRowStride(width, 24);
    uint8_t* target = DibPixels(shown.get());
    const size_t targetStride = static_cast<size_t>(DibRowStride(shownWidth, 24));
    // Rows lie bottom-up: stored row r (0 = top) is memory row height-1-r,
    // so one row further down is one stride back.
    const ptrdiff_t step = map.dxx * 3 - map.dyx * sourceStride;
    for (int32_t y = 0; y < shownHeight; ++y) {
        const int32_t firstX = map.x0 + map.dxy * y;
        const int32_t firstY = map.y0 + map.dyy * y;
        ptrdiff_t at = (height - 1 - firstY) * sourceStride + firstX * 3;
        uint8_t* to = target + static_cast<size_t>(shownHeight - 1 - y) * targetStride;
        for (int32_t x = 0; x < shownWidth; ++x, at += step, to += 3) {
            to[0] = source[at];
            to[1] = source[at + 1];
            to[2] = source[at + 2];
        }
    }
    return shown;
}
