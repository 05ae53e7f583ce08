// Writes a DibImage as a JPEG file through libjpeg-turbo, the way its
// example.c does: an error manager whose error_exit jumps back here instead
// of ending the process.
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "image/PictureWriters.h"

namespace {

struct JpegWriteError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void JumpOnJpegError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<JpegWriteError*>(cinfo->err)->jump, 1);
}

// The core prints nothing; a warning while compressing leaves the file valid.
void IgnoreJpegMessage(j_common_ptr) {}

// Dots per inch from pels per metre, rounded (2834 gives 72); 0 when the
// header carries no usable density.
unsigned DotsPerInch(int32_t pelsPerMeter) {
    if (pelsPerMeter <= 0) {
        return 0;
    }
    const uint64_t dpi = (static_cast<uint64_t>(pelsPerMeter) * 254u + 5000u) / 10000u;
    return dpi <= 0xFFFFu ? static_cast<unsigned>(dpi) : 0u;
}

// Everything between the creation and the destruction of the compressor.
// May leave by longjmp, so it holds no object with a destructor.
void CompressPicture(jpeg_compress_struct* cinfo, const BitmapInfoHeader& header,
                     const uint8_t* pixels, int quality, bool fullChroma) {
    const bool colour = header.biBitCount == 24;
    cinfo->image_width = static_cast<JDIMENSION>(header.biWidth);
    cinfo->image_height = static_cast<JDIMENSION>(header.biHeight);
    cinfo->input_components = colour ? 3 : 1;
    cinfo->in_color_space = colour ? JCS_EXT_BGR : JCS_GRAYSCALE;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    if (colour && fullChroma) {
        // The defaults halve the chroma both ways; one sample per pixel for
        // the luminance and both colour components keeps them all.
        cinfo->comp_info[0].h_samp_factor = 1;
        cinfo->comp_info[0].v_samp_factor = 1;
    }
    const unsigned xDpi = DotsPerInch(header.biXPelsPerMeter);
    const unsigned yDpi = DotsPerInch(header.biYPelsPerMeter);
    if (xDpi != 0 && yDpi != 0) {
        cinfo->density_unit = 1;  // dots per inch
        cinfo->X_density = static_cast<UINT16>(xDpi);
        cinfo->Y_density = static_cast<UINT16>(yDpi);
    }
    jpeg_start_compress(cinfo, TRUE);

    // The encoder takes a writable row, so each row is copied into one the
    // compressor owns; it goes with the compressor on every path.
    const size_t rowBytes =
        static_cast<size_t>(header.biWidth) * static_cast<size_t>(cinfo->input_components);
    const size_t stride = static_cast<size_t>(DibRowStride(header.biWidth, header.biBitCount));
    JSAMPARRAY row = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                 static_cast<JDIMENSION>(rowBytes), 1);
    // Rows lie bottom-up in memory and a JPEG starts with the top row, so the
    // last row in memory goes first.
    while (cinfo->next_scanline < cinfo->image_height) {
        const size_t fromBottom = cinfo->image_height - 1u - cinfo->next_scanline;
        std::memcpy(row[0], pixels + fromBottom * stride, rowBytes);
        jpeg_write_scanlines(cinfo, row, 1);
    }
    jpeg_finish_compress(cinfo);
}

// Holds the setjmp; nothing here changes between setjmp and a jump back
// except the compressor itself, which is only destroyed afterwards.
bool CompressGuarded(std::FILE* file, const BitmapInfoHeader& header, const uint8_t* pixels,
                     int quality, bool fullChroma) {
    jpeg_compress_struct cinfo;
    JpegWriteError error;
    cinfo.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = JumpOnJpegError;
    error.manager.output_message = IgnoreJpegMessage;
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    // The stdio destination raises an error on a short write and on a failed
    // flush at the end, so a full disk reaches us as a jump.
    jpeg_stdio_dest(&cinfo, file);
    CompressPicture(&cinfo, header, pixels, quality, fullChroma);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace

bool WriteJpegFile(std::FILE* file, const DibImage* image, const uint8_t* pixels, int quality,
                   bool fullChroma) {
    if (file == nullptr || image == nullptr || !DibHeaderSavable(image->header)) {
        return false;
    }
    return CompressGuarded(file, image->header, pixels != nullptr ? pixels : DibPixels(image),
                           quality, fullChroma);
}
