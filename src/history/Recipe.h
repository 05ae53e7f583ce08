// Recipe: the steps of a history as a small JSON file, so that the same
// edit can be rendered again later or applied to other photos
// (`fotakle-batch apply`).
//
//   {"fotakle_recipe": 1,
//    "steps": [{"op": "load", "file": "/home/me/Pictures/beach.jpg"},
//              {"op": "move", "x": 3, "y": -2},
//              {"op": "rescale", "percent": 80, "x": 17, "y": 18, "fill": "FFFFFF"},
//              {"op": "adjust", "kind": "brightness", "level": 20, "x": 0, "y": 0,
//               "fill": "FFFFFF"},
//              {"op": "tones", "color": "C08040"},
//              {"op": "effect", "kind": "oil", "seed": 1442695040888963407},
//              {"op": "frame", "file": "Frame/Classic/Classic3.adm"},
//              {"op": "object", "file": "Picture/Party/Party2.adm", "x": 58, "y": 60,
//               "color": "000000"},
//              {"op": "delete"},
//              {"op": "recover", "to": 0}]}
//
// Fields are those of EditStep (EditStep.h) under these names; colours are
// six hex digits, red first; adjust kinds are brightness, contrast, hue and
// vividness, effect kinds oil, water and wax; a decoration is its file in
// the asset folder, Category/Theme/Theme<n>.adm. Keys a step does not use
// are ignored.
//
// Contract: nothing throws and nothing is written on failure. A recipe is
// read whole or not at all: text that is not JSON, nested deeper than
// kMaxRecipeDepth, larger than kMaxRecipeBytes or with more than
// kMaxRecipeSteps steps, an unknown "op", a missing field, a field of the
// wrong type or out of range (StepValid), or a list that does not begin
// with its one load step gives no steps, the reason, the index of the step
// at fault (-1 for the whole file) and the name of the op or field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "history/EditStep.h"

constexpr size_t kMaxRecipeBytes = 4 * 1024 * 1024;
constexpr size_t kMaxRecipeSteps = 100000;
constexpr int32_t kMaxRecipeDepth = 8;
constexpr int64_t kRecipeVersion = 1;

enum RecipeError : int16_t {
    RECIPE_OK = 0,
    RECIPE_CANNOT_READ,   // the file could not be read
    RECIPE_TOO_LARGE,     // more bytes, steps or nesting than the limits
    RECIPE_NOT_JSON,      // the text does not parse
    RECIPE_NOT_A_RECIPE,  // no "fotakle_recipe": 1 object with a "steps" array
    RECIPE_UNKNOWN_STEP,  // a step whose "op" is none of the ten (detail: the op)
    RECIPE_BAD_FIELD,     // a field missing, of the wrong type or out of range (detail: its name)
    RECIPE_BAD_ORDER,     // not one load step first
};

struct RecipeResult {
    std::vector<EditStep> steps;
    RecipeError error = RECIPE_NOT_JSON;
    int32_t step = -1;
    std::string detail;

    bool Ok() const { return error == RECIPE_OK; }
};

RecipeResult ParseRecipe(std::string_view text);
RecipeResult ReadRecipeFile(const std::string& path);

// The recipe's text (indented, one step a line at most a few keys long).
std::string FormatRecipe(const std::vector<EditStep>& steps);

// Writes the recipe beside a temporary name and renames it into place, so
// that a failure leaves no file and an existing one untouched. False on
// any failure.
bool WriteRecipeFile(const std::string& path, const std::vector<EditStep>& steps);

// The recipe kept beside a saved picture: its path with the extension
// replaced by ".fotakle.json" ("a/beach.jpg" gives "a/beach.fotakle.json").
std::string RecipePathFor(const std::string& picturePath);

// The name of a decoration file in the asset folder and back:
// "Frame/Classic/Classic3.adm". Parsing accepts exactly what formatting
// makes for a valid item.
std::string DecorationFileName(const DecorationItem& item);
bool ParseDecorationFileName(const std::string& name, DecorationItem* item);
