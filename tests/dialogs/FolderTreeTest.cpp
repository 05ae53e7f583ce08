// The file-system side of the Select Folder dialog's tree: paths as labels,
// the subfolders of an item, and the walk to the entry folder.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "dialogs/FolderTree.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

// The walk the dialog makes on opening, over the real file system: level by
// level, the first child whose label matches the next name. Returns the
// path of the deepest item reached.
std::string WalkTo(const std::string& path) {
    std::vector<std::string> reached;
    for (const std::string& name : SplitFolderPath(path)) {
        const std::vector<std::string> children = ListSubfolders(FolderPathFromLabels(reached));
        const int match = FindFolderLabel(children, name);
        if (match < 0) {
            break;
        }
        reached.push_back(children[static_cast<size_t>(match)]);
    }
    return FolderPathFromLabels(reached);
}

}  // namespace

TEST(FolderTree, SubfoldersAreSortedAndMarked) {
    TempDir dir;
    fs::create_directories(dir.File("b/inner"));
    fs::create_directory(dir.File("A"));
    fs::create_directory(dir.File("c.jpg"));
    fs::create_symlink("b", dir.File("link"));
    // Hidden folders are left out, and a folder holding only hidden ones
    // has no mark.
    fs::create_directories(dir.File(".git/objects"));
    fs::create_directory(dir.File(".cache"));
    fs::create_directory(dir.File("A/.hidden"));
    ASSERT_TRUE(WriteWholeFile(dir.File("file"), {1}));
    EXPECT_EQ(ListSubfolders(dir.Path()), (std::vector<std::string>{"A", "b", "c.jpg", "link"}));
    EXPECT_TRUE(HasSubfolders(dir.File("b")) && HasSubfolders(dir.File("link")));
    EXPECT_FALSE(HasSubfolders(dir.File("A")) || HasSubfolders(dir.File("file")) ||
                 HasSubfolders(dir.File("missing")));
}

TEST(FolderTree, TheWalkMatchesWithoutRegardToCaseAndStopsAtTheDeepestMatch) {
    EXPECT_EQ(SplitFolderPath("//a//b/"), (std::vector<std::string>{"a", "b"}));
    TempDir dir;
    fs::create_directories(dir.File("Storage Card/Pics"));
    const std::string pics = dir.File("Storage Card/Pics");
    std::string shouted = pics + "/";
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(WalkTo(shouted), pics);
    EXPECT_EQ(WalkTo(pics + "/missing/deeper"), pics);
    EXPECT_EQ(WalkTo("/no such folder/at all"), "/");
    EXPECT_EQ(WalkTo("/"), "/");
}
