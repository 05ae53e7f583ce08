// The decoration pop-ups in the phone window: the first menu pop-up builds
// them from the program's generated asset folder, and the "Object" pop-up
// shows them the first time it opens, whichever menu opened first.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>

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
        EXPECT_EQ(window_->OpenMenu().Id(), MENU_OBJECT);
        QStringList texts;
        for (const MenuItem& item : editor_->GetMenu(MENU_OBJECT)) {
            if (item.IsSeparator()) {
                texts << "-";
            } else {
                texts << QString::fromStdString(item.text) + (item.popup ? ">" : "");
            }
        }
        // What the window lays out is that data, row for row.
        EXPECT_EQ(window_->MenuLayout().at(0).rows.size(), size_t(texts.size()));
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
    const MenuItem& words = editor_->GetMenu(MENU_OBJECT).at(5);
    ASSERT_GE(words.items.size(), 2u);
    // "Bold(n)": the first Word theme in name order, with its item count.
    EXPECT_EQ(words.items.at(0).text.rfind("Bold(", 0), 0u);
    EXPECT_EQ(words.items.at(1).id, 50042u);

    // Down to "Add Word", Right opens it, Return picks its first theme.
    for (int i = 0; i < 5; ++i) {
        ClickKey(window_.get(), Qt::Key_Down);
    }
    ClickKey(window_.get(), Qt::Key_Right);
    ASSERT_EQ(window_->OpenMenu().Depth(), 2);
    EXPECT_EQ(window_->OpenMenu().Current(editor_->GetMenu(MENU_OBJECT))->id, 50041u);
    ClickKey(window_.get(), Qt::Key_Return);
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_TRUE(editor_->State().chooser.open[CHOOSER_WORD]);
    EXPECT_EQ(editor_->State().themes.selectedTheme[DECOR_WORD], 0);
}

TEST_F(DecorationMenuWindowTest, FileMenuOpenedFirstLeavesTheObjectMenuRebuiltForItsOpening) {
    ClickKey(window_.get(), Qt::Key_F1);
    ASSERT_EQ(window_->OpenMenu().Id(), MENU_FILE);
    ClickKey(window_.get(), Qt::Key_Escape);
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_FALSE(editor_->State().decorationMenuPending);
    EXPECT_EQ(OpenObjectMenu(), kObjectMenu);
}

}  // namespace
