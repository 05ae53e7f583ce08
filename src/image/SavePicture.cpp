// SavePicture: writes the picture to a temporary file in the target's
// folder, makes it durable, and only then renames it over the target in one
// step. A crash or a failure at any point leaves the old target as it was.
//
// The temporary file is an unnamed one (O_TMPFILE) that gets a hidden name
// only once it is complete, just before the rename; where the file system
// offers no unnamed files, a hidden file under a fresh random name. Either
// way nothing of the user's can be at that name, and a crash leaves at most
// one hidden file, which the next save of the same target recognises and
// removes.
//
// The two writers work on an open stdio stream: the BMP writer puts the
// 14-byte BITMAPFILEHEADER in front of the block as it lies in memory
// (https://learn.microsoft.com/en-us/windows/win32/api/wingdi/ns-wingdi-bitmapfileheader);
// the JPEG writer goes through libjpeg-turbo the way its example.c does, with
// an error manager whose error_exit jumps back here instead of ending the
// process. The PNG writer works on the same stream; it lives with the PNG
// reader (PngFile.h).
#include "image/SavePicture.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

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

// Writes the picture into the open file and closes the stream (the caller's
// descriptor stays open: the stream works on a duplicate). Ok only when every
// byte reached the disk; otherwise the errno of the first call that failed,
// 0 when the encoder gave up without a failing call.
SaveResult WriteAndSync(int fd, PictureType type, const DibImage& image,
                        const SaveOptions& options) {
    const int duplicate = fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (duplicate < 0) {
        return Refused(SAVE_CANNOT_WRITE, errno);
    }
    std::FILE* file = fdopen(duplicate, "wb");
    if (file == nullptr) {
        const int fdopenError = errno;
        close(duplicate);
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

// The longest file name the folders the program writes to accept.
constexpr size_t kMaxNameBytes = 255;
// How many symbolic links a save follows to its file.
constexpr int kMaxLinks = 40;
// Temporary names end in this marker and six random letters or digits.
constexpr char kTemporaryMarker[] = ".fotakle-";
constexpr size_t kTemporaryMarkerBytes = sizeof kTemporaryMarker - 1;
constexpr size_t kRandomLetters = 6;
// Attempts at a name nobody holds before giving up.
constexpr int kNameAttempts = 100;

// The hidden temporary names of a target: "." + the target's name + the
// marker + six random letters, the name shortened (on a character boundary)
// so that the whole fits in one file name. This returns the part before the
// random letters.
std::string TemporaryPrefix(const std::string& name) {
    size_t keep = std::min(name.size(), kMaxNameBytes - 1 - kTemporaryMarkerBytes - kRandomLetters);
    // Never cut a UTF-8 character in two.
    while (keep > 0 && keep < name.size() && (static_cast<uint8_t>(name[keep]) & 0xC0) == 0x80) {
        --keep;
    }
    return "." + name.substr(0, keep) + kTemporaryMarker;
}

// True for a name made by TemporaryPrefix(name) plus six random letters.
bool IsTemporaryName(const std::string& entry, const std::string& prefix) {
    if (entry.size() != prefix.size() + kRandomLetters || entry.compare(0, prefix.size(), prefix)) {
        return false;
    }
    for (size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) {
            return false;
        }
    }
    return true;
}

// The prefix plus six letters that are hard to guess.
std::string RandomTemporaryName(const std::string& prefix) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    uint8_t random[kRandomLetters];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        // Without the kernel's generator the clock and the process still
        // differ between attempts; O_EXCL keeps a clash harmless.
        const uint64_t seed =
            static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
            (static_cast<uint64_t>(getpid()) << 32);
        for (size_t i = 0; i < sizeof random; ++i) {
            random[i] = static_cast<uint8_t>(seed >> (8 * i));
        }
    }
    std::string name = prefix;
    for (uint8_t value : random) {
        name += kLetters[value % (sizeof kLetters - 1)];
    }
    return name;
}

// An open folder, closed when it goes.
struct FolderHandle {
    int fd = -1;
    ~FolderHandle() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

// Removes what earlier saves of this name left behind when they were killed
// between writing their temporary file and renaming it: names of this
// target's temporary pattern holding a regular file of this user with no
// other link, which no running save holds locked (a save locks its file from
// creation to rename, and the lock goes with the process). Anything else is
// left alone.
void RemoveLeftovers(int folder, const std::string& prefix) {
    const int listing = fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (listing < 0) {
        return;
    }
    DIR* entries = fdopendir(listing);
    if (entries == nullptr) {
        close(listing);
        return;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = readdir(entries)) {
        if (IsTemporaryName(entry->d_name, prefix)) {
            candidates.emplace_back(entry->d_name);
        }
    }
    closedir(entries);
    for (const std::string& name : candidates) {
        // A leftover has the permission bits of the file it was to replace,
        // which need not allow reading.
        int fd = openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0 && errno == EACCES) {
            fd = openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        }
        if (fd < 0) {
            continue;
        }
        struct stat opened;
        struct stat named;
        if (fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == geteuid() &&
            opened.st_nlink == 1 && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
            unlinkat(folder, name.c_str(), 0);
        }
        close(fd);
    }
}

// Follows the symbolic links from path to the file they end at, which need
// not exist yet (a dangling link's target is created). A relative link is
// read from its own folder. False with errno when a link cannot be read or
// the chain is longer than kMaxLinks.
bool ResolveLinks(const std::string& path, std::string* resolved) {
    std::string current = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat info;
        if (lstat(current.c_str(), &info) != 0) {
            if (errno != ENOENT) {
                return false;
            }
            *resolved = current;
            return true;
        }
        if (!S_ISLNK(info.st_mode)) {
            *resolved = current;
            return true;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(current.c_str(), &target[0], target.size());
        if (length < 0) {
            return false;
        }
        if (static_cast<size_t>(length) >= target.size()) {
            errno = ENAMETOOLONG;
            return false;
        }
        target.resize(static_cast<size_t>(length));
        current = !target.empty() && target[0] == '/' ? target : FolderOf(current) + target;
    }
    errno = ELOOP;
    return false;
}

// A replaced file keeps its permission bits; a new one gets 0666 less the
// umask. Failing to copy them is not worth losing the save over.
void KeepPermissions(int folder, const std::string& name, int fd) {
    struct stat old;
    if (fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 0777);
    }
}

// Puts the written temporary file, named `temporary`, in place of `name`:
// rename replaces the target atomically, so readers see the old file or the
// complete new one, and a target that is a folder makes it fail. Then makes
// the rename itself durable (best effort: some file systems refuse fsync on
// a folder). The temporary name is gone either way.
SaveResult RenameIntoPlace(int folder, const std::string& temporary, const std::string& name) {
    if (renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
        const int renameError = errno;
        unlinkat(folder, temporary.c_str(), 0);
        return Refused(SAVE_CANNOT_WRITE, renameError);
    }
    fsync(folder);
    return Saved();
}

// Gives the written unnamed file a hidden name nobody holds. The /proc path
// needs no privilege; AT_EMPTY_PATH serves where /proc is not mounted.
bool LinkUnnamedFile(int fd, int folder, const std::string& prefix, std::string* temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *temporary = RandomTemporaryName(prefix);
        if (linkat(AT_FDCWD, self.c_str(), folder, temporary->c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            (errno == ENOENT && linkat(fd, "", folder, temporary->c_str(), AT_EMPTY_PATH) == 0)) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

// Creates a hidden temporary file under a fresh name (never through a
// symbolic link, never over anything), locked until it is renamed.
int CreateHiddenFile(int folder, const std::string& prefix, std::string* temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *temporary = RandomTemporaryName(prefix);
        const int fd = openat(folder, temporary->c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return -1;
        }
        // Between the create and the lock a cleaner could take the file for
        // a leftover; it is then gone (no link), and another name is tried.
        struct stat info;
        if (flock(fd, LOCK_EX) == 0 && fstat(fd, &info) == 0 && info.st_nlink > 0) {
            return fd;
        }
        close(fd);
    }
    errno = EEXIST;
    return -1;
}

// The error of an O_TMPFILE open that means the folder's file system (or the
// kernel) does not offer unnamed files, so a named hidden file must do.
bool UnnamedFilesUnsupported(int error) {
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
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
    std::string path;
    if (!ResolveLinks(targetPath, &path)) {
        return Refused(SAVE_CANNOT_WRITE, errno);
    }
    const std::string name = path.substr(FolderOf(path).size());
    if (name.empty()) {
        return Refused(SAVE_CANNOT_WRITE, EISDIR);
    }
    FolderHandle folder;
    folder.fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder.fd < 0) {
        return Refused(SAVE_CANNOT_WRITE, errno);
    }
    const std::string prefix = TemporaryPrefix(name);
    RemoveLeftovers(folder.fd, prefix);

    // An unnamed file in the target's folder has no name to collide with
    // and vanishes with a crash; it is locked at once, so that from the
    // moment it is linked under a hidden name until the rename no other
    // save takes it for a leftover. Where unnamed files are not offered, a
    // hidden file under a fresh name does, locked the same way.
    std::string temporary;
    int fd = openat(folder.fd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    const bool unnamed = fd >= 0;
    if (unnamed) {
        flock(fd, LOCK_EX);
    } else if (UnnamedFilesUnsupported(errno)) {
        fd = CreateHiddenFile(folder.fd, prefix, &temporary);
    }
    if (fd < 0) {
        return Refused(SAVE_CANNOT_WRITE, errno);
    }
    KeepPermissions(folder.fd, name, fd);
    SaveResult result = WriteAndSync(fd, type, image, options);
    if (result.Ok() && unnamed && !LinkUnnamedFile(fd, folder.fd, prefix, &temporary)) {
        result = Refused(SAVE_CANNOT_WRITE, errno);
    }
    if (result.Ok()) {
        result = RenameIntoPlace(folder.fd, temporary, name);
    } else if (!unnamed) {
        unlinkat(folder.fd, temporary.c_str(), 0);
    }
    close(fd);  // the lock goes with it
    return result;
}
