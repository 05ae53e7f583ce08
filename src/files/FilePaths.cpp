#include "files/FilePaths.h"

#include <sys/stat.h>

#include <cstddef>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

unsigned char FoldCase(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Negative, zero or positive as a sorts before, with or after b.
int CompareIgnoringCase(const std::string& a, const std::string& b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = FoldCase(a[i]);
        const unsigned char y = FoldCase(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool FileExists(const std::string& path, FileInfo* info) {
    if (path.empty()) {
        return false;
    }
    const std::string entry = WithoutTrailingSlash(path);
    if (entry == "/") {
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
    if (::stat(entry.c_str(), &attributes) != 0) {
        return false;
    }
    if (info != nullptr) {
        *info = FileInfo{};
        info->isDirectory = S_ISDIR(attributes.st_mode);
        if (S_ISREG(attributes.st_mode)) {
            info->size = static_cast<uint64_t>(attributes.st_size);
        }
        info->written = attributes.st_mtime;
        info->name = fs::path(entry).filename().string();
    }
    return true;
}

std::string WithoutTrailingSlash(const std::string& path) {
    if (path.size() > 1 && path.back() == '/') {
        return path.substr(0, path.size() - 1);
    }
    return path;
}

std::string WithTrailingSlash(const std::string& path) {
    if (path.empty() || path.back() == '/') {
        return path;
    }
    return path + "/";
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    const bool folderEnds = !folder.empty() && folder.back() == '/';
    const bool nameBegins = !name.empty() && name.front() == '/';
    if (folderEnds || nameBegins) {
        return folder + name;
    }
    return folder + "/" + name;
}

std::string FolderOf(const std::string& path) {
    if (path.empty()) {
        return std::string();
    }
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return "./";
    }
    return path.substr(0, slash + 1);
}

bool FileTitleFromPath(const std::string& path, std::string* title, bool keepExtension) {
    if (path.empty()) {
        if (title != nullptr) {
            title->clear();
        }
        return false;
    }
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!keepExtension) {
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos) {
            name.resize(dot);
        }
    }
    if (title != nullptr) {
        *title = name;
    }
    return true;
}

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CompareIgnoringCase(a, b) == 0;
}

bool NameOrderLess(const std::string& a, const std::string& b) {
    const int order = CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;
}
