// Pictures handed to the editor from outside (command line, a later start,
// a drop): the save question with every answer, a file that cannot be
// opened, what happens to an open mode or browser, and a request while a
// question is up.
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "image/SavePicture.h"

class EditorOpenRequestTest : public EditorTest {
  protected:
    // Photos holds a 60 x 40 picture and a file that is no picture.
    EditorOpenRequestTest()
        : photos_(dir_.File("Photos")),
          picture_(MakePatternImage(60, 40)),
          good_(photos_ + "/good.bmp"),
          bad_(photos_ + "/bad.jpg") {
        std::filesystem::create_directory(photos_);
        EXPECT_TRUE(SavePicture(good_, *picture_).Ok());
        EXPECT_TRUE(WriteWholeFile(bad_, {0xFF, 0xD8, 0xFF, 0x00}));
    }
    // The good picture, centred, is on the display photo.
    bool ShowsGood() const { return CanvasPixel(Photo(), 58, 70) == PixelAt(picture_.get(), 0, 0); }

    std::string photos_;
    DibBlock picture_;
    std::string good_;
    std::string bad_;
};

TEST_F(EditorOpenRequestTest, OpensAsTheBrowsersOkDoes) {
    StandardLibrary();
    Tap(KEY_RIGHT, 2);
    Choose(kPictureTheme, 1);  // a floating picture goes with the old photo
    EXPECT_EQ(editor_->OpenRequestedPicture(good_), OPEN_REQUEST_OPENED);
    EXPECT_TRUE(shell_.questions.empty() && shell_.messages.empty());
    EXPECT_TRUE(ShowsGood());
    EXPECT_EQ(shell_.lastScreen, Photo());
    EXPECT_EQ(State().currentFile, good_);
    EXPECT_EQ(State().workFolder, photos_);
    EXPECT_EQ(State().photoX, 0);
    EXPECT_FALSE(State().object.present || State().photoChanged);
    // Recover goes back to this file, not to the start-up picture.
    ChangePhoto();
    editor_->Command(CMD_RECOVER);
    EXPECT_TRUE(ShowsGood());
}

TEST_F(EditorOpenRequestTest, UnsavedChangesAreOfferedForSavingFirst) {
    struct Case {
        const char* name;
        bool yes;
        std::vector<ScriptedShell::SaveAsAnswer> saveAs;
        OpenRequestOutcome outcome;
        const char* written;  // in the work folder, "" for none
    };
    const Case cases[] = {
        {"no", false, {}, OPEN_REQUEST_OPENED, ""},
        {"yes, saved",
         true,
         {ScriptedShell::SaveAs("kept", PICTURE_BMP)},
         OPEN_REQUEST_OPENED,
         "kept.bmp"},
        {"yes, cancelled", true, {ScriptedShell::CancelSaveAs()}, OPEN_REQUEST_OPENED, ""},
        // The changes would be lost: nothing opens.
        // (a folder stands where the file would go, which even root cannot
        // replace)
        {"yes, failed",
         true,
         {ScriptedShell::SaveAs("folder", PICTURE_BMP)},
         OPEN_REQUEST_NOT_OPENED,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartEditor();
        ChangePhoto();
        const std::vector<uint8_t> changed = Photo();
        shell_.questions.clear();
        shell_.messages.clear();
        shell_.answers = {c.yes};
        if (c.outcome == OPEN_REQUEST_NOT_OPENED) {
            std::filesystem::create_directories(dir_.File("folder.bmp"));
            shell_.answers.push_back(true);  // replace it
        }
        shell_.saveAsAnswers.assign(c.saveAs.begin(), c.saveAs.end());
        EXPECT_EQ(editor_->OpenRequestedPicture(good_), c.outcome);
        ASSERT_GE(shell_.questions.size(), 1u);
        EXPECT_EQ(shell_.questions[0].text, "Do you want to save this image ?");
        EXPECT_TRUE(shell_.answers.empty() && shell_.saveAsAnswers.empty());
        if (c.written[0] != '\0') {
            const DibBlock saved = LoadBmp(dir_.File(c.written));
            ASSERT_TRUE(saved);
            EXPECT_EQ(std::vector<uint8_t>(DibPixels(saved.get()),
                                           DibPixels(saved.get()) + kCanvasPixelBytes),
                      changed);
        }
        if (c.outcome == OPEN_REQUEST_OPENED) {
            EXPECT_TRUE(ShowsGood());
            EXPECT_EQ(State().currentFile, good_);
            EXPECT_FALSE(State().photoChanged);
        } else {
            ASSERT_EQ(shell_.messages.size(), 1u);
            EXPECT_EQ(shell_.messages[0].text, "Failed to save file !");
            EXPECT_EQ(Photo(), changed);
            EXPECT_TRUE(State().photoChanged);
            EXPECT_EQ(State().currentFile, "");
            EXPECT_EQ(State().workFolder, dir_.Path());
        }
    }
}

TEST_F(EditorOpenRequestTest, AFileThatCannotBeOpenedLeavesEvenAnOpenModeOrBrowser) {
    for (const uint16_t command :
         {uint16_t(0), uint16_t(CMD_CONTRAST), uint16_t(CMD_OIL_PAINT), uint16_t(CMD_OPEN)}) {
        SCOPED_TRACE(command);
        StartEditor();
        ChangePhoto();
        if (command != 0) {
            shell_.answers = {false};  // Open's own save question
            editor_->Command(command);
            Tap(KEY_RIGHT);
        }
        const EditMode mode = State().mode;
        const OpenBrowser* browser = editor_->Browser();
        const std::vector<uint8_t> photo = Photo();
        const std::vector<uint8_t> copy = ModeCopy();
        const std::vector<std::string> titles = shell_.titles;
        shell_.messages.clear();
        for (const std::string& path : {bad_, photos_ + "/missing.bmp", photos_}) {
            EXPECT_EQ(editor_->OpenRequestedPicture(path), OPEN_REQUEST_NOT_OPENED) << path;
        }
        ASSERT_EQ(shell_.messages.size(), 3u);
        EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
        EXPECT_EQ(shell_.messages[0].text, "Cannot open this picture !");
        EXPECT_EQ(State().mode, mode);
        EXPECT_EQ(editor_->Browser(), browser);
        EXPECT_EQ(Photo(), photo);
        EXPECT_EQ(ModeCopy(), copy);
        EXPECT_EQ(shell_.titles, titles);
        EXPECT_TRUE(State().photoChanged);
        EXPECT_EQ(State().currentFile, "");
        EXPECT_EQ(State().workFolder, dir_.Path());
    }
}

TEST_F(EditorOpenRequestTest, AnOpenModeOrBrowserIsCancelledFirst) {
    for (const uint16_t command :
         {CMD_RESCALE, CMD_BRIGHTNESS, CMD_WATER_PAINT, CMD_COLOR_TONES, CMD_OPEN}) {
        SCOPED_TRACE(command);
        StartEditor();
        editor_->Command(command);
        Tap(KEY_UP);
        ASSERT_TRUE(State().mode != EditMode::Normal || editor_->Browser() != nullptr);
        shell_.titles.clear();
        // Cancel restores the picture, which thus has no changes to ask about.
        EXPECT_EQ(editor_->OpenRequestedPicture(good_), OPEN_REQUEST_OPENED);
        EXPECT_TRUE(shell_.questions.empty());
        EXPECT_EQ(State().mode, EditMode::Normal);
        EXPECT_EQ(editor_->Browser(), nullptr);
        EXPECT_EQ(shell_.browser, nullptr);
        EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
        EXPECT_EQ(shell_.titles, (std::vector<std::string>{"Fotakle"}));
        EXPECT_TRUE(State().modeCopy == nullptr);
        EXPECT_TRUE(ShowsGood());
        EXPECT_EQ(State().currentFile, good_);
    }
}

TEST_F(EditorOpenRequestTest, WhileAQuestionIsUpTheRequestWaits) {
    ChangePhoto();
    const std::vector<uint8_t> changed = Photo();
    std::vector<OpenRequestOutcome> whileUp;
    shell_.whileModal = [&] { whileUp.push_back(editor_->OpenRequestedPicture(good_)); };
    // The save question of a first request, and the Save-as dialog after it.
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    EXPECT_EQ(editor_->OpenRequestedPicture(bad_), OPEN_REQUEST_NOT_OPENED);  // its message
    EXPECT_EQ(Photo(), changed);
    editor_->Command(CMD_OPEN);
    EXPECT_NE(editor_->Browser(), nullptr) << "Open went on after its question and dialog";
    shell_.whileModal = nullptr;
    EXPECT_EQ(whileUp, (std::vector<OpenRequestOutcome>(3, OPEN_REQUEST_WAIT)));
    EXPECT_EQ(Photo(), changed);
    EXPECT_EQ(State().currentFile, "");
}
