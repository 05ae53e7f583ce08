#include "platform/ReplayFormat.h"

#include <cstdio>

#include "decor/Chooser.h"

namespace {

void AppendMenu(const Menu& menu, int depth, std::string* out) {
    const std::string indent(static_cast<size_t>(depth) * 2, ' ');
    for (const MenuItem& item : menu) {
        out->append(indent);
        if (item.IsSeparator()) {
            out->append("-\n");
        } else if (item.popup) {
            out->append(EscapeReplayText(item.text)).append("\n");
            AppendMenu(item.items, depth + 1, out);
        } else {
            out->append(std::to_string(item.id))
                .append("\t")
                .append(EscapeReplayText(item.text))
                .append(item.enabled ? "\tenabled\n" : "\tgrey\n");
        }
    }
}

void AppendPair(const char* name, const std::string& value, std::string* out) {
    out->append(name);
    if (!value.empty()) {
        out->append(" ").append(value);
    }
    out->append("\n");
}

void AppendPair(const char* name, int value, std::string* out) {
    AppendPair(name, std::to_string(value), out);
}

const char* ModeName(EditMode mode) {
    switch (mode) {
        case EditMode::Rescale:
            return "rescale";
        case EditMode::Adjust:
            return "adjust";
        case EditMode::Effect:
            return "effect";
        case EditMode::Tones:
            return "tones";
        case EditMode::Normal:
            break;
    }
    return "normal";
}

// The kind of the adjust mode or effect entered last (0 before any).
int KindValue(const EditorState& state) {
    if (state.effectKind != EFFECT_NONE) {
        return state.effectKind;
    }
    return state.adjustKind;
}

// The open decoration chooser, by the kind of its items.
const char* ChooserName(const ChooserState& chooser) {
    switch (OpenChooserKind(chooser)) {
        case CHOOSER_FRAME:
            return "frame";
        case CHOOSER_PATTERN:
            return "pattern";
        case CHOOSER_PICTURE:
            return "picture";
        case CHOOSER_WORD:
            return "word";
        case CHOOSER_COLORFUL_WORD:
            return "colorful";
        default:
            return "none";
    }
}

}  // namespace

std::string EscapeReplayText(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\t':
                escaped += "\\t";
                break;
            case '\n':
                escaped += "\\n";
                break;
            case '\r':
                escaped += "\\r";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string FormatReplayMenu(const Menu& menu) {
    std::string out;
    AppendMenu(menu, 0, &out);
    return out;
}

const char* ReplayBarName(BarId bar) {
    switch (bar) {
        case BAR_MAIN:
            return "main";
        case BAR_RESCALE:
            return "rescale";
        case BAR_ADJUST:
            return "adjust";
        case BAR_OK_CANCEL:
            return "okcancel";
        case BAR_BROWSER:
            return "browser";
        case BAR_ABOUT:
            return "about";
        case BAR_DIALOG:
            return "dialog";
    }
    return "unknown";
}

std::string FormatReplayState(const EditorState& state) {
    char color[8];
    std::snprintf(color, sizeof color, "%02X%02X%02X",
                  static_cast<unsigned>(state.currentColor.red & 0xff),
                  static_cast<unsigned>(state.currentColor.green & 0xff),
                  static_cast<unsigned>(state.currentColor.blue & 0xff));
    std::string out;
    AppendPair("mode", ModeName(state.mode), &out);
    AppendPair("adjust_kind", KindValue(state), &out);
    AppendPair("level", state.adjustLevel, &out);
    AppendPair("photo_x", state.photoX, &out);
    AppendPair("photo_y", state.photoY, &out);
    AppendPair("scale", state.scalePercent, &out);
    AppendPair("scaled_w", state.scaledWidth, &out);
    AppendPair("scaled_h", state.scaledHeight, &out);
    AppendPair("scaled_x", state.scaledX, &out);
    AppendPair("scaled_y", state.scaledY, &out);
    AppendPair("photo_changed", state.photoChanged ? 1 : 0, &out);
    AppendPair("key_step", state.keyStep, &out);
    AppendPair("picker_open", state.picker.open ? 1 : 0, &out);
    AppendPair("cursor_x", state.picker.cursorX, &out);
    AppendPair("cursor_y", state.picker.cursorY, &out);
    AppendPair("color", color, &out);
    AppendPair("object_present", state.object.present ? 1 : 0, &out);
    AppendPair("object_type", state.object.type, &out);
    AppendPair("object_x", state.object.x, &out);
    AppendPair("object_y", state.object.y, &out);
    AppendPair("frame_placed", state.frame.placed ? 1 : 0, &out);
    AppendPair("chooser", ChooserName(state.chooser), &out);
    AppendPair("page", state.chooser.page, &out);
    AppendPair("work_folder", EscapeReplayText(state.workFolder), &out);
    AppendPair("current_file", EscapeReplayText(state.currentFile), &out);
    const TextField& field = state.textField;
    AppendPair("field",
               !field.open                ? "none"
               : field.kind == DECOR_WORD ? "word"
                                          : "colorful",
               &out);
    AppendPair("field_text", EscapeReplayText(field.text), &out);
    AppendPair("object_text", EscapeReplayText(state.object.text), &out);
    AppendPair("undo_steps", state.history.UndoSteps(), &out);
    AppendPair("redo_steps", state.history.RedoSteps(), &out);
    return out;
}
