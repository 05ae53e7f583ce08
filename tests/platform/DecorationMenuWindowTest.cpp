// The decoration pop-ups in the phone window: the first menu pop-up builds
// them from the program's generated asset folder, and the "Object" QMenu
// shows them the first time it opens, whichever menu opened first.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

#include <memory>

#include "app/Editor.h"
#include "platform/PhoneWindow.h"
#include "platform/QtShell.h"
#include "platform/TestApplication.h"

namespace {

void ClickKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

class DecorationMenuWindowTest : public ::testing::Test {
  protected:
    DecorationMenuWindowTest() {
        TestApplication();
        window_ = std::make_unique<PhoneWindow>();
        shell_ = std::make_unique<QtShell>(*window_);
        editor_ = std::make_unique<Editor>(*shell_, nullptr, FOTAKLE_PROGRAM_FOLDER);
        window_->AttachEditor(editor_.get());
        editor_->Start();
        window_->show();
        QApplication::processEvents();
    }
    ~DecorationMenuWindowTest() override {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        window_->AttachEditor(nullptr);
        editor_.reset();
        shell_.reset();
        window_.reset();
    }

    // The texts of the open "Object" menu's entries; "-" for a separator,
    // a sub-menu's title followed by ">".
    QStringList OpenObjectMenu() {
        ClickKey(window_.get(), Qt::Key_F2);
        QMenu* object = window_->PopupMenu(MENU_OBJECT);
        EXPECT_EQ(QApplication::activePopupWidget(), object);
        QStringList texts;
        for (QAction* action : object->actions()) {
            if (action->isSeparator()) {
                texts << "-";
            } else {
                texts << action->text() + (action->menu() != nullptr ? ">" : "");
            }
        }
        return texts;
    }

    const QStringList kObjectMenu = {
        "Change Color", "Add Frame>", "Add Pattern12>",     "Add Pattern24>",
        "Add Picture>", "Add Word>",  "Add Colorful Word>", "-",
        "Merge",        "Delete"};

    std::unique_ptr<PhoneWindow> window_;
    std::unique_ptr<QtShell> shell_;
    std::unique_ptr<Editor> editor_;
};

TEST_F(DecorationMenuWindowTest, ObjectMenuOpenedFirstShowsTheAddPopupsAndTheirThemes) {
    EXPECT_EQ(OpenObjectMenu(), kObjectMenu);
    QMenu* object = window_->PopupMenu(MENU_OBJECT);
    QMenu* words = object->actions().at(5)->menu();
    ASSERT_NE(words, nullptr);
    ASSERT_GE(words->actions().size(), 2);
    // "Bold(n)": the first Word theme in name order, with its item count.
    EXPECT_TRUE(words->actions().at(0)->text().startsWith("Bold("));
    EXPECT_EQ(words->actions().at(1)->data().toUInt(), 50042u);

    // Right opens the sub-menu, Return picks its first theme.
    object->setActiveAction(words->menuAction());
    ClickKey(object, Qt::Key_Right);
    ASSERT_EQ(QApplication::activePopupWidget(), words);
    words->setActiveAction(words->actions().at(0));
    ClickKey(words, Qt::Key_Return);
    EXPECT_TRUE(editor_->State().chooser.open[CHOOSER_WORD]);
    EXPECT_EQ(editor_->State().themes.selectedTheme[DECOR_WORD], 0);
}

TEST_F(DecorationMenuWindowTest, FileMenuOpenedFirstLeavesTheObjectMenuRebuiltForItsOpening) {
    ClickKey(window_.get(), Qt::Key_F1);
    ASSERT_EQ(QApplication::activePopupWidget(), window_->PopupMenu(MENU_FILE));
    ClickKey(window_->PopupMenu(MENU_FILE), Qt::Key_Escape);
    EXPECT_FALSE(editor_->State().decorationMenuPending);
    EXPECT_EQ(OpenObjectMenu(), kObjectMenu);
}

}  // namespace
