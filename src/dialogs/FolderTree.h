// FolderTree: the file-system side of the Select Folder dialog's tree. The
// tree's root stands for "/"; every other item is a folder labelled with its
// name, and its path is "/" followed by the labels from the top-level folder
// down to it, joined by "/".
//
// Contract: nothing throws. A folder that cannot be listed has no
// subfolders. Labels are matched without regard to letter case (ASCII
// letters only: EqualIgnoringCase of files/FilePaths.h).
#pragma once

#include <string>
#include <vector>

// The folder names of an absolute path, top-level first: "/a/b/" and "a/b"
// give {"a", "b"}; empty names (doubled slashes) are skipped; "/" and ""
// give none.
std::vector<std::string> SplitFolderPath(const std::string& path);

// The path of the item whose labels from the top-level folder down are
// these: {} gives "/", {"a", "b"} gives "/a/b".
std::string FolderPathFromLabels(const std::vector<std::string>& labels);

// The index of the first label equal to name without regard to letter case,
// or -1. The walk to the entry folder takes, level by level, the child this
// finds for the next name of SplitFolderPath, and stops at the first name
// without one: the deepest match stays selected.
int FindFolderLabel(const std::vector<std::string>& labels, const std::string& name);

// The subfolders of folder (links to folders included), in NameOrderLess
// order: the children of its tree item. Hidden folders (names starting with
// a dot, such as ".git" or ".cache") are left out.
std::vector<std::string> ListSubfolders(const std::string& folder);

// True when folder holds at least one subfolder that is not hidden: its
// item gets the has-children mark before it is first expanded.
bool HasSubfolders(const std::string& folder);
