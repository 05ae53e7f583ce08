// "Save as": the Save-as dialog's proposals and OK steps, writing the photo,
// its failures, photo changed after each outcome, and the Close flow's save.
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"

namespace fs = std::filesystem;

class EditorSaveAsTest : public EditorTest {
  protected:
    void Brighten() {
        editor_->Command(CMD_BRIGHTNESS);
        Tap(KEY_UP);
        editor_->Command(CMD_DONE);
    }
    // Every modal call records whether the editor had flagged it.
    void RecordModalFlags() {
        shell_.whileModal = [this] { modalFlags_.push_back(State().messageBoxOpen); };
    }
    static std::vector<uint8_t> Head(const std::string& path, size_t bytes) {
        std::vector<uint8_t> head = ReadWholeFile(path);
        head.resize(std::min(head.size(), bytes));
        return head;
    }

    std::vector<bool> modalFlags_;
};

using Answer = ScriptedShell::SaveAsAnswer;

TEST_F(EditorSaveAsTest, ProposesSampleThenTheCurrentTitleAndWritesTheChosenFormat) {
    Brighten();
    RecordModalFlags();
    shell_.waitCursor.clear();
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("Sample", PICTURE_JPEG)};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.saveAsDialogs.size(), 1u);
    EXPECT_EQ(shell_.saveAsDialogs[0].folder, dir_.Path());
    EXPECT_EQ(shell_.saveAsDialogs[0].proposedName, "Sample");
    EXPECT_EQ(shell_.saveAsDialogs[0].format, PICTURE_JPEG);
    EXPECT_EQ(Head(dir_.File("Sample.jpg"), 2), (std::vector<uint8_t>{0xFF, 0xD8}));
    EXPECT_EQ(State().currentFile, dir_.File("Sample.jpg"));
    EXPECT_FALSE(State().photoChanged);
    EXPECT_EQ(modalFlags_, (std::vector<bool>{true}));
    EXPECT_FALSE(State().messageBoxOpen);
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_TRUE(shell_.messages.empty() && shell_.questions.empty());

    // Only the last extension leaves the proposal; the format's extension is
    // always appended, also to a name that has one.
    editor_->MutableState().currentFile = "/elsewhere/holiday.2004.jpg";
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("photo.bmp", PICTURE_JPEG)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(shell_.saveAsDialogs.at(1).proposedName, "holiday.2004");
    EXPECT_EQ(shell_.saveAsDialogs.at(1).format, PICTURE_JPEG);
    EXPECT_TRUE(fs::is_regular_file(dir_.File("photo.bmp.jpg")));
    EXPECT_FALSE(fs::exists(dir_.File("photo.bmp")));

    // A work folder ending in "/" gets no second one.
    editor_->MutableState().workFolder = dir_.Path() + "/";
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("pic", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(shell_.saveAsDialogs.at(2).proposedName, "photo.bmp");
    EXPECT_EQ(State().currentFile, dir_.File("pic.bmp"));
    EXPECT_EQ(State().saveFormat, PICTURE_BMP);
    const std::vector<uint8_t> bmp = ReadWholeFile(dir_.File("pic.bmp"));
    ASSERT_EQ(bmp.size(), 95094u);
    EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.end()), Photo());
}

TEST_F(EditorSaveAsTest, AnExistingFileIsReplacedOnlyAfterYes) {
    ASSERT_TRUE(WriteWholeFile(dir_.File("a.jpg"), {1, 2, 3}));
    Brighten();
    RecordModalFlags();
    // No keeps the dialog open: the next OK, on another name, is taken.
    shell_.answers = {false};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("a", PICTURE_JPEG),
                            ScriptedShell::SaveAs("b", PICTURE_JPEG)};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.questions.size(), 1u);
    EXPECT_EQ(shell_.questions[0].caption, "Save File");
    EXPECT_EQ(shell_.questions[0].text, "File already exist !\nDo you want to replace it ?");
    EXPECT_EQ(ReadWholeFile(dir_.File("a.jpg")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(fs::exists(dir_.File("b.jpg")));
    EXPECT_EQ(State().currentFile, dir_.File("b.jpg"));
    // The dialog, then the question inside it: both flagged, and the flag
    // still up after the question while the dialog is.
    EXPECT_EQ(modalFlags_, (std::vector<bool>{true, true}));
    EXPECT_FALSE(State().messageBoxOpen);

    // No, then Cancel: nothing written, still unsaved.
    Brighten();
    shell_.answers = {false};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("a", PICTURE_JPEG),
                            ScriptedShell::CancelSaveAs()};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(ReadWholeFile(dir_.File("a.jpg")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(State().currentFile, dir_.File("b.jpg"));
    EXPECT_TRUE(State().photoChanged);

    // Yes replaces it.
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("a", PICTURE_JPEG)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(Head(dir_.File("a.jpg"), 2), (std::vector<uint8_t>{0xFF, 0xD8}));
    EXPECT_EQ(State().currentFile, dir_.File("a.jpg"));
    EXPECT_FALSE(State().photoChanged);
    EXPECT_TRUE(shell_.answers.empty() && shell_.saveAsAnswers.empty());
}

TEST_F(EditorSaveAsTest, AWriteFailureIsReportedAndChangesNothing) {
    // Targets that cannot be written even by root: the temporary file's name
    // taken by a folder (an old file stays beside it), a folder in place of
    // the file, and a folder of the kernel's.
    ASSERT_TRUE(WriteWholeFile(dir_.File("old.jpg"), {1, 2, 3}));
    fs::create_directories(dir_.File("old.jpg.xxx/inner"));
    fs::create_directory(dir_.File("folder.jpg"));
    editor_->MutableState().currentFile = dir_.File("before.jpg");
    Brighten();
    const struct {
        const char* name;
        const char* folder;
    } targets[] = {{"old", nullptr}, {"folder", nullptr}, {"x", "/proc"}};
    for (const auto& target : targets) {
        SCOPED_TRACE(target.name);
        if (target.folder != nullptr) {
            editor_->MutableState().workFolder = target.folder;
        } else {
            shell_.answers = {true};  // the replace question
        }
        shell_.messages.clear();
        shell_.waitCursor.clear();
        shell_.saveAsAnswers = {ScriptedShell::SaveAs(target.name, PICTURE_JPEG)};
        editor_->Command(CMD_SAVE_AS);
        ASSERT_EQ(shell_.messages.size(), 1u);
        EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
        EXPECT_EQ(shell_.messages[0].text, "Failed to save file !");
        EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));
        EXPECT_EQ(State().currentFile, dir_.File("before.jpg"));
        EXPECT_TRUE(State().photoChanged);
    }
    EXPECT_EQ(ReadWholeFile(dir_.File("old.jpg")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_TRUE(fs::is_directory(dir_.File("folder.jpg")));
    EXPECT_FALSE(fs::exists(dir_.File("folder.jpg.xxx")));

    // A cancelled dialog leaves the changes unsaved as well, without a word.
    shell_.messages.clear();
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(EditorSaveAsTest, CloseStaysOpenWhenTheSaveFailsAndGoesAheadWhenItIsCancelled) {
    Brighten();
    editor_->MutableState().workFolder = "/proc";
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("x", PICTURE_JPEG)};
    editor_->Command(CMD_CLOSE);
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].text, "Failed to save file !");
    EXPECT_FALSE(shell_.quit);
    EXPECT_TRUE(settings_.values.empty());
    EXPECT_TRUE(State().photoChanged);

    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    editor_->CloseRequested();
    EXPECT_TRUE(shell_.quit);
    EXPECT_EQ((settings_.values[{"MainSection", "WorkFolder"}]), "/proc");

    // Yes and a written file: saved, then closed.
    settings_.values.clear();
    StartEditor();
    Brighten();
    shell_.quit = false;
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("last", PICTURE_BMP)};
    editor_->Command(CMD_CLOSE);
    EXPECT_TRUE(fs::is_regular_file(dir_.File("last.bmp")));
    EXPECT_TRUE(shell_.quit);
}
