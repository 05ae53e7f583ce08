// EditStep: one finished change of the editor, as a plain record: the
// operation and the parameters that make it again, at the screen's size or
// at a whole multiple of it (RenderHistory.h), on the same photo or another
// one (Recipe.h).
//
// Positions are in screen pixels of the 176 x 180 canvas, y from the bottom
// row; a render at factor k multiplies them by k.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "adjust/AdjustKind.h"
#include "decor/Scene.h"
#include "effects/PaintEffect.h"

enum StepKind : int16_t {
    STEP_LOAD = 0,  // a picture file decoded into the canvas; always the first step
    STEP_MOVE,      // the photo's offset on the screen changed
    STEP_RESCALE,   // "Done" of Rescale: the photo scaled and placed, the rest filled
    STEP_ADJUST,    // "Done" of an adjust mode: the photo toned and placed, the rest filled
    STEP_TONES,     // "OK" of Color Tones
    STEP_EFFECT,    // "OK" of a paint effect
    STEP_FRAME,     // a frame merged
    STEP_OBJECT,    // a floating object merged
    STEP_DELETE,    // the pending decorations removed (the photo is unchanged)
    STEP_RECOVER,   // back to the photo of an earlier step, unmoved, without decorations
};
constexpr int kStepKinds = STEP_RECOVER + 1;

// What each kind reads; the other fields keep their defaults.
//   LOAD     source
//   MOVE     x, y: the photo offset after the move
//   RESCALE  percent (44 .. 155), x, y: where the scaled photo's lowest-left
//            pixel lands, color: the fill
//   ADJUST   adjust, level, x, y: where the toned photo lands, color: fill
//   TONES    color: the tone colour
//   EFFECT   effect, seed: the paint generator's state as the effect began
//   FRAME    item: the frame of the asset folder
//   OBJECT   item (or, for a word the user typed, text with item.kind
//            DECOR_WORD or DECOR_COLORFUL_WORD and no theme), x, y: the
//            object's lowest-left pixel on the photo, color: the colour of a
//            pattern stamp or a word
//   DELETE   nothing
//   RECOVER  target: the index of the step whose photo comes back
struct EditStep {
    StepKind kind = STEP_LOAD;
    std::string source;
    int32_t x = 0;
    int32_t y = 0;
    int32_t percent = 100;
    AdjustKind adjust = ADJUST_BRIGHTNESS;
    int32_t level = 0;
    EffectKind effect = EFFECT_NONE;
    uint64_t seed = 0;
    PixelColor color;
    DecorationItem item;
    std::string text;
    int32_t target = 0;
};

// The longest typed word a step takes, in bytes: the text field's 40
// characters of at most four bytes each.
constexpr size_t kStepMaxTextBytes = 160;

// The lowest and highest level of an adjust kind, and the range of the
// rescale percent; offsets stay within 16 bits, as the editor keeps them.
constexpr int32_t kStepScaleMinimum = 44;
constexpr int32_t kStepScaleMaximum = 155;
constexpr int32_t kStepOffsetLimit = 32767;
void AdjustLevelRange(AdjustKind kind, int32_t* lowest, int32_t* highest);

// True when the step's parameters are ones the editor can make: a known
// kind, levels, percents and colours in range, offsets within 16 bits, a
// known decoration item (a theme name of 1 .. 124 bytes without "/" or a
// leading ".", item 1 .. 99) or a typed word (1 .. kStepMaxTextBytes bytes
// without control characters, of a word kind) and, for Recover, a target
// before index (its own position in the list).
bool StepValid(const EditStep& step, int32_t index);

// A move or a Delete leaves the display photo's bytes as they are: only the
// offset or the decorations change.
constexpr bool StepKeepsPhoto(StepKind kind) {
    return kind == STEP_MOVE || kind == STEP_DELETE;
}

// The floating-object type an item of a decoration kind becomes; OBJECT_NONE
// for the frame and unknown kinds.
ObjectType ObjectTypeOfKind(int16_t kind);

// The steps a render carries out, in order: Recover resolved into the steps
// of the photo it returns to followed by itself (which only returns the
// offset to 0 and removes nothing else). Each entry indexes steps. Empty
// when the list does not start with its one load step or a step is not
// StepValid.
std::vector<int32_t> EffectiveSteps(const std::vector<EditStep>& steps);
