// A started editor in a temporary program folder of its own, whose
// FotakleFolder/BackPict.ADM is a generated pattern, with a scripted shell
// and in-memory settings. Every scene is reached as a user reaches it:
// through commands, keys and OpenPicture.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScriptedShell.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "support/TestSupport.h"

// Theme 0 of each kind of the standard library (EditorTest::StandardLibrary).
constexpr uint16_t kFrameTheme = 50001;      // "Classic", 12 frames
constexpr uint16_t kPattern24Theme = 50021;  // "Stars", 7 stamps
constexpr uint16_t kPictureTheme = 50031;    // "Party", 2 pictures
constexpr uint16_t kWordTheme = 50041;       // "Hello", 4 words

constexpr int16_t Digit(int d) {
    return static_cast<int16_t>(KEY_DIGIT_0 + d);
}

class EditorTest : public ::testing::Test {
  protected:
    EditorTest();
    void SetUp() override;

    std::string StartupPath() const { return folder_ + "FotakleFolder/BackPict.ADM"; }
    std::string Assets() const { return folder_ + "FotakleFolder/"; }
    void StartEditor();  // a new editor, seeded and started
    // Writes the standard decoration library into the asset folder and opens
    // a pop-up, which reads it: frames, 24-pixel stamps, pictures and words.
    void StandardLibrary();
    // Chooses a theme from the "Object" menu and places its item with a
    // digit key (the library must have been read).
    void Choose(uint16_t theme, int digit);
    // Brightens the photo by one step: the photo counts as changed.
    void ChangePhoto();
    // Runs command, taps the keys and ends the mode with end.
    void Mode(uint16_t command, const std::vector<int16_t>& keys, uint16_t end);

    const EditorState& State() const { return editor_->State(); }
    std::vector<uint8_t> Photo() const;         // the display photo's rows
    std::vector<uint8_t> ModeCopy() const;      // the mode copy's rows
    void Hold(int16_t key, int presses);        // presses without release
    void Tap(int16_t key, int times = 1);       // press and release each time
    std::vector<std::string> Captions() const;  // of the questions asked so far
    std::vector<std::string> Messages() const;  // the texts of the messages shown so far

    TempDir dir_;
    std::string folder_;  // program folder, with its trailing "/"
    ScriptedShell shell_;
    MemorySettings settings_;
    std::unique_ptr<Editor> editor_;
    std::vector<uint8_t> original_;  // the display photo right after start-up
};

// Pixel (x, y), y from the bottom row, of 176 x 180 rows, as 0xRRGGBB.
uint32_t CanvasPixel(const std::vector<uint8_t>& pixels, int32_t x, int32_t y);
uint32_t ColorValue(const PixelColor& color);
const MenuItem* FindMenuItem(const Menu& menu, uint16_t id);  // at any depth
