// FilePaths: the path and file-name helpers every layer shares: whether a
// file exists, joining and splitting paths, file titles and the order in
// which the file dialogs list names. Paths are "/"-separated; "/" alone is
// the root.
//
// Contract: nothing throws; a file system error reads as "not there".
// Nothing but FileExists touches the file system. Comparisons without
// regard to letter case fold ASCII letters only: other bytes of UTF-8
// names compare as they stand, so no result depends on the locale.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// What FileExists reports of an existing entry.
struct FileInfo {
    bool isDirectory = false;
    uint64_t size = 0;        // regular files only; 0 for anything else
    std::time_t written = 0;  // last modification
    std::string name;         // the last path component ("/" for the root)
};

// True when path names an existing file or folder (symbolic links
// followed). An empty path is false; "/" always exists; one trailing "/" is
// ignored. info, when given, receives what was found.
bool FileExists(const std::string& path, FileInfo* info = nullptr);

// path without one trailing "/"; "/" itself and a path without a trailing
// "/" stay as they are.
std::string WithoutTrailingSlash(const std::string& path);

// path with a "/" appended unless it is empty or ends with one already, so
// that a name can follow it.
std::string WithTrailingSlash(const std::string& path);

// folder, then "/" only when the folder does not end with one and the name
// does not begin with one, then name.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder part of path: everything up to and including its last "/"
// ("/" for a file at the root). A path without "/" lies in the current
// folder, "./"; an empty path has no folder, "".
std::string FolderOf(const std::string& path);

// The part after the last "/" (the whole path when there is none), cut before
// its last "." unless keepExtension. False, with title emptied, for an empty
// path.
bool FileTitleFromPath(const std::string& path, std::string* title, bool keepExtension);

// True when the two texts are equal without regard to letter case.
bool EqualIgnoringCase(const std::string& a, const std::string& b);

// The order of names in the file dialogs: ascending without regard to letter
// case, names that differ only in case by byte order, so that the order is
// total and the same on every run.
bool NameOrderLess(const std::string& a, const std::string& b);
