// Program and asset folders.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ScriptedShell.h"
#include "app/Paths.h"
#include "support/TestSupport.h"

TEST(Paths, ProgramBaseName) {
    EXPECT_EQ(ProgramBaseNameOf("/usr/bin/fotakle"), "fotakle");
    EXPECT_EQ(ProgramBaseNameOf("/opt/fotakle.app.bin"), "fotakle");
    EXPECT_EQ(ProgramBaseNameOf("fotakle"), "");
    EXPECT_EQ(ProgramBaseNameOf(ExecutablePath()), "fotakle_app_tests");
}

// The asset folder of a program in PREFIX/bin/: beside the program when the
// folder is there, else in PREFIX/share/fotakle/, and beside the program when
// it is in neither; the setting names the folder under either base.
TEST(Paths, AssetFolderBesideTheProgramThenInstalled) {
    struct Case {
        std::vector<std::string> entries;  // under the prefix: a folder ends in "/"
        const char* setting;               // null: no stored value
        const char* expected;              // under the prefix
    };
    const Case cases[] = {
        {{}, nullptr, "bin/FotakleFolder/"},
        {{"bin/FotakleFolder/"}, nullptr, "bin/FotakleFolder/"},
        {{"share/fotakle/FotakleFolder/"}, nullptr, "share/fotakle/FotakleFolder/"},
        {{"bin/FotakleFolder/", "share/fotakle/FotakleFolder/"}, nullptr, "bin/FotakleFolder/"},
        {{"bin/FotakleFolder", "share/fotakle/FotakleFolder/"},
         nullptr,
         "share/fotakle/FotakleFolder/"},
        {{"bin/FotakleFolder/", "share/fotakle/Decor/"}, "Decor/", "share/fotakle/Decor/"},
        {{"bin/Decor/", "share/fotakle/Decor/"}, "Decor/", "bin/Decor/"},
        {{"share/fotakle/FotakleFolder/"}, "Decor/", "bin/Decor/"},
    };
    int number = 0;
    for (const Case& test : cases) {
        TempDir dir;
        const std::string prefix = dir.Path() + "/";
        std::filesystem::create_directories(prefix + "bin");
        for (const std::string& entry : test.entries) {
            if (entry.back() == '/') {
                std::filesystem::create_directories(prefix + entry);
            } else {
                ASSERT_TRUE(WriteWholeFile(prefix + entry, {1}));
            }
        }
        MemorySettings settings;
        if (test.setting != nullptr) {
            settings.values[{"MainSection", "FotakleFolder"}] = test.setting;
        }
        EXPECT_EQ(AssetFolderPath(prefix + "bin/", &settings), prefix + test.expected)
            << "case " << number;
        ++number;
    }
    // Without a program folder nothing is looked for.
    EXPECT_EQ(AssetFolderPath("", nullptr), "FotakleFolder/");
}
