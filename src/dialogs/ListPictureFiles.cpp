// The entries of the Open browser: the picture files of one folder.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "dialogs/OpenBrowser.h"
#include "files/FilePaths.h"
#include "image/PictureType.h"

namespace fs = std::filesystem;

std::vector<BrowserEntry> ListPictureFiles(const std::string& folder) {
    std::vector<BrowserEntry> entries;
    if (folder.empty()) {
        return entries;
    }
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    // An error part-way through ends the listing with what was found.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsSupportedPicture(name)) {
            continue;
        }
        // Regular files only (links followed): a folder named like a
        // picture is not one.
        struct stat attributes {};
        if (::stat(JoinPath(folder, name).c_str(), &attributes) != 0 ||
            !S_ISREG(attributes.st_mode)) {
            continue;
        }
        BrowserEntry entry;
        entry.name = name;
        entry.size = static_cast<uint64_t>(attributes.st_size);
        entry.written = attributes.st_mtime;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const BrowserEntry& a, const BrowserEntry& b) {
        return NameOrderLess(a.name, b.name);
    });
    return entries;
}
