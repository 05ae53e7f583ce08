// Paths: the program and asset folders. Paths are "/"-separated; "/" alone
// is the root. The file-name helpers the editor shares with its dialogs are
// in dialogs/FileNames.h.
#pragma once

#include <string>

class SettingsStore;

// The full path of the running executable (from /proc/self/exe). Empty when
// it cannot be read. ProgramFolderOf gives its folder.
std::string ExecutablePath();
// The executable path up to and including its last "/"; unchanged when it
// has none.
std::string ProgramFolderOf(const std::string& executablePath);
// The executable's file name without folder and without anything from its
// first "."; empty when the path has no "/".
std::string ProgramBaseNameOf(const std::string& executablePath);
// Program folder + the setting "FotakleFolder" (default "FotakleFolder/"),
// read afresh at every call; settings may be null.
std::string AssetFolderPath(const std::string& programFolder, SettingsStore* settings);
