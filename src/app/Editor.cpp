// The editor's construction, start-up and the entry points the window calls.
#include "app/Editor.h"

#include <chrono>
#include <cstring>
#include <utility>

#include "app/Keys.h"
#include "app/Paths.h"
#include "app/Strings.h"
#include "decor/Chooser.h"
#include "decor/ColorPicker.h"
#include "decor/ComposeScreen.h"
#include "files/FilePaths.h"
#include "resources/Resources.h"

namespace {

uint64_t ClockSeed() {
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}

// Sets the message-box flag for one modal call of the shell and puts it back
// as it was found: the replace question is asked while the Save-as dialog is
// still up, and must not clear the flag the dialog set.
class ModalScope {
  public:
    explicit ModalScope(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~ModalScope() { flag_ = was_; }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

  private:
    bool& flag_;
    bool was_;
};

bool KnownKey(int16_t keyCode) {
    return keyCode == KEY_ACTION || (keyCode >= KEY_LEFT && keyCode <= KEY_DOWN) ||
           (keyCode >= KEY_DIGIT_0 && keyCode <= KEY_DIGIT_9);
}

}  // namespace

Editor::Editor(Shell& shell, SettingsStore* settings, std::string programFolder)
    : shell_(shell),
      settings_(settings),
      programFolder_(std::move(programFolder)),
      assetFolder_(AssetFolderPath(programFolder_, settings_)),
      chooserPainter_(assetFolder_),
      random_(ClockSeed()) {
    for (int id = 0; id < kMenuCount; ++id) {
        menus_[id] = BuildMenu(static_cast<MenuId>(id));
    }
}

// The wait cursor is only ever up inside one call (a WaitCursorScope), so
// nothing is left to undo here.
Editor::~Editor() {
    // Nothing the shell still makes may reach this editor once it is gone.
    shell_.RequestThumbnails({}, nullptr);
}

void Editor::Start(const std::string& defaultFolder) {
    state_.mode = EditMode::Normal;
    state_.photoX = 0;
    state_.photoY = 0;

    // The display photo is made once at the picture area's size. It starts
    // white, which is what stays when the start-up picture is missing or
    // unreadable: every command then still has a picture to work on.
    state_.displayPhoto = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (state_.displayPhoto) {
        std::memset(DibPixels(state_.displayPhoto.get()), 255, kCanvasPixelBytes);
    }
    if (LoadCanvasPicture(StartupPicturePath()) == CANVAS_NOT_LOADED) {
        ResetAfterLoad();
        StartHistory(std::string());
    }

    const DibBlock spectrum = ResourceDib(RESOURCE_SPECTRUM);
    state_.picker.field = BuildColorField(spectrum.get());
    ResetColorPicker(&state_.picker, &state_.currentColor);
    state_.banner = ResourceDib(RESOURCE_BANNER);
    state_.arrowUp = ResourceDib(RESOURCE_ARROW_UP);
    state_.arrowDown = ResourceDib(RESOURCE_ARROW_DOWN);
    state_.digits = ResourceDib(RESOURCE_DIGITS);

    ShowBar(BAR_MAIN);

    // The work folder: the setting, else the default; a folder that no
    // longer exists gives way to the default, and that to the root.
    const std::string setting =
        GetSettingString(settings_, IDS_MAIN_SECTION, IDS_WORK_FOLDER, nullptr);
    std::string folder = "/";
    for (const std::string& candidate : {setting, defaultFolder}) {
        FileInfo info;
        if (!candidate.empty() && FileExists(candidate, &info) && info.isDirectory) {
            folder = WithoutTrailingSlash(candidate);
            break;
        }
    }
    state_.workFolder = folder;
    state_.currentFile.clear();
    state_.savePath.clear();

    SetTitle(ResString(IDS_PRODUCT));
    started_ = true;
    ComposeAndPresent();
}

void Editor::KeyDown(int16_t keyCode) {
    if (state_.messageBoxOpen || !KnownKey(keyCode)) {
        return;
    }
    if (browser_) {
        BrowserKey(keyCode);
        return;
    }
    if (state_.textField.open) {
        // Characters come through TypeText; of the keys only the action key
        // means something here.
        if (keyCode == KEY_ACTION) {
            ConfirmTextField();
        }
        return;
    }
    runBefore_ = moveRun_;
    moveRun_ = 0;
    const int16_t step = HeldKeyStep();
    RouteKey(keyCode, step);
}

void Editor::KeyUp() {
    // A direction key's run of moves ends with its release; a command's
    // run goes on.
    if (moveRun_ >= 1 && moveRun_ <= 4) {
        moveRun_ = 0;
    }
    state_.lastDirection = DIRECTION_NONE;
    state_.keyHeld = false;
    state_.keyStep = 1;
}

void Editor::BackKey() {
    // Under the browser the picker and choosers wait for its end.
    if (state_.messageBoxOpen || browser_) {
        return;
    }
    if (state_.textField.open) {
        DeleteTypedCharacter();
        return;
    }
    if (!state_.picker.open && !state_.chooser.AnyOpen()) {
        return;
    }
    state_.picker.open = false;
    CloseChooser(&state_);
    ComposeAndPresent();
}

void Editor::MenuPopup() {
    // The browser's bar and the text field's open no menus.
    if (state_.messageBoxOpen || browser_ || state_.textField.open) {
        return;
    }
    if (state_.decorationMenuPending) {
        BuildDecorationPopups();
    }
    UpdateMenus();
}

void Editor::Paint() {
    if (browser_) {
        shell_.RepaintBrowser();
        return;
    }
    PresentScreen();
}

void Editor::CloseRequested() {
    // A close arriving while a question is up would cut across it; the
    // question's own answer decides what happens next.
    if (state_.messageBoxOpen) {
        return;
    }
    // A line being typed is given up, as its "Cancel" would.
    if (state_.textField.open) {
        CloseTextField();
    }
    CloseFlow();
}

const Menu& Editor::GetMenu(MenuId id) const {
    static const Menu kNoMenu;
    if (id < 0 || id >= kMenuCount) {
        return kNoMenu;
    }
    return menus_[id];
}

void Editor::SeedRandom(uint64_t seed) {
    random_ = SeededPaintRandom(seed);
}

// Whatever changed may lie under an open chooser (a merge, a new picture, a
// mode's preview), so the page kept in the cache is drawn again over it.
void Editor::ComposeAndPresent() {
    state_.cacheValid = false;
    PresentScreen();
}

void Editor::PresentScreen() {
    const DibBlock screen = ComposeScreen(state_, &chooserPainter_);
    if (screen) {
        shell_.PresentScreen(*screen);
    }
}

Editor::WaitCursorScope::WaitCursorScope(Editor& editor)
    : editor_(editor), outermost_(!editor.waitCursorShown_) {
    if (outermost_) {
        editor_.waitCursorShown_ = true;
        editor_.shell_.SetWaitCursor(true);
    }
}

Editor::WaitCursorScope::~WaitCursorScope() {
    if (outermost_) {
        editor_.waitCursorShown_ = false;
        editor_.shell_.SetWaitCursor(false);
    }
}

void Editor::ShowBar(BarId bar) {
    state_.bar = bar;
    shell_.ShowBar(bar);
}

void Editor::SetTitle(std::string_view title) {
    state_.title = title;
    shell_.SetTitle(state_.title);
}

bool Editor::AskQuestion(std::string_view caption, std::string_view text) {
    const ModalScope modal(state_.messageBoxOpen);
    return shell_.AskQuestion(std::string(caption), std::string(text));
}

void Editor::ShowMessage(std::string_view caption, std::string_view text) {
    const ModalScope modal(state_.messageBoxOpen);
    shell_.ShowMessage(std::string(caption), std::string(text));
}

void Editor::ShowAbout() {
    const ModalScope modal(state_.messageBoxOpen);
    shell_.ShowAbout();
}

void Editor::ShowKeys() {
    const ModalScope modal(state_.messageBoxOpen);
    shell_.ShowKeys();
}

bool Editor::RunSaveAsDialog(SaveAsDialogRequest& request) {
    const ModalScope modal(state_.messageBoxOpen);
    return shell_.RunSaveAsDialog(request);
}

bool Editor::RunSelectFolderDialog(std::string* folder) {
    const ModalScope modal(state_.messageBoxOpen);
    return shell_.RunSelectFolderDialog(folder);
}

std::string Editor::StartupPicturePath() const {
    return JoinPath(assetFolder_, "BackPict.ADM");
}
