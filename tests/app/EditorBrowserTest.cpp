// The Open browser in the editor: "Open" with its save question, the keys
// and commands while it is up, OK loading a file and adopting its folder, a
// file that cannot be opened, Cancel and Change Folder.
#include <cctype>
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/SavePicture.h"

class EditorBrowserTest : public EditorTest {
  protected:
    // Pics holds an undecodable a.jpg and a 60 x 40 b.bmp; the work folder
    // holds no pictures.
    EditorBrowserTest() : pics_(dir_.File("Pics")), picture_(MakePatternImage(60, 40)) {
        std::filesystem::create_directory(pics_);
        EXPECT_TRUE(SavePicture(pics_ + "/b.bmp", *picture_).Ok());
        EXPECT_TRUE(WriteWholeFile(pics_ + "/a.jpg", {0xFF, 0xD8, 0xFF, 0x00}));
    }
    void OpenPics() {
        editor_->Command(CMD_OPEN);
        ASSERT_NE(editor_->Browser(), nullptr);
        EXPECT_EQ(editor_->Browser()->Count(), 0);
        shell_.folderAnswers = {pics_};
        editor_->Command(CMD_CHANGE_FOLDER);
        ASSERT_EQ(editor_->Browser()->Count(), 2);
    }

    std::string pics_;
    DibBlock picture_;
};

TEST_F(EditorBrowserTest, OkLoadsTheSelectedFileAndAdoptsItsFolder) {
    OpenPics();
    const OpenBrowser* browser = editor_->Browser();
    EXPECT_EQ(shell_.browser, browser);
    EXPECT_EQ(shell_.bars.back(), BAR_BROWSER);
    EXPECT_EQ(shell_.folderDialogs, (std::vector<std::string>{dir_.Path()}));
    EXPECT_EQ(shell_.browserRepaints, 1);
    EXPECT_NE(browser->Entry(1).thumbnail, nullptr);  // loaded before the repaint

    Tap(KEY_DOWN);
    Tap(KEY_RIGHT);  // no wrap
    Tap(KEY_DIGIT_0 + 1);
    EXPECT_EQ(browser->Selection(), 1);
    EXPECT_EQ(shell_.browserRepaints, 2);
    Tap(KEY_ACTION);
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(shell_.browserShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    EXPECT_EQ(State().currentFile, pics_ + "/b.bmp");
    EXPECT_EQ(State().workFolder, pics_);
    // The opened picture begins a new history.
    ASSERT_EQ(State().history.AppliedSteps().size(), 1u);
    EXPECT_EQ(State().history.AppliedSteps()[0].source, pics_ + "/b.bmp");
    EXPECT_EQ(CanvasPixel(Photo(), 58, 70), PixelAt(picture_.get(), 0, 0));  // centred
    EXPECT_EQ(shell_.lastScreen, Photo());
    EXPECT_EQ(State().photoX, 0);
}

TEST_F(EditorBrowserTest, AFileThatCannotBeOpenedChangesNothing) {
    StandardLibrary();
    ASSERT_TRUE(editor_->OpenPicture(pics_ + "/b.bmp"));
    ChangePhoto();
    Tap(KEY_UP, 3);
    Choose(kPictureTheme, 1);
    const std::vector<uint8_t> photo = Photo();
    shell_.answers = {false};
    OpenPics();
    ASSERT_EQ(shell_.questions.size(), 1u);
    EXPECT_EQ(shell_.questions[0].text, "Do you want to save this image ?");
    Tap(KEY_ACTION);  // a.jpg, the first by name
    EXPECT_EQ(editor_->Browser(), nullptr);
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
    EXPECT_EQ(shell_.messages[0].text, "Cannot open this picture !");
    EXPECT_EQ(Photo(), photo);
    EXPECT_TRUE(State().photoChanged && State().object.present);
    EXPECT_EQ(State().photoY, 3);
    EXPECT_EQ(State().currentFile, pics_ + "/b.bmp");
    EXPECT_EQ(State().workFolder, dir_.Path());

    // Yes to the save question runs the Save-as dialog before the browser.
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    editor_->Command(CMD_OPEN);
    EXPECT_EQ(shell_.saveAsDialogs.size(), 1u);
    EXPECT_NE(editor_->Browser(), nullptr);
}

TEST_F(EditorBrowserTest, WhileUpItTakesOnlyItsOwnCommandsAndCancelChangesNothing) {
    OpenPics();
    const OpenBrowser* browser = editor_->Browser();
    const int screens = shell_.screens;
    for (uint16_t id : {CMD_BRIGHTNESS, CMD_OPEN, CMD_SAVE_AS, CMD_RECOVER}) {
        editor_->Command(id);
    }
    editor_->MenuPopup();
    editor_->Paint();  // the browser, not the photo
    EXPECT_EQ(editor_->Browser(), browser);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_TRUE(shell_.saveAsDialogs.empty());
    EXPECT_EQ(shell_.screens, screens);
    EXPECT_EQ(shell_.browserRepaints, 2);

    // The folder shown, in other letters, and a cancelled dialog: no change.
    std::string shouted = pics_;
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    shell_.folderAnswers = {shouted, std::nullopt};
    editor_->Command(CMD_CHANGE_FOLDER);
    editor_->Command(CMD_CHANGE_FOLDER);
    EXPECT_EQ(browser->Folder(), pics_);
    EXPECT_EQ(shell_.browserRepaints, 2);

    shell_.titles.clear();
    editor_->Command(CMD_CANCEL);
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(shell_.titles, (std::vector<std::string>{"Fotakle"}));
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(Photo(), original_);
    EXPECT_EQ(State().workFolder, dir_.Path());

    // The action key on an empty list is Cancel.
    editor_->Command(CMD_OPEN);
    Tap(KEY_ACTION);
    EXPECT_EQ(editor_->Browser(), nullptr);
}

TEST_F(EditorBrowserTest, OpenPictureIsRefusedInAModeAndWhileTheBrowserIsUp) {
    const std::string picture = pics_ + "/b.bmp";
    editor_->Command(CMD_OPEN);
    EXPECT_FALSE(editor_->OpenPicture(picture));
    editor_->Command(CMD_CANCEL);
    for (uint16_t mode : {CMD_RESCALE, CMD_CONTRAST, CMD_WAX_PAINT, CMD_COLOR_TONES}) {
        SCOPED_TRACE(mode);
        editor_->Command(mode);
        const std::vector<uint8_t> photo = Photo();
        EXPECT_FALSE(editor_->OpenPicture(picture));
        EXPECT_EQ(Photo(), photo);
        EXPECT_EQ(State().currentFile, "");
        editor_->Command(CMD_CANCEL);
    }
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_EQ(Photo(), original_);
    EXPECT_TRUE(editor_->OpenPicture(picture));
    EXPECT_EQ(CanvasPixel(Photo(), 58, 70), PixelAt(picture_.get(), 0, 0));
}

// The browser never waits for a thumbnail: keys and paints are taken while
// they are being made, and each one made repaints the rows on screen.
TEST_F(EditorBrowserTest, KeysAreTakenWhileThumbnailsAreMadeAndEachArrivalRepaints) {
    shell_.deferThumbnails = true;
    OpenPics();
    const OpenBrowser* browser = editor_->Browser();
    EXPECT_EQ(shell_.thumbnailJobs.size(), 2u);
    EXPECT_TRUE(browser->ThumbnailsPending());
    const int repaints = shell_.browserRepaints;
    Tap(KEY_DOWN);
    EXPECT_EQ(browser->Selection(), 1);
    editor_->Paint();
    EXPECT_EQ(shell_.browserRepaints, repaints + 2);
    EXPECT_TRUE(browser->ThumbnailsPending());   // neither made a thumbnail
    EXPECT_EQ(shell_.thumbnailJobs.size(), 2u);  // asked for again with the key

    EXPECT_EQ(shell_.FinishThumbnails(), 2);
    EXPECT_FALSE(browser->ThumbnailsPending());
    EXPECT_NE(browser->Entry(1).thumbnail, nullptr);
    EXPECT_EQ(shell_.browserRepaints, repaints + 4);
}

TEST_F(EditorBrowserTest, ResultsForAFolderNoLongerShownAreDropped) {
    shell_.deferThumbnails = true;
    OpenPics();
    const std::vector<ThumbnailJob> jobs = shell_.thumbnailJobs;
    const ThumbnailSink sink = shell_.thumbnailSink;
    ASSERT_EQ(jobs.size(), 2u);

    // Back in the work folder, which holds one picture of the same name.
    EXPECT_TRUE(SavePicture(dir_.File("b.bmp"), *picture_).Ok());
    shell_.folderAnswers = {dir_.Path()};
    editor_->Command(CMD_CHANGE_FOLDER);
    ASSERT_EQ(editor_->Browser()->Count(), 1);
    const int repaints = shell_.browserRepaints;
    for (const ThumbnailJob& job : jobs) {
        sink(job, MakePatternImage(36, 36));
    }
    EXPECT_EQ(shell_.browserRepaints, repaints);
    EXPECT_TRUE(editor_->Browser()->ThumbnailsPending());

    // Closed, the browser takes nothing and the shell is told to drop all.
    editor_->Command(CMD_CANCEL);
    EXPECT_EQ(shell_.thumbnailRequests.back(), 0u);
    EXPECT_FALSE(shell_.thumbnailSink);
    sink(jobs[0], MakePatternImage(36, 36));
    EXPECT_EQ(editor_->Browser(), nullptr);
}

// Thumbnails made are kept for the next browser that shows their folder:
// reopened there, it asks for none and shows them at once.
TEST_F(EditorBrowserTest, ThumbnailsAreKeptForTheNextBrowserOfTheirFolder) {
    OpenPics();
    const DibImage* made = editor_->Browser()->Entry(1).thumbnail.get();
    ASSERT_NE(made, nullptr);
    editor_->Command(CMD_CANCEL);

    // An empty folder shown in between leaves them kept.
    shell_.deferThumbnails = true;
    editor_->Command(CMD_OPEN);
    editor_->Command(CMD_CANCEL);
    editor_->Command(CMD_OPEN);
    shell_.folderAnswers = {pics_};
    editor_->Command(CMD_CHANGE_FOLDER);
    EXPECT_EQ(shell_.thumbnailRequests.back(), 0u);
    EXPECT_EQ(editor_->Browser()->Entry(1).thumbnail.get(), made);
    EXPECT_FALSE(editor_->Browser()->ThumbnailsPending());

    // OK adopts the folder; the next Open starts there with them.
    Tap(KEY_DOWN);
    Tap(KEY_ACTION);
    ASSERT_EQ(State().workFolder, pics_);
    editor_->Command(CMD_OPEN);
    EXPECT_EQ(shell_.thumbnailRequests.back(), 0u);
    EXPECT_EQ(editor_->Browser()->Entry(1).thumbnail.get(), made);
}
