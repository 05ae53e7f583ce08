// The decorations in the editor: the "Add ..." pop-ups built on the first
// menu pop-up, the theme commands with their merge questions, "Merge",
// "Delete", and the settling of pending decorations before a save.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Chooser.h"
#include "decor/DecorationMenu.h"
#include "decor/Decorations.h"

namespace {

// A decoration category's name in the string table.
StringId KindName(int16_t kind) {
    switch (kind) {
        case DECOR_FRAME:
            return IDS_KIND_FRAME;
        case DECOR_PATTERN12:
            return IDS_KIND_PATTERN12;
        case DECOR_PATTERN24:
            return IDS_KIND_PATTERN24;
        case DECOR_PICTURE:
            return IDS_KIND_PICTURE;
        case DECOR_WORD:
            return IDS_KIND_WORD;
        default:
            return IDS_KIND_COLORFUL_WORD;
    }
}

// "Add Frame" and its themes, "Name(count)", greyed when they have no item;
// the word pop-ups end with "Type your own...", after a separator when
// there are themes above it.
MenuItem PopupOf(const DecorationPopup& popup) {
    MenuItem item;
    item.popup = true;
    item.text.append(ResString(IDS_ADD)).append(" ").append(ResString(KindName(popup.kind)));
    for (const ThemeMenuItem& theme : popup.items) {
        MenuItem entry;
        entry.id = theme.id;
        entry.text = theme.text;
        entry.enabled = theme.enabled;
        item.items.push_back(std::move(entry));
    }
    if (popup.kind == DECOR_WORD || popup.kind == DECOR_COLORFUL_WORD) {
        if (!item.items.empty()) {
            item.items.emplace_back();
        }
        MenuItem typeOwn;
        typeOwn.id = popup.kind == DECOR_WORD ? CMD_TYPE_WORD : CMD_TYPE_COLORFUL_WORD;
        typeOwn.text = ResString(IDS_TYPE_OWN);
        item.items.push_back(std::move(typeOwn));
    }
    return item;
}

// A word of one's own needs no asset: the two word pop-ups are there also
// when their category has no theme, in kind order with the others.
void AddWordPopups(std::vector<DecorationPopup>* popups) {
    for (const int16_t kind : {DECOR_WORD, DECOR_COLORFUL_WORD}) {
        const auto at = std::find_if(popups->begin(), popups->end(),
                                     [kind](const DecorationPopup& p) { return p.kind >= kind; });
        if (at == popups->end() || at->kind != kind) {
            DecorationPopup empty;
            empty.kind = kind;
            popups->insert(at, std::move(empty));
        }
    }
}

}  // namespace

// Reads the asset folder once per run. The pop-ups go after "Change Color"
// in kind order, before the separator that precedes "Merge"; categories
// without themes get none, but for the two word categories.
void Editor::BuildDecorationPopups() {
    const WaitCursorScope wait(*this);
    std::vector<DecorationPopup> popups = BuildDecorationMenu(assetFolder_, &state_.themes);
    AddWordPopups(&popups);
    Menu& object = menus_[MENU_OBJECT];
    size_t position = 1;
    for (const DecorationPopup& popup : popups) {
        const size_t at = std::min(position, object.size());
        object.insert(object.begin() + static_cast<std::ptrdiff_t>(at), PopupOf(popup));
        ++position;
    }
    state_.decorationMenuPending = false;
}

// What is pending is settled first, the frame before the object. For a new
// frame a No to the frame question leaves the frame (the chosen one will
// replace it) and the object is not asked about; for the other kinds a No
// removes the frame. Choosing the theme whose chooser is open already leaves
// that chooser on its page, after the frame question.
void Editor::ThemeCommand(uint16_t id) {
    int16_t kind = -1;
    int16_t theme = -1;
    // The modes' menus offer no theme; a command sent anyway is ignored.
    if (state_.mode != EditMode::Normal || !DecodeThemeCommand(id, state_.themes, &kind, &theme)) {
        return;
    }
    if (kind == DECOR_FRAME) {
        if (state_.frame.placed) {
            AskAboutFrame(false);
        } else if (state_.object.present) {
            AskAboutObject(true);
        }
        if (ChooserOpenOnTheme(state_, kind, theme)) {
            return;
        }
    } else {
        if (state_.frame.placed) {
            AskAboutFrame(true);
        }
        if (ChooserOpenOnTheme(state_, kind, theme)) {
            return;
        }
        if (state_.object.present) {
            AskAboutObject(true);
        }
    }
    if (OpenChooser(&state_, kind, theme)) {
        ComposeAndPresent();
    }
}

// "Merge": the frame when one is placed, else the floating object; both
// burn into the display photo, which then counts as changed.
void Editor::MergeCommand() {
    // The frame first: with both placed, a second Merge burns in the object.
    if (state_.mode == EditMode::Normal && DecorationPending(state_) &&
        MergeWithStep(state_.frame.placed)) {
        ComposeAndPresent();
    }
}

void Editor::DeleteCommand() {
    if (state_.mode != EditMode::Normal) {
        return;
    }
    EditSnapshot before;
    const bool snapshot = TakeSnapshot(&before);
    if (DeleteDecorations(&state_)) {
        if (snapshot) {
            EditStep step;
            step.kind = STEP_DELETE;
            RecordStep(std::move(step), before);
        }
        ComposeAndPresent();
    }
}

// Before "Save as" and the save offered on "Close": one question at most, for
// the frame when one is placed, else for the object. What the user declines
// stays on screen unmerged and is not part of the saved picture.
void Editor::SettleDecorations() {
    if (state_.frame.placed) {
        AskAboutFrame(false);
    } else if (state_.object.present) {
        AskAboutObject(false);
    }
}

// "Do you want to merge the frame object ?": Yes burns the frame in; No
// removes it when removeOnNo, else leaves it placed.
void Editor::AskAboutFrame(bool removeOnNo) {
    if (AskQuestion(ResString(IDS_FRAME_CAPTION), ResString(IDS_MERGE_FRAME))) {
        if (MergeWithStep(true)) {
            ComposeAndPresent();
        }
    } else if (removeOnNo && RemoveFrame(&state_)) {
        ComposeAndPresent();
    }
}

// "Do you want to merge the moveable object ?", likewise for the object.
void Editor::AskAboutObject(bool removeOnNo) {
    if (AskQuestion(ResString(IDS_OBJECT_CAPTION), ResString(IDS_MERGE_OBJECT))) {
        if (MergeWithStep(false)) {
            ComposeAndPresent();
        }
    } else if (removeOnNo && RemoveFloatingObject(&state_)) {
        ComposeAndPresent();
    }
}
