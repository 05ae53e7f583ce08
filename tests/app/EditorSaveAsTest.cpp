// "Save as": the Save-as dialog's proposals and OK steps, writing the photo,
// its failures, photo changed after each outcome, and the Close flow's save.
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/SavePicture.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;
const Bytes kOld = {1, 2, 3};

ScriptedShell::SaveAsAnswer Save(const std::string& name, PictureType format = PICTURE_JPEG) {
    return ScriptedShell::SaveAs(name, format);
}

Bytes Head(const std::string& path) {
    Bytes head = ReadWholeFile(path);
    head.resize(std::min<size_t>(head.size(), 2));
    return head;
}

}  // namespace

class EditorSaveAsTest : public EditorTest {
  protected:
    // Opens a picture written to the path first: it becomes the current file.
    void OpenNew(const std::string& path) {
        const DibBlock picture = MakePatternImage(30, 20);
        ASSERT_TRUE(SavePicture(path, *picture).Ok());
        ASSERT_TRUE(editor_->OpenPicture(path));
    }
};

TEST_F(EditorSaveAsTest, ProposesSampleThenTheCurrentTitleAndAlwaysAppendsTheExtension) {
    ChangePhoto();
    std::vector<bool> flags;
    shell_.whileModal = [&] { flags.push_back(State().messageBoxOpen); };
    shell_.waitCursor.clear();
    shell_.saveAsAnswers = {Save("Sample")};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.saveAsDialogs.size(), 1u);
    EXPECT_EQ(shell_.saveAsDialogs[0].folder, dir_.Path());
    EXPECT_EQ(shell_.saveAsDialogs[0].proposedName, "Sample");
    EXPECT_EQ(shell_.saveAsDialogs[0].format, PICTURE_JPEG);
    EXPECT_EQ(Head(dir_.File("Sample.jpg")), (Bytes{0xFF, 0xD8}));
    EXPECT_EQ(State().currentFile, dir_.File("Sample.jpg"));
    EXPECT_FALSE(State().photoChanged);
    EXPECT_EQ(flags, (std::vector<bool>{true}));
    EXPECT_FALSE(State().messageBoxOpen);
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));

    fs::create_directory(dir_.File("elsewhere"));
    OpenNew(dir_.File("elsewhere/holiday.2004.jpg"));
    shell_.saveAsAnswers = {Save("photo.bmp")};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(shell_.saveAsDialogs.at(1).proposedName, "holiday.2004");
    EXPECT_EQ(State().currentFile, dir_.File("photo.bmp.jpg"));
    EXPECT_TRUE(fs::is_regular_file(dir_.File("photo.bmp.jpg")));

    shell_.saveAsAnswers = {Save("pic", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(shell_.saveAsDialogs.at(2).proposedName, "photo.bmp");
    const Bytes bmp = ReadWholeFile(dir_.File("pic.bmp"));
    ASSERT_EQ(bmp.size(), 95094u);
    EXPECT_EQ(Bytes(bmp.begin() + 54, bmp.end()), Photo());
}

TEST_F(EditorSaveAsTest, AnExistingFileIsReplacedOnlyAfterYes) {
    ASSERT_TRUE(WriteWholeFile(dir_.File("a.jpg"), kOld));
    ChangePhoto();
    // No keeps the dialog open: the next OK is taken, here a Cancel.
    shell_.answers = {false};
    shell_.saveAsAnswers = {Save("a"), ScriptedShell::CancelSaveAs()};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.questions.size(), 1u);
    EXPECT_EQ(shell_.questions[0].caption, "Save File");
    EXPECT_EQ(shell_.questions[0].text, "File already exist !\nDo you want to replace it ?");
    EXPECT_EQ(ReadWholeFile(dir_.File("a.jpg")), kOld);
    EXPECT_EQ(State().currentFile, "");
    EXPECT_TRUE(State().photoChanged);

    shell_.answers = {false, true};
    shell_.saveAsAnswers = {Save("a"), Save("a")};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(Head(dir_.File("a.jpg")), (Bytes{0xFF, 0xD8}));
    EXPECT_EQ(State().currentFile, dir_.File("a.jpg"));
    EXPECT_FALSE(State().photoChanged);
    EXPECT_TRUE(shell_.answers.empty() && shell_.saveAsAnswers.empty());
}

TEST_F(EditorSaveAsTest, AWriteFailureIsReportedAndChangesNothing) {
    // Targets that cannot be written even by root: a name longer than a
    // file name may be, a folder in place of the file, and a folder that
    // does not exist.
    fs::create_directory(dir_.File("folder.jpg"));
    OpenNew(dir_.File("before.jpg"));
    ChangePhoto();
    const std::string tooLong(300, 'n');
    for (const std::string& name : {tooLong, std::string("folder"), std::string("missing/x")}) {
        SCOPED_TRACE(name);
        shell_.answers = {true};  // to the replace question, where one is asked
        shell_.messages.clear();
        shell_.saveAsAnswers = {Save(name)};
        editor_->Command(CMD_SAVE_AS);
        ASSERT_EQ(shell_.messages.size(), 1u);
        EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
        EXPECT_EQ(shell_.messages[0].text, "Failed to save file !");
        EXPECT_EQ(State().currentFile, dir_.File("before.jpg"));
        EXPECT_TRUE(State().photoChanged);
    }
    EXPECT_TRUE(fs::is_directory(dir_.File("folder.jpg")));
}

TEST_F(EditorSaveAsTest, CloseStaysOpenWhenTheSaveFailsAndGoesAheadWhenItIsCancelled) {
    ChangePhoto();
    shell_.answers = {true};
    shell_.saveAsAnswers = {Save("missing/x")};
    editor_->Command(CMD_CLOSE);
    EXPECT_EQ(shell_.messages.size(), 1u);
    EXPECT_FALSE(shell_.quit);
    EXPECT_TRUE(settings_.values.empty());

    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    editor_->CloseRequested();
    EXPECT_TRUE(shell_.quit);
    EXPECT_EQ((settings_.values[{"MainSection", "WorkFolder"}]), dir_.Path());
}
