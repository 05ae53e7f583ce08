// Save-as names through `fotakle --replay`: a name that climbs out of the
// work folder is refused with its message at every OK, the dialog takes the
// next answer, and nothing is written outside the folder; the help page of
// the keys prints as its own line.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/RunProgram.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        names.push_back(entry.path().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SaveAsNameReplay, ClimbingNamesAreRefusedEachTimeAndWriteNothing) {
    TempDir dir;
    const std::string work = dir.File("outer/work");
    fs::create_directories(work);
    fs::create_directories(dir.File("config/Norvale Systems Inc."));
    const std::string ini = "[MainSection]\nWorkFolder=" + work + "\n";
    ASSERT_TRUE(WriteWholeFile(dir.File("config/Norvale Systems Inc./fotakle.ini"),
                               std::vector<uint8_t>(ini.begin(), ini.end())));
    const std::string script =
        "saveas ../x bmp\n"
        "saveas .. bmp\n"
        "saveas cancel\n"
        "command 40029\n"
        "command 40072\n"
        "saveas kept bmp\n"
        "command 40029\n";
    ASSERT_TRUE(
        WriteWholeFile(dir.File("script.txt"), std::vector<uint8_t>(script.begin(), script.end())));
    const std::vector<std::string> before = Listing(dir.File("outer"));

    const ProgramResult run =
        RunProgram({FotaklePath(), "--replay", dir.File("script.txt")},
                   {{"XDG_CONFIG_HOME", dir.File("config")}, {"TMPDIR", dir.Path()}}, dir.Path());
    ASSERT_TRUE(run.ended);
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const std::string refused =
        "message: Fotakle: A file name cannot contain / or control characters.\n";
    EXPECT_EQ(run.out, "saveas: " + work + ": Sample: jpg\n" + refused + refused +
                           "keys\n"
                           "saveas: " +
                           work + ": Sample: jpg\n");
    std::vector<std::string> after = before;
    after.push_back(work + "/kept.bmp");
    std::sort(after.begin(), after.end());
    EXPECT_EQ(Listing(dir.File("outer")), after);
    EXPECT_FALSE(fs::exists(dir.File("outer/x.bmp")));
    EXPECT_FALSE(fs::exists(dir.File(".bmp")));
}

}  // namespace
