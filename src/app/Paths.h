// Paths: the program and asset folders, and the file-name helpers the editor
// and its dialogs share. Paths are "/"-separated; "/" alone is the root.
#pragma once

#include <cstdint>
#include <ctime>
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

// What FileExists reports of an existing entry.
struct FileInfo {
    bool isDirectory = false;
    uint64_t size = 0;
    std::time_t written = 0;  // last modification
    std::string name;         // the last path component ("/" for the root)
};

// True when path names an existing file or folder (symbolic links followed).
// A null or empty path is false; "/" always exists. Otherwise one trailing
// "/" is removed from the caller's string itself. info, when given, receives
// what was found. Never throws.
bool FileExists(std::string* path, FileInfo* info);

// The part after the last "/" (the whole path when there is none), cut before
// its last "." unless keepExtension. False for an empty path.
bool FileTitleFromPath(const std::string& path, std::string* title, bool keepExtension);

// folder, then "/" only when the folder does not end with one and the name
// does not begin with one, then name.
std::string JoinPath(const std::string& folder, const std::string& name);
