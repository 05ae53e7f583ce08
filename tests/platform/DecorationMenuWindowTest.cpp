// The decoration pop-ups in the phone window: the first menu pop-up builds
// them from the program's generated asset folder, and the "Object" pop-up
// shows them the first time it opens, whichever menu opened first.
#include <gtest/gtest.h>

#include "platform/PlatformTestSupport.h"

namespace {

TEST(DecorationMenuWindow, TheObjectMenuShowsTheAddPopupsWhicheverMenuOpenedFirst) {
    for (const bool fileFirst : {false, true}) {
        SCOPED_TRACE(fileFirst ? "File first" : "Object first");
        EditorWindow w;
        if (fileFirst) {
            w.Key(Qt::Key_F1);
            ASSERT_EQ(w.window.OpenMenu().Id(), MENU_FILE);
            w.Key(Qt::Key_Escape);
            EXPECT_FALSE(w.State().decorationMenuPending);
        }
        w.Key(Qt::Key_F2);
        ASSERT_EQ(w.window.OpenMenu().Id(), MENU_OBJECT);
        // The texts of the entries; "-" for a separator, ">" after a sub-menu.
        QStringList texts;
        for (const MenuItem& item : w.editor.GetMenu(MENU_OBJECT)) {
            texts << (item.IsSeparator()
                          ? QString("-")
                          : QString::fromStdString(item.text) + (item.popup ? ">" : ""));
        }
        EXPECT_EQ(texts, QStringList({"Change Color", "Add Frame>", "Add Pattern12>",
                                      "Add Pattern24>", "Add Picture>", "Add Word>",
                                      "Add Colorful Word>", "-", "Merge", "Delete"}));
        // What the window lays out is that data, row for row.
        EXPECT_EQ(w.window.MenuLayout().at(0).rows.size(), size_t(texts.size()));
    }
}

}  // namespace
