#include "history/Recipe.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>

#include <nlohmann/json.hpp>

#include "decor/DecorAssets.h"

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

const char* const kStepNames[kStepKinds] = {
    "load", "move", "rescale", "adjust", "tones", "effect", "frame", "object", "delete", "recover",
};
const char* const kAdjustNames[] = {"brightness", "contrast", "hue", "vividness"};
const char* const kEffectNames[] = {"oil", "water", "wax"};
// The kinds of a typed word, as DECOR_WORD and DECOR_COLORFUL_WORD.
const char* const kWordNames[] = {"word", "colorful word"};

// Nesting deeper than the limit is refused before the parser sees it, so no
// hostile text can make it recurse far.
bool NestingWithin(std::string_view text, int32_t limit) {
    int32_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return false;
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

// The reader of one step: every field is looked up and checked here, and
// the first fault is kept.
class StepReader {
  public:
    explicit StepReader(const Json& object) : object_(object) {}

    bool Failed() const { return !fault_.empty(); }
    const std::string& Fault() const { return fault_; }
    bool Has(const char* name) const { return object_.contains(name); }

    int64_t Integer(const char* name, int64_t lowest, int64_t highest) {
        const Json* value = Find(name);
        if (value == nullptr) {
            return 0;
        }
        if (!value->is_number_integer()) {
            Fail(name);
            return 0;
        }
        // Integers beyond the signed range are unsigned and out of range.
        if (value->is_number_unsigned() &&
            value->get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
            Fail(name);
            return 0;
        }
        const int64_t number = value->get<int64_t>();
        if (number < lowest || number > highest) {
            Fail(name);
            return 0;
        }
        return number;
    }

    uint64_t Unsigned(const char* name) {
        const Json* value = Find(name);
        if (value == nullptr) {
            return 0;
        }
        if (!value->is_number_unsigned()) {
            Fail(name);
            return 0;
        }
        return value->get<uint64_t>();
    }

    std::string Text(const char* name) {
        const Json* value = Find(name);
        if (value == nullptr) {
            return std::string();
        }
        if (!value->is_string()) {
            Fail(name);
            return std::string();
        }
        return value->get<std::string>();
    }

    // Six hex digits, red first.
    PixelColor Color(const char* name) {
        const std::string text = Text(name);
        PixelColor color;
        if (Failed()) {
            return color;
        }
        if (text.size() != 6 ||
            text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            Fail(name);
            return color;
        }
        const unsigned long rgb = std::strtoul(text.c_str(), nullptr, 16);
        color.red = static_cast<int16_t>((rgb >> 16) & 0xFF);
        color.green = static_cast<int16_t>((rgb >> 8) & 0xFF);
        color.blue = static_cast<int16_t>(rgb & 0xFF);
        return color;
    }

    // The position of the text in names, or -1 (and a fault).
    template <size_t N>
    int32_t Choice(const char* name, const char* const (&names)[N]) {
        const std::string text = Text(name);
        if (Failed()) {
            return -1;
        }
        for (size_t i = 0; i < N; ++i) {
            if (text == names[i]) {
                return static_cast<int32_t>(i);
            }
        }
        Fail(name);
        return -1;
    }

    DecorationItem Item(const char* name) {
        DecorationItem item;
        const std::string text = Text(name);
        if (!Failed() && !ParseDecorationFileName(text, &item)) {
            Fail(name);
        }
        return item;
    }

    void Fail(const char* name) {
        if (fault_.empty()) {
            fault_ = name;
        }
    }

  private:
    const Json* Find(const char* name) {
        if (Failed()) {
            return nullptr;
        }
        const auto found = object_.find(name);
        if (found == object_.end()) {
            Fail(name);
            return nullptr;
        }
        return &*found;
    }

    const Json& object_;
    std::string fault_;
};

constexpr int64_t kOffsetLowest = -kStepOffsetLimit - 1;
constexpr int64_t kOffsetHighest = kStepOffsetLimit;

// The fields of one step's kind; a fault names the field.
void ReadFields(StepReader& reader, EditStep* step) {
    switch (step->kind) {
        case STEP_LOAD:
            step->source = reader.Text("file");
            break;
        case STEP_MOVE:
            step->x = static_cast<int32_t>(reader.Integer("x", kOffsetLowest, kOffsetHighest));
            step->y = static_cast<int32_t>(reader.Integer("y", kOffsetLowest, kOffsetHighest));
            break;
        case STEP_RESCALE:
            step->percent = static_cast<int32_t>(
                reader.Integer("percent", kStepScaleMinimum, kStepScaleMaximum));
            step->x = static_cast<int32_t>(reader.Integer("x", kOffsetLowest, kOffsetHighest));
            step->y = static_cast<int32_t>(reader.Integer("y", kOffsetLowest, kOffsetHighest));
            step->color = reader.Color("fill");
            break;
        case STEP_ADJUST: {
            const int32_t kind = reader.Choice("kind", kAdjustNames);
            step->adjust = static_cast<AdjustKind>(kind + 1);
            int32_t lowest = 0;
            int32_t highest = 0;
            AdjustLevelRange(step->adjust, &lowest, &highest);
            step->level = static_cast<int32_t>(reader.Integer("level", lowest, highest));
            step->x = static_cast<int32_t>(reader.Integer("x", kOffsetLowest, kOffsetHighest));
            step->y = static_cast<int32_t>(reader.Integer("y", kOffsetLowest, kOffsetHighest));
            step->color = reader.Color("fill");
            break;
        }
        case STEP_TONES:
            step->color = reader.Color("color");
            break;
        case STEP_EFFECT:
            step->effect = static_cast<EffectKind>(reader.Choice("kind", kEffectNames) + 1);
            step->seed = reader.Unsigned("seed");
            break;
        case STEP_FRAME:
            step->item = reader.Item("file");
            if (!reader.Failed() && step->item.kind != DECOR_FRAME) {
                reader.Fail("file");
            }
            break;
        case STEP_OBJECT:
            if (reader.Has("text")) {
                // A word the user typed: its line and kind, no file.
                step->text = reader.Text("text");
                const int32_t kind = reader.Choice("kind", kWordNames);
                step->item.kind = kind == 1 ? DECOR_COLORFUL_WORD : DECOR_WORD;
                if (!reader.Failed() && step->text.empty()) {
                    reader.Fail("text");
                }
            } else {
                step->item = reader.Item("file");
                if (!reader.Failed() && step->item.kind == DECOR_FRAME) {
                    reader.Fail("file");
                }
            }
            step->x = static_cast<int32_t>(reader.Integer("x", kOffsetLowest, kOffsetHighest));
            step->y = static_cast<int32_t>(reader.Integer("y", kOffsetLowest, kOffsetHighest));
            step->color = reader.Color("color");
            break;
        case STEP_DELETE:
            break;
        case STEP_RECOVER:
            step->target = static_cast<int32_t>(reader.Integer("to", 0, INT32_MAX));
            break;
    }
}

RecipeResult Refused(RecipeError error, int32_t step = -1, std::string detail = std::string()) {
    RecipeResult result;
    result.error = error;
    result.step = step;
    result.detail = std::move(detail);
    return result;
}

RecipeResult ParseSteps(const Json& root) {
    if (!root.is_object()) {
        return Refused(RECIPE_NOT_A_RECIPE);
    }
    const auto version = root.find("fotakle_recipe");
    const auto steps = root.find("steps");
    if (version == root.end() || !version->is_number_integer() ||
        version->get<int64_t>() != kRecipeVersion || steps == root.end() || !steps->is_array()) {
        return Refused(RECIPE_NOT_A_RECIPE);
    }
    if (steps->size() > kMaxRecipeSteps) {
        return Refused(RECIPE_TOO_LARGE);
    }
    RecipeResult result;
    for (size_t i = 0; i < steps->size(); ++i) {
        const int32_t index = static_cast<int32_t>(i);
        const Json& object = (*steps)[i];
        if (!object.is_object()) {
            return Refused(RECIPE_BAD_FIELD, index, "op");
        }
        const auto op = object.find("op");
        if (op == object.end() || !op->is_string()) {
            return Refused(RECIPE_BAD_FIELD, index, "op");
        }
        const std::string name = op->get<std::string>();
        EditStep step;
        int32_t kind = -1;
        for (int32_t k = 0; k < kStepKinds; ++k) {
            if (name == kStepNames[k]) {
                kind = k;
            }
        }
        if (kind < 0) {
            return Refused(RECIPE_UNKNOWN_STEP, index, name);
        }
        step.kind = static_cast<StepKind>(kind);
        StepReader reader(object);
        ReadFields(reader, &step);
        if (reader.Failed()) {
            return Refused(RECIPE_BAD_FIELD, index, reader.Fault());
        }
        if ((i == 0) != (step.kind == STEP_LOAD)) {
            return Refused(RECIPE_BAD_ORDER, index, name);
        }
        if (!StepValid(step, index)) {
            const char* field = step.kind == STEP_RECOVER ? "to"
                                : !step.text.empty()      ? "text"
                                                          : name.c_str();
            return Refused(RECIPE_BAD_FIELD, index, field);
        }
        result.steps.push_back(std::move(step));
    }
    if (result.steps.empty()) {
        return Refused(RECIPE_BAD_ORDER);
    }
    result.error = RECIPE_OK;
    return result;
}

std::string ColorText(const PixelColor& color) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", static_cast<unsigned>(color.red & 0xFF),
                  static_cast<unsigned>(color.green & 0xFF),
                  static_cast<unsigned>(color.blue & 0xFF));
    return text;
}

OrderedJson StepJson(const EditStep& step) {
    OrderedJson object;
    object["op"] = kStepNames[step.kind];
    switch (step.kind) {
        case STEP_LOAD:
            object["file"] = step.source;
            break;
        case STEP_MOVE:
            object["x"] = step.x;
            object["y"] = step.y;
            break;
        case STEP_RESCALE:
            object["percent"] = step.percent;
            object["x"] = step.x;
            object["y"] = step.y;
            object["fill"] = ColorText(step.color);
            break;
        case STEP_ADJUST:
            object["kind"] = AdjustKindValid(step.adjust) ? kAdjustNames[step.adjust - 1] : "";
            object["level"] = step.level;
            object["x"] = step.x;
            object["y"] = step.y;
            object["fill"] = ColorText(step.color);
            break;
        case STEP_TONES:
            object["color"] = ColorText(step.color);
            break;
        case STEP_EFFECT:
            object["kind"] = EffectKindValid(step.effect) ? kEffectNames[step.effect - 1] : "";
            object["seed"] = step.seed;
            break;
        case STEP_FRAME:
            object["file"] = DecorationFileName(step.item);
            break;
        case STEP_OBJECT:
            if (step.text.empty()) {
                object["file"] = DecorationFileName(step.item);
            } else {
                object["text"] = step.text;
                object["kind"] = kWordNames[step.item.kind == DECOR_COLORFUL_WORD ? 1 : 0];
            }
            object["x"] = step.x;
            object["y"] = step.y;
            object["color"] = ColorText(step.color);
            break;
        case STEP_DELETE:
            break;
        case STEP_RECOVER:
            object["to"] = step.target;
            break;
    }
    return object;
}

}  // namespace

RecipeResult ParseRecipe(std::string_view text) {
    if (text.size() > kMaxRecipeBytes || !NestingWithin(text, kMaxRecipeDepth)) {
        return Refused(RECIPE_TOO_LARGE);
    }
    // The parser is asked not to throw; anything it throws all the same
    // stays inside this call.
    try {
        const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
        if (root.is_discarded()) {
            return Refused(RECIPE_NOT_JSON);
        }
        return ParseSteps(root);
    } catch (const std::exception&) {
        return Refused(RECIPE_NOT_JSON);
    }
}

RecipeResult ReadRecipeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return Refused(RECIPE_CANNOT_READ);
    }
    std::string text;
    char buffer[65536];
    while (file) {
        file.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (text.size() > kMaxRecipeBytes) {
            return Refused(RECIPE_TOO_LARGE);
        }
    }
    if (file.bad()) {
        return Refused(RECIPE_CANNOT_READ);
    }
    return ParseRecipe(text);
}

std::string FormatRecipe(const std::vector<EditStep>& steps) {
    try {
        OrderedJson root;
        root["fotakle_recipe"] = kRecipeVersion;
        OrderedJson list = OrderedJson::array();
        for (const EditStep& step : steps) {
            list.push_back(StepJson(step));
        }
        root["steps"] = std::move(list);
        // A file name that is not UTF-8 is kept with its odd bytes replaced.
        return root.dump(1, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
    } catch (const std::exception&) {
        return std::string();
    }
}

bool WriteRecipeFile(const std::string& path, const std::vector<EditStep>& steps) {
    const std::string text = FormatRecipe(steps);
    if (text.empty() || path.empty()) {
        return false;
    }
    // A temporary left by an earlier failure goes first; the new one is
    // created afresh, never through a link.
    const std::string temporary = path + ".xxx";
    std::remove(temporary.c_str());
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

std::string RecipePathFor(const std::string& picturePath) {
    const size_t slash = picturePath.rfind('/');
    const size_t dot = picturePath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? picturePath.substr(0, dot) : picturePath) + ".fotakle.json";
}

std::string DecorationFileName(const DecorationItem& item) {
    const char* category = DecorationKindName(item.kind);
    if (category == nullptr || item.theme.empty() || item.number < 1) {
        return std::string();
    }
    return std::string(category) + "/" + item.theme + "/" + item.theme +
           std::to_string(item.number) + ".adm";
}

bool ParseDecorationFileName(const std::string& name, DecorationItem* item) {
    const size_t first = name.find('/');
    const size_t second = first == std::string::npos ? first : name.find('/', first + 1);
    if (second == std::string::npos || name.find('/', second + 1) != std::string::npos) {
        return false;
    }
    const std::string category = name.substr(0, first);
    const std::string theme = name.substr(first + 1, second - first - 1);
    const std::string file = name.substr(second + 1);
    DecorationItem parsed;
    for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
        if (category == DecorationKindName(kind)) {
            parsed.kind = kind;
        }
    }
    const std::string ending = ".adm";
    if (parsed.kind < 0 || theme.empty() || file.size() <= theme.size() + ending.size() ||
        file.compare(0, theme.size(), theme) != 0 ||
        file.compare(file.size() - ending.size(), ending.size(), ending) != 0) {
        return false;
    }
    const std::string digits =
        file.substr(theme.size(), file.size() - theme.size() - ending.size());
    if (digits.empty() || digits.size() > 2 || digits[0] < '1' || digits[0] > '9' ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    parsed.theme = theme;
    parsed.number = static_cast<int16_t>(std::stoi(digits));
    *item = std::move(parsed);
    return true;
}
