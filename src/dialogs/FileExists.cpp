#include <sys/stat.h>

#include <filesystem>

#include "dialogs/FileNames.h"

namespace fs = std::filesystem;

bool FileExists(std::string* path, FileInfo* info) {
    if (path == nullptr || path->empty()) {
        return false;
    }
    if (*path != "/" && path->back() == '/') {
        path->pop_back();
    }
    if (*path == "/") {
        if (info != nullptr) {
            *info = FileInfo{};
            info->isDirectory = true;
            info->name = "/";
        }
        return true;
    }
    // One stat (links followed) answers both whether the entry exists and
    // what it is; its modification time is the system clock's, which the
    // filesystem library's own clock cannot portably be turned into.
    struct stat attributes {};
    if (::stat(path->c_str(), &attributes) != 0) {
        return false;
    }
    if (info != nullptr) {
        *info = FileInfo{};
        info->isDirectory = S_ISDIR(attributes.st_mode);
        if (S_ISREG(attributes.st_mode)) {
            info->size = static_cast<uint64_t>(attributes.st_size);
        }
        info->written = attributes.st_mtime;
        info->name = fs::path(*path).filename().string();
    }
    return true;
}
