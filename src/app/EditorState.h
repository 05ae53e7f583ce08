// EditorState: the one program-wide record of everything that outlives a
// key press or command. The scene fields (pictures, the mode, offsets,
// colour, decorations) come from Scene; the rest is the editor's own.
#pragma once

#include <cstdint>
#include <string>

#include "adjust/AdjustKind.h"
#include "app/Menus.h"
#include "decor/Direction.h"
#include "decor/Scene.h"
#include "effects/EdgeMap.h"
#include "effects/PaintEffect.h"
#include "history/EditHistory.h"

// The "Type your own..." field of the word pop-ups: open while the user
// types a line that becomes a word decoration (decor/Lettering.h).
constexpr int32_t kTextFieldMaxCharacters = 40;
struct TextField {
    bool open = false;
    int16_t kind = DECOR_WORD;  // DECOR_WORD or DECOR_COLORFUL_WORD
    std::string text;           // UTF-8, at most kTextFieldMaxCharacters characters
};

// The scale percent of the rescale mode runs from 44 to 155.
constexpr int16_t kScaleMinimum = 44;
constexpr int16_t kScaleMaximum = 155;

// The state's positions, levels and percents are 16 bits wide; arithmetic on
// them runs in int and is narrowed back through this.
constexpr int16_t ToShort(int value) {
    return static_cast<int16_t>(value);
}

struct EditorState : Scene {
    // The edge map of the paint effects, 176 x 180.
    EdgeMap effectScratch;

    // The kind of the adjust mode and of the effect last entered. Entering
    // either clears the other, so at most one is set (0 before any).
    AdjustKind adjustKind{};
    EffectKind effectKind = EFFECT_NONE;
    int16_t adjustLevel = 0;

    int16_t scalePercent = 100;  // kScaleMinimum .. kScaleMaximum

    // The finished changes since the picture was loaded, for Undo, Redo,
    // Recover and the renders at a larger size.
    EditHistory history;

    // The picture differs from the one last saved or loaded: the history
    // is not at its saved step.
    bool photoChanged = false;
    // A question or message of the program is on screen: keys and menu
    // pop-ups are ignored meanwhile.
    bool messageBoxOpen = false;
    bool decorationMenuPending = true;

    // Held direction keys.
    int16_t keyStep = 1;
    Direction lastDirection = DIRECTION_NONE;
    bool keyHeld = false;

    std::string workFolder;   // the folder the Open browser shows
    std::string currentFile;  // the file the photo came from or was last saved to
    std::string savePath;     // chosen in the Save-as dialog

    std::string title;     // window title
    BarId bar = BAR_MAIN;  // the soft-key bar shown

    TextField textField;
};
