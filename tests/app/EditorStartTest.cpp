// Start-up: the start-up picture in any shape or none, the picker, the work
// folder, and what the window is shown.
#include <algorithm>
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/LoadPicture.h"

TEST_F(EditorTest, StartShowsTheStartupPictureInNormalMode) {
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    ASSERT_TRUE(LoadPictureInto(StartupPath(), *canvas, LoadRequest()).Ok());
    const uint8_t* pixels = DibPixels(canvas.get());
    EXPECT_EQ(original_, std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes));
    EXPECT_EQ(shell_.lastScreen, original_);
    EXPECT_EQ(shell_.titles, (std::vector<std::string>{"Fotakle"}));
    EXPECT_EQ(shell_.bars, (std::vector<BarId>{BAR_MAIN}));
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(State().object.type, OBJECT_NONE);
    EXPECT_FALSE(State().photoChanged);
    ASSERT_EQ(State().history.AppliedSteps().size(), 1u);
    EXPECT_EQ(State().history.AppliedSteps()[0].source, StartupPath());
    // The picker starts on the spectrum's red.
    EXPECT_EQ(State().picker.cursorX, 88);
    EXPECT_EQ(ColorValue(State().currentColor), 0xFF0500u);
    EXPECT_TRUE(State().banner && State().arrowUp && State().arrowDown && State().digits);
}

TEST_F(EditorTest, MissingOrUnreadableStartupPictureGivesAWhitePictureThatWorks) {
    for (bool garbage : {false, true}) {
        SCOPED_TRACE(garbage ? "garbage" : "missing");
        std::filesystem::remove(StartupPath());
        if (garbage) {
            ASSERT_TRUE(WriteWholeFile(StartupPath(), {0xFF, 0xD8, 0x00, 0x01}));
        }
        shell_.messages.clear();
        StartEditor();
        const std::vector<uint8_t> photo = Photo();
        ASSERT_EQ(photo.size(), static_cast<size_t>(kCanvasPixelBytes));
        EXPECT_TRUE(std::all_of(photo.begin(), photo.end(), [](uint8_t b) { return b == 255; }));
        editor_->Command(CMD_RESCALE);
        editor_->Command(CMD_DECREASE);
        editor_->Command(CMD_DONE);
        EXPECT_EQ(CanvasPixel(Photo(), 0, 0), ColorValue(State().currentColor));
        EXPECT_EQ(CanvasPixel(Photo(), 88, 90), 0xFFFFFFu);
        editor_->Command(CMD_OIL_PAINT);
        editor_->Command(CMD_OK);
        editor_->Command(CMD_RECOVER);  // back to the white picture the history began with
        EXPECT_EQ(Photo(), photo);
        EXPECT_FALSE(State().photoChanged);
        EXPECT_TRUE(shell_.messages.empty());
    }
}

TEST_F(EditorTest, WorkFolderIsTheSettingElseTheDefaultElseTheRoot) {
    std::filesystem::create_directories(dir_.File("photos"));
    std::filesystem::create_directories(dir_.File("pictures"));
    ASSERT_TRUE(WriteWholeFile(dir_.File("file"), {1}));
    struct Case {
        const char* setting;  // nullptr: none
        const char* defaultFolder;
        std::string expected;
    };
    const Case cases[] = {
        {"photos/", "pictures", dir_.File("photos")},
        {nullptr, "pictures/", dir_.File("pictures")},
        {"", "pictures", dir_.File("pictures")},
        {"gone", "pictures", dir_.File("pictures")},
        {"file", "pictures", dir_.File("pictures")},
        {"gone", "gone", "/"},
        {nullptr, "file", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.setting != nullptr ? c.setting : "(none)") + " " +
                     c.defaultFolder);
        settings_.values.clear();
        if (c.setting != nullptr) {
            settings_.values[{"MainSection", "WorkFolder"}] =
                c.setting[0] != '\0' ? dir_.File(c.setting) : "";
        }
        editor_ = std::make_unique<Editor>(shell_, &settings_, folder_);
        editor_->Start(dir_.File(c.defaultFolder));
        EXPECT_EQ(State().workFolder, c.expected);
    }
}
