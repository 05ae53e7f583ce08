// SavePicture: writes the picture to target + ".xxx", makes it durable, and
// only then renames it over the target in one step. A crash or a failure at
// any point leaves the old target as it was.
//
// The two writers work on an open stdio stream: the BMP writer puts the
// 14-byte BITMAPFILEHEADER in front of the block as it lies in memory
// (https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader);
// the JPEG writer goes through libjpeg-turbo the way its example.c does, with
// an error manager whose error_exit jumps back here instead of ending the
// process. The PNG writer works on the same stream; it lives with the PNG
// reader (PngFile.h).
#include "image/SavePicture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "files/FilePaths.h"
#include "image/PictureType.h"
#include "image/PngFile.h"

namespace {

// True for the headers the writers accept: a 40-byte header, uncompressed,
// both sides 1 .. kMaxPictureSide (rows bottom-up) and a depth of 8 or 24.
bool DibHeaderSavable(const BitmapInfoHeader& header) {
    return header.biSize == static_cast<uint32_t>(kDibHeaderBytes) && header.biCompression == 0 &&
           DibSizeValid(header.biWidth, header.biHeight) &&
           (header.biBitCount == 8 || header.biBitCount == 24);
}

constexpr size_t kFileHeaderBytes = 14;

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value & 0xFFFFu);
    PutU16(at + 2, value >> 16);
}

bool WriteBytes(std::FILE* file, const void* bytes, size_t count) {
    return std::fwrite(bytes, 1, count, file) == count;
}

// The file header, then the block's header, palette and rows as they lie in
// memory. False on a short write.
bool WriteBmpFile(std::FILE* file, const DibImage& image) {
    const BitmapInfoHeader& header = image.header;
    // The largest picture (32767 x 32767 x 24) stays below 4 GiB, so the
    // total fits bfSize.
    const size_t headBytes =
        static_cast<size_t>(kDibHeaderBytes) + static_cast<size_t>(DibPaletteBytes(header));
    const size_t rowBytes = static_cast<size_t>(DibRowStride(header.biWidth, header.biBitCount)) *
                            static_cast<size_t>(header.biHeight);
    const uint64_t fileBytes = kFileHeaderBytes + headBytes + rowBytes;

    uint8_t fileHeader[kFileHeaderBytes] = {'B', 'M'};
    PutU32(fileHeader + 2, static_cast<uint32_t>(fileBytes));  // bfSize
    PutU32(fileHeader + 6, 0);                                 // bfReserved1, bfReserved2
    PutU32(fileHeader + 10, static_cast<uint32_t>(kFileHeaderBytes + headBytes));  // bfOffBits
    return WriteBytes(file, fileHeader, sizeof fileHeader) &&
           WriteBytes(file, &image, headBytes + rowBytes);
}

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

// A baseline JFIF file of the given quality (1 .. 100). False when the
// encoder gives up, a short write or a failed flush included.
bool WriteJpegFile(std::FILE* file, const DibImage& image, int quality, bool fullChroma) {
    return CompressGuarded(file, image.header, DibPixels(&image), quality, fullChroma);
}

// Makes the rename itself durable. Best effort: the new file is already in
// place, and some file systems refuse fsync on a folder.
void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Creates the temporary file afresh. A stale file (or link) of that name from
// an earlier attempt is removed first; O_EXCL then refuses anything planted
// at the name in between, so a symbolic link there is never followed.
int CreateTemporaryFile(const std::string& path) {
    unlink(path.c_str());
    return open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
}

SaveResult Saved() {
    SaveResult result;
    result.error = SAVE_OK;
    return result;
}

SaveResult Refused(SaveError error, int systemError) {
    SaveResult result;
    result.error = error;
    result.systemError = systemError;
    return result;
}

// Writes the picture into the open temporary file and closes it. Ok only
// when every byte reached the disk; otherwise the errno of the first call
// that failed, 0 when the encoder gave up without a failing call.
SaveResult WriteAndClose(int fd, PictureType type, const DibImage& image,
                         const SaveOptions& options) {
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int fdopenError = errno;
        close(fd);
        return Refused(SAVE_CANNOT_WRITE, fdopenError);
    }
    // The stream's error flag tells a failed write from an encoder that gave
    // up on its own; errno then still holds what the write ran into.
    int firstError = 0;
    bool written = type == PICTURE_BMP ? WriteBmpFile(file, image)
                   : type == PICTURE_PNG
                       ? WritePngFile(file, image)
                       : WriteJpegFile(file, image, options.jpegQuality, options.fullChroma);
    if (!written && std::ferror(file)) {
        firstError = errno;
    }
    if (written && (std::fflush(file) != 0 || fsync(fileno(file)) != 0)) {
        written = false;
        firstError = errno;
    }
    // fclose releases the stream even when it fails; a failed close may
    // mean lost data, so it counts.
    if (std::fclose(file) != 0 && written) {
        written = false;
        firstError = errno;
    }
    return written ? Saved() : Refused(SAVE_CANNOT_WRITE, firstError);
}

}  // namespace

SaveResult SavePicture(const std::string& targetPath, const DibImage& image,
                       const SaveOptions& options) {
    if (!DibHeaderSavable(image.header)) {
        return Refused(SAVE_UNSUPPORTED_PICTURE, 0);
    }
    if (options.jpegQuality < 1 || options.jpegQuality > 100) {
        return Refused(SAVE_BAD_OPTIONS, 0);
    }
    if (targetPath.empty()) {
        return Refused(SAVE_CANNOT_WRITE, 0);
    }
    const PictureType type = PictureTypeFromName(targetPath);
    const std::string temporaryPath = targetPath + ".xxx";
    const int fd = CreateTemporaryFile(temporaryPath);
    if (fd < 0) {
        return Refused(SAVE_CANNOT_WRITE, errno);
    }
    // A replaced file keeps its permission bits; a new one gets 0666 less the
    // umask. Failing to copy them is not worth losing the save over.
    struct stat old;
    if (stat(targetPath.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 0777);
    }
    SaveResult result = WriteAndClose(fd, type, image, options);
    // rename replaces the target atomically: readers see the old file or the
    // complete new one. A target that is a symbolic link is replaced by the
    // file, not written through; a target that is a folder makes it fail.
    if (result.Ok() && std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        result = Refused(SAVE_CANNOT_WRITE, errno);
    }
    if (!result.Ok()) {
        unlink(temporaryPath.c_str());
        return result;
    }
    SyncFolder(FolderOf(targetPath));
    return result;
}
