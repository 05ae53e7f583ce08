// The path and file-name helpers: existence, joins, folders, titles and the
// name order of the file dialogs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "files/FilePaths.h"
#include "support/TestSupport.h"

TEST(FilePaths, FileExistsTellsFilesFoldersLinksAndTheRoot) {
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("a.jpg"), {1, 2, 3}));
    ASSERT_EQ(symlink(dir.Path().c_str(), dir.File("here").c_str()), 0);
    ASSERT_EQ(symlink(dir.File("gone").c_str(), dir.File("dangling").c_str()), 0);
    const auto found = [](const std::string& path, const std::string& name, uint64_t size) {
        FileInfo info;
        EXPECT_TRUE(FileExists(path, &info)) << path;
        EXPECT_EQ(info.name, name) << path;
        EXPECT_EQ(info.size, size) << path;
        return info;
    };
    EXPECT_TRUE(found("/", "/", 0).isDirectory);
    const FileInfo file = found(dir.File("a.jpg"), "a.jpg", 3);
    EXPECT_FALSE(file.isDirectory);
    EXPECT_GT(file.written, 0);
    // One trailing "/" is ignored, and the name is the folder's own; links
    // are followed.
    const std::string folderName = std::filesystem::path(dir.Path()).filename().string();
    EXPECT_TRUE(found(dir.Path() + "/", folderName, 0).isDirectory);
    EXPECT_TRUE(found(dir.File("here"), "here", 0).isDirectory);
    // A dangling link is nothing; errors, never exceptions.
    FileInfo info;
    for (const std::string& path :
         {dir.File("dangling"), std::string(), dir.File("a.jpg/inner"), dir.File("missing")}) {
        EXPECT_FALSE(FileExists(path, &info)) << path;
        EXPECT_FALSE(FileExists(path)) << path;
    }
}

TEST(FilePaths, PathsAreJoinedAtSlashes) {
    using Row = std::array<const char*, 3>;
    for (const Row& c :
         {Row{"/photos", "a.jpg", "/photos/a.jpg"}, Row{"/photos/", "a.jpg", "/photos/a.jpg"},
          Row{"/photos", "/a.jpg", "/photos/a.jpg"}, Row{"/", "a.jpg", "/a.jpg"},
          Row{"", "a.jpg", "/a.jpg"}}) {
        EXPECT_EQ(JoinPath(c[0], c[1]), c[2]) << c[0] << " + " << c[1];
    }
    // A path, it without one trailing "/", it with one.
    for (const Row& c :
         {Row{"/a/b/", "/a/b", "/a/b/"}, Row{"/a/b", "/a/b", "/a/b/"}, Row{"/", "/", "/"},
          Row{"//", "/", "//"}, Row{"", "", ""}, Row{"a", "a", "a/"}}) {
        EXPECT_EQ(WithoutTrailingSlash(c[0]), c[1]) << c[0];
        EXPECT_EQ(WithTrailingSlash(c[0]), c[2]) << c[0];
    }
}

TEST(FilePaths, FolderAndTitleSplitAPathAtItsLastSlashAndDot) {
    const struct {
        const char *path, *folder, *title, *withExtension;
    } cases[] = {
        {"/photos/holiday.2004.jpg", "/photos/", "holiday.2004", "holiday.2004.jpg"},
        {"/usr/bin/fotakle", "/usr/bin/", "fotakle", "fotakle"},
        {"/fotakle", "/", "fotakle", "fotakle"},
        {"/photos/", "/photos/", "", ""},
        {"/x/.hidden", "/x/", "", ".hidden"},
        {"README", "./", "README", "README"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FolderOf(c.path), c.folder);
        std::string title = "stale";
        std::string withExtension = "stale";
        EXPECT_TRUE(FileTitleFromPath(c.path, &title, false));
        EXPECT_TRUE(FileTitleFromPath(c.path, &withExtension, true));
        EXPECT_EQ(title, c.title);
        EXPECT_EQ(withExtension, c.withExtension);
    }
    EXPECT_EQ(FolderOf(""), "");
    std::string title = "stale";
    EXPECT_FALSE(FileTitleFromPath("", &title, false));
    EXPECT_EQ(title, "");
}

TEST(FilePaths, CaseFoldsAsciiOnlyAndTheOrderIsTotal) {
    EXPECT_TRUE(EqualIgnoringCase("/Photos/DCIM", "/photos/dcim"));
    EXPECT_FALSE(EqualIgnoringCase("/photos", "/photos/"));
    EXPECT_FALSE(EqualIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"));  // "Été", "été"

    std::vector<std::string> names = {"b.jpg", "B.jpg", "a10.jpg", "A2.jpg", "_x.jpg", "a.jpg"};
    std::sort(names.begin(), names.end(), NameOrderLess);
    EXPECT_EQ(names,
              (std::vector<std::string>{"_x.jpg", "a.jpg", "a10.jpg", "A2.jpg", "B.jpg", "b.jpg"}));
    // A strict weak order: never both ways, never a name before itself.
    for (const std::string& a : names) {
        EXPECT_FALSE(NameOrderLess(a, a)) << a;
        for (const std::string& b : names) {
            EXPECT_FALSE(NameOrderLess(a, b) && NameOrderLess(b, a)) << a << " " << b;
        }
    }
}
