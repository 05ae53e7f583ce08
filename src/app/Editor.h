// Editor: the main window's behaviour without the window. It receives the
// window's messages (key presses and releases, the Back key, commands, menu
// pop-ups, paint and close requests), keeps EditorState, runs the picture
// operations, and reaches the screen only through its Shell.
//
// Contract: nothing throws. A picture that cannot be allocated leaves its
// field empty and is not reported; no operation then touches it (a mode whose
// copy cannot be made is not entered). While one of the editor's questions
// or messages is up (EditorState::messageBoxOpen), key presses, commands,
// menu pop-ups, the Back key and close requests are ignored. While the Open
// browser is up, key presses go to it, the picture area shows it, and of the
// commands only "OK", "Cancel", "Change Folder", "About" and "Close" are
// taken. While the "Type your own..." field is open (EditorState::
// textField), typed characters go into it, the action key or "OK" places
// the line as a word, Back deletes a character (closing an empty field),
// "Cancel" closes it, and other keys, commands and menu pop-ups are
// ignored. The display photo is always 176 x 180 once Start has run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app/EditorState.h"
#include "app/Menus.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "decor/Chooser.h"
#include "decor/Direction.h"
#include "dialogs/OpenBrowser.h"
#include "effects/PaintRandom.h"
#include "history/EditHistory.h"
#include "image/PictureType.h"

// What a command that enters a mode means; the table is in EditorModes.cpp.
struct ModeEntry;

// What became of a picture handed to the editor from outside.
enum OpenRequestOutcome : int16_t {
    OPEN_REQUEST_OPENED,      // it is the photo now
    OPEN_REQUEST_NOT_OPENED,  // it cannot be decoded, or its save failed: the user was told
    OPEN_REQUEST_WAIT,        // a question or dialog is up: nothing done, ask again later
};

class Editor {
  public:
    // programFolder: the folder of the executable, with its trailing "/";
    // the asset folder is found from it. settings may be null (nothing is
    // remembered).
    Editor(Shell& shell, SettingsStore* settings, std::string programFolder);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Start-up: the start-up picture ("BackPict.ADM" of the asset folder,
    // centred in 176 x 180; white when missing or unreadable), the colour
    // field, the built-in pictures, the main bar, the work folder, the title
    // and the first screen. The work folder is the setting; without one, or
    // when its folder no longer exists, defaultFolder (the window passes the
    // user's pictures folder); "/" when that does not exist either.
    void Start(const std::string& defaultFolder = "/");

    // A key press (auto-repeats are presses too) with its key code
    // (app/Keys.h); other codes are ignored.
    void KeyDown(int16_t keyCode);
    // A real key release.
    void KeyUp();
    // The phone's Back key.
    void BackKey();
    // Characters typed into the open text field, UTF-8: each printable one
    // is added at the end while the line is shorter than
    // kTextFieldMaxCharacters; control characters and bytes that are not
    // UTF-8 are dropped. True when every character was added; false, adding
    // nothing, while no field is open or a question is up.
    bool TypeText(std::string_view text);
    // A soft key or menu command.
    void Command(uint16_t id);
    // Any pop-up menu or sub-menu is about to open: the menus' enabled
    // states (and, the first time, the decoration pop-ups) are brought up to
    // date and the mode's bar re-asserted.
    void MenuPopup();
    // Composes the picture area and presents it; while the Open browser is
    // up, repaints it (never waiting for a thumbnail).
    void Paint();
    // The window's close button: the "Close" flow with its save question,
    // ending in Shell::Quit.
    void CloseRequested();

    // Makes the picture file the photo, as the Open browser's OK does: it
    // becomes the current file (which Recover reloads and Save as proposes),
    // unmoved, unchanged and without decorations. A file that cannot be
    // decoded changes nothing; the screen is presented afresh and the user
    // is told. A damaged file (only part of it could be read) is opened, and
    // the user is told so after it is shown. False when the picture was not
    // opened, also when a mode, the browser or a question is up (then
    // nothing is shown).
    bool OpenPicture(const std::string& path);
    // A picture handed over from outside: named on the command line, sent
    // by a later start of the program or dropped on the window. While a
    // question, message or dialog is up nothing happens (OPEN_REQUEST_WAIT).
    // A file that cannot be decoded is reported and changes nothing, not
    // even an open mode or browser. Otherwise an open mode or the Open
    // browser is left as its Cancel leaves it, unsaved changes are offered
    // for saving as "Open" offers them (a save that fails keeps the picture
    // and opens nothing), and the file opens as the browser's OK opens it:
    // it becomes the current file and its folder the work folder. A colour
    // picker or chooser on screen stays open, as it does after that OK.
    OpenRequestOutcome OpenRequestedPicture(const std::string& path);

    const EditorState& State() const { return state_; }
    // The Open browser while it is up, else null.
    const OpenBrowser* Browser() const { return browser_.get(); }
    const Menu& GetMenu(MenuId id) const;
    // Seeds the paint effects' random source (the clock seeds it otherwise).
    void SeedRandom(uint64_t seed);

  private:
    enum SaveOutcome { SAVE_CANCELLED, SAVE_FAILED, SAVE_WRITTEN };

    // Shows the wait cursor while it lives. Scopes may nest; the outermost
    // one shows and hides the cursor.
    class WaitCursorScope {
      public:
        explicit WaitCursorScope(Editor& editor);
        ~WaitCursorScope();
        WaitCursorScope(const WaitCursorScope&) = delete;
        WaitCursorScope& operator=(const WaitCursorScope&) = delete;

      private:
        Editor& editor_;
        bool outermost_;
    };

    // Editor.cpp: the shell around the state.
    // After a change: the picture area composed afresh and presented.
    void ComposeAndPresent();
    // A repaint of an unchanged state: an open chooser's page comes from the
    // composite cache.
    void PresentScreen();
    void ShowBar(BarId bar);
    void SetTitle(std::string_view title);
    bool AskQuestion(std::string_view caption, std::string_view text);
    void ShowMessage(std::string_view caption, std::string_view text);
    void ShowAbout();
    void ShowKeys();
    bool RunSaveAsDialog(SaveAsDialogRequest& request);
    bool RunSelectFolderDialog(std::string* folder);
    std::string StartupPicturePath() const;

    // EditorFiles.cpp: pictures in and out.
    // What a picture file gave: nothing, the whole picture, or only the
    // part of it that could be read.
    enum CanvasLoad { CANVAS_NOT_LOADED, CANVAS_LOADED, CANVAS_LOADED_DAMAGED };
    struct DecodedPicture {
        DibBlock picture;  // 176 x 180; empty when nothing could be read
        bool damaged = false;
    };
    CanvasLoad LoadCanvasPicture(const std::string& path);
    DecodedPicture DecodeCanvasPicture(const std::string& path);
    void InstallPhoto(DibBlock decoded);
    void ResetAfterLoad();
    void Recover();
    void SaveAs();
    SaveOutcome SaveAsCommand();
    bool SaveAsOkSteps(const std::string& name, PictureType format);
    bool WritePhoto(const SaveAsDialogRequest& request);

    // EditorHistory.cpp: the steps recorded where each change finishes,
    // Undo and Redo.
    void StartHistory(const std::string& source);
    bool TakeSnapshot(EditSnapshot* snapshot) const;
    void RecordStep(EditStep step, const EditSnapshot& before);
    void RecordMove(int32_t run, int16_t oldX, int16_t oldY);
    bool MergeWithStep(bool frame);
    void RecordModeMove();
    bool HistoryCommandsOpen() const;
    void UndoOrRedo(bool undo);
    void SyncPhotoChanged();

    // EditorModes.cpp: the mode table, entering and leaving the modes, and
    // what the modes do with their commands and keys.
    bool EnterModeCommand(uint16_t id);
    void EnterMode(const ModeEntry& entry);
    void ShowMode(const ModeEntry& entry);
    bool MakeModeCopy();
    void PaintEffect(const ModeEntry& entry);
    void StartColorTones(const ModeEntry& entry);
    void Done();
    void AcceptMode();
    void CancelMode();
    void Reset();
    void IncreaseOrDecrease(bool increase);
    void MoveCommand(uint16_t id);
    void MoveScaledPicture(uint16_t id);
    void RescaleKey(int16_t keyCode, int16_t step);
    void Rescale();
    void AdjustKey(int16_t keyCode);
    void ChangeAdjustLevel(int16_t level);

    // EditorKeys.cpp: the held-key step, the routing of a key by the mode,
    // the keys outside the modes and the photo's position.
    int16_t HeldKeyStep();
    int16_t StepFor(Direction direction, int16_t step) const;
    void MarkHeld(Direction direction);
    void RouteKey(int16_t keyCode, int16_t step);
    void LayerKey(int16_t keyCode, int16_t step);
    void PickerKey(int16_t keyCode, int16_t step);
    void ChooserKey(int16_t keyCode);
    void ObjectKey(int16_t keyCode, int16_t step);
    void PhotoKey(int16_t keyCode, int16_t step);
    void MovePhotoOnePixel(uint16_t id);
    void ResetPosition();

    // EditorCommands.cpp
    void UpdateMenus();
    void ChangeColor();
    void OpenPicker();
    void CloseFlow();

    // EditorBrowser.cpp
    void OpenCommand();
    bool BrowserCommand(uint16_t id);
    void BrowserKey(int16_t keyCode);
    void BrowserOk();
    void BrowserCancel();
    void BrowserChangeFolder();
    void AdoptKeptThumbnails();
    void RequestBrowserThumbnails();
    void ThumbnailMade(const ThumbnailJob& job, DibBlock thumbnail);
    void CloseBrowser();

    // EditorDecorations.cpp
    void BuildDecorationPopups();
    void ThemeCommand(uint16_t id);
    void MergeCommand();
    void DeleteCommand();
    void SettleDecorations();
    void AskAboutFrame(bool removeOnNo);
    void AskAboutObject(bool removeOnNo);

    // EditorTextField.cpp: "Type your own..." and its field.
    void OpenTextField(uint16_t id);
    void TextFieldCommand(uint16_t id);
    void DeleteTypedCharacter();
    void ConfirmTextField();
    void CloseTextField();

    Shell& shell_;
    SettingsStore* settings_;
    std::string programFolder_;
    // The asset folder, found once: the decoration menu, the chooser pages
    // and the placed items all read this one.
    std::string assetFolder_;
    AssetChooserPainter chooserPainter_;
    EditorState state_;
    Menu menus_[kMenuCount];
    SeededPaintRandom random_;
    // The Open browser while it is up.
    std::unique_ptr<OpenBrowser> browser_;
    // The thumbnails of the folder the browser showed last, for the next
    // browser that shows it.
    ThumbnailShelf keptThumbnails_;
    // Inside Shell::RequestThumbnails: results arriving meanwhile are
    // painted by the caller, once.
    bool requestingThumbnails_ = false;
    bool waitCursorShown_ = false;
    // The state as an effect or Color Tones began, and the paint generator's
    // state then: what their step records when it is accepted.
    EditSnapshot modeBefore_;
    uint64_t effectState_ = 0;
    // The run of moves the last change belongs to: a direction key's run
    // (1 .. 4) lasts while the key is held, a "Move ..." command's (its id)
    // until another command or key. runBefore_ is the run as the current
    // key or command began.
    int32_t moveRun_ = 0;
    int32_t runBefore_ = 0;
    // Start has run: loads repaint from then on.
    bool started_ = false;
};
