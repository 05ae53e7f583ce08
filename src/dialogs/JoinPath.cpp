#include "dialogs/FileNames.h"

std::string JoinPath(const std::string& folder, const std::string& name) {
    const bool folderEnds = !folder.empty() && folder.back() == '/';
    const bool nameBegins = !name.empty() && name.front() == '/';
    if (folderEnds || nameBegins) {
        return folder + name;
    }
    return folder + "/" + name;
}
