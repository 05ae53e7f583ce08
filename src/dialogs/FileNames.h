// FileNames: the file-name helpers the editor and its file dialogs share.
// Paths are "/"-separated; "/" alone is the root.
//
// Contract: nothing throws; a file system error reads as "not there".
// Comparisons without regard to letter case fold ASCII letters only: other
// bytes of UTF-8 names compare as they stand.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

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
// what was found.
bool FileExists(std::string* path, FileInfo* info);

// The part after the last "/" (the whole path when there is none), cut before
// its last "." unless keepExtension. False, with title emptied, for an empty
// path.
bool FileTitleFromPath(const std::string& path, std::string* title, bool keepExtension);

// folder, then "/" only when the folder does not end with one and the name
// does not begin with one, then name.
std::string JoinPath(const std::string& folder, const std::string& name);

// True when the two texts are equal without regard to letter case.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

// The order of names in the file dialogs: ascending without regard to letter
// case, names that differ only in case by byte order, so that the order is
// total and the same on every run.
bool NameOrderLess(const std::string& a, const std::string& b);
