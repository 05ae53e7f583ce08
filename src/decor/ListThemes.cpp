#include <algorithm>
#include <filesystem>
#include <system_error>

#include "decor/DecorAssets.h"

namespace {

// Characters, not bytes: a UTF-8 name counts its code points, so a theme
// named in another script gets the same room as a Latin one.
int32_t CharacterCount(const std::string& name) {
    int32_t count = 0;
    for (const char c : name) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace

bool ListThemes(const std::string& categoryFolder, std::vector<std::string>* names) {
    names->clear();
    std::error_code error;
    std::filesystem::directory_iterator entry(categoryFolder, error);
    if (error) {
        return false;
    }
    // Every eligible name first: the first ten in name order are wanted, not
    // the first ten the file system happens to deliver.
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (error) {
            break;  // keep what was read before the failure
        }
        std::error_code typeError;
        if (!entry->is_directory(typeError)) {
            continue;
        }
        std::string name = entry->path().filename().string();
        if (name.empty() || name[0] == '.' || CharacterCount(name) > kMaxThemeNameLength) {
            continue;
        }
        names->push_back(std::move(name));
    }
    std::sort(names->begin(), names->end());
    if (names->size() > static_cast<size_t>(kThemesPerKind)) {
        names->resize(kThemesPerKind);
    }
    return true;
}

int16_t CountThemes(const std::string& categoryFolder) {
    std::vector<std::string> names;
    if (!ListThemes(categoryFolder, &names)) {
        return -1;
    }
    return static_cast<int16_t>(names.size());
}

std::string ThemeName(const std::string& categoryFolder, int16_t index) {
    std::vector<std::string> names;
    if (!ListThemes(categoryFolder, &names) || index < 0 ||
        static_cast<size_t>(index) >= names.size()) {
        return std::string();
    }
    return names[index];
}
