// The Save-as dialog under the offscreen platform, driven by key events:
// editing the name, the format's wrapping, the JPEG quality, OK refused then
// accepted, Cancel; and the whole dialog run from the editor's "Save as"
// through the Qt shell, with the replace question standing over it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/PhoneMessageDialog.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PlatformTestSupport.h"
#include "platform/SaveAsDialog.h"

namespace {

class SaveAsDialogTest : public ::testing::Test {
  protected:
    SaveAsDialogTest() {
        TestApplication();
        request_.folder = "/home/user/Pictures";
        request_.proposedName = "holiday.2004";
        request_.format = PICTURE_JPEG;
        request_.accept = [this](const std::string& name, PictureType format) {
            calls_.emplace_back(name, format);
            qualities_.push_back(request_.jpegQuality);
            if (replies_.empty()) {
                return true;
            }
            const bool reply = replies_.front();
            replies_.pop_front();
            return reply;
        };
    }

    // A dialog at factor 1, shown but not run: its result says how it ended.
    std::unique_ptr<SaveAsDialog> Open() {
        auto dialog = std::make_unique<SaveAsDialog>(
            nullptr, QRect(0, 0, kPhoneWidth, kPhoneHeight), 1, request_);
        dialog->show();
        QApplication::processEvents();
        return dialog;
    }
    static void Keys(SaveAsDialog& dialog, std::initializer_list<int> keys) {
        for (const int key : keys) {
            ClickKey(dialog.focusWidget(), key);
        }
    }

    SaveAsDialogRequest request_;
    std::vector<std::pair<std::string, PictureType>> calls_;
    std::vector<int> qualities_;  // request_.jpegQuality at each call
    std::deque<bool> replies_;
};

TEST_F(SaveAsDialogTest, NameIsTypedAndDeletedWithBackFormatWrapsBothWays) {
    const auto dialog = Open();
    EXPECT_EQ(dialog->FolderText(), "/home/user/Pictures");
    EXPECT_EQ(dialog->NameText(), "holiday.2004");
    EXPECT_EQ(dialog->FormatIndex(), 1);
    ASSERT_NE(qobject_cast<QLineEdit*>(dialog->focusWidget()), nullptr);

    ClickKey(dialog->focusWidget(), Qt::Key_A, "a");
    ClickKey(dialog->focusWidget(), Qt::Key_B, "b");
    EXPECT_EQ(dialog->NameText(), "holiday.2004ab");
    // Escape is the phone's Back: it deletes a character too.
    Keys(*dialog, {Qt::Key_Backspace, Qt::Key_Escape});
    EXPECT_EQ(dialog->NameText(), "holiday.2004");
    EXPECT_TRUE(dialog->isVisible());

    // Down to the format field; Left and Right wrap round the three items.
    Keys(*dialog, {Qt::Key_Down, Qt::Key_Left});
    EXPECT_EQ(dialog->FormatIndex(), 0);
    Keys(*dialog, {Qt::Key_Left});
    EXPECT_EQ(dialog->Format(), PICTURE_PNG);
    Keys(*dialog, {Qt::Key_Right});
    EXPECT_EQ(dialog->FormatIndex(), 0);
    EXPECT_EQ(dialog->NameText(), "holiday.2004") << "the arrows changed the name";
    // Without a full size the size field holds Screen alone.
    Keys(*dialog, {Qt::Key_Down, Qt::Key_Right});
    EXPECT_EQ(dialog->SizeIndex(), 0);

    // Back outside the name field leaves the dialog, and so does F2
    // (Cancel) anywhere: nothing accepted.
    Keys(*dialog, {Qt::Key_Escape});
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    const auto cancelled = Open();
    Keys(*cancelled, {Qt::Key_F2});
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_TRUE(calls_.empty());
}

// The quality field opens on the request's quality and takes part only
// while the format is JPEG; the size offers Full only with a full size.
// Every OK, refused or not, hands on the quality, size and "Keep edits"
// shown then.
TEST_F(SaveAsDialogTest, QualitySizeAndKeepEditsGoWithEveryOk) {
    request_.format = PICTURE_PNG;
    request_.jpegQuality = kJpegQualitySmall;
    request_.fullFactor = 20;
    replies_ = {false};
    const auto dialog = Open();
    EXPECT_EQ(dialog->QualityIndex(), 2);
    EXPECT_EQ(dialog->SizeIndex(), 0);

    // PNG: Down from the format passes over the quality to the size, and Up
    // comes back past it.
    Keys(*dialog, {Qt::Key_Down});
    QWidget* format = dialog->focusWidget();
    Keys(*dialog, {Qt::Key_Down, Qt::Key_Left});
    EXPECT_EQ(dialog->SizeIndex(), 1);
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualitySmall) << "the grey quality changed";
    Keys(*dialog, {Qt::Key_Down, Qt::Key_Right});
    EXPECT_TRUE(dialog->KeepEdits());
    Keys(*dialog, {Qt::Key_Up, Qt::Key_Up});
    ASSERT_EQ(dialog->focusWidget(), format);
    // JPEG: Down from the format reaches the quality; Left and Right wrap
    // and leave the format alone.
    Keys(*dialog, {Qt::Key_Left});
    EXPECT_EQ(dialog->Format(), PICTURE_JPEG);
    Keys(*dialog, {Qt::Key_Down, Qt::Key_Right});
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualityBest);
    Keys(*dialog, {Qt::Key_Left, Qt::Key_Left});
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualityGood);
    Keys(*dialog, {Qt::Key_Right});
    EXPECT_EQ(dialog->FormatIndex(), 1) << "the quality's arrows changed the format";

    Keys(*dialog, {Qt::Key_F1});  // refused: the choices went with it all the same
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(request_.factor, 20);
    EXPECT_TRUE(request_.keepEdits);
    // The refusal put the focus back in the name: down to the quality
    // (Best), the size (back to Screen), and OK.
    Keys(*dialog,
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Right, Qt::Key_Return});
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    // The name goes as typed: the extension and the folder are the editor's.
    const std::vector<std::pair<std::string, PictureType>> expected = {
        {"holiday.2004", PICTURE_JPEG}, {"holiday.2004", PICTURE_JPEG}};
    EXPECT_EQ(calls_, expected);
    EXPECT_EQ(qualities_, std::vector<int>({kJpegQualitySmall, kJpegQualityBest}));
    EXPECT_EQ(request_.jpegQuality, kJpegQualityBest);
    EXPECT_EQ(request_.factor, 1);
    EXPECT_TRUE(request_.keepEdits);
}

// The editor's Save as, through the window and the Qt shell: the dialog
// covers the phone screen, and each refused OK leaves it open with the name
// and a question or message standing over it: the replace question (No),
// a name with a tab (pasted, as typing Tab moves between the fields) and a
// climb out of the folder. The next OK writes the file.
TEST_F(SaveAsDialogTest, EditorSaveAsRunsTheDialogOverThePhoneScreen) {
    TempDir folder;
    const std::string work = folder.File("work");
    std::filesystem::create_directory(work);
    const std::string existing = work + "/Sample.bmp";
    ASSERT_TRUE(WriteWholeFile(existing, {'o', 'l', 'd'}));
    WorkFolderSettings settings(work);
    EditorWindow w(&settings, 2);

    QRect geometry;
    QString title;
    QString folderShown;
    QString proposed;
    std::vector<QString> namesAfter;
    std::vector<std::string> boxes;  // each box's text as wrapped on the phone screen
    bool overDialog = true;
    WhenModal(&w.window, {}, [&](QWidget* modal) {
        auto* dialog = qobject_cast<SaveAsDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        geometry = dialog->geometry();
        title = dialog->windowTitle();
        folderShown = dialog->FolderText();
        proposed = dialog->NameText();
        const auto refusedOk = [&](int answer) {
            WhenModal(
                &w.window,
                [](QWidget* m) { return qobject_cast<PhoneMessageDialog*>(m) != nullptr; },
                [&, answer](QWidget* box) {
                    overDialog = overDialog && qobject_cast<SaveAsDialog*>(box->parentWidget());
                    std::string text;
                    for (const std::string& line : static_cast<PhoneMessageDialog*>(box)->Lines()) {
                        text += line + " ";
                    }
                    boxes.push_back(text);
                    ClickKey(box, answer);
                });
            ClickKey(dialog->focusWidget(), Qt::Key_F1);
            namesAfter.push_back(dialog->NameText());
        };
        ClickKey(dialog->focusWidget(), Qt::Key_Down);
        ClickKey(dialog->focusWidget(), Qt::Key_Left);  // BMP
        refusedOk(Qt::Key_F2);
        auto* name = static_cast<QLineEdit*>(dialog->focusWidget());
        name->clear();
        QApplication::clipboard()->setText(QStringLiteral("bad\tname"));
        ClickKey(name, Qt::Key_V, QString(), Qt::ControlModifier);
        refusedOk(Qt::Key_Return);
        name->setText(QStringLiteral("../escaped"));
        refusedOk(Qt::Key_Return);
        name->setText(QStringLiteral("Sample"));
        ClickKey(name, Qt::Key_2, "2");
        ClickKey(name, Qt::Key_F1);
    });
    w.editor.Command(40029);  // Save as

    EXPECT_EQ(geometry, w.PhoneGlobalRect());
    EXPECT_EQ(title, "Save as");
    EXPECT_EQ(folderShown, QString::fromStdString(work));
    EXPECT_EQ(proposed, "Sample");
    EXPECT_EQ(namesAfter, (std::vector<QString>{"Sample", "bad\tname", "../escaped"}));
    const std::string refused = "A file name cannot contain / or control characters. ";
    EXPECT_EQ(boxes, (std::vector<std::string>{"File already exist ! Do you want to replace it ? ",
                                               refused, refused}));
    EXPECT_TRUE(overDialog) << "the questions and messages must stand over the dialog";
    EXPECT_EQ(ReadWholeFile(existing), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_FALSE(std::filesystem::exists(folder.File("escaped.bmp")));
    EXPECT_EQ(w.State().currentFile, work + "/Sample2.bmp");
    EXPECT_TRUE(std::filesystem::is_regular_file(w.State().currentFile));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The title strip says what was saved until its timer runs out.
    EXPECT_EQ(w.window.ShownTitle(), "Saved Sample2.bmp");
    auto* timer = w.window.findChild<QTimer*>("savedTitle");
    ASSERT_NE(timer, nullptr);
    RunOut(timer);
    EXPECT_EQ(w.window.ShownTitle(), "Fotakle");
}

}  // namespace
