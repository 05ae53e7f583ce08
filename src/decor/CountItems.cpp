#include <filesystem>
#include <system_error>

#include "decor/DecorAssets.h"

namespace {

constexpr char kItemExtension[] = ".adm";
constexpr size_t kItemExtensionLength = sizeof(kItemExtension) - 1;

// True for themeName + n + ".adm" with n from 1 to 99 written as "%d" would
// write it: the only names the loader ever asks for. A test of the length
// alone would also count unrelated files that happen to be as long (in
// theme Sun, "Moon.adm" or "cover.adm"), and those uncounted item numbers
// would then fail to load.
bool IsItemName(const std::string& name, const std::string& themeName) {
    const size_t prefix = themeName.size();
    if (name.size() < prefix + 1 + kItemExtensionLength ||
        name.size() > prefix + 2 + kItemExtensionLength ||
        name.compare(0, prefix, themeName) != 0 ||
        name.compare(name.size() - kItemExtensionLength, kItemExtensionLength, kItemExtension) !=
            0) {
        return false;
    }
    const size_t digitsEnd = name.size() - kItemExtensionLength;
    if (name[prefix] < '1' || name[prefix] > '9') {
        return false;  // no item 0 and no leading zero
    }
    for (size_t i = prefix + 1; i < digitsEnd; ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

int16_t CountItems(const std::string& themeFolder, const std::string& themeName) {
    if (themeName.empty()) {
        return 0;
    }
    std::error_code error;
    std::filesystem::directory_iterator entry(themeFolder, error);
    if (error) {
        return 0;
    }
    int16_t count = 0;
    for (; entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        if (error) {
            break;
        }
        std::error_code typeError;
        if (entry->is_regular_file(typeError) &&
            IsItemName(entry->path().filename().string(), themeName)) {
            ++count;  // at most 99 distinct names exist
        }
    }
    return count;
}
