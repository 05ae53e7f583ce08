#include "JpegTestFiles.h"

#include <cstdlib>

std::vector<uint8_t> EncodeTestJpeg(int width, int height, const PixelFunction& pixel,
                                    const JpegTestOptions& options) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = options.grey ? 1 : 3;
    cinfo.in_color_space = options.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    if (!options.grey) {
        cinfo.comp_info[0].h_samp_factor = options.lumaH;
        cinfo.comp_info[0].v_samp_factor = options.lumaV;
    }
    cinfo.restart_in_rows = options.restartRows;
    cinfo.arith_code = options.arithmetic ? TRUE : FALSE;
    if (!options.script.empty()) {
        cinfo.scan_info = options.script.data();
        cinfo.num_scans = static_cast<int>(options.script.size());
    } else if (options.progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = pixel(x, y);
            if (options.grey) {
                row[static_cast<size_t>(x)] = static_cast<uint8_t>(colour & 0xFF);
            } else {
                row[3 * static_cast<size_t>(x)] = static_cast<uint8_t>(colour >> 16);
                row[3 * static_cast<size_t>(x) + 1] = static_cast<uint8_t>(colour >> 8);
                row[3 * static_cast<size_t>(x) + 2] = static_cast<uint8_t>(colour);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

uint32_t QuadrantColour(int x, int y, int width, int height) {
    const bool left = x < width / 2;
    const bool top = y < height / 2;
    if (top) {
        return left ? 0xFF0000u : 0x00FF00u;
    }
    return left ? 0x0000FFu : 0xC86432u;
}

bool PatchJpegSize(std::vector<uint8_t>* jpeg, uint16_t width, uint16_t height) {
    std::vector<uint8_t>& bytes = *jpeg;
    // Walk the marker segments behind SOI: marker (2 bytes), length (2).
    size_t i = 2;
    while (i + 9 < bytes.size() && bytes[i] == 0xFF) {
        const uint8_t marker = bytes[i + 1];
        if (marker >= 0xC0 && marker <= 0xC2) {
            // Then precision (1), height (2), width (2).
            bytes[i + 5] = static_cast<uint8_t>(height >> 8);
            bytes[i + 6] = static_cast<uint8_t>(height);
            bytes[i + 7] = static_cast<uint8_t>(width >> 8);
            bytes[i + 8] = static_cast<uint8_t>(width);
            return true;
        }
        i += 2 + (static_cast<size_t>(bytes[i + 2]) << 8 | bytes[i + 3]);
    }
    return false;
}
