// Program and asset folders and the settings lookups.
#include <gtest/gtest.h>

#include "ScriptedShell.h"
#include "app/Paths.h"
#include "app/Strings.h"
#include "support/TestSupport.h"

TEST(Paths, ProgramAndAssetFolders) {
    EXPECT_EQ(ProgramBaseNameOf("/usr/bin/fotakle"), "fotakle");
    EXPECT_EQ(ProgramBaseNameOf("/opt/fotakle.app.bin"), "fotakle");
    EXPECT_EQ(ProgramBaseNameOf("fotakle"), "");
    EXPECT_EQ(ProgramBaseNameOf(ExecutablePath()), "fotakle_app_tests");

    MemorySettings settings;
    EXPECT_EQ(AssetFolderPath("/usr/bin/", &settings), "/usr/bin/FotakleFolder/");
    settings.values[{"MainSection", "FotakleFolder"}] = "Decor/";
    EXPECT_EQ(AssetFolderPath("/usr/bin/", &settings), "/usr/bin/Decor/");
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
