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
    const std::string relative =
        GetSettingString(settings, IDS_MAIN_SECTION, IDS_ASSET_FOLDER, "FotakleFolder/");
    const std::string beside = programFolder + relative;
    std::error_code error;
    if (programFolder.empty() || fs::is_directory(beside, error)) {
        return beside;
    }
    // The prefix is the program folder's parent, taken by name: the program
    // folder comes from /proc/self/exe, where no link is left to resolve.
    const fs::path prefix = fs::path(programFolder).parent_path().parent_path();
    const std::string installed = (prefix / "share" / "fotakle").string() + "/" + relative;
    if (fs::is_directory(installed, error)) {
        return installed;
    }
    return beside;
}
