// The command table, the menus' enabled states when a pop-up opens, the
// colour picker's "Change Color" and the Close flow.
#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Chooser.h"
#include "decor/Decorations.h"

void Editor::Command(uint16_t id) {
    if (state_.messageBoxOpen) {
        return;
    }
    if (browser_ && BrowserCommand(id)) {
        return;
    }
    switch (id) {
        case CMD_CHANGE_COLOR:
            ChangeColor();
            break;
        case CMD_RECOVER:
            Recover();
            break;
        case CMD_RESET_POSITION:
            ResetPosition();
            break;
        case CMD_OK:
            // Without a mode "OK" belongs to the Open browser.
            if (state_.effectMode || state_.toneMode) {
                AcceptMode();
            }
            break;
        case CMD_CANCEL:
            SetTitle(ResString(IDS_PRODUCT));
            CancelMode();
            break;
        case CMD_OPEN:
            OpenCommand();
            break;
        case CMD_SAVE_AS:
            SaveAs();
            break;
        case CMD_RESCALE:
        case CMD_BRIGHTNESS:
        case CMD_CONTRAST:
        case CMD_HUE:
        case CMD_VIVIDNESS:
            EnterRescaleOrAdjust(id);
            break;
        case CMD_OIL_PAINT:
        case CMD_WATER_PAINT:
        case CMD_WAX_PAINT:
            RunEffect(id);
            break;
        case CMD_COLOR_TONES:
            EnterColorTones();
            break;
        case CMD_DONE:
            Done();
            break;
        case CMD_INCREASE:
            IncreaseOrDecrease(true);
            break;
        case CMD_DECREASE:
            IncreaseOrDecrease(false);
            break;
        case CMD_MOVE_LEFT:
        case CMD_MOVE_RIGHT:
        case CMD_MOVE_UP:
        case CMD_MOVE_DOWN:
            MoveCommand(id);
            break;
        case CMD_RESET:
            Reset();
            break;
        case CMD_ABOUT:
            ShowAbout();
            break;
        case CMD_CLOSE:
            CloseFlow();
            break;
        case CMD_MERGE:
            MergeCommand();
            break;
        case CMD_DELETE:
            DeleteCommand();
            break;
        default:
            if (id >= CMD_THEME_FIRST && id <= CMD_THEME_LAST) {
                ThemeCommand(id);
            }
            // "Change Folder" belongs to the browser; unknown ids are
            // ignored.
            break;
    }
}

// A menu is opening: the visible bar is made the mode's again, and outside
// the modes the items that would do nothing are greyed.
void Editor::UpdateMenus() {
    if (state_.rescaleMode) {
        ShowBar(BAR_RESCALE);
        Menu& action = menus_[MENU_RESCALE_ACTION];
        EnableMenuCommand(&action, CMD_INCREASE, state_.scalePercent < state_.scaleMaximum);
        EnableMenuCommand(&action, CMD_DECREASE, state_.scalePercent > state_.scaleMinimum);
        return;
    }
    if (state_.adjustMode) {
        ShowBar(BAR_ADJUST);
        return;
    }
    if (state_.toneMode || state_.effectMode) {
        ShowBar(BAR_OK_CANCEL);
        return;
    }
    const bool decorations = DecorationPending(state_);
    const bool moved = state_.photoX != 0 || state_.photoY != 0;
    for (MenuId id : {MENU_FILE, MENU_OBJECT}) {
        Menu& menu = menus_[id];
        EnableMenuCommand(&menu, CMD_MERGE, decorations);
        EnableMenuCommand(&menu, CMD_DELETE, decorations);
        EnableMenuCommand(&menu, CMD_RECOVER, state_.photoChanged);
        EnableMenuCommand(&menu, CMD_RESET_POSITION, moved);
    }
}

void Editor::ChangeColor() {
    if (state_.picker.open || !state_.picker.field) {
        return;
    }
    OpenPicker();
    ComposeAndPresent();
}

// Opens the picker over the picture, closing any chooser. Without a colour
// field there is nothing to pick from and the picker stays closed.
void Editor::OpenPicker() {
    if (!state_.picker.field) {
        return;
    }
    state_.picker.open = true;
    CloseChooser(&state_);
}

// Unsaved work (a changed photo or a decoration still floating) is asked
// about first. A Yes settles the decorations and runs the Save-as dialog;
// when the picture then cannot be written the program stays open, so that
// nothing is lost. Otherwise (No, a cancelled dialog, a written file) the
// work folder is remembered and the program ends.
void Editor::CloseFlow() {
    if (state_.photoChanged || DecorationPending(state_)) {
        if (AskQuestion("Save", ResString(IDS_SAVE_QUESTION))) {
            SettleDecorations();
            if (SaveAsCommand() == SAVE_FAILED) {
                return;
            }
        }
    }
    SetSettingString(settings_, IDS_MAIN_SECTION, IDS_WORK_FOLDER, state_.workFolder);
    shell_.Quit();
}
