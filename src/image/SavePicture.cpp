// SavePicture: writes the picture to target + ".xxx", makes it durable, and
// only then renames it over the target in one step. A crash or a failure at
// any point leaves the old target as it was.
#include "image/SavePicture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "files/FilePaths.h"
#include "image/PictureType.h"
#include "image/PictureWriters.h"

namespace {

constexpr int kJpegQuality = 90;

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

// How the file is encoded: BMP, or JPEG of a quality and chroma sampling.
struct FileEncoding {
    bool asBmp;
    int quality;
    bool fullChroma;
};

// Writes the picture into the open temporary file and closes it. True only
// when every byte reached the disk.
bool WriteAndClose(int fd, const FileEncoding& encoding, const DibImage* image,
                   const uint8_t* pixels) {
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        return false;
    }
    bool written = encoding.asBmp
                       ? WriteBmpFile(file, image, pixels)
                       : WriteJpegFile(file, image, pixels, encoding.quality, encoding.fullChroma);
    written = written && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    // fclose releases the stream even when it fails; a failed close may
    // mean lost data, so it counts.
    return std::fclose(file) == 0 && written;
}

// The whole save: temporary file, encoding, rename over the target.
int SaveThroughTemporaryFile(const std::string& targetPath, const DibImage* image,
                             const uint8_t* pixels, const FileEncoding& encoding) {
    if (targetPath.empty() || image == nullptr || !DibHeaderSavable(image->header)) {
        return 0;
    }
    const std::string temporaryPath = targetPath + ".xxx";
    const int fd = CreateTemporaryFile(temporaryPath);
    if (fd < 0) {
        return 0;
    }
    // A replaced file keeps its permission bits; a new one gets 0666 less the
    // umask. Failing to copy them is not worth losing the save over.
    struct stat old;
    if (stat(targetPath.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        fchmod(fd, old.st_mode & 0777);
    }
    // rename replaces the target atomically: readers see the old file or the
    // complete new one. A target that is a symbolic link is replaced by the
    // file, not written through; a target that is a folder makes it fail.
    if (!WriteAndClose(fd, encoding, image, pixels) ||
        std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        unlink(temporaryPath.c_str());
        return 0;
    }
    SyncFolder(FolderOf(targetPath));
    return 1;
}

}  // namespace

int SavePicture(const std::string& targetPath, const DibImage* image, const uint8_t* pixels) {
    const FileEncoding encoding = {PictureTypeFromName(targetPath) == PICTURE_BMP, kJpegQuality,
                                   false};
    return SaveThroughTemporaryFile(targetPath, image, pixels, encoding);
}

int SaveJpegPicture(const std::string& targetPath, const DibImage* image, int quality,
                    bool fullChroma) {
    if (quality < 1 || quality > 100) {
        return 0;
    }
    return SaveThroughTemporaryFile(targetPath, image, nullptr, {false, quality, fullChroma});
}
