// Program and asset folders, the file-name helpers and the settings lookups.
#include <gtest/gtest.h>

#include "ScriptedShell.h"
#include "app/Paths.h"
#include "app/Strings.h"
#include "support/TestSupport.h"

TEST(Paths, ProgramAndAssetFolders) {
    EXPECT_EQ(ProgramFolderOf("/usr/bin/fotakle"), "/usr/bin/");
    EXPECT_EQ(ProgramBaseNameOf("/usr/bin/fotakle"), "fotakle");
    EXPECT_EQ(ProgramFolderOf("/fotakle"), "/");
    EXPECT_EQ(ProgramBaseNameOf("/opt/fotakle.app.bin"), "fotakle");
    EXPECT_EQ(ProgramBaseNameOf("fotakle"), "");
    EXPECT_EQ(ProgramBaseNameOf(ExecutablePath()), "fotakle_app_tests");

    MemorySettings settings;
    EXPECT_EQ(AssetFolderPath("/usr/bin/", &settings), "/usr/bin/FotakleFolder/");
    settings.values[{"MainSection", "FotakleFolder"}] = "Decor/";
    EXPECT_EQ(AssetFolderPath("/usr/bin/", &settings), "/usr/bin/Decor/");
}

TEST(Paths, FileExistsTellsFilesFoldersAndTheRoot) {
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

TEST(Paths, FileTitleAndJoin) {
    std::string title;
    EXPECT_TRUE(FileTitleFromPath("/photos/holiday.2004.jpg", &title, false));
    EXPECT_EQ(title, "holiday.2004");
    EXPECT_TRUE(FileTitleFromPath("/photos/holiday.2004.jpg", &title, true));
    EXPECT_EQ(title, "holiday.2004.jpg");
    EXPECT_TRUE(FileTitleFromPath("README", &title, false));
    EXPECT_EQ(title, "README");
    EXPECT_FALSE(FileTitleFromPath("", &title, false));

    EXPECT_EQ(JoinPath("/photos", "a.jpg"), "/photos/a.jpg");
    EXPECT_EQ(JoinPath("/photos/", "a.jpg"), "/photos/a.jpg");
    EXPECT_EQ(JoinPath("/photos", "/a.jpg"), "/photos/a.jpg");
}

TEST(Settings, StoredValueWinsOverTheFallback) {
    MemorySettings settings;
    EXPECT_EQ(GetSettingString(&settings, IDS_MAIN_SECTION, IDS_WORK_FOLDER, nullptr), "");
    EXPECT_EQ(GetSettingString(nullptr, IDS_MAIN_SECTION, IDS_WORK_FOLDER, "x"), "x");
    SetSettingString(&settings, IDS_MAIN_SECTION, IDS_WORK_FOLDER, "/photos");
    EXPECT_EQ((settings.values[{"MainSection", "WorkFolder"}]), "/photos");
    SetSettingString(&settings, IDS_MAIN_SECTION, IDS_WORK_FOLDER, "");
    EXPECT_EQ(GetSettingString(&settings, IDS_MAIN_SECTION, IDS_WORK_FOLDER, "x"), "");
}
