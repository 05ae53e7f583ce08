// Paths: the program and asset folders. Paths are "/"-separated; "/" alone
// is the root. The path and file-name helpers every layer shares are in
// files/FilePaths.h.
#pragma once

#include <string>

class SettingsStore;

// The full path of the running executable (from /proc/self/exe). Empty when
// it cannot be read. FolderOf (files/FilePaths.h) gives its folder.
std::string ExecutablePath();
// The executable's file name without folder and without anything from its
// first "."; empty when the path has no "/".
std::string ProgramBaseNameOf(const std::string& executablePath);
// The asset folder: the setting "FotakleFolder" (default "FotakleFolder/"),
// read afresh at every call, taken relative to the program folder when that
// folder exists there (the build tree, or a copy kept beside the program),
// else relative to the program folder's "../share/fotakle/" when it exists
// there (an installed tree: bin/fotakle and share/fotakle/FotakleFolder).
// When neither exists, the path beside the program, so that what is missing
// is reported there. Settings may be null.
std::string AssetFolderPath(const std::string& programFolder, SettingsStore* settings);
