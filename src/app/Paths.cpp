#include "app/Paths.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "app/Settings.h"
#include "app/Strings.h"

namespace fs = std::filesystem;

std::string ExecutablePath() {
    std::error_code error;
    const fs::path target = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return target.string();
}

std::string ProgramFolderOf(const std::string& executablePath) {
    const size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos) {
        return executablePath;
    }
    return executablePath.substr(0, slash + 1);
}

std::string ProgramBaseNameOf(const std::string& executablePath) {
    const size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    const std::string name = executablePath.substr(slash + 1);
    return name.substr(0, name.find('.'));
}

std::string AssetFolderPath(const std::string& programFolder, SettingsStore* settings) {
    return programFolder +
           GetSettingString(settings, IDS_MAIN_SECTION, IDS_ASSET_FOLDER, "FotakleFolder/");
}

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

std::string JoinPath(const std::string& folder, const std::string& name) {
    const bool folderEnds = !folder.empty() && folder.back() == '/';
    const bool nameBegins = !name.empty() && name.front() == '/';
    if (folderEnds || nameBegins) {
        return folder + name;
    }
    return folder + "/" + name;
}
