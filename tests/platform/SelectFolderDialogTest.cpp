// The Select Folder dialog under the offscreen platform, on a temporary
// folder tree: the walk to the entry folder, lazy filling with the
// has-children marks and icons, keys, OK and Cancel, one dialog at a time.
// Which folders are listed and marked is tested in tests/dialogs.
#include <gtest/gtest.h>

#include <QTreeWidget>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/PhoneScreenPainter.h"
#include "platform/PlatformTestSupport.h"
#include "platform/SelectFolderDialog.h"

namespace {

enum { OPEN_FOLDER = 0, CLOSED_FOLDER = 1, DEVICE = 2 };

class SelectFolderDialogTest : public ::testing::Test {
  protected:
    //   Storage Card/Pics/2004
    //   Storage Card/Music
    //   Albums/One
    //   Empty
    SelectFolderDialogTest() {
        TestApplication();
        for (const char* folder :
             {"Storage Card/Pics/2004", "Storage Card/Music", "Albums/One", "Empty"}) {
            std::filesystem::create_directories(dir_.File(folder));
        }
        EXPECT_TRUE(WriteWholeFile(dir_.File("Empty/file.jpg"), {1}));
    }

    std::unique_ptr<SelectFolderDialog> Open(const std::string& folder) {
        auto dialog = std::make_unique<SelectFolderDialog>(
            nullptr, QRect(0, 0, kPhoneWidth, kPhoneHeight), 1, folder);
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }
    std::string Path(const std::string& below) const { return dir_.File(below); }

    static QTreeWidgetItem* Child(QTreeWidgetItem* item, const QString& label) {
        for (int i = 0; i < item->childCount(); ++i) {
            if (item->child(i)->text(0) == label) {
                return item->child(i);
            }
        }
        return nullptr;
    }
    static QStringList Labels(const QTreeWidgetItem* item) {
        QStringList labels;
        for (int i = 0; i < item->childCount(); ++i) {
            labels << item->child(i)->text(0);
        }
        return labels;
    }
    // The item of an absolute path that the tree shows already.
    static QTreeWidgetItem* Find(const SelectFolderDialog& dialog, const std::string& path) {
        QTreeWidgetItem* item = dialog.Root();
        for (const auto& part : std::filesystem::path(path).relative_path()) {
            item = item != nullptr ? Child(item, QString::fromStdString(part.string())) : nullptr;
        }
        return item;
    }
    static bool SameImage(const QIcon& icon, QIcon::Mode mode, int index) {
        const QPixmap expected = FolderIconPixmap(index, 1);
        return icon.pixmap(expected.size(), mode).toImage() ==
               expected.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }

    TempDir dir_;
};

// The walk to the entry folder matches without regard to letter case and
// stops at the deepest match; the labels are the folders' own spelling.
TEST_F(SelectFolderDialogTest, WalksToTheEntryFolderWithoutRegardToLetterCase) {
    const auto dialog = Open(Path("storage CARD/pics/"));
    EXPECT_EQ(dialog->Root()->text(0), "Smartphone");
    EXPECT_EQ(dialog->SelectedPath(), Path("Storage Card/Pics"));
    QTreeWidgetItem* card = Find(*dialog, Path("Storage Card"));
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(dialog->Root()->isExpanded());
    EXPECT_TRUE(card->isExpanded());
    EXPECT_EQ(Labels(card), QStringList({"Music", "Pics"}));
    EXPECT_EQ(Labels(Find(*dialog, Path("Storage Card/Pics"))), QStringList({"2004"}));
    EXPECT_EQ(Labels(Find(*dialog, dir_.Path())), QStringList({"Albums", "Empty", "Storage Card"}));
    EXPECT_EQ(Open(Path("Storage Card/Nothing/Deeper"))->SelectedPath(), Path("Storage Card"));
    EXPECT_EQ(Open("/no-such-top-level-folder/x")->SelectedPath(), "/");
    EXPECT_EQ(Open("")->SelectedPath(), "/");

    // OK without moving returns the folder walked to.
    std::string folder = Path("STORAGE card/Pics");
    WhenModal(dialog.get(), {}, [](QWidget* modal) { ClickKey(modal->focusWidget(), Qt::Key_F1); });
    EXPECT_TRUE(dialog->Run(&folder));
    EXPECT_EQ(folder, Path("Storage Card/Pics"));
    const auto root = Open("/");
    EXPECT_TRUE(root->Root()->isSelected());
    WhenModal(root.get(), {},
              [](QWidget* modal) { ClickKey(modal->focusWidget(), Qt::Key_Return); });
    EXPECT_TRUE(root->Run(&folder));
    EXPECT_EQ(folder, "/");
}

TEST_F(SelectFolderDialogTest, FoldersAreListedOnFirstExpansionWithMarksAndIcons) {
    // The strip's icons are distinct, with white see-through.
    const QImage open = FolderIconPixmap(OPEN_FOLDER, 1).toImage();
    EXPECT_NE(open, FolderIconPixmap(CLOSED_FOLDER, 1).toImage());
    EXPECT_TRUE(open.hasAlphaChannel());
    EXPECT_EQ(qAlpha(open.pixel(0, 0)), 0) << "the strip's white corner";

    const auto dialog = Open(dir_.Path());
    QTreeWidgetItem* albums = Find(*dialog, Path("Albums"));
    QTreeWidgetItem* empty = Find(*dialog, Path("Empty"));
    ASSERT_TRUE(albums && empty);
    // Marks before any expansion: Albums holds a folder, Empty only a file.
    EXPECT_EQ(albums->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_EQ(empty->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(albums->childCount(), 0);
    EXPECT_TRUE(SameImage(albums->icon(0), QIcon::Normal, CLOSED_FOLDER));
    EXPECT_TRUE(SameImage(albums->icon(0), QIcon::Selected, OPEN_FOLDER));
    EXPECT_TRUE(SameImage(dialog->Root()->icon(0), QIcon::Normal, DEVICE));

    // Listed when expanded, not when the dialog opened.
    std::filesystem::create_directories(Path("Albums/Two/Inner"));
    ClickKey(dialog->Tree(), Qt::Key_Down);  // from the entry folder to Albums
    ClickKey(dialog->Tree(), Qt::Key_Right);
    ASSERT_TRUE(albums->isExpanded());
    EXPECT_EQ(Labels(albums), QStringList({"One", "Two"}));
    EXPECT_EQ(Child(albums, "One")->childIndicatorPolicy(), QTreeWidgetItem::DontShowIndicator);
    EXPECT_EQ(Child(albums, "Two")->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    EXPECT_TRUE(SameImage(albums->icon(0), QIcon::Normal, OPEN_FOLDER)) << "expanded";

    // A second expansion adds nothing.
    std::filesystem::create_directories(Path("Albums/Three"));
    albums->setExpanded(false);
    albums->setExpanded(true);
    EXPECT_EQ(Labels(albums), QStringList({"One", "Two"}));
}

TEST_F(SelectFolderDialogTest, ArrowsMoveAndExpandAndOkReturnsTheChosenPath) {
    const auto dialog = Open(Path("Storage Card"));
    QTreeWidget* tree = dialog->Tree();
    EXPECT_EQ(dialog->focusWidget(), tree);
    ClickKey(tree, Qt::Key_Down);  // Music
    ClickKey(tree, Qt::Key_Down);  // Pics
    EXPECT_EQ(dialog->SelectedPath(), Path("Storage Card/Pics"));
    ClickKey(tree, Qt::Key_Right);  // expands Pics, listing 2004
    ClickKey(tree, Qt::Key_Right);  // into it
    EXPECT_EQ(dialog->SelectedPath(), Path("Storage Card/Pics/2004"));
    ClickKey(tree, Qt::Key_Left);
    ClickKey(tree, Qt::Key_Up);
    EXPECT_EQ(dialog->SelectedPath(), Path("Storage Card/Music"));

    std::string folder = "unchanged";
    WhenModal(dialog.get(), {}, [](QWidget* modal) { ClickKey(modal->focusWidget(), Qt::Key_F1); });
    EXPECT_TRUE(dialog->Run(&folder));
    EXPECT_EQ(folder, Path("Storage Card/Music"));
}

// Through the Qt shell: the dialog covers the phone screen; a second one
// asked for while it is open is refused at once; Escape (Back) and F2
// cancel, leaving the folder as it was.
TEST_F(SelectFolderDialogTest, OneDialogAtATimeAndCancelLeavesTheFolder) {
    EditorWindow w(nullptr, 2);
    QtShell& shell = w.shell;
    std::string folder = Path("Albums");
    std::string second = Path("Empty");
    bool secondChosen = true;
    QRect geometry;
    WhenModal(&w.window, {}, [&](QWidget* modal) {
        geometry = modal->geometry();
        secondChosen = shell.RunSelectFolderDialog(&second);
        ClickKey(modal->focusWidget(), Qt::Key_Down);  // a move, then Back
        ClickKey(modal->focusWidget(), Qt::Key_Escape);
    });
    EXPECT_FALSE(shell.RunSelectFolderDialog(&folder));
    EXPECT_FALSE(secondChosen);
    EXPECT_EQ(second, Path("Empty"));
    EXPECT_EQ(folder, Path("Albums"));
    EXPECT_EQ(geometry, w.PhoneGlobalRect());

    // Once it is closed, the next one opens.
    WhenModal(&w.window, {}, [](QWidget* modal) { ClickKey(modal->focusWidget(), Qt::Key_F2); });
    EXPECT_FALSE(shell.RunSelectFolderDialog(&folder));
    WhenModal(&w.window, {}, [](QWidget* modal) { ClickKey(modal->focusWidget(), Qt::Key_F1); });
    EXPECT_TRUE(shell.RunSelectFolderDialog(&folder));
    EXPECT_EQ(folder, Path("Albums"));
}

}  // namespace
