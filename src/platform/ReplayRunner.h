// The replay runner behind `fotakle --replay SCRIPT`: the real editor, no
// window, fed one action a line.
//
//   key NAME        press and release (left right up down enter back 0-9
//                   soft1 soft2); a soft key that opens a pop-up opens it as
//                   the user would and prints its items like `menu`
//   press NAME      press only; pressing again is a repeat
//   release         releases the held key
//   command ID      a soft-key or menu command
//   menu file|object|action
//                   opens that pop-up (action: the right soft key's pop-up of
//                   the shown bar) and prints its items
//   answer yes|no   answers the next question
//   answers yes|no  answers every later question not answered by an
//                   `answer` line, cancels every later Save-as and Select
//                   Folder dialog without a queued answer, and makes answers
//                   left unused no error (for storms of random keys)
//   saveas NAME bmp|jpg
//                   one press of OK in the next Save-as dialog with this name
//                   and format; answers queue in order, and a dialog that
//                   stays open after a refused replace takes the next one
//   saveas cancel   Cancel in the next Save-as dialog
//   folder PATH     the next Select Folder dialog chooses PATH (an existing
//                   folder's absolute path)
//   folder cancel   Cancel in the next Select Folder dialog
//   screen FILE     saves the picture area: the composed picture, or the
//                   Open browser while it is up
//   photo FILE      saves the display photo
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
    REPLAY_MENU,
    REPLAY_ANSWER,
    REPLAY_ANSWERS,
    REPLAY_SAVEAS,
    REPLAY_FOLDER,
    REPLAY_SCREEN,
    REPLAY_PHOTO,
    REPLAY_PRINT,
};

struct ReplayAction {
    ReplayVerb verb = REPLAY_RELEASE;
    // key and press: the key name; menu, answer, print: the word; saveas:
    // the name or "cancel"; folder: the path or "cancel"; screen and photo:
    // the file.
    std::string argument;
    std::string format;    // saveas: "bmp" or "jpg"
    uint16_t command = 0;  // command: the id
};

// The paint effects' seed in replays, so that their pictures repeat.
constexpr uint64_t kReplaySeed = 1;

// Parses one line that is neither blank nor a comment. False, with a
// message saying what is wrong, for anything else.
bool ParseReplayLine(const std::string& line, ReplayAction* action, std::string* error);

// Runs the script against a new editor. Returns 0 when every line ran,
// 1 otherwise.
int RunReplayScript(std::istream& script, std::ostream& out, std::ostream& err,
                    const std::string& programFolder, SettingsStore* settings);

// The same for a script file; 1 when it cannot be read.
int RunReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
                  const std::string& programFolder, SettingsStore* settings);
