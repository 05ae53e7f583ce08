// EditorState: the one program-wide record of everything that outlives a
// key press or command. The scene fields (pictures, modes, offsets, colour,
// decorations) come from Scene; the rest is the editor's own.
#pragma once

#include <cstdint>
#include <string>

#include "app/Menus.h"
#include "decor/Direction.h"
#include "decor/Scene.h"
#include "effects/EdgeMap.h"

struct EditorState : Scene {
    // The edge map of the paint effects, 176 x 180.
    EdgeMap effectScratch;

    // Adjust mode: the AdjustKind (1 .. 4); effect mode: 1 oil, 2 water, 3 wax.
    int16_t adjustKind = 0;
    int16_t adjustLevel = 0;

    int16_t scalePercent = 100;
    int16_t scaleMinimum = 44;
    int16_t scaleMaximum = 155;

    bool photoChanged = false;
    // A question or message of the program is on screen: keys and menu
    // pop-ups are ignored meanwhile.
    bool messageBoxOpen = false;
    bool decorationMenuPending = true;
    // Recover reloads the start-up picture rather than the current file.
    bool recoverFromStartup = true;

    // Held direction keys.
    int16_t keyStep = 1;
    Direction lastDirection = DIRECTION_NONE;
    bool keyHeld = false;

    std::string workFolder;   // the folder the Open browser shows
    std::string currentFile;  // the file the photo came from or was last saved to
    std::string savePath;     // chosen in the Save-as dialog

    std::string title;     // window title
    BarId bar = BAR_MAIN;  // the soft-key bar shown
};
