// LevelBar: the small bar the window draws over the bottom of the picture
// area while Rescale or an adjust mode is on, showing the scale or level as
// a number and a slider between the mode's limits, with a tick at its
// starting value. It is the window's own: the composed picture area (and a
// replay's `screen`) never holds it.
#pragma once

#include <QRect>

#include <string>

#include "app/EditorState.h"

class QPainter;

struct LevelBarModel {
    bool shown = false;
    std::string text;  // "90 %", "+35", "-20", "0"; Vividness its level, "10"
    int lowest = 0;
    int highest = 0;
    int neutral = 0;  // where the mode starts
    int value = 0;
};

// The bar of the editor's state: shown in Rescale and Adjust only.
LevelBarModel LevelBarFor(const EditorState& state);

// Where the bar lies, in phone pixels of the picture area.
QRect LevelBarPhoneRect();

// Paints the bar over the picture area (window pixels) at factor.
void DrawLevelBar(QPainter& painter, const QRect& pictureArea, const LevelBarModel& bar,
                  int factor);
