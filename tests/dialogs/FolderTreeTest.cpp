// The file-system side of the Select Folder dialog's tree: the subfolders
// of an item and their marks. The walk to the entry folder is tested through
// the dialog (tests/platform/SelectFolderDialogTest.cpp).
#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/FolderTree.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

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
    EXPECT_EQ(SplitFolderPath("//a//b/"), (std::vector<std::string>{"a", "b"}));
}
