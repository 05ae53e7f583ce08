#include "history/EditStep.h"

#include <algorithm>

namespace {

bool ChannelValid(int16_t channel) {
    return channel >= 0 && channel <= 255;
}

bool ColorValid(const PixelColor& color) {
    return ChannelValid(color.blue) && ChannelValid(color.green) && ChannelValid(color.red);
}

bool OffsetValid(int32_t value) {
    return value >= -kStepOffsetLimit - 1 && value <= kStepOffsetLimit;
}

// A theme folder name as the asset folder can hold it: at most 31
// characters of up to four UTF-8 bytes each.
bool ThemeNameValid(const std::string& name) {
    return !name.empty() && name.size() <= 31 * 4 && name[0] != '.' &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

// A word the user typed: a word kind, and a line the text field could have
// held.
bool TypedWordValid(const EditStep& step) {
    if (step.item.kind != DECOR_WORD && step.item.kind != DECOR_COLORFUL_WORD) {
        return false;
    }
    if (step.text.size() > kStepMaxTextBytes) {
        return false;
    }
    for (const char c : step.text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return true;
}

bool ItemValid(const DecorationItem& item, bool frame) {
    const bool kindValid =
        frame ? item.kind == DECOR_FRAME : item.kind > DECOR_FRAME && item.kind < kDecorationKinds;
    return kindValid && ThemeNameValid(item.theme) && item.number >= 1 && item.number <= 99;
}

}  // namespace

void AdjustLevelRange(AdjustKind kind, int32_t* lowest, int32_t* highest) {
    if (kind == ADJUST_VIVIDNESS) {
        *lowest = kVividnessMinLevel;
        *highest = kVividnessMaxLevel;
    } else {
        *lowest = -100;
        *highest = 100;
    }
}

bool StepValid(const EditStep& step, int32_t index) {
    switch (step.kind) {
        case STEP_LOAD:
        case STEP_DELETE:
            return true;
        case STEP_TONES:
            return ColorValid(step.color);
        case STEP_MOVE:
            return OffsetValid(step.x) && OffsetValid(step.y);
        case STEP_RESCALE:
            return step.percent >= kStepScaleMinimum && step.percent <= kStepScaleMaximum &&
                   OffsetValid(step.x) && OffsetValid(step.y) && ColorValid(step.color);
        case STEP_ADJUST: {
            if (!AdjustKindValid(step.adjust)) {
                return false;
            }
            int32_t lowest = 0;
            int32_t highest = 0;
            AdjustLevelRange(step.adjust, &lowest, &highest);
            return step.level >= lowest && step.level <= highest && OffsetValid(step.x) &&
                   OffsetValid(step.y) && ColorValid(step.color);
        }
        case STEP_EFFECT:
            return EffectKindValid(step.effect);
        case STEP_FRAME:
            return ItemValid(step.item, true);
        case STEP_OBJECT:
            return (step.text.empty() ? ItemValid(step.item, false) : TypedWordValid(step)) &&
                   OffsetValid(step.x) && OffsetValid(step.y) && ColorValid(step.color);
        case STEP_RECOVER:
            return step.target >= 0 && step.target < index;
    }
    return false;
}

ObjectType ObjectTypeOfKind(int16_t kind) {
    switch (kind) {
        case DECOR_PATTERN12:
        case DECOR_PATTERN24:
            return OBJECT_PATTERN;
        case DECOR_PICTURE:
            return OBJECT_PICTURE;
        case DECOR_WORD:
            return OBJECT_WORD;
        case DECOR_COLORFUL_WORD:
            return OBJECT_COLORFUL_WORD;
        default:
            return OBJECT_NONE;
    }
}

std::vector<int32_t> EffectiveSteps(const std::vector<EditStep>& steps) {
    if (steps.empty() || steps[0].kind != STEP_LOAD) {
        return {};
    }
    // A tree of steps: each node follows its parent. A step follows the
    // node of the step before it; a Recover follows the node of the step
    // whose photo it brings back. The path from the last node back to the
    // root is the render's order.
    struct Node {
        int32_t parent;
        int32_t step;
    };
    std::vector<Node> nodes;
    std::vector<int32_t> nodeOfStep(steps.size(), -1);
    for (size_t i = 0; i < steps.size(); ++i) {
        const int32_t index = static_cast<int32_t>(i);
        const EditStep& step = steps[i];
        if (!StepValid(step, index) || (i > 0 && step.kind == STEP_LOAD)) {
            return {};
        }
        const int32_t parent = i == 0                      ? -1
                               : step.kind == STEP_RECOVER ? nodeOfStep[step.target]
                                                           : nodeOfStep[i - 1];
        nodes.push_back({parent, index});
        nodeOfStep[i] = static_cast<int32_t>(nodes.size() - 1);
    }
    std::vector<int32_t> order;
    for (int32_t node = nodeOfStep.back(); node >= 0; node = nodes[node].parent) {
        order.push_back(nodes[node].step);
    }
    std::reverse(order.begin(), order.end());
    return order;
}
