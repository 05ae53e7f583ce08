#include "support/ExifTestSupport.h"

#include <cstdlib>
#include <cstring>

#include <libexif/exif-data.h>

std::vector<uint8_t> MakeExifBlock(const ExifBlockOptions& options) {
    ExifData* data = exif_data_new();
    if (data == nullptr) {
        return {};
    }
    const ExifByteOrder order = options.motorola ? EXIF_BYTE_ORDER_MOTOROLA : EXIF_BYTE_ORDER_INTEL;
    exif_data_set_byte_order(data, order);
    if (options.orientation != 0) {
        ExifEntry* entry = exif_entry_new();
        exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
        exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
        exif_set_short(entry->data, order, static_cast<ExifShort>(options.orientation));
        exif_entry_unref(entry);
    }
    if (!options.thumbnail.empty()) {
        // libexif frees the thumbnail with the block, through free().
        data->data = static_cast<unsigned char*>(std::malloc(options.thumbnail.size()));
        std::memcpy(data->data, options.thumbnail.data(), options.thumbnail.size());
        data->size = static_cast<unsigned int>(options.thumbnail.size());
    }
    unsigned char* saved = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &saved, &size);
    std::vector<uint8_t> block(saved, saved + size);
    std::free(saved);
    exif_data_unref(data);
    return block;
}

std::vector<uint8_t> WithExifSegment(const std::vector<uint8_t>& jpeg,
                                     const std::vector<uint8_t>& block) {
    const size_t length = block.size() + 2;  // the length counts itself
    const uint8_t segment[4] = {0xFF, 0xE1, static_cast<uint8_t>(length >> 8),
                                static_cast<uint8_t>(length & 0xFF)};
    std::vector<uint8_t> out;
    out.reserve(jpeg.size() + 4 + block.size());
    out.push_back(jpeg[0]);  // SOI
    out.push_back(jpeg[1]);
    out.insert(out.end(), segment, segment + 4);
    out.insert(out.end(), block.begin(), block.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}
