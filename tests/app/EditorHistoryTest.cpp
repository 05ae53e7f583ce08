// The editor's history, journey by journey and grouped by kind of step:
// every change is one step; undoing all of them brings back each earlier
// display photo, offset and decoration state byte for byte, redoing each
// later one; the steps rendered at factor 1 are the display photo exactly,
// and rendered larger and averaged back down they look like it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "decor/DecorAssets.h"
#include "history/Recipe.h"
#include "history/RenderHistory.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ImageTestSupport.h"

namespace {

// A smooth colour picture, so that a render at a larger factor averaged
// back to the screen can be compared with the screen pixel by pixel.
DibBlock SmoothPicture(int32_t width, int32_t height, double phase) {
    return MakePicture(width, height, [=](int32_t x, int32_t y) {
        const double u = static_cast<double>(x) / width;
        const double v = static_cast<double>(y) / height;
        const auto blue =
            static_cast<uint8_t>(128 + 100 * std::sin(6.0 * u + phase) * std::cos(4.0 * v));
        const auto green = static_cast<uint8_t>(128 + 90 * std::cos(5.0 * v + 2.0 * u + phase));
        const auto red = static_cast<uint8_t>(40 + 180 * u * v);
        return uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
    });
}

// A grey mask of the size: 255 outside a soft-edged ellipse (inside with
// inverse), 0 in it.
DibBlock SoftMask(int32_t width, int32_t height, bool inside) {
    return MakePicture(width, height, [=](int32_t x, int32_t y) {
        const double dx = (x + 0.5 - width / 2.0) / (width * 0.38);
        const double dy = (y + 0.5 - height / 2.0) / (height * 0.38);
        const double level = std::clamp((std::sqrt(dx * dx + dy * dy) - 0.8) / 0.4, 0.0, 1.0);
        return static_cast<uint32_t>(std::lround(255 * (inside ? 1.0 - level : level))) * 0x010101u;
    });
}

// Each of the picture's channels averaged over factor x factor cells, and
// the mean absolute difference of that to the 176 x 180 screen photo.
double MeanErrorAfterAveraging(const DibImage& large, int32_t factor,
                               const std::vector<uint8_t>& screen) {
    const int32_t stride = DibRowStride(large.header.biWidth, 24);
    const int32_t count = factor * factor;
    double total = 0;
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            for (int32_t c = 0; c < 3; ++c) {
                int32_t sum = 0;
                for (int32_t j = 0; j < factor; ++j) {
                    const uint8_t* row = DibPixels(&large) + (y * factor + j) * stride;
                    for (int32_t i = 0; i < factor; ++i) {
                        sum += row[(x * factor + i) * 3 + c];
                    }
                }
                const int32_t averaged = (sum + count / 2) / count;
                total +=
                    std::abs(averaged - screen[static_cast<size_t>(y * kCanvasStride + x * 3 + c)]);
            }
        }
    }
    return total / kCanvasPixelBytes;
}

// The rows of a 176 x 180 picture, as Photo() gives the display photo's.
std::vector<uint8_t> PixelsOf(const DibImage& picture) {
    const uint8_t* pixels = DibPixels(&picture);
    return std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes);
}

// What Undo and Redo must bring back after each step: the display photo,
// and the photo's offset, whether a frame is placed, whether an object
// floats and where (0, 0 without one).
struct Seen {
    std::vector<uint8_t> photo;
    std::array<int32_t, 6> place;
};

// One input as a user gives it: a key pressed and released times over, a
// key held for times presses and released, a command, a Yes queued for the
// next question, or a command opening the text field, text typed into it
// and the action key.
enum InputKind { TAP, HOLD, COMMAND, YES, TYPE };
struct Input {
    InputKind kind;
    int32_t code = 0;
    int32_t times = 1;
    const char* text = "";
};
using Inputs = std::vector<Input>;
Input Key(int32_t key, int32_t times = 1) {
    return {TAP, key, times};
}
Input Held(int32_t key, int32_t presses) {
    return {HOLD, key, presses};
}
Input Cmd(int32_t id) {
    return {COMMAND, id};
}

class EditorHistoryTest : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        WriteDecorations();
        StartEditor();
        editor_->MenuPopup();  // reads the decorations
        const DibBlock source = SmoothPicture(880, 900, 0.3);
        ASSERT_TRUE(SavePicture(Source(), *source).Ok());
        ASSERT_TRUE(editor_->OpenPicture(Source()));
    }

    std::string Source() const { return dir_.File("source.bmp"); }

    // One theme per kind with soft-edged masks: a frame with an opening, a
    // round picture, a round stamp, a word-shaped blob.
    void WriteDecorations() {
        struct Item {
            int16_t kind;
            const char* theme;
            int32_t width;
            int32_t height;
            bool colour;
        };
        const Item items[] = {{DECOR_FRAME, "Soft", 176, 180, true},
                              {DECOR_PATTERN24, "Dots", 24, 24, false},
                              {DECOR_PICTURE, "Balls", 60, 60, true},
                              {DECOR_WORD, "Blob", 176, 50, false}};
        for (const Item& item : items) {
            const std::string folder = CategoryFolderPath(Assets(), item.kind) + item.theme + "/";
            std::filesystem::create_directories(folder);
            const std::string name = folder + item.theme;
            const DibBlock mask = SoftMask(item.width, item.height, item.kind != DECOR_FRAME);
            const DibBlock colour = SmoothPicture(item.width, item.height, 2.0);
            ASSERT_TRUE(SavePicture(name + "1.adm", item.colour ? *colour : *mask).Ok());
            if (item.colour) {
                ASSERT_TRUE(SavePicture(name + "mask1.adm", *mask).Ok());
            }
        }
    }

    Seen Now() const {
        const EditorState& s = State();
        const bool object = s.object.present;
        return {Photo(),
                {s.photoX, s.photoY, s.frame.placed, object, object ? s.object.x : 0,
                 object ? s.object.y : 0}};
    }

    void ExpectSeen(const Seen& expected, const std::string& when) const {
        const Seen now = Now();
        EXPECT_TRUE(now.photo == expected.photo) << when;
        EXPECT_EQ(now.place, expected.place) << when;
    }

    void Give(const Inputs& inputs) {
        for (const Input& input : inputs) {
            const auto code = static_cast<int16_t>(input.code);
            switch (input.kind) {
                case TAP:
                    Tap(code, input.times);
                    break;
                case HOLD:
                    Hold(code, input.times);
                    editor_->KeyUp();
                    break;
                case COMMAND:
                    editor_->Command(static_cast<uint16_t>(input.code));
                    break;
                case YES:
                    shell_.answers.push_back(true);
                    break;
                case TYPE:
                    editor_->Command(static_cast<uint16_t>(input.code));
                    ASSERT_TRUE(editor_->TypeText(input.text));
                    Tap(KEY_ACTION);
                    ASSERT_EQ(State().object.text, input.text);
                    break;
            }
        }
    }

    RenderResult Render(int32_t factor) const {
        RenderOptions options;
        options.assetFolder = Assets();
        options.factor = factor;
        return RenderHistory(State().history.AppliedSteps(), options);
    }
    // The history rendered at factor 1 is the display photo exactly.
    void ExpectScreenRender() const {
        const RenderResult screen = Render(1);
        ASSERT_TRUE(screen.Ok()) << screen.error << " at step " << screen.step;
        EXPECT_TRUE(PixelsOf(*screen.picture) == Photo()) << "factor 1 is not the screen";
    }

    // Runs the changes, each of which must add exactly one step; then checks
    // the renders, undoes every step and redoes every step. A change may
    // begin with what adds no step (placing or moving a decoration), which
    // Undo keeps: it brings back the state right before the step.
    struct Change {
        Inputs step;
        Inputs prepare = {};
    };
    void Journey(const std::vector<Change>& changes, double largeBound) {
        std::vector<Seen> before;
        std::vector<Seen> after;
        const int32_t first = State().history.UndoSteps();
        for (size_t i = 0; i < changes.size(); ++i) {
            if (!changes[i].prepare.empty()) {
                Give(changes[i].prepare);
                ASSERT_EQ(State().history.UndoSteps(), first + static_cast<int32_t>(i));
            }
            before.push_back(Now());
            Give(changes[i].step);
            ASSERT_EQ(State().history.UndoSteps(), first + static_cast<int32_t>(i) + 1)
                << "change " << i << " is not one step";
            after.push_back(Now());
        }
        ASSERT_EQ(State().mode, EditMode::Normal);
        ExpectScreenRender();
        const RenderResult large = Render(3);
        ASSERT_TRUE(large.Ok()) << large.error << " at step " << large.step;
        ASSERT_EQ(large.picture->header.biWidth, 3 * kCanvasWidth);
        EXPECT_LT(MeanErrorAfterAveraging(*large.picture, 3, Photo()), largeBound);

        for (size_t i = changes.size(); i > 0; --i) {
            editor_->Command(CMD_UNDO);
            ExpectSeen(before[i - 1], "step " + std::to_string(i - 1) + " undone");
        }
        EXPECT_EQ(State().history.RedoSteps(), static_cast<int32_t>(changes.size()));
        for (size_t i = 0; i < changes.size(); ++i) {
            editor_->Command(CMD_REDO);
            ExpectSeen(after[i], "step " + std::to_string(i) + " redone");
        }
        EXPECT_EQ(State().history.RedoSteps(), 0);
    }
};

TEST_F(EditorHistoryTest, MovesRescalesAndTheirFilledStrips) {
    Journey({{{Held(KEY_RIGHT, 3)}},                  // a held key's run
             {{Cmd(CMD_MOVE_UP), Cmd(CMD_MOVE_UP)}},  // a command's run
             {{Cmd(CMD_RESCALE), Cmd(CMD_DONE)}},     // Done of the move, strips filled
             {{Cmd(CMD_RESCALE), Key(Digit(2), 3), Key(KEY_LEFT), Cmd(CMD_DONE)}},
             {{Key(KEY_DOWN)}},
             {{Cmd(CMD_RESET_POSITION)}},
             {{Cmd(CMD_RESCALE), Key(Digit(1), 2), Key(KEY_UP, 2), Cmd(CMD_DONE)}}},
            4.0);
}

TEST_F(EditorHistoryTest, EachAdjustKindAndColorTones) {
    Journey({{{Cmd(CMD_BRIGHTNESS), Key(KEY_UP), Key(KEY_RIGHT), Cmd(CMD_DONE)}},
             {{Cmd(CMD_CONTRAST), Key(KEY_DOWN), Cmd(CMD_DONE)}},
             {{Held(KEY_LEFT, 2)}},
             {{Cmd(CMD_HUE), Key(KEY_UP, 2), Cmd(CMD_DONE)}},  // placed from the offset
             {{Cmd(CMD_VIVIDNESS), Key(KEY_UP, 2), Key(KEY_RIGHT), Cmd(CMD_DONE)}},
             {{Cmd(CMD_COLOR_TONES), Key(KEY_RIGHT, 2), Key(KEY_DOWN), Cmd(CMD_OK)}}},
            4.0);
}

TEST_F(EditorHistoryTest, EachPaintEffect) {
    Journey({{{Cmd(CMD_OIL_PAINT), Cmd(CMD_OK)}},
             {{Key(KEY_UP)}},
             {{Cmd(CMD_WATER_PAINT), Cmd(CMD_OK)}},
             {{Cmd(CMD_WAX_PAINT), Cmd(CMD_OK)}}},
            16.0);
}

// Placing and moving a decoration adds no step; its merge does.
TEST_F(EditorHistoryTest, FrameAndObjectMergesAndDelete) {
    const int32_t frame = CMD_THEME_FIRST + 10 * DECOR_FRAME;
    const int32_t stamp = CMD_THEME_FIRST + 10 * DECOR_PATTERN24;
    const int32_t picture = CMD_THEME_FIRST + 10 * DECOR_PICTURE;
    const int32_t word = CMD_THEME_FIRST + 10 * DECOR_WORD;
    Journey({{{Held(KEY_RIGHT, 2)}},
             {{Cmd(CMD_MERGE)}, {Cmd(frame), Key(Digit(1))}},  // over the moved photo
             // The arrows move the object, not the photo.
             {{Cmd(CMD_MERGE)}, {Cmd(picture), Key(Digit(1)), Key(KEY_LEFT, 5), Key(KEY_UP, 3)}},
             {{Held(KEY_DOWN, 4)}},  // a moved photo under the next object
             {{Cmd(CMD_MERGE)}, {Cmd(stamp), Key(Digit(1))}},
             // Choosing a frame asks to merge the word.
             {{{YES}, Cmd(frame)}, {Cmd(word), Key(Digit(1)), Key(KEY_UP, 2)}},
             {{Cmd(CMD_DELETE)}, {Key(Digit(1))}}},
            4.0);
}

TEST_F(EditorHistoryTest, RecoverGoesBackToTheSavedStepAndPhotoChangedFollowsTheHistory) {
    Mode(CMD_BRIGHTNESS, {KEY_UP}, CMD_DONE);
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("saved", PICTURE_JPEG)};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_FALSE(State().photoChanged);
    const std::vector<uint8_t> saved = Photo();
    Journey({{{Cmd(CMD_OIL_PAINT), Cmd(CMD_OK)}},
             {{Held(KEY_UP, 2)}},
             {{Cmd(CMD_RECOVER)}},  // the saved photo, not the JPEG file
             {{Cmd(CMD_HUE), Key(KEY_UP), Cmd(CMD_DONE)}}},
            16.0);
    EXPECT_TRUE(State().photoChanged);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(Photo(), saved);
    EXPECT_FALSE(State().photoChanged) << "a Recover to the saved step is the saved photo";
    editor_->Command(CMD_CLOSE);
    EXPECT_TRUE(shell_.questions.empty()) << "Close asks nothing at the saved step";
}

// Cancel, Back and a mode left without a change add nothing; a new step
// after an Undo drops the redo branch.
TEST_F(EditorHistoryTest, WhatAddsNoStepAndWhatDropsTheRedoBranch) {
    const std::vector<Inputs> nothing = {
        {Cmd(CMD_RESCALE), Key(Digit(2)), Cmd(CMD_CANCEL)},
        {Cmd(CMD_BRIGHTNESS), Key(KEY_UP), Cmd(CMD_CANCEL)},
        {Cmd(CMD_BRIGHTNESS), Cmd(CMD_DONE)},
        {Cmd(CMD_CONTRAST), Key(KEY_UP), Key(KEY_DOWN), Cmd(CMD_DONE)},
        {Cmd(CMD_WAX_PAINT), Cmd(CMD_CANCEL)},
        {Cmd(CMD_COLOR_TONES), Key(KEY_RIGHT), Cmd(CMD_CANCEL)},
        {Cmd(CMD_VIVIDNESS), Key(KEY_UP), Key(KEY_DOWN, 2), Cmd(CMD_DONE)},
        {Key(KEY_LEFT, 60)},  // against the limit: the last presses move nothing
    };
    for (size_t i = 0; i < nothing.size(); ++i) {
        Give(nothing[i]);
        EXPECT_EQ(State().history.UndoSteps(), i + 1 < nothing.size() ? 0 : 50) << "case " << i;
    }
    EXPECT_FALSE(State().photoChanged) << "moves leave the photo as it was saved";

    editor_->Command(CMD_UNDO);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(State().photoX, -48);
    Mode(CMD_HUE, {KEY_UP}, CMD_DONE);
    EXPECT_EQ(State().history.RedoSteps(), 0);
    EXPECT_EQ(State().history.UndoSteps(), 49);
}

TEST_F(EditorHistoryTest, UndoAndRedoAreGreyAndIgnoredWhileSomethingIsOpen) {
    const std::vector<uint8_t> opened = Photo();
    Mode(CMD_BRIGHTNESS, {KEY_UP}, CMD_DONE);
    const std::vector<uint8_t> changed = Photo();
    const auto enabled = [&](uint16_t id) {
        editor_->MenuPopup();
        return FindMenuItem(editor_->GetMenu(MENU_FILE), id)->enabled;
    };
    EXPECT_TRUE(enabled(CMD_UNDO));
    EXPECT_FALSE(enabled(CMD_REDO));
    const std::vector<std::pair<const char*, std::function<void()>>> places = {
        {"picker", [&] { editor_->Command(CMD_CHANGE_COLOR); }},
        {"chooser", [&] { editor_->Command(CMD_THEME_FIRST + 10 * DECOR_PICTURE); }},
        {"mode", [&] { editor_->Command(CMD_HUE); }},
    };
    for (const auto& [name, open] : places) {
        SCOPED_TRACE(name);
        open();
        EXPECT_FALSE(enabled(CMD_UNDO));
        editor_->Command(CMD_UNDO);
        EXPECT_EQ(State().history.UndoSteps(), 1);
        if (State().mode != EditMode::Normal) {
            editor_->Command(CMD_CANCEL);
        } else {
            editor_->BackKey();
        }
    }
    EXPECT_EQ(Photo(), changed);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(Photo(), opened);
    EXPECT_TRUE(enabled(CMD_REDO));
    EXPECT_FALSE(enabled(CMD_UNDO));
}

// More steps than the limit: the newest 100 can be undone, every record is
// kept for the render, and the snapshots stay within their bound.
TEST_F(EditorHistoryTest, KeepsTheNewestHundredStepsWithinTheirMemoryBound) {
    for (int i = 0; i < 130; ++i) {
        Tap(i % 2 == 0 ? KEY_UP : KEY_DOWN);
        Mode(CMD_BRIGHTNESS, {i % 2 == 0 ? KEY_RIGHT : KEY_LEFT}, CMD_DONE);
    }
    EXPECT_EQ(State().history.UndoSteps(), static_cast<int32_t>(EditHistory::kUndoLimit));
    EXPECT_EQ(State().history.AppliedSteps().size(), 261u);
    // About one display photo per step that changed it.
    EXPECT_LT(State().history.SnapshotBytes(), (EditHistory::kUndoLimit + 4) * 95200u);
    ExpectScreenRender();
}

// Save as at full size renders the history again from the source; Keep
// edits writes the recipe beside the picture.
TEST_F(EditorHistoryTest, SaveAsAtFullSizeWithItsRecipe) {
    Give({Cmd(CMD_VIVIDNESS), Key(KEY_UP), Cmd(CMD_DONE), Held(KEY_LEFT, 2), Cmd(CMD_RESCALE),
          Key(Digit(2)), Cmd(CMD_DONE)});
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("full", PICTURE_BMP, 0, 5, true)};
    editor_->Command(CMD_SAVE_AS);
    ASSERT_EQ(shell_.saveAsDialogs.size(), 1u);
    EXPECT_EQ(shell_.saveAsDialogs[0].fullFactor, 5);  // 880 x 900 holds 5 x 176 x 180
    const LoadResult saved = LoadPicture(State().workFolder + "/full.bmp", LoadRequest());
    ASSERT_TRUE(saved.Ok());
    EXPECT_EQ(saved.width, 880);
    EXPECT_EQ(saved.height, 900);
    EXPECT_LT(MeanErrorAfterAveraging(*saved.picture, 5, Photo()), 4.0);
    EXPECT_FALSE(State().photoChanged);

    const RecipeResult recipe = ReadRecipeFile(State().workFolder + "/full.fotakle.json");
    ASSERT_TRUE(recipe.Ok()) << recipe.error;
    ASSERT_EQ(recipe.steps.size(), 4u);
    EXPECT_EQ(recipe.steps[0].source, Source());
    EXPECT_EQ(recipe.steps[1].kind, STEP_ADJUST);
    EXPECT_EQ(recipe.steps[2].kind, STEP_MOVE);
    EXPECT_EQ(recipe.steps[3].kind, STEP_RESCALE);
    // 98 % is 172 x 176, centred on where the photo lay.
    EXPECT_EQ(recipe.steps[3].x, -3 + (176 - 172) / 2);
    EXPECT_EQ(recipe.steps[3].y, (180 - 176) / 2);
}

// The photo moved while a paint effect is on screen: the move is a step of
// its own, on the photo as it was before the effect, and the effect's step
// follows it; Cancel keeps the move alone.
TEST_F(EditorHistoryTest, AMoveInsideAModeIsAStepOfItsOwn) {
    const std::vector<uint8_t> opened = Photo();
    Mode(CMD_OIL_PAINT, {KEY_UP}, CMD_OK);
    EXPECT_EQ(State().history.UndoSteps(), 2);
    ExpectScreenRender();
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(Photo(), opened);
    EXPECT_EQ(State().photoY, 1);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(State().photoY, 0);

    Mode(CMD_WATER_PAINT, {KEY_LEFT}, CMD_CANCEL);
    EXPECT_EQ(Photo(), opened);
    EXPECT_EQ(State().photoX, -1);
    EXPECT_EQ(State().history.UndoSteps(), 1);
    EXPECT_EQ(State().history.RedoSteps(), 0);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(State().photoX, 0);
}

}  // namespace

// A word the user typed is recorded by its line: Undo brings the floating
// word back with its text, the renders draw it again from the line, and the
// recipe carries the line instead of a file.
TEST_F(EditorHistoryTest, TypedWordsAreDrawnAgainFromTheirLine) {
    Journey({{{Cmd(CMD_MERGE)}, {{TYPE, CMD_TYPE_WORD, 1, "Happy Holidays"}, Key(KEY_UP, 3)}},
             {{Cmd(CMD_MERGE)}, {{TYPE, CMD_TYPE_COLORFUL_WORD, 1, "Cheers!"}}}},
            4.0);
    const std::string recipe = FormatRecipe(State().history.AppliedSteps());
    EXPECT_NE(recipe.find("\"text\": \"Happy Holidays\""), std::string::npos) << recipe;
    EXPECT_NE(recipe.find("\"kind\": \"colorful word\""), std::string::npos) << recipe;
    EXPECT_EQ(recipe.find("\"file\": \"Word/"), std::string::npos) << recipe;
    editor_->Command(CMD_UNDO);
    EXPECT_TRUE(State().object.present);
    EXPECT_EQ(State().object.text, "Cheers!");
}
