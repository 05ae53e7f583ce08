// The commands, the menus' enabled states when a pop-up opens, the colour
// picker's "Change Color" and the Close flow.
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
    if (state_.textField.open) {
        TextFieldCommand(id);
        return;
    }
    runBefore_ = moveRun_;
    moveRun_ = 0;
    if (EnterModeCommand(id)) {
        return;
    }
    switch (id) {
        case CMD_CHANGE_COLOR:
            ChangeColor();
            break;
        case CMD_RECOVER:
            Recover();
            break;
        case CMD_UNDO:
        case CMD_REDO:
            UndoOrRedo(id == CMD_UNDO);
            break;
        case CMD_RESET_POSITION:
            ResetPosition();
            break;
        case CMD_OK:
            // Without a mode "OK" belongs to the Open browser.
            if (state_.mode == EditMode::Effect || state_.mode == EditMode::Tones) {
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
        case CMD_KEYS:
            ShowKeys();
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
        case CMD_TYPE_WORD:
        case CMD_TYPE_COLORFUL_WORD:
            OpenTextField(id);
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

// A menu is opening: in a mode the bar it was entered with is shown again
// (and the rescale scale items greyed at their limits); outside the modes
// the items that would do nothing are greyed.
void Editor::UpdateMenus() {
    switch (state_.mode) {
        case EditMode::Rescale: {
            ShowBar(state_.bar);
            Menu& action = menus_[MENU_RESCALE_ACTION];
            EnableMenuCommand(&action, CMD_INCREASE, state_.scalePercent < kScaleMaximum);
            EnableMenuCommand(&action, CMD_DECREASE, state_.scalePercent > kScaleMinimum);
            return;
        }
        case EditMode::Adjust:
        case EditMode::Effect:
        case EditMode::Tones:
            ShowBar(state_.bar);
            return;
        case EditMode::Normal:
            break;
    }
    const bool decorations = DecorationPending(state_);
    const bool moved = state_.photoX != 0 || state_.photoY != 0;
    // The menu opens over the picker or a chooser too: Undo and Redo wait.
    const bool history = HistoryCommandsOpen();
    for (MenuId id : {MENU_FILE, MENU_OBJECT}) {
        Menu& menu = menus_[id];
        EnableMenuCommand(&menu, CMD_MERGE, decorations);
        EnableMenuCommand(&menu, CMD_DELETE, decorations);
        EnableMenuCommand(&menu, CMD_RECOVER, state_.photoChanged);
        EnableMenuCommand(&menu, CMD_RESET_POSITION, moved);
        EnableMenuCommand(&menu, CMD_UNDO, history && state_.history.UndoSteps() > 0);
        EnableMenuCommand(&menu, CMD_REDO, history && state_.history.RedoSteps() > 0);
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
        if (AskQuestion(ResString(IDS_SAVE_CAPTION), ResString(IDS_SAVE_QUESTION))) {
            SettleDecorations();
            if (SaveAsCommand() == SAVE_FAILED) {
                return;
            }
        }
    }
    SetSettingString(settings_, IDS_MAIN_SECTION, IDS_WORK_FOLDER, state_.workFolder);
    shell_.Quit();
}
