// Folder paths as label lists, for the Select Folder dialog's tree.
#include "dialogs/FolderTree.h"
#include "files/FilePaths.h"

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
