// The Save-as dialog under the offscreen platform, driven by key events:
// editing the name, the format's wrapping, the JPEG quality, OK refused then
// accepted, Cancel; and the whole dialog run from the editor's "Save as"
// through the Qt shell, with the replace question standing over it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <deque>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "app/Editor.h"
#include "platform/ModalHelpers.h"
#include "platform/PhoneMessageDialog.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneWindow.h"
#include "platform/QtShell.h"
#include "platform/SaveAsDialog.h"
#include "platform/TestApplication.h"
#include "platform/WorkFolderSettings.h"
#include "support/TestSupport.h"

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
    static void Key(SaveAsDialog& dialog, int key) { ClickKey(dialog.focusWidget(), key); }

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

    TypeText(dialog->focusWidget(), "ab");
    EXPECT_EQ(dialog->NameText(), "holiday.2004ab");
    Key(*dialog, Qt::Key_Backspace);
    Key(*dialog, Qt::Key_Escape);  // Escape is the phone's Back: one character too
    EXPECT_EQ(dialog->NameText(), "holiday.2004");
    EXPECT_TRUE(dialog->isVisible());

    // Down to the format field; Left and Right wrap round the three items.
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Left);
    EXPECT_EQ(dialog->FormatIndex(), 0);
    Key(*dialog, Qt::Key_Left);
    EXPECT_EQ(dialog->FormatIndex(), 2);
    EXPECT_EQ(dialog->Format(), PICTURE_PNG);
    Key(*dialog, Qt::Key_Right);
    EXPECT_EQ(dialog->FormatIndex(), 0);
    EXPECT_EQ(dialog->NameText(), "holiday.2004") << "the arrows changed the name";
    // Down again goes on to the size field (the quality field is passed
    // over while the format is not JPEG), and Up back to the format.
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Up);
    Key(*dialog, Qt::Key_Right);
    EXPECT_EQ(dialog->FormatIndex(), 1);

    // Back outside the name field leaves the dialog: nothing accepted.
    Key(*dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(calls_.empty());
}

// The quality field opens on the request's quality, takes part only while
// the format is JPEG, and every OK hands on the quality it shows.
TEST_F(SaveAsDialogTest, QualityFieldCountsForJpegAndGoesWithEveryOk) {
    request_.format = PICTURE_PNG;
    request_.jpegQuality = kJpegQualitySmall;
    replies_ = {false};
    const auto dialog = Open();
    EXPECT_EQ(dialog->FormatIndex(), 2);
    EXPECT_EQ(dialog->QualityIndex(), 2);
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualitySmall);
    EXPECT_EQ(SaveAsDialog::QualityItemText(2), "Small");

    // PNG: Down from the format passes over the quality to the size, and Up
    // comes back past it.
    Key(*dialog, Qt::Key_Down);
    QWidget* format = dialog->focusWidget();
    Key(*dialog, Qt::Key_Down);
    EXPECT_NE(dialog->focusWidget(), format);
    EXPECT_EQ(dialog->SizeIndex(), 0);
    Key(*dialog, Qt::Key_Right);
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualitySmall) << "the grey quality changed";
    // JPEG: Down from the format reaches the quality; Left and Right wrap.
    Key(*dialog, Qt::Key_Up);
    ASSERT_EQ(dialog->focusWidget(), format);
    Key(*dialog, Qt::Key_Left);
    EXPECT_EQ(dialog->Format(), PICTURE_JPEG);
    Key(*dialog, Qt::Key_Down);
    EXPECT_NE(dialog->focusWidget(), format);
    Key(*dialog, Qt::Key_Right);
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualityBest);
    Key(*dialog, Qt::Key_Left);
    Key(*dialog, Qt::Key_Left);
    EXPECT_EQ(dialog->JpegQuality(), kJpegQualityGood);
    Key(*dialog, Qt::Key_Right);
    EXPECT_EQ(dialog->FormatIndex(), 1) << "the quality's arrows changed the format";

    // A refused OK and an accepted one, each with the quality shown then.
    Key(*dialog, Qt::Key_F1);
    EXPECT_TRUE(dialog->isVisible());
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Right);
    Key(*dialog, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(qualities_, std::vector<int>({kJpegQualitySmall, kJpegQualityBest}));
    EXPECT_EQ(request_.jpegQuality, kJpegQualityBest);
}

TEST_F(SaveAsDialogTest, RefusedOkKeepsTheTypedNameAndTheNextOkEnds) {
    request_.format = PICTURE_BMP;
    replies_ = {false};
    const auto dialog = Open();
    EXPECT_EQ(dialog->FormatIndex(), 0);
    QLineEdit* name = qobject_cast<QLineEdit*>(dialog->focusWidget());
    ASSERT_NE(name, nullptr);
    name->clear();
    TypeText(name, "photo");
    Key(*dialog, Qt::Key_F1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->NameText(), "photo");
    EXPECT_EQ(dialog->focusWidget(), name);

    TypeText(name, "2");
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Right);
    Key(*dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    // The name goes as typed: the extension and the folder are the editor's.
    const std::vector<std::pair<std::string, PictureType>> expected = {{"photo", PICTURE_BMP},
                                                                       {"photo2", PICTURE_JPEG}};
    EXPECT_EQ(calls_, expected);

    // F2 cancels without an OK.
    const auto cancelled = Open();
    Key(*cancelled, Qt::Key_F2);
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_EQ(calls_.size(), 2u);
}

// The size list offers Full only with a full size, wraps like the format,
// and goes with the OK together with "Keep edits".
TEST_F(SaveAsDialogTest, SizeAndKeepEditsGoWithEachOk) {
    const auto screenOnly = Open();
    Key(*screenOnly, Qt::Key_Down);  // the format
    Key(*screenOnly, Qt::Key_Down);  // the quality (JPEG)
    Key(*screenOnly, Qt::Key_Down);  // the size
    Key(*screenOnly, Qt::Key_Right);
    EXPECT_EQ(screenOnly->SizeIndex(), 0) << "one item";
    Key(*screenOnly, Qt::Key_F1);
    EXPECT_EQ(request_.factor, 1);
    EXPECT_FALSE(request_.keepEdits);

    request_.fullFactor = 20;
    replies_ = {false};
    const auto dialog = Open();
    EXPECT_EQ(dialog->SizeIndex(), 0);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Left);
    EXPECT_EQ(dialog->SizeIndex(), 1);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Right);
    EXPECT_TRUE(dialog->KeepEdits());
    EXPECT_EQ(dialog->NameText(), "holiday.2004");
    Key(*dialog, Qt::Key_F1);  // refused: the choice went with it all the same
    EXPECT_EQ(request_.factor, 20);
    EXPECT_TRUE(request_.keepEdits);
    Key(*dialog, Qt::Key_Down);  // the refusal put the focus back in the name
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Down);
    Key(*dialog, Qt::Key_Right);  // back to Screen
    Key(*dialog, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(request_.factor, 1);
    EXPECT_TRUE(request_.keepEdits);
    EXPECT_EQ(calls_.size(), 3u);
}

// The editor's Save as, through the window and the Qt shell: the dialog
// covers the phone screen, the replace question stands over it, No keeps it
// open, and the next OK writes the file.
TEST_F(SaveAsDialogTest, EditorSaveAsRunsTheDialogOverThePhoneScreen) {
    TempDir folder;
    const std::string existing = folder.File("Sample.bmp");
    ASSERT_TRUE(WriteWholeFile(existing, {'o', 'l', 'd'}));

    WorkFolderSettings settings(folder.Path());
    PhoneWindow window;
    QtShell shell(window);
    Editor editor(shell, &settings, FOTAKLE_PROGRAM_FOLDER);
    window.AttachEditor(&editor);
    editor.Start();
    window.resize(kPhoneWidth * 2, kPhoneHeight * 2);
    window.show();
    QApplication::processEvents();

    QRect geometry;
    QString title;
    QString folderShown;
    QString proposed;
    bool questionOverDialog = false;
    QString questionText;
    WhenModal(&window, {}, [&](QWidget* modal) {
        auto* dialog = qobject_cast<SaveAsDialog*>(modal);
        if (dialog == nullptr) {
            ADD_FAILURE() << "not the Save-as dialog";
            modal->close();
            return;
        }
        geometry = dialog->geometry();
        title = dialog->windowTitle();
        folderShown = dialog->FolderText();
        proposed = dialog->NameText();
        // "Sample" exists as a BMP: the replace question comes; No.
        WhenModal(
            &window, [](QWidget* w) { return qobject_cast<PhoneMessageDialog*>(w) != nullptr; },
            [&](QWidget* box) {
                questionOverDialog = qobject_cast<SaveAsDialog*>(box->parentWidget()) != nullptr;
                const auto* question = static_cast<PhoneMessageDialog*>(box);
                for (const std::string& line : question->Lines()) {
                    questionText +=
                        (questionText.isEmpty() ? "" : " ") + QString::fromStdString(line);
                }
                ClickKey(box, Qt::Key_F2);
            });
        ClickKey(dialog->focusWidget(), Qt::Key_Down);
        ClickKey(dialog->focusWidget(), Qt::Key_Left);
        ClickKey(dialog->focusWidget(), Qt::Key_F1);
        // Still open, back in the name field: another name.
        TypeText(dialog->focusWidget(), "2");
        ClickKey(dialog->focusWidget(), Qt::Key_F1);
    });
    editor.Command(40029);  // Save as

    const QRect phone = window.PhoneRect();
    EXPECT_EQ(geometry, QRect(window.mapToGlobal(phone.topLeft()), phone.size()));
    EXPECT_EQ(title, "Save as");
    EXPECT_EQ(folderShown, QString::fromStdString(folder.Path()));
    EXPECT_EQ(proposed, "Sample");
    EXPECT_TRUE(questionOverDialog) << "the replace question must stand over the dialog";
    EXPECT_EQ(questionText, "File already exist ! Do you want to replace it ?");
    EXPECT_EQ(ReadWholeFile(existing), std::vector<uint8_t>({'o', 'l', 'd'}));
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.File("Sample2.bmp")));
    EXPECT_EQ(editor.State().currentFile, folder.File("Sample2.bmp"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The title strip says what was saved, for two seconds.
    EXPECT_EQ(window.ShownTitle(), "Saved Sample2.bmp");
    auto* timer = window.findChild<QTimer*>("savedTitle");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 2000);
    timer->setInterval(0);
    timer->start();
    for (int i = 0; i < 100 && timer->isActive(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_EQ(window.ShownTitle(), "Fotakle");
    window.AttachEditor(nullptr);
}

// A name with a tab (pasted, as typing Tab moves between the fields) or a
// climb out of the folder is refused by the editor: the dialog shows the
// message on the phone screen and stays open with the name.
TEST_F(SaveAsDialogTest, NamesWithControlCharactersOrSlashesAreRefusedInTheDialog) {
    TempDir folder;
    WorkFolderSettings settings(folder.File("work"));
    std::filesystem::create_directory(folder.File("work"));
    PhoneWindow window;
    QtShell shell(window);
    Editor editor(shell, &settings, FOTAKLE_PROGRAM_FOLDER);
    window.AttachEditor(&editor);
    editor.Start();
    window.show();
    QApplication::processEvents();

    std::vector<std::string> messages;
    std::vector<QString> namesAfter;
    WhenModal(&window, {}, [&](QWidget* modal) {
        auto* dialog = qobject_cast<SaveAsDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        QWidget* name = dialog->focusWidget();
        const auto okRefused = [&] {
            WhenModal(
                &window, [](QWidget* w) { return qobject_cast<PhoneMessageDialog*>(w) != nullptr; },
                [&](QWidget* box) {
                    std::string text;
                    for (const std::string& line : static_cast<PhoneMessageDialog*>(box)->Lines()) {
                        text += line + " ";
                    }
                    messages.push_back(text);
                    ClickKey(box, Qt::Key_Return);
                });
            ClickKey(dialog->focusWidget(), Qt::Key_F1);
            namesAfter.push_back(dialog->NameText());
        };
        static_cast<QLineEdit*>(name)->clear();
        QApplication::clipboard()->setText(QStringLiteral("bad\tname"));
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QApplication::sendEvent(name, &paste);
        okRefused();
        static_cast<QLineEdit*>(name)->setText(QStringLiteral("../escaped"));
        okRefused();
        ClickKey(dialog->focusWidget(), Qt::Key_F2);
    });
    editor.Command(40029);  // Save as

    EXPECT_EQ(namesAfter, (std::vector<QString>{"bad\tname", "../escaped"}));
    ASSERT_EQ(messages.size(), 2u);
    for (const std::string& text : messages) {
        EXPECT_EQ(text, "A file name cannot contain / or control characters. ")
            << "as wrapped on the phone screen";
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.File("work")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("escaped.jpg")));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    window.AttachEditor(nullptr);
}

}  // namespace
