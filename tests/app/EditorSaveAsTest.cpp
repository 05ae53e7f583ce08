// "Save as": the Save-as dialog's proposals, writing the photo, its failures,
// and the Close flow's save. The replace question and the BMP's bytes are
// checked by the replay journey that opens, changes and saves a picture.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/SavePicture.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

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
}

TEST_F(EditorSaveAsTest, AWriteFailureIsReportedAndChangesNothing) {
    // Targets that cannot be written even by root: a name longer than a
    // file name may be, and a folder in place of the file.
    fs::create_directory(dir_.File("folder.jpg"));
    OpenNew(dir_.File("before.jpg"));
    ChangePhoto();
    const std::string tooLong(300, 'n');
    for (const std::string& name : {tooLong, std::string("folder")}) {
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

// Close (the command or the window's close button) asks to save only what
// is unsaved: a changed photo, a placed frame, a floating object (which it
// then offers to merge). A save that fails keeps the editor open; a
// cancelled one goes ahead. Quitting remembers the work folder.
TEST_F(EditorSaveAsTest, CloseAsksToSaveWhatIsUnsavedAndStaysOnlyWhenTheSaveFails) {
    StandardLibrary();
    fs::create_directory(dir_.File("folder.jpg"));
    using Answers = std::vector<ScriptedShell::SaveAsAnswer>;
    using Strings = std::vector<std::string>;
    const ScriptedShell::SaveAsAnswer cancel = ScriptedShell::CancelSaveAs();
    const auto changed = [&] { ChangePhoto(); };
    const auto choose = [&](uint16_t theme) { return [this, theme] { Choose(theme, 1); }; };
    struct Case {
        const char* name;
        std::function<void()> unsaved;
        bool window;  // the close button, not the command
        std::vector<bool> answers;
        Answers saveAs;
        Strings captions;
        bool quit;
    };
    // clang-format off
    const Case cases[] = {
        {"nothing", [] {}, false, {}, {}, {}, true},
        {"changed, not saved", changed, false, {false}, {}, {"Save"}, true},
        {"framed, not saved", choose(kFrameTheme), true, {false}, {}, {"Save"}, true},
        {"object, not merged, cancelled", choose(kWordTheme), false, {true, false}, {cancel},
            {"Save", "Floating"}, true},
        {"object, merged and saved", choose(kPictureTheme), false, {true, true},
            {Save("last", PICTURE_BMP)}, {"Save", "Floating"}, true},
        {"changed, failed", changed, false, {true, true}, {Save("folder")}, {"Save", "Save File"},
            false},
        {"changed, cancelled", changed, true, {true}, {cancel}, {"Save"}, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartEditor();
        editor_->MenuPopup();
        c.unsaved();
        shell_.questions.clear();
        shell_.messages.clear();
        settings_.values.clear();
        shell_.quit = false;
        shell_.answers.assign(c.answers.begin(), c.answers.end());
        shell_.saveAsAnswers.assign(c.saveAs.begin(), c.saveAs.end());
        if (c.window) {
            editor_->CloseRequested();
        } else {
            editor_->Command(CMD_CLOSE);
        }
        ASSERT_EQ(Captions(), c.captions);
        if (!c.captions.empty()) {
            EXPECT_EQ(shell_.questions[0].text, "Do you want to save this image ?");
        }
        if (c.captions.size() > 1 && c.captions[1] == "Floating") {
            EXPECT_EQ(shell_.questions[1].text, "Do you want to merge the moveable object ?");
        }
        EXPECT_TRUE(shell_.answers.empty() && shell_.saveAsAnswers.empty());
        EXPECT_EQ(shell_.quit, c.quit);
        EXPECT_EQ(Messages(), c.quit ? Strings{} : Strings{"Failed to save file !"});
        using Settings = decltype(settings_.values);
        const Settings remembered = {{{"MainSection", "WorkFolder"}, dir_.Path()}};
        EXPECT_EQ(settings_.values, c.quit ? remembered : Settings{});
    }
    // What was saved on the way out holds the merged picture.
    const DibBlock saved = LoadBmp(dir_.File("last.bmp"));
    ASSERT_TRUE(saved);
    EXPECT_NE(PixelAt(saved.get(), 80, 80), CanvasPixel(original_, 80, 80));
    EXPECT_EQ(PixelAt(saved.get(), 10, 10), CanvasPixel(original_, 10, 10));
}

// Names that would leave the work folder or carry control characters are
// refused with a message each time, the dialog stays open for the next OK,
// and nothing is written; a name with blanks or dots inside is fine.
TEST_F(EditorSaveAsTest, NamesLeavingTheFolderOrHoldingControlCharactersAreRefused) {
    const auto listing = [](const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    ASSERT_EQ(State().workFolder, dir_.Path());
    const std::string outside = fs::path(dir_.Path()).parent_path().string();
    const std::vector<std::string> before = listing(dir_.Path());
    ChangePhoto();
    const char* const refused[] = {"../escaped", "..",  ".", "a/b",     "/escaped-too", "tab\there",
                                   "new\nline",  "   ", "",  "del\x7f", "c1\xc2\x85"};
    for (const char* name : refused) {
        shell_.saveAsAnswers.push_back(Save(name, PICTURE_BMP));
    }
    shell_.saveAsAnswers.push_back(ScriptedShell::CancelSaveAs());
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.messages.size(), std::size(refused));
    for (const ScriptedShell::Box& message : shell_.messages) {
        EXPECT_EQ(message.text, "A file name cannot contain / or control characters.");
    }
    EXPECT_TRUE(shell_.questions.empty());
    EXPECT_TRUE(shell_.saveAsAnswers.empty());
    EXPECT_FALSE(fs::exists(outside + "/escaped.bmp"));
    EXPECT_FALSE(fs::exists("/escaped-too.bmp"));
    EXPECT_EQ(listing(dir_.Path()), before);
    EXPECT_TRUE(State().photoChanged);

    shell_.messages.clear();
    shell_.saveAsAnswers = {Save(" my photo..1 ", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_TRUE(shell_.messages.empty());
    EXPECT_TRUE(fs::is_regular_file(dir_.File(" my photo..1 .bmp")));
}

// PNG is written lossless; a JPEG at the quality chosen in the dialog, which
// opens on Good: the same bytes as the photo saved at that quality.
TEST_F(EditorSaveAsTest, PngAndTheChosenJpegQualityAreWritten) {
    OpenNew(dir_.File("photo.bmp"));
    ChangePhoto();
    shell_.saveAsAnswers = {Save("lossless", PICTURE_PNG)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(shell_.saveAsDialogs.at(0).jpegQuality, kJpegQualityGood);
    EXPECT_EQ(State().currentFile, dir_.File("lossless.png"));
    const DibBlock png = LoadBmp(dir_.File("lossless.png"));
    ASSERT_TRUE(png);
    const uint8_t* pixels = DibPixels(png.get());
    EXPECT_EQ(Bytes(pixels, pixels + kCanvasPixelBytes), Photo());

    const struct {
        int chosen;  // 0: the quality field left as it opened
        int written;
    } cases[] = {{kJpegQualityBest, 95}, {kJpegQualitySmall, 75}, {0, 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        ChangePhoto();
        shell_.saveAsAnswers = {ScriptedShell::SaveAs("q", PICTURE_JPEG, c.chosen)};
        shell_.answers = {true};  // replace q.jpg after the first round
        editor_->Command(CMD_SAVE_AS);
        const DibBlock photo = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        std::memcpy(DibPixels(photo.get()), Photo().data(), kCanvasPixelBytes);
        SaveOptions options;
        options.jpegQuality = c.written;
        ASSERT_TRUE(SavePicture(dir_.File("expected.jpg"), *photo, options).Ok());
        EXPECT_EQ(ReadWholeFile(dir_.File("q.jpg")), ReadWholeFile(dir_.File("expected.jpg")));
    }
}
