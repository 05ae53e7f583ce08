// The replay runner behind `fotakle --replay SCRIPT [FILE]`: the real
// editor, no window, FILE opened as the window opens a picture named on its
// command line, then fed one action a line.
//
//   key NAME        press and release (left right up down enter back 0-9
//                   soft1 soft2); a soft key that opens a pop-up opens it as
//                   the user would and prints its items like `menu`
//   press NAME      press only; pressing again is a repeat
//   release         releases the held key
//   command ID      a soft-key or menu command
//   type TEXT       types TEXT (the rest of the line, without blanks at
//                   either end) into the open "Type your own..." field;
//                   `key enter` then places the word, `key back` deletes a
//                   character. Fails when no field is open or the field
//                   does not take every character.
//   menu file|object|action
//                   opens that pop-up (action: the right soft key's pop-up of
//                   the shown bar) and prints its items
//   answer yes|no   answers the next question
//   answers yes|no  answers every later question not answered by an
//                   `answer` line, cancels every later Save-as and Select
//                   Folder dialog without a queued answer, and makes answers
//                   left unused no error (for storms of random keys)
//   saveas NAME bmp|jpg|png [screen|full|K] [keep] [best|good|small]
//                   one press of OK in the next Save-as dialog with this name
//                   and format; answers queue in order, and a dialog that
//                   stays open after a refused replace takes the next one.
//                   The words after the format, in any order, choose the
//                   size (screen, the default; full; or a whole factor K of
//                   176 x 180, 1 .. 35), tick "Keep edits" (keep) and, for
//                   jpg, the quality (without one the dialog's own stays)
//   saveas cancel   Cancel in the next Save-as dialog
//   folder PATH     the next Select Folder dialog chooses PATH (an existing
//                   folder's absolute path)
//   folder cancel   Cancel in the next Select Folder dialog
//   screen FILE     saves the picture area: the composed picture, or the
//                   Open browser while it is up
//   photo FILE      saves the display photo
//   recipe FILE     writes the history's recipe (JSON)
//   print title|bar|state
//
// The Open browser is driven as the user drives it: `key` lines move its
// selection and open the file (enter), its soft keys are "Change Folder" and
// "Cancel", and `print bar` says "browser" while it is up.
//
// Blank lines and lines starting with # are skipped. Output goes to out;
// a bad line, a failed action, a question or dialog with no answer waiting,
// an answer never used or a line after the editor quit stops the run with
// one message on err naming the line.
#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

class SettingsStore;

enum ReplayVerb : int16_t {
    REPLAY_KEY,
    REPLAY_PRESS,
    REPLAY_RELEASE,
    REPLAY_COMMAND,
    REPLAY_TYPE,
    REPLAY_MENU,
    REPLAY_ANSWER,
    REPLAY_ANSWERS,
    REPLAY_SAVEAS,
    REPLAY_FOLDER,
    REPLAY_SCREEN,
    REPLAY_PHOTO,
    REPLAY_PRINT,
    REPLAY_RECIPE,
};

struct ReplayAction {
    ReplayVerb verb = REPLAY_RELEASE;
    // key and press: the key name; type: the text; menu, answer, print:
    // the word; saveas:
    // the name or "cancel"; folder: the path or "cancel"; screen and photo:
    // the file.
    std::string argument;
    std::string format;    // saveas: "bmp", "jpg" or "png"
    int jpegQuality = 0;   // saveas: a kJpegQuality value, 0 when none was given
    uint16_t command = 0;  // command: the id
    // saveas: the size (full, or a factor) and "Keep edits".
    bool full = false;
    int32_t factor = 1;
    bool keepEdits = false;
};

// The paint effects' seed in replays, so that their pictures repeat.
constexpr uint64_t kReplaySeed = 1;

// Parses one line that is neither blank nor a comment. False, with a
// message saying what is wrong, for anything else.
bool ParseReplayLine(const std::string& line, ReplayAction* action, std::string* error);

// The editor a replay runs against.
struct ReplaySetup {
    std::string programFolder;  // with its trailing "/"
    std::string defaultFolder;  // the work folder without a usable setting
    // Opened before the first line, as a picture named on the command line
    // is; empty: none.
    std::string file;
    SettingsStore* settings = nullptr;
};

// Runs the script against a new editor. Returns 0 when every line ran,
// 1 otherwise.
int RunReplayScript(std::istream& script, std::ostream& out, std::ostream& err,
                    const ReplaySetup& setup);

// The same for a script file; 1 when it cannot be read.
int RunReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
                  const ReplaySetup& setup);
