// How the replay runner prints what the editor shows: texts on one line,
// menus item by item, the bar by name and the editor's state as name-value
// pairs. Plain C++: no Qt here.
#pragma once

#include <string>

#include "app/EditorState.h"
#include "app/Menus.h"

// The text with every tab, line feed and carriage return written as the two
// characters \t, \n and \r, so that it stays on one output line.
std::string EscapeReplayText(const std::string& text);

// One line per item: "ID<TAB>TEXT<TAB>enabled" or "...<TAB>grey"; a
// separator as "-"; a sub-menu as a line with its title followed by its
// items, indented two more spaces.
std::string FormatReplayMenu(const Menu& menu);

// "main", "rescale", "adjust", "okcancel", "browser", "about" or "dialog".
const char* ReplayBarName(BarId bar);

// One "name value" line per field, in a fixed order: mode, adjust_kind,
// level, photo_x, photo_y, scale, scaled_w, scaled_h, scaled_x, scaled_y,
// photo_changed, key_step, picker_open, cursor_x, cursor_y, color (RRGGBB,
// red first), object_present, object_type, object_x, object_y, frame_placed,
// chooser (none, frame, pattern, picture, word or colorful), page,
// work_folder, current_file, field (the open text field's kind: none, word
// or colorful), field_text, object_text (the floating word's typed line),
// undo_steps, redo_steps. Flags print as 0 or 1; an empty text leaves the
// name alone on its line.
std::string FormatReplayState(const EditorState& state);
