// Damaged pictures in the editor: a file of any format cut short opens with
// the part that could be read, and the user is told after it is shown, at
// Open (from the browser too) and at Recover; a file of which nothing can be
// read is refused as before; the start-up picture is never told about; the
// file itself is never written.
#include <filesystem>
#include <map>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "image/SavePicture.h"
#include "support/WebpTestFiles.h"

namespace {

using Bytes = std::vector<uint8_t>;

const char kDamaged[] = "This picture is damaged: only part of it could be shown.";

Bytes FirstPart(const Bytes& bytes, size_t numerator, size_t denominator) {
    return Bytes(bytes.begin(),
                 bytes.begin() + static_cast<long>(bytes.size() * numerator / denominator));
}

}  // namespace

class EditorDamagedPictureTest : public EditorTest {
  protected:
    // Pics holds a picture of every format cut at 60 % of its bytes.
    EditorDamagedPictureTest() : pics_(dir_.File("Pics")) {
        std::filesystem::create_directory(pics_);
        const DibBlock picture = MakePatternImage(120, 90);
        for (const char* name : {"cut.jpg", "cut.png", "cut.bmp"}) {
            EXPECT_TRUE(SavePicture(pics_ + "/" + name, *picture).Ok());
        }
        EXPECT_TRUE(WriteWholeFile(pics_ + "/cut.webp", EncodeTestWebp(*picture, 90)));
        std::filesystem::copy_file(TestDataPath("gif/giflib-porsche.gif"), pics_ + "/cut.gif");
        for (const char* name : {"cut.jpg", "cut.png", "cut.bmp", "cut.webp", "cut.gif"}) {
            const std::string path = pics_ + "/" + name;
            EXPECT_TRUE(WriteWholeFile(path, FirstPart(ReadWholeFile(path), 6, 10)));
            files_[path] = ReadWholeFile(path);
        }
    }
    // No file was written over.
    void ExpectFilesUntouched() {
        for (const auto& [path, bytes] : files_) {
            EXPECT_EQ(ReadWholeFile(path), bytes) << path;
        }
    }

    std::string pics_;
    std::map<std::string, Bytes> files_;
};

TEST_F(EditorDamagedPictureTest, EveryFormatCutShortOpensAndTheUserIsToldAfterItIsShown) {
    for (const auto& entry : files_) {
        const std::string& path = entry.first;
        SCOPED_TRACE(path);
        shell_.messages.clear();
        const Bytes before = Photo();
        bool shownFirst = false;
        shell_.whileModal = [&] { shownFirst = shell_.lastScreen == Photo(); };
        ASSERT_TRUE(editor_->OpenPicture(path));
        ASSERT_EQ(shell_.messages.size(), 1u);
        EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
        EXPECT_EQ(shell_.messages[0].text, kDamaged);
        EXPECT_TRUE(shownFirst) << "the message came before the picture was shown";
        EXPECT_EQ(State().currentFile, path);
        EXPECT_NE(Photo(), before);
        EXPECT_FALSE(State().photoChanged);
    }
    ExpectFilesUntouched();
}

// The browser's OK opens it like any other picture, and the user is told
// once the browser is gone.
TEST_F(EditorDamagedPictureTest, OpenBrowserOkTellsOnceTheBrowserIsGone) {
    editor_->Command(CMD_OPEN);
    shell_.folderAnswers = {pics_};
    editor_->Command(CMD_CHANGE_FOLDER);
    ASSERT_NE(editor_->Browser(), nullptr);
    ASSERT_EQ(editor_->Browser()->Count(), 5) << "every format is listed";
    bool browserGone = false;
    shell_.whileModal = [&] { browserGone = editor_->Browser() == nullptr; };
    Tap(KEY_ACTION);  // the first: cut.bmp
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].text, kDamaged);
    EXPECT_TRUE(browserGone);
    EXPECT_EQ(State().currentFile, pics_ + "/cut.bmp");
    ExpectFilesUntouched();
}

// Recover brings back the part that was shown (from the edit history, so
// without a second word); a file of which nothing can be read is still
// refused with "Cannot open this picture !".
TEST_F(EditorDamagedPictureTest, RecoverBringsThePartBackAndAnUnreadableFileIsStillRefused) {
    const std::string path = pics_ + "/cut.png";
    ASSERT_TRUE(editor_->OpenPicture(path));
    const Bytes opened = Photo();
    ChangePhoto();
    shell_.messages.clear();
    editor_->Command(CMD_RECOVER);
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_EQ(Photo(), opened);
    EXPECT_FALSE(State().photoChanged);

    const std::string nothing = pics_ + "/nothing.png";
    ASSERT_TRUE(WriteWholeFile(nothing, FirstPart(ReadWholeFile(path), 1, 20)));
    shell_.messages.clear();
    EXPECT_FALSE(editor_->OpenPicture(nothing));
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].text, "Cannot open this picture !");
    EXPECT_EQ(State().currentFile, path);
    EXPECT_EQ(Photo(), opened);
    ExpectFilesUntouched();
}

// The start-up picture is the program's own: damaged, it is shown as far as
// it goes, at start and at Recover, without a word.
TEST_F(EditorDamagedPictureTest, TheStartupPictureIsNeverToldAbout) {
    const Bytes whole = ReadWholeFile(StartupPath());
    ASSERT_TRUE(WriteWholeFile(StartupPath(), FirstPart(whole, 6, 10)));
    shell_.messages.clear();
    StartEditor();
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_NE(Photo(), original_) << "the cut start-up picture was not loaded";
    const Bytes shown = Photo();
    ChangePhoto();
    editor_->Command(CMD_RECOVER);
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_EQ(Photo(), shown);
}
