// The file-system side of the Select Folder dialog's tree: folder paths as
// label lists, and the subfolders of a folder.
#include "dialogs/FolderTree.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "files/FilePaths.h"

namespace fs = std::filesystem;

namespace {

// Calls take(name) for each subfolder until it returns false. Folders whose
// names start with a dot are hidden by convention and left out.
template <typename Take>
void ForEachSubfolder(const std::string& folder, Take take) {
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') {
            continue;
        }
        if (it->is_directory(typeError) && !typeError) {
            if (!take(std::move(name))) {
                return;
            }
        }
    }
}

}  // namespace

std::vector<std::string> SplitFolderPath(const std::string& path) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos) {
            slash = path.size();
        }
        if (slash > start) {
            names.push_back(path.substr(start, slash - start));
        }
        start = slash + 1;
    }
    return names;
}

std::string FolderPathFromLabels(const std::vector<std::string>& labels) {
    if (labels.empty()) {
        return "/";
    }
    std::string path;
    for (const std::string& label : labels) {
        path += "/";
        path += label;
    }
    return path;
}

int FindFolderLabel(const std::vector<std::string>& labels, const std::string& name) {
    for (size_t i = 0; i < labels.size(); ++i) {
        if (EqualIgnoringCase(labels[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

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
