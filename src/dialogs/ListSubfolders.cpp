// The subfolders of a folder, for the Select Folder dialog's tree.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "dialogs/FolderTree.h"
#include "files/FilePaths.h"

namespace fs = std::filesystem;

namespace {

// Calls take(name) for each subfolder until it returns false.
template <typename Take>
void ForEachSubfolder(const std::string& folder, Take take) {
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && !typeError) {
            if (!take(it->path().filename().string())) {
                return;
            }
        }
    }
}

}  // namespace

std::vector<std::string> ListSubfolders(const std::string& folder) {
    std::vector<std::string> names;
    ForEachSubfolder(folder, [&](std::string name) {
        names.push_back(std::move(name));
        return true;
    });
    std::sort(names.begin(), names.end(), NameOrderLess);
    return names;
}

bool HasSubfolders(const std::string& folder) {
    bool found = false;
    ForEachSubfolder(folder, [&](const std::string&) {
        found = true;
        return false;
    });
    return found;
}
