#include "PictureTestFiles.h"

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "image/DibImage.h"
#include "support/TestSupport.h"

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

uint32_t JpegRows::At(int x, int y) const {
    const uint8_t* p = pixels.data() + (static_cast<size_t>(y) * width + x) * 3;
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

JpegRows ReadJpegRows(JpegCodec& codec, int32_t width, int32_t height) {
    JpegRows rows;
    rows.width = width;
    rows.height = height;
    rows.headerRead = codec.ReadHeader(&rows.width, &rows.height);
    if (rows.headerRead) {
        rows.started = codec.StartRows();
        std::vector<uint8_t> row(static_cast<size_t>(DibRowStride(rows.width, 24)));
        for (int32_t y = 0; y < rows.height; ++y) {
            rows.rowsRead += codec.ReadRow(row.data()) ? 1 : 0;
            rows.pixels.insert(rows.pixels.end(), row.begin(), row.begin() + rows.width * 3);
        }
    }
    return rows;
}

JpegRows DecodeWithCodec(std::unique_ptr<JpegCodec> codec, int32_t width, int32_t height) {
    const JpegRows rows = ReadJpegRows(*codec, width, height);
    codec->Close();
    return rows;
}

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
void CountQuietly(j_common_ptr cinfo, int level) {
    if (level < 0) {
        cinfo->err->num_warnings++;
    }
}

// No destructible object lives here, for the longjmp.
void GuardedLibjpegDecode(jpeg_decompress_struct* cinfo, ErrorJump* error, bool smallest,
                          LibjpegPicture* picture) {
    if (setjmp(error->jump) != 0 || jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return;
    }
    picture->headerRead = true;
    picture->components = cinfo->num_components;
    picture->densityUnit = cinfo->density_unit;
    picture->xDensity = cinfo->X_density;
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
    for (unsigned int eighths = 8; eighths >= 1; --eighths) {
        cinfo->scale_num = eighths;
        jpeg_calc_output_dimensions(cinfo);
        if (!smallest || (cinfo->output_width <= 1 && cinfo->output_height <= 1)) {
            break;
        }
    }
    jpeg_start_decompress(cinfo);
    picture->started = true;
    picture->width = static_cast<int32_t>(cinfo->output_width);
    picture->height = static_cast<int32_t>(cinfo->output_height);
    const size_t rowBytes = static_cast<size_t>(picture->width) * cinfo->output_components;
    picture->pixels.resize(rowBytes * picture->height);
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW rows[1] = {picture->pixels.data() + cinfo->output_scanline * rowBytes};
        picture->rowsRead += static_cast<int32_t>(jpeg_read_scanlines(cinfo, rows, 1));
    }
}

}  // namespace

LibjpegPicture DecodeWithLibjpeg(const std::vector<uint8_t>& jpeg, bool smallest) {
    LibjpegPicture picture;
    if (jpeg.empty()) {
        return picture;
    }
    jpeg_decompress_struct cinfo;
    ErrorJump error;
    cinfo.err = jpeg_std_error(&error.pub);
    error.pub.error_exit = JumpBack;
    error.pub.emit_message = CountQuietly;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    GuardedLibjpegDecode(&cinfo, &error, smallest, &picture);
    jpeg_destroy_decompress(&cinfo);
    return picture;
}

void PutLittleEndian(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

std::vector<uint8_t> BuildBmp(const BmpLayout& layout) {
    std::vector<uint8_t> info;
    PutLittleEndian(info, layout.infoSize, 4);
    const int side = layout.infoSize == 12 ? 2 : 4;  // the old OS/2 header's sides are 16 bits
    PutLittleEndian(info, static_cast<uint32_t>(layout.width), side);
    PutLittleEndian(info, static_cast<uint32_t>(layout.height), side);
    PutLittleEndian(info, 1, 2);  // planes
    PutLittleEndian(info, layout.bits, 2);
    if (layout.infoSize != 12) {
        PutLittleEndian(info, layout.compression, 4);
        info.insert(info.end(), 12, 0);  // image size, densities
        PutLittleEndian(info, layout.colorsUsed, 4);
        info.resize(std::max<size_t>(40, std::min<size_t>(layout.infoSize, 124)), 0);
    }
    for (uint32_t mask : layout.masks) {
        PutLittleEndian(info, mask, 4);
    }
    const size_t rowsAt = 14 + info.size() + layout.palette.size() + layout.gap;
    std::vector<uint8_t> file = {'B', 'M'};
    PutLittleEndian(file, rowsAt + layout.rows.size(), 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, layout.pixelOffset < 0 ? rowsAt : layout.pixelOffset, 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), layout.palette.begin(), layout.palette.end());
    file.insert(file.end(), layout.gap, 0xEE);
    file.insert(file.end(), layout.rows.begin(), layout.rows.end());
    return file;
}

std::vector<ManifestEntry> ManifestEntries(const std::string& folder) {
    std::ifstream manifest(TestDataPath("MANIFEST.md"));
    const std::regex row(R"(^\| `([^/`]+)` \| \d+ \| ([^|]+?) *\|)");
    const std::regex size(R"((\d+)x(\d+))");
    std::vector<ManifestEntry> entries;
    bool inFolder = false;
    for (std::string line; std::getline(manifest, line);) {
        if (line.rfind("## ", 0) == 0) {
            inFolder = line.rfind("## " + folder + "/", 0) == 0;
        }
        std::smatch match;
        std::smatch sizeMatch;
        if (inFolder && std::regex_search(line, match, row)) {
            ManifestEntry entry{match[1], match[2]};
            if (std::regex_search(entry.expected, sizeMatch, size)) {
                entry.width = std::stoi(sizeMatch[1]);
                entry.height = std::stoi(sizeMatch[2]);
            }
            entries.push_back(entry);
        }
    }
    return entries;
}
