// The string table, its rotating lookup, the menus and the soft-key bars.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Strings.h"

TEST(StringTable, SpotChecksAndMissingEntries) {
    std::string text = "left over";
    EXPECT_TRUE(LoadResString(IDS_REPLACE_QUESTION, &text));
    EXPECT_EQ(text, "File already exist !\nDo you want to replace it ?");
    EXPECT_EQ(ResString(IDS_CANNOT_OPEN), "Cannot open this picture !");
    EXPECT_EQ(ResString(IDS_RESCALE_TITLE + 4), "Adjust Vividness");
    EXPECT_EQ(ResString(0x10000u + IDS_PRODUCT), "Fotakle");  // only the low 16 bits count
    EXPECT_FALSE(LoadResString(10001, &text));
    EXPECT_EQ(text, "");
    EXPECT_EQ(ResString(40067), "");
}

TEST(StringTable, TheFifthResStringOverwritesTheFirst) {
    const std::string& first = ResString(IDS_OK);
    const std::string& second = ResString(IDS_CANCEL);
    ResString(IDS_MAIN_SECTION);
    ResString(IDS_WORK_FOLDER);
    EXPECT_EQ(first, "OK");
    EXPECT_EQ(second, "Cancel");
    ResString(IDS_PRODUCT);
    EXPECT_EQ(first, "Fotakle");
    EXPECT_EQ(second, "Cancel");
}

TEST(Menus, LabelsPopupsEnablingAndBars) {
    Menu file = BuildMenu(MENU_FILE);
    ASSERT_EQ(file.size(), 13u);
    EXPECT_TRUE(file[3].IsSeparator());
    EXPECT_EQ(file[5].text, "Move Photo");
    ASSERT_EQ(file[5].items.size(), 6u);
    EXPECT_EQ(file[5].items[3].text, "Move Down\t[v]");
    EXPECT_EQ(FindMenuItem(BuildMenu(MENU_ADJUST_ACTION), CMD_INCREASE)->text, "Increase\t[>] ");
    EXPECT_EQ(FindMenuItem(BuildMenu(MENU_RESCALE_ACTION), CMD_INCREASE)->text, "Scale Up\t[1]");

    EXPECT_TRUE(EnableMenuCommand(&file, CMD_RESET_POSITION, false));  // nested in "Move Photo"
    EXPECT_FALSE(file[5].items[5].enabled);
    EXPECT_TRUE(file[5].items[4].enabled);
    EXPECT_FALSE(EnableMenuCommand(&file, CMD_MERGE, false));

    EXPECT_EQ(ResString(FindSoftKeyBar(BAR_MAIN).left.textId), "File");
    EXPECT_EQ(FindSoftKeyBar(BAR_ADJUST).right.popup, MENU_ADJUST_ACTION);
    EXPECT_EQ(FindSoftKeyBar(BAR_OK_CANCEL).left.popup, MENU_NONE);
}
