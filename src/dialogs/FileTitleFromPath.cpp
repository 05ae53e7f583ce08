#include "dialogs/FileNames.h"

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
