#include "EditorFixture.h"

#include <filesystem>

#include "app/Commands.h"
#include "decor/AssetTestSupport.h"
#include "image/SavePicture.h"

EditorTest::EditorTest() : folder_(dir_.Path() + "/") {
    std::filesystem::create_directories(folder_ + "FotakleFolder");
}

void EditorTest::SetUp() {
    ASSERT_TRUE(SavePicture(StartupPath(), *MakePatternImage(kCanvasWidth, kCanvasHeight)).Ok());
    StartEditor();
    original_ = Photo();
}

void EditorTest::StartEditor() {
    editor_ = std::make_unique<Editor>(shell_, &settings_, folder_);
    editor_->SeedRandom(7);
    editor_->Start(dir_.Path());
}

void EditorTest::StandardLibrary() {
    AddAssetTheme(Assets(), DECOR_FRAME, "Classic", 12);
    AddAssetTheme(Assets(), DECOR_PATTERN24, "Stars", 7);
    AddAssetTheme(Assets(), DECOR_PICTURE, "Party", 2);
    AddAssetTheme(Assets(), DECOR_WORD, "Hello", 4);
    editor_->MenuPopup();
}

void EditorTest::Choose(uint16_t theme, int digit) {
    editor_->Command(theme);
    Tap(Digit(digit));
}

void EditorTest::ChangePhoto() {
    Mode(CMD_BRIGHTNESS, {KEY_UP}, CMD_DONE);
}

void EditorTest::Mode(uint16_t command, const std::vector<int16_t>& keys, uint16_t end) {
    editor_->Command(command);
    for (const int16_t key : keys) {
        Tap(key);
    }
    editor_->Command(end);
}

std::vector<uint8_t> EditorTest::Photo() const {
    const DibImage* photo = State().displayPhoto.get();
    const uint8_t* pixels = photo != nullptr ? DibPixels(photo) : nullptr;
    return pixels != nullptr ? std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes)
                             : std::vector<uint8_t>();
}

std::vector<uint8_t> EditorTest::ModeCopy() const {
    const DibImage* copy = State().modeCopy.get();
    if (copy == nullptr) {
        return {};
    }
    const uint8_t* pixels = DibPixels(copy);
    return std::vector<uint8_t>(pixels, pixels + State().modeCopyStride * copy->header.biHeight);
}

void EditorTest::Hold(int16_t key, int presses) {
    for (int i = 0; i < presses; ++i) {
        editor_->KeyDown(key);
    }
}

void EditorTest::Tap(int16_t key, int times) {
    for (int i = 0; i < times; ++i) {
        editor_->KeyDown(key);
        editor_->KeyUp();
    }
}

std::vector<std::string> EditorTest::Captions() const {
    std::vector<std::string> captions;
    for (const ScriptedShell::Box& box : shell_.questions) {
        captions.push_back(box.caption);
    }
    return captions;
}

std::vector<std::string> EditorTest::Messages() const {
    std::vector<std::string> texts;
    for (const ScriptedShell::Box& box : shell_.messages) {
        texts.push_back(box.text);
    }
    return texts;
}

uint32_t CanvasPixel(const std::vector<uint8_t>& pixels, int32_t x, int32_t y) {
    const uint8_t* p = &pixels.at(static_cast<size_t>(y * kCanvasStride + x * 3));
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}

uint32_t ColorValue(const PixelColor& color) {
    return static_cast<uint32_t>(color.red) << 16 | static_cast<uint32_t>(color.green) << 8 |
           static_cast<uint32_t>(color.blue);
}

const MenuItem* FindMenuItem(const Menu& menu, uint16_t id) {
    for (const MenuItem& item : menu) {
        const MenuItem* found = item.popup ? FindMenuItem(item.items, id) : nullptr;
        if (found != nullptr || (!item.popup && item.id == id)) {
            return found != nullptr ? found : &item;
        }
    }
    return nullptr;
}
