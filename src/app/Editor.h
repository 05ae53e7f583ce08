// Editor: the main window's behaviour without the window. It receives the
// window's messages (key presses and releases, the Back key, commands, menu
// pop-ups, paint and close requests), keeps EditorState, runs the picture
// operations, and reaches the screen only through its Shell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/EditorState.h"
#include "app/Menus.h"
#include "app/Settings.h"
#include "app/Shell.h"

class Editor {
public:
    // programFolder: the folder of the executable, with its trailing "/";
    // the asset folder is found from it. settings may be null (nothing is
    // remembered).
    Editor(Shell& shell, SettingsStore* settings, std::string programFolder);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Start-up: the start-up picture, the colour field, the work folder, the
    // main bar, the title and the first screen.
    void Start();

    // A key press (auto-repeats are presses too) with its key code
    // (app/Keys.h); other codes are ignored.
    void KeyDown(int16_t keyCode);
    // A real key release.
    void KeyUp();
    // The phone's Back key.
    void BackKey();
    // A soft key or menu command.
    void Command(uint16_t id);
    // Any pop-up menu or sub-menu is about to open: the menus' enabled
    // states (and, the first time, the decoration pop-ups) are brought up to
    // date and the mode's bar re-asserted.
    void MenuPopup();
    // Composes the picture area and presents it.
    void Paint();
    // The window's close button: the "Close" flow with its save question.
    void CloseRequested();

    const EditorState& State() const { return state_; }
    EditorState& MutableState() { return state_; }
    const Menu& GetMenu(MenuId id) const;
    // The pop-up the soft key of the visible bar opens (MENU_NONE for a
    // plain command).
    MenuId SoftKeyMenu(bool left) const;
    // Seeds the paint effects' random source (the clock seeds it otherwise).
    void SeedRandom(uint64_t seed);

private:
    struct Impl;
    Shell& shell_;
    SettingsStore* settings_;
    std::string programFolder_;
    EditorState state_;
    std::unique_ptr<Impl> impl_;
};
