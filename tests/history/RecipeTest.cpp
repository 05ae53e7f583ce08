// Recipes: what the writer makes the reader reads back step for step, and
// every malformed, mistyped or out-of-range recipe is refused whole with
// its reason, the step at fault and the field.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "history/Recipe.h"
#include "support/TestSupport.h"

namespace {

// One step of every kind, with parameters away from their defaults.
std::vector<EditStep> EveryKind() {
    std::vector<EditStep> steps(11);
    steps[0].kind = STEP_LOAD;
    steps[0].source = R"(/home/me/Pictures/beach "day".jpg)";
    steps[1].kind = STEP_MOVE;
    steps[1].x = -50;
    steps[1].y = 130;
    steps[2].kind = STEP_RESCALE;
    steps[2].percent = 44;
    steps[2].x = 49;
    steps[2].y = -3;
    steps[2].color = {0x10, 0x20, 0x30};
    steps[3].kind = STEP_ADJUST;
    steps[3].adjust = ADJUST_VIVIDNESS;
    steps[3].level = 79;
    steps[3].color = {255, 0, 128};
    steps[4].kind = STEP_TONES;
    steps[4].color = {1, 2, 3};
    steps[5].kind = STEP_EFFECT;
    steps[5].effect = EFFECT_WAX;
    steps[5].seed = 18446744073709551615ull;
    steps[6].kind = STEP_FRAME;
    steps[6].item = {DECOR_FRAME, "Classic", 12};
    steps[7].kind = STEP_OBJECT;
    steps[7].item = {DECOR_COLORFUL_WORD, "Shiny", 3};
    steps[7].x = -32768;
    steps[7].y = 32767;
    steps[7].color = {0, 0, 255};
    steps[8].kind = STEP_DELETE;
    steps[9].kind = STEP_RECOVER;
    steps[9].target = 4;
    steps[10].kind = STEP_OBJECT;  // a typed word: its line, no file
    steps[10].item.kind = DECOR_COLORFUL_WORD;
    steps[10].text = R"(Grüße "aus" Köln)";
    steps[10].x = 3;
    steps[10].y = -20;
    return steps;
}

// Every field of a step, to compare steps whole.
auto Fields(const EditStep& s) {
    return std::tie(s.kind, s.source, s.x, s.y, s.percent, s.adjust, s.level, s.effect, s.seed,
                    s.color.blue, s.color.green, s.color.red, s.item.kind, s.item.theme,
                    s.item.number, s.text, s.target);
}

void ExpectSameSteps(const std::vector<EditStep>& expected, const std::vector<EditStep>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(Fields(expected[i]) == Fields(actual[i])) << "step " << i;
    }
}

std::string WithSteps(const std::string& steps) {
    return R"({"fotakle_recipe": 1, "steps": [{"op": "load", "file": "a.jpg"})" +
           (steps.empty() ? std::string() : ", " + steps) + "]}";
}

// An adjust step and an object step with the fields given, at 0, 0 in
// black.
std::string AdjustStep(const std::string& fields) {
    return R"({"op": "adjust", )" + fields + R"(, "x": 0, "y": 0, "fill": "000000"})";
}
std::string ObjectStep(const std::string& fields) {
    return R"({"op": "object", )" + fields + R"(, "x": 0, "y": 0, "color": "000000"})";
}

}  // namespace

TEST(Recipe, ReadsBackWhatItWritesForEveryKindOfStep) {
    const std::vector<EditStep> steps = EveryKind();
    const std::string text = FormatRecipe(steps);
    ASSERT_FALSE(text.empty());
    const RecipeResult read = ParseRecipe(text);
    ASSERT_TRUE(read.Ok()) << read.error << " " << read.step << " " << read.detail << "\n" << text;
    ExpectSameSteps(steps, read.steps);
    EXPECT_NE(text.find(R"("file": "Colorful Word/Shiny/Shiny3.adm")"), std::string::npos);
    EXPECT_NE(text.find(R"("fill": "302010")"), std::string::npos) << "red first";
    EXPECT_NE(text.find(R"("kind": "colorful word")"), std::string::npos);
}

TEST(Recipe, RefusesWhatIsNotAWholeValidRecipe) {
    struct Case {
        std::string text;
        RecipeError error;
        int32_t step;
        std::string detail;
    };
    const std::string deep(40, '[');
    // A recipe whose second step is refused for this field.
    const auto BadField = [](const std::string& step, const char* field) {
        return Case{WithSteps(step), RECIPE_BAD_FIELD, 1, field};
    };
    const Case cases[] = {
        {"", RECIPE_NOT_JSON, -1, ""},
        {R"({"fotakle_recipe": 1, "steps": [)", RECIPE_NOT_JSON, -1, ""},
        {R"({"fotakle_recipe": 1, "steps": []} x)", RECIPE_NOT_JSON, -1, ""},
        {"[1, 2]", RECIPE_NOT_A_RECIPE, -1, ""},
        {R"({"steps": []})", RECIPE_NOT_A_RECIPE, -1, ""},
        {R"({"fotakle_recipe": 2, "steps": []})", RECIPE_NOT_A_RECIPE, -1, ""},
        {R"({"fotakle_recipe": "1", "steps": []})", RECIPE_NOT_A_RECIPE, -1, ""},
        {R"({"fotakle_recipe": 1, "steps": {}})", RECIPE_NOT_A_RECIPE, -1, ""},
        {R"({"fotakle_recipe": 1, "steps": []})", RECIPE_BAD_ORDER, -1, ""},
        {deep, RECIPE_TOO_LARGE, -1, ""},
        {WithSteps(R"({"op": "sepia"})"), RECIPE_UNKNOWN_STEP, 1, "sepia"},
        {WithSteps(R"({"op": "Move", "x": 1, "y": 1})"), RECIPE_UNKNOWN_STEP, 1, "Move"},
        BadField("3", "op"),
        BadField(R"({"op": 7})", "op"),
        BadField(R"({"op": "move", "x": 1})", "y"),
        BadField(R"({"op": "move", "x": "1", "y": 1})", "x"),
        BadField(R"({"op": "move", "x": 1.5, "y": 1})", "x"),
        BadField(R"({"op": "move", "x": 32768, "y": 1})", "x"),
        BadField(R"({"op": "move", "x": 1, "y": 99999999999999999999999})", "y"),
        BadField(R"({"op": "move", "x": 1, "y": 18446744073709551615})", "y"),
        {WithSteps(R"({"op": "move", "x": 1e400, "y": 1})"), RECIPE_NOT_JSON, -1, ""},
        BadField(R"({"op": "move", "x": null, "y": 1})", "x"),
        BadField(R"({"op": "rescale", "percent": 43, "x": 0, "y": 0, "fill": "000000"})",
                 "percent"),
        BadField(R"({"op": "rescale", "percent": 80, "x": 0, "y": 0, "fill": "00000G"})", "fill"),
        BadField(AdjustStep(R"("kind": "hue", "level": 101)"), "level"),
        BadField(AdjustStep(R"("kind": "vividness", "level": 0)"), "level"),
        BadField(AdjustStep(R"("kind": "sharpness", "level": 0)"), "kind"),
        BadField(R"({"op": "tones", "color": 16711680})", "color"),
        BadField(R"({"op": "effect", "kind": "oil", "seed": -1})", "seed"),
        BadField(R"({"op": "effect", "kind": "acid", "seed": 1})", "kind"),
        BadField(R"({"op": "frame", "file": "Picture/Party/Party1.adm"})", "file"),
        BadField(R"({"op": "frame", "file": "Frame/../Frame1.adm"})", "file"),
        BadField(R"({"op": "frame", "file": "Frame/Gold/Gold0.adm"})", "file"),
        BadField(R"({"op": "frame", "file": "Frame/Gold/Goldmask1.adm"})", "file"),
        BadField(ObjectStep(R"("file": "Frame/Gold/Gold1.adm")"), "file"),
        BadField(ObjectStep(R"("text": "", "kind": "word")"), "text"),
        BadField(ObjectStep(R"("text": "Hi", "kind": "poem")"), "kind"),
        BadField(ObjectStep(R"("text": 7, "kind": "word")"), "text"),
        BadField(ObjectStep(R"("text": "two\nlines", "kind": "word")"), "text"),
        BadField(ObjectStep(R"("text": ")" + std::string(161, 'w') + R"(", "kind": "word")"),
                 "text"),
        BadField(R"({"op": "recover", "to": 1})", "to"),
        {WithSteps(R"({"op": "load", "file": "b.jpg"})"), RECIPE_BAD_ORDER, 1, "load"},
        {R"({"fotakle_recipe": 1, "steps": [{"op": "delete"}]})", RECIPE_BAD_ORDER, 0, "delete"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const RecipeResult read = ParseRecipe(c.text);
        EXPECT_EQ(read.error, c.error);
        EXPECT_EQ(read.step, c.step);
        EXPECT_EQ(read.detail, c.detail);
        EXPECT_TRUE(read.steps.empty()) << "nothing of a refused recipe is kept";
    }
}

TEST(Recipe, RefusesTooManyBytesOrSteps) {
    std::string steps;
    for (size_t i = 0; i < kMaxRecipeSteps; ++i) {
        steps += R"({"op": "delete"},)";
    }
    steps.pop_back();
    EXPECT_EQ(ParseRecipe(WithSteps(steps)).error, RECIPE_TOO_LARGE);  // one more than the limit
    EXPECT_EQ(ParseRecipe(std::string(kMaxRecipeBytes + 1, ' ')).error, RECIPE_TOO_LARGE);
    // Unknown keys are passed over, as a later version's additions would be.
    EXPECT_TRUE(ParseRecipe(R"({"fotakle_recipe": 1, "note": [1], "steps": [{"op": "load", )"
                            R"("file": "a.jpg", "taken": "2026"}]})")
                    .Ok());
}

TEST(Recipe, FilesAreWrittenWholeOrNotAtAll) {
    TempDir dir;
    const std::vector<EditStep> steps = EveryKind();
    const std::string path = dir.File("look.fotakle.json");
    ASSERT_TRUE(WriteRecipeFile(path, steps));
    const RecipeResult read = ReadRecipeFile(path);
    ASSERT_TRUE(read.Ok());
    ExpectSameSteps(steps, read.steps);

    EXPECT_FALSE(WriteRecipeFile(dir.File("missing/look.fotakle.json"), steps));
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
    EXPECT_EQ(ReadRecipeFile(dir.File("none.json")).error, RECIPE_CANNOT_READ);

    const struct {
        const char* picture;
        const char* recipe;
    } names[] = {{"/a/beach.jpg", "/a/beach.fotakle.json"},
                 {"/a.b/beach", "/a.b/beach.fotakle.json"},
                 {"/a/.hidden", "/a/.hidden.fotakle.json"},
                 {"beach.x.bmp", "beach.x.fotakle.json"}};
    for (const auto& name : names) {
        EXPECT_EQ(RecipePathFor(name.picture), name.recipe);
    }
}
