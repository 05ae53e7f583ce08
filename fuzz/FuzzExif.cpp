// Feeds arbitrary bytes through the EXIF path as the APP1 segment of a
// minimal JPEG: libexif's loader and parser, the orientation, the embedded
// thumbnail's checks, decode, turn and fit, and the main picture turned as
// the block says. The seeds (fuzz/corpus/exif) are APP1 payloads written by
// libexif, whole and cut short, and one made by hand.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "dialogs/OpenBrowser.h"
#include "image/Exif.h"
#include "image/JpegCodec.h"
#include "image/LoadPicture.h"

namespace {

// One APP1 segment holds at most this many bytes behind its length.
constexpr size_t kMaxSegmentPayload = 65533;

// A 24 x 16 JPEG made once with libjpeg, whose bytes after the SOI marker
// follow the segment.
const std::vector<uint8_t>& MinimalJpeg() {
    static const std::vector<uint8_t> bytes = [] {
        jpeg_compress_struct cinfo;
        jpeg_error_mgr error;
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_compress(&cinfo);
        unsigned char* buffer = nullptr;
        unsigned long size = 0;
        jpeg_mem_dest(&cinfo, &buffer, &size);
        cinfo.image_width = 24;
        cinfo.image_height = 16;
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);
        jpeg_start_compress(&cinfo, TRUE);
        std::vector<uint8_t> row(24 * 3);
        while (cinfo.next_scanline < cinfo.image_height) {
            for (size_t i = 0; i < row.size(); ++i) {
                row[i] = static_cast<uint8_t>(i * 10 + cinfo.next_scanline * 15);
            }
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        std::vector<uint8_t> made(buffer, buffer + size);
        std::free(buffer);
        return made;
    }();
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t>& jpeg = MinimalJpeg();
    const size_t payload = std::min(size, kMaxSegmentPayload);
    std::vector<uint8_t> file = {0xFF,
                                 0xD8,
                                 0xFF,
                                 0xE1,
                                 static_cast<uint8_t>((payload + 2) >> 8),
                                 static_cast<uint8_t>((payload + 2) & 0xFF)};
    file.insert(file.end(), data, data + payload);
    file.insert(file.end(), jpeg.begin() + 2, jpeg.end());

    const ExifInfo exif = ReadJpegExifMemory(file.data(), file.size(), true);
    ThumbnailFromExif(exif);
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(file.data(), file.size());
    if (codec) {
        DecodeJpegPicture(*codec, {kCanvasWidth, kCanvasHeight, LOAD_PHOTO}, exif.orientation);
    }
    return 0;
}
