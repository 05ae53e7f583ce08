// The file-name helpers: existence, titles, joins and the name order.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "dialogs/FileNames.h"
#include "support/TestSupport.h"

TEST(FileNames, FileExistsTellsFilesFoldersAndTheRoot) {
    TempDir dir;
    ASSERT_TRUE(WriteWholeFile(dir.File("a.jpg"), {1, 2, 3}));
    FileInfo info;
    std::string root = "/";
    EXPECT_TRUE(FileExists(&root, &info));
    EXPECT_TRUE(info.isDirectory);
    EXPECT_EQ(root, "/");

    std::string file = dir.File("a.jpg");
    EXPECT_TRUE(FileExists(&file, &info));
    EXPECT_FALSE(info.isDirectory);
    EXPECT_EQ(info.size, 3u);
    EXPECT_EQ(info.name, "a.jpg");

    std::string folder = dir.Path() + "/";  // one trailing "/" is taken off the caller's string
    EXPECT_TRUE(FileExists(&folder, &info));
    EXPECT_EQ(folder, dir.Path());
    EXPECT_TRUE(info.isDirectory);

    std::string empty;
    std::string through = dir.File("a.jpg/inner");  // an error, never an exception
    EXPECT_FALSE(FileExists(&empty, nullptr));
    EXPECT_FALSE(FileExists(&through, &info));
}

TEST(FileNames, FileTitleAndJoin) {
    std::string title;
    EXPECT_TRUE(FileTitleFromPath("/photos/holiday.2004.jpg", &title, false));
    EXPECT_EQ(title, "holiday.2004");
    EXPECT_TRUE(FileTitleFromPath("/photos/holiday.2004.jpg", &title, true));
    EXPECT_EQ(title, "holiday.2004.jpg");
    EXPECT_TRUE(FileTitleFromPath("README", &title, false));
    EXPECT_EQ(title, "README");
    EXPECT_FALSE(FileTitleFromPath("", &title, false));
    EXPECT_EQ(title, "");

    EXPECT_EQ(JoinPath("/photos", "a.jpg"), "/photos/a.jpg");
    EXPECT_EQ(JoinPath("/photos/", "a.jpg"), "/photos/a.jpg");
    EXPECT_EQ(JoinPath("/photos", "/a.jpg"), "/photos/a.jpg");
    EXPECT_EQ(JoinPath("/", "a.jpg"), "/a.jpg");
}

TEST(FileNames, CaseFoldsAsciiOnlyAndTheOrderIsTotal) {
    EXPECT_TRUE(EqualIgnoringCase("/Photos/DCIM", "/photos/dcim"));
    EXPECT_FALSE(EqualIgnoringCase("/photos", "/photos/"));
    EXPECT_FALSE(EqualIgnoringCase("\xC3\x89t\xC3\xA9", "\xC3\xA9t\xC3\xA9"));  // "Été", "été"

    std::vector<std::string> names = {"b.jpg", "B.jpg", "a10.jpg", "A2.jpg", "_x.jpg", "a.jpg"};
    std::sort(names.begin(), names.end(), NameOrderLess);
    EXPECT_EQ(names,
              (std::vector<std::string>{"_x.jpg", "a.jpg", "a10.jpg", "A2.jpg", "B.jpg", "b.jpg"}));
}
