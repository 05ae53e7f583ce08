#include "app/Paths.h"

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
