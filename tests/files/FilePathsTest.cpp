// The path and file-name helpers: existence, joins, folders, titles and the
// name order of the file dialogs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "files/FilePaths.h"
#include "support/TestSupport.h"

TEST(FilePaths, FileExistsTellsFilesFoldersLinksAndTheRoot) {
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("a.jpg"), {1, 2, 3}));
    ASSERT_EQ(symlink(dir.Path().c_str(), dir.File("here").c_str()), 0);
    ASSERT_EQ(symlink(dir.File("gone").c_str(), dir.File("dangling").c_str()), 0);

    FileInfo info;
    EXPECT_TRUE(FileExists("/", &info));
    EXPECT_TRUE(info.isDirectory);
    EXPECT_EQ(info.name, "/");

    EXPECT_TRUE(FileExists(dir.File("a.jpg"), &info));
    EXPECT_FALSE(info.isDirectory);
    EXPECT_EQ(info.size, 3u);
    EXPECT_EQ(info.name, "a.jpg");
    EXPECT_GT(info.written, 0);

    // One trailing "/" is ignored, and the name is the folder's own.
    EXPECT_TRUE(FileExists(dir.Path() + "/", &info));
    EXPECT_TRUE(info.isDirectory);
    EXPECT_EQ(info.size, 0u);
    std::string folderName;
    ASSERT_TRUE(FileTitleFromPath(dir.Path(), &folderName, true));
    EXPECT_EQ(info.name, folderName);

    // Links are followed: to a folder it is a folder, dangling it is nothing.
    EXPECT_TRUE(FileExists(dir.File("here"), &info));
    EXPECT_TRUE(info.isDirectory);
    EXPECT_EQ(info.name, "here");
    EXPECT_FALSE(FileExists(dir.File("dangling")));

    // Errors, never exceptions.
    EXPECT_FALSE(FileExists("", &info));
    EXPECT_FALSE(FileExists(dir.File("a.jpg/inner"), &info));
    EXPECT_FALSE(FileExists(dir.File("missing")));
}

TEST(FilePaths, PathsAreJoinedAndSplitAtSlashes) {
    struct Join {
        const char* folder;
        const char* name;
        const char* joined;
    };
    for (const Join& c :
         {Join{"/photos", "a.jpg", "/photos/a.jpg"}, Join{"/photos/", "a.jpg", "/photos/a.jpg"},
          Join{"/photos", "/a.jpg", "/photos/a.jpg"}, Join{"/", "a.jpg", "/a.jpg"},
          Join{"", "a.jpg", "/a.jpg"}}) {
        EXPECT_EQ(JoinPath(c.folder, c.name), c.joined) << c.folder << " + " << c.name;
    }

    struct Folder {
        const char* path;
        const char* folder;
    };
    for (const Folder& c : {Folder{"/usr/bin/fotakle", "/usr/bin/"}, Folder{"/fotakle", "/"},
                            Folder{"/a/b/", "/a/b/"}, Folder{"photo.jpg", "./"}, Folder{"", ""}}) {
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
    }

    struct Slash {
        const char* path;
        const char* without;
        const char* with;
    };
    for (const Slash& c :
         {Slash{"/a/b/", "/a/b", "/a/b/"}, Slash{"/a/b", "/a/b", "/a/b/"}, Slash{"/", "/", "/"},
          Slash{"//", "/", "//"}, Slash{"", "", ""}, Slash{"a", "a", "a/"}}) {
        EXPECT_EQ(WithoutTrailingSlash(c.path), c.without) << c.path;
        EXPECT_EQ(WithTrailingSlash(c.path), c.with) << c.path;
    }

    // A file's folder and its name with extension join back to its path.
    for (const char* path : {"/photos/holiday.2004.jpg", "/a.bmp", "/x/y/z", "/x/.hidden"}) {
        std::string name;
        ASSERT_TRUE(FileTitleFromPath(path, &name, true));
        EXPECT_EQ(JoinPath(FolderOf(path), name), path);
    }
}

TEST(FilePaths, FileTitleDropsTheFolderAndTheLastExtension) {
    struct Title {
        const char* path;
        bool keepExtension;
        const char* title;
    };
    for (const Title& c : {Title{"/photos/holiday.2004.jpg", false, "holiday.2004"},
                           Title{"/photos/holiday.2004.jpg", true, "holiday.2004.jpg"},
                           Title{"README", false, "README"}, Title{"/photos/", false, ""},
                           Title{"/x/.hidden", false, ""}}) {
        std::string title = "stale";
        EXPECT_TRUE(FileTitleFromPath(c.path, &title, c.keepExtension)) << c.path;
        EXPECT_EQ(title, c.title) << c.path;
    }
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
