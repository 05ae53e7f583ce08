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

std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

}  // namespace

TEST(FolderTree, PathsSplitIntoLabelsAndBack) {
    using Names = std::vector<std::string>;
    EXPECT_EQ(SplitFolderPath("/Storage Card/Pics"), (Names{"Storage Card", "Pics"}));
    EXPECT_EQ(SplitFolderPath("//a//b/"), (Names{"a", "b"}));
    EXPECT_EQ(SplitFolderPath("/"), Names{});
    EXPECT_EQ(SplitFolderPath(""), Names{});
    EXPECT_EQ(FolderPathFromLabels({"Storage Card", "Pics"}), "/Storage Card/Pics");
    EXPECT_EQ(FolderPathFromLabels({}), "/");

    EXPECT_EQ(FindFolderLabel({"DCIM", "pics", "Pics"}, "PICS"), 1);
    EXPECT_EQ(FindFolderLabel({"DCIM"}, "DCIM2"), -1);
    EXPECT_EQ(FindFolderLabel({}, "a"), -1);
}

TEST(FolderTree, SubfoldersAreSortedAndMarked) {
    TempDir dir;
    fs::create_directories(dir.File("b/inner"));
    fs::create_directory(dir.File("A"));
    fs::create_directory(dir.File("c.jpg"));
    fs::create_symlink("b", dir.File("link"));
    ASSERT_TRUE(WriteWholeFile(dir.File("file"), {1}));

    EXPECT_EQ(ListSubfolders(dir.Path()), (std::vector<std::string>{"A", "b", "c.jpg", "link"}));
    EXPECT_TRUE(HasSubfolders(dir.File("b")));
    EXPECT_TRUE(HasSubfolders(dir.File("link")));
    EXPECT_FALSE(HasSubfolders(dir.File("A")));
    EXPECT_FALSE(HasSubfolders(dir.File("file")));
    EXPECT_FALSE(HasSubfolders(dir.File("missing")));
    EXPECT_TRUE(ListSubfolders(dir.File("missing")).empty());
}

TEST(FolderTree, TheWalkMatchesWithoutRegardToCaseAndStopsAtTheDeepestMatch) {
    TempDir dir;
    fs::create_directories(dir.File("Storage Card/Pics"));
    const std::string pics = dir.File("Storage Card/Pics");
    EXPECT_EQ(WalkTo(pics), pics);
    EXPECT_EQ(WalkTo(pics + "/"), pics);
    if (Upper(pics) != pics) {
        EXPECT_EQ(WalkTo(Upper(pics)), pics);
    }
    EXPECT_EQ(WalkTo(pics + "/missing/deeper"), pics);
    EXPECT_EQ(WalkTo("/no such folder/at all"), "/");
    EXPECT_EQ(WalkTo("/"), "/");
}
