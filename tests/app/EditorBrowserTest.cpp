// The Open browser in the editor: "Open" with its save question, the keys
// and commands while it is up, OK loading a file and adopting its folder, a
// file that cannot be opened, Cancel and Change Folder.
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/SavePicture.h"

namespace fs = std::filesystem;

class EditorBrowserTest : public EditorTest {
  protected:
    EditorBrowserTest() : pics_(dir_.File("Pics")) {
        fs::create_directory(pics_);
        picture_ = MakePatternImage(60, 40);
        EXPECT_EQ(SavePicture(pics_ + "/b.bmp", picture_.get(), nullptr), 1);
        EXPECT_TRUE(WriteWholeFile(pics_ + "/a.jpg", {0xFF, 0xD8, 0xFF, 0x00}));  // undecodable
    }
    void Brighten() {
        editor_->Command(CMD_BRIGHTNESS);
        Tap(KEY_UP);
        editor_->Command(CMD_DONE);
    }
    // Opens the browser on the work folder (which holds no pictures) and
    // changes it to Pics.
    void OpenPics() {
        editor_->Command(CMD_OPEN);
        ASSERT_NE(editor_->Browser(), nullptr);
        shell_.folderAnswers = {pics_};
        editor_->Command(CMD_CHANGE_FOLDER);
        ASSERT_EQ(editor_->Browser()->Count(), 2);
    }

    std::string pics_;
    DibBlock picture_;
};

TEST_F(EditorBrowserTest, OpenShowsTheWorkFolderAndOkLoadsTheFileAndAdoptsItsFolder) {
    editor_->Command(CMD_OPEN);
    const OpenBrowser* browser = editor_->Browser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(shell_.browser, browser);
    EXPECT_EQ(browser->Folder(), dir_.Path());
    EXPECT_EQ(browser->Count(), 0);
    EXPECT_EQ(shell_.bars.back(), BAR_BROWSER);
    EXPECT_TRUE(shell_.questions.empty());

    // Change Folder opens the dialog on the folder shown.
    shell_.folderAnswers = {pics_};
    editor_->Command(CMD_CHANGE_FOLDER);
    EXPECT_EQ(shell_.folderDialogs, (std::vector<std::string>{dir_.Path()}));
    EXPECT_EQ(browser->Folder(), pics_);
    EXPECT_EQ(browser->Count(), 2);
    EXPECT_EQ(shell_.browserRepaints, 1);
    EXPECT_NE(browser->Entry(1).thumbnail, nullptr);  // loaded before the repaint

    // The d-pad moves the selection, without wrapping; digits do nothing.
    Tap(KEY_DOWN);
    Tap(KEY_RIGHT);
    Tap(KEY_DIGIT_0 + 1);
    EXPECT_EQ(browser->Selection(), 1);
    EXPECT_EQ(shell_.browserRepaints, 2);
    EXPECT_EQ(State().photoX, 0);

    const int screens = shell_.screens;
    Tap(KEY_ACTION);
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(shell_.browser, nullptr);
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    EXPECT_EQ(State().currentFile, pics_ + "/b.bmp");
    EXPECT_EQ(State().workFolder, pics_);
    EXPECT_FALSE(State().recoverFromStartup);
    EXPECT_GT(shell_.screens, screens);
    EXPECT_EQ(CanvasPixel(Photo(), 58, 70), PixelAt(picture_.get(), 0, 0));  // centred
    EXPECT_EQ(shell_.lastScreen, Photo());
    EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(EditorBrowserTest, OpenAsksToSaveChangesFirst) {
    Brighten();
    shell_.answers = {false};
    editor_->Command(CMD_OPEN);
    ASSERT_EQ(shell_.questions.size(), 1u);
    EXPECT_EQ(shell_.questions[0].caption, "Save");
    EXPECT_EQ(shell_.questions[0].text, "Do you want to save this image ?");
    EXPECT_NE(editor_->Browser(), nullptr);
    EXPECT_TRUE(State().photoChanged);  // until a picture is opened
    editor_->Command(CMD_CANCEL);

    // Yes runs the Save-as dialog; the browser follows whatever it gave.
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
    editor_->Command(CMD_OPEN);
    EXPECT_EQ(shell_.saveAsDialogs.size(), 1u);
    EXPECT_NE(editor_->Browser(), nullptr);
}

TEST_F(EditorBrowserTest, AFileThatCannotBeOpenedChangesNothing) {
    Brighten();
    Tap(KEY_UP, 3);
    editor_->MutableState().object.present = true;
    editor_->MutableState().currentFile = dir_.File("before.jpg");
    const std::vector<uint8_t> photo = Photo();
    shell_.answers = {false};
    OpenPics();
    Tap(KEY_ACTION);  // a.jpg, first by name
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
    EXPECT_EQ(shell_.messages[0].text, "Cannot open this picture !");
    EXPECT_EQ(Photo(), photo);
    EXPECT_TRUE(State().photoChanged && State().object.present);
    EXPECT_EQ(State().photoY, 3);
    EXPECT_EQ(State().currentFile, dir_.File("before.jpg"));
    EXPECT_EQ(State().workFolder, dir_.Path());
    EXPECT_FALSE(shell_.waitCursor.back());
}

TEST_F(EditorBrowserTest, CancelClosesTheBrowserAndChangesNothing) {
    OpenPics();
    shell_.titles.clear();
    const int screens = shell_.screens;
    editor_->Command(CMD_CANCEL);
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(shell_.browserShown, (std::vector<bool>{true, false}));
    EXPECT_EQ(shell_.titles, (std::vector<std::string>{"Fotakle"}));
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(Photo(), original_);
    EXPECT_EQ(State().workFolder, dir_.Path());
    EXPECT_EQ(State().currentFile, "");

    // The action key on an empty list is Cancel.
    editor_->Command(CMD_OPEN);
    Tap(KEY_ACTION);
    EXPECT_EQ(editor_->Browser(), nullptr);
    EXPECT_EQ(Photo(), original_);
}

TEST_F(EditorBrowserTest, WhileTheBrowserIsUpOnlyItsCommandsAreTaken) {
    editor_->Command(CMD_OPEN);
    const OpenBrowser* browser = editor_->Browser();
    const int screens = shell_.screens;
    shell_.bars.clear();
    for (uint16_t id : {CMD_BRIGHTNESS, CMD_RESCALE, CMD_OPEN, CMD_SAVE_AS, CMD_RECOVER}) {
        editor_->Command(id);
    }
    editor_->MenuPopup();
    editor_->BackKey();
    EXPECT_EQ(editor_->Browser(), browser);
    EXPECT_FALSE(State().adjustMode || State().rescaleMode);
    EXPECT_TRUE(shell_.saveAsDialogs.empty());
    EXPECT_TRUE(shell_.bars.empty());
    EXPECT_EQ(shell_.screens, screens);

    // A paint repaints the browser, not the photo.
    editor_->Paint();
    EXPECT_EQ(shell_.browserRepaints, 1);
    EXPECT_EQ(shell_.screens, screens);

    // The same folder in other letters, or a cancelled dialog: no change.
    std::string shouted = dir_.Path();
    for (char& c : shouted) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    shell_.folderAnswers = {shouted, std::nullopt};
    editor_->Command(CMD_CHANGE_FOLDER);
    editor_->Command(CMD_CHANGE_FOLDER);
    EXPECT_EQ(browser->Folder(), dir_.Path());
    EXPECT_EQ(shell_.browserRepaints, 1);

    // Close still closes.
    editor_->Command(CMD_CLOSE);
    EXPECT_TRUE(shell_.quit);
}
