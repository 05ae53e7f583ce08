#include <sys/stat.h>

#include <filesystem>
#include <system_error>

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
    std::error_code error;
    const fs::file_status status = fs::status(*path, error);
    if (error || !fs::exists(status)) {
        return false;
    }
    if (info != nullptr) {
        *info = FileInfo{};
        info->isDirectory = fs::is_directory(status);
        if (fs::is_regular_file(status)) {
            const uintmax_t size = fs::file_size(*path, error);
            info->size = error ? 0 : static_cast<uint64_t>(size);
        }
        // The modification time as the system clock counts it; the
        // filesystem library's own clock has no portable conversion in C++17.
        struct stat attributes {};
        if (::stat(path->c_str(), &attributes) == 0) {
            info->written = attributes.st_mtime;
        }
        info->name = fs::path(*path).filename().string();
    }
    return true;
}
