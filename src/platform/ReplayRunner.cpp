#include "platform/ReplayRunner.h"

#include <QImage>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "app/Keys.h"
#include "files/FilePaths.h"
#include "history/Recipe.h"
#include "history/RenderHistory.h"
#include "image/SavePicture.h"
#include "platform/BrowserPainter.h"
#include "platform/ReplayFormat.h"
#include "platform/ReplayShell.h"

namespace {

const char kKeyNames[] = "left, right, up, down, enter, back, 0-9, soft1, soft2";

std::string Trim(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) {
        ++begin;
    }
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// The first word of a trimmed line and the trimmed rest.
void SplitFirstWord(const std::string& line, std::string* word, std::string* rest) {
    size_t end = 0;
    while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) {
        ++end;
    }
    *word = line.substr(0, end);
    *rest = Trim(line.substr(end));
}

bool IsKeyName(const std::string& name) {
    static const char* const kNames[] = {"left",  "right", "up",    "down",
                                         "enter", "back",  "soft1", "soft2"};
    for (const char* known : kNames) {
        if (name == known) {
            return true;
        }
    }
    return name.size() == 1 && name[0] >= '0' && name[0] <= '9';
}

bool ParseCommandId(const std::string& text, uint16_t* id) {
    if (text.empty() || text.size() > 5) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (value == 0 || value > 0xffff) {
        return false;
    }
    *id = static_cast<uint16_t>(value);
    return true;
}

// The JPEG quality a word names, 0 for any other word.
int QualityOfWord(const std::string& word) {
    return word == "best"    ? kJpegQualityBest
           : word == "good"  ? kJpegQualityGood
           : word == "small" ? kJpegQualitySmall
                             : 0;
}

// One word after the format of a `saveas` line: a size (screen, full or a
// whole factor), keep, or a JPEG quality. False for any other word.
bool ParseSaveAsWord(const std::string& word, ReplayAction* action) {
    if (word == "screen" || word == "full") {
        action->full = word == "full";
        action->factor = 1;
        return true;
    }
    if (word == "keep") {
        action->keepEdits = true;
        return true;
    }
    if (QualityOfWord(word) != 0) {
        action->jpegQuality = QualityOfWord(word);
        return true;
    }
    if (word.empty() || word.size() > 2 ||
        word.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const int32_t factor = std::stoi(word);
    if (factor < 1 || factor > MaxRenderFactor()) {
        return false;
    }
    action->full = false;
    action->factor = factor;
    return true;
}

// Parses "NAME bmp|jpg|png [WORD...]" or "cancel": the name runs up to the
// last format word, the words after it choose the size, the recipe and, for
// jpg, the quality.
bool ParseSaveAs(const std::string& rest, ReplayAction* action, std::string* error) {
    if (rest == "cancel") {
        action->argument = rest;
        return true;
    }
    std::vector<std::string> words;
    std::vector<size_t> starts;
    for (size_t at = 0; at < rest.size();) {
        const size_t begin = rest.find_first_not_of(" \t", at);
        if (begin == std::string::npos) {
            break;
        }
        const size_t end = std::min(rest.find_first_of(" \t", begin), rest.size());
        words.push_back(rest.substr(begin, end - begin));
        starts.push_back(begin);
        at = end;
    }
    size_t format = words.size();
    for (size_t i = words.size(); i > 1; --i) {
        if (words[i - 1] == "bmp" || words[i - 1] == "jpg" || words[i - 1] == "png") {
            format = i - 1;
            break;
        }
    }
    if (format == words.size()) {
        *error =
            "saveas needs the format bmp, jpg or png after the name (then screen, full or a "
            "factor, keep, and for jpg best, good or small, in any order), or cancel";
        return false;
    }
    action->argument = Trim(rest.substr(0, starts[format]));
    action->format = words[format];
    for (size_t i = format + 1; i < words.size(); ++i) {
        if (!ParseSaveAsWord(words[i], action)) {
            *error = "saveas takes screen, full, a factor from 1 to " +
                     std::to_string(MaxRenderFactor()) +
                     ", keep or a quality after the format, not \"" + words[i] + "\"";
            return false;
        }
        if (action->jpegQuality != 0 && action->format != "jpg") {
            *error = "saveas takes a quality (best, good or small) after jpg only";
            return false;
        }
    }
    return true;
}

// The browser as the picture area shows it, at the phone's own size.
DibBlock BrowserPicture(const OpenBrowser& browser) {
    const QImage painted = PaintBrowser(browser.Layout(), 1).convertToFormat(QImage::Format_BGR888);
    DibBlock picture = DibCreate(painted.width(), painted.height(), 24);
    if (!picture) {
        return picture;
    }
    const int32_t stride = DibRowStride(painted.width(), 24);
    const size_t rowBytes = static_cast<size_t>(painted.width()) * 3;
    uint8_t* pixels = DibPixels(picture.get());
    for (int y = 0; y < painted.height(); ++y) {
        // The picture's rows lie bottom-up.
        std::memcpy(pixels + static_cast<size_t>(painted.height() - 1 - y) * stride,
                    painted.constScanLine(y), rowBytes);
    }
    return picture;
}

class ReplayRun {
  public:
    ReplayRun(std::ostream& out, std::ostream& err, const ReplaySetup& setup)
        : out_(out),
          err_(err),
          setup_(setup),
          shell_(out),
          editor_(shell_, setup.settings, setup.programFolder) {}

    int Run(std::istream& script);

  private:
    bool Perform(const ReplayAction& action, int line, std::string* error);
    void PressKey(const std::string& name, bool release);
    void OpenPopup(MenuId id);
    bool QueueFolder(const std::string& argument, int line, std::string* error);
    int Fail(int line, const std::string& message) {
        out_.flush();
        err_ << "fotakle --replay: line " << line << ": " << message << '\n';
        return 1;
    }

    std::ostream& out_;
    std::ostream& err_;
    const ReplaySetup& setup_;
    ReplayShell shell_;
    Editor editor_;
};

int ReplayRun::Run(std::istream& script) {
    editor_.SeedRandom(kReplaySeed);
    editor_.Start(setup_.defaultFolder);
    if (!setup_.file.empty()) {
        editor_.OpenRequestedPicture(setup_.file);
    }
    std::string unanswered;
    if (shell_.TakeUnanswered(&unanswered)) {
        return Fail(0, "at start-up, " + unanswered);
    }
    std::string text;
    int line = 0;
    int quitLine = 0;
    while (std::getline(script, text)) {
        ++line;
        const std::string trimmed = Trim(text);
        if (trimmed.empty() || trimmed[0] == '#') {
            continue;
        }
        ReplayAction action;
        std::string error;
        if (!ParseReplayLine(trimmed, &action, &error)) {
            return Fail(line, error + ": " + trimmed);
        }
        if (quitLine != 0) {
            return Fail(line, "the editor quit on line " + std::to_string(quitLine) +
                                  "; nothing can follow");
        }
        if (!Perform(action, line, &error)) {
            return Fail(line, error);
        }
        if (shell_.TakeUnanswered(&unanswered)) {
            return Fail(line, unanswered);
        }
        if (shell_.QuitCalled() && quitLine == 0) {
            quitLine = line;
        }
    }
    int pendingLine = 0;
    std::string waitingFor;
    if (shell_.PendingAnswer(&pendingLine, &waitingFor)) {
        return Fail(pendingLine, "this answer was never used: no " + waitingFor + " followed");
    }
    out_.flush();
    return 0;
}

bool ReplayRun::Perform(const ReplayAction& action, int line, std::string* error) {
    switch (action.verb) {
        case REPLAY_KEY:
        case REPLAY_PRESS:
            PressKey(action.argument, action.verb == REPLAY_KEY);
            return true;
        case REPLAY_RELEASE:
            editor_.KeyUp();
            return true;
        case REPLAY_COMMAND:
            editor_.Command(action.command);
            return true;
        case REPLAY_TYPE:
            if (!editor_.State().textField.open) {
                *error = "no text field is open to type into (commands 50104 and 50105 open one)";
                return false;
            }
            if (!editor_.TypeText(action.argument)) {
                *error = "the text field did not take all of \"" + action.argument +
                         "\" (printable characters, at most " +
                         std::to_string(kTextFieldMaxCharacters) + ")";
                return false;
            }
            return true;
        case REPLAY_MENU: {
            MenuId id = MENU_FILE;
            if (action.argument == "object") {
                id = MENU_OBJECT;
            } else if (action.argument == "action") {
                id = FindSoftKeyBar(shell_.Bar()).right.popup;
                if (id == MENU_NONE) {
                    *error = std::string("the ") + ReplayBarName(shell_.Bar()) +
                             " bar has no Action pop-up";
                    return false;
                }
            }
            OpenPopup(id);
            return true;
        }
        case REPLAY_ANSWER:
            shell_.QueueAnswer(action.argument == "yes", line);
            return true;
        case REPLAY_ANSWERS:
            shell_.SetStandingAnswer(action.argument == "yes");
            return true;
        case REPLAY_SAVEAS:
            shell_.QueueSaveAs(action.argument == "cancel", action.argument,
                               action.format == "bmp"   ? PICTURE_BMP
                               : action.format == "png" ? PICTURE_PNG
                                                        : PICTURE_JPEG,
                               line,
                               {action.full, action.factor, action.keepEdits, action.jpegQuality});
            return true;
        case REPLAY_RECIPE:
            if (!WriteRecipeFile(action.argument, editor_.State().history.AppliedSteps())) {
                *error = "cannot write " + action.argument;
                return false;
            }
            return true;
        case REPLAY_FOLDER:
            return QueueFolder(action.argument, line, error);
        case REPLAY_SCREEN: {
            // The screen shows every thumbnail asked for, however long it
            // took to make.
            shell_.FinishThumbnails();
            editor_.Paint();
            // While the browser is up the picture area shows it.
            const DibBlock browser =
                shell_.Browser() != nullptr ? BrowserPicture(*shell_.Browser()) : nullptr;
            const DibImage* screen = browser ? browser.get() : shell_.Screen();
            if (screen == nullptr) {
                *error = "no picture area has been presented";
                return false;
            }
            if (!SavePicture(action.argument, *screen).Ok()) {
                *error = "cannot write " + action.argument;
                return false;
            }
            return true;
        }
        case REPLAY_PHOTO:
            if (editor_.State().displayPhoto == nullptr) {
                *error = "there is no display photo";
                return false;
            }
            if (!SavePicture(action.argument, *editor_.State().displayPhoto).Ok()) {
                *error = "cannot write " + action.argument;
                return false;
            }
            return true;
        case REPLAY_PRINT:
            if (action.argument == "title") {
                out_ << EscapeReplayText(shell_.Title()) << '\n';
            } else if (action.argument == "bar") {
                out_ << (shell_.Browser() != nullptr ? "browser" : ReplayBarName(shell_.Bar()))
                     << '\n';
            } else {
                out_ << FormatReplayState(editor_.State());
            }
            return true;
    }
    return true;
}

void ReplayRun::PressKey(const std::string& name, bool release) {
    if (name == "soft1" || name == "soft2") {
        const SoftKeyBar& bar = FindSoftKeyBar(shell_.Bar());
        const SoftKey& key = name == "soft1" ? bar.left : bar.right;
        if (key.command == 0) {
            return;
        }
        // A pop-up takes the keyboard as it opens, so the key's release
        // never reaches the editor.
        if (key.popup >= 0 && key.popup < kMenuCount) {
            OpenPopup(key.popup);
            return;
        }
        editor_.Command(key.command);
    } else if (name == "back") {
        editor_.BackKey();
    } else {
        int16_t code = 0;
        if (name == "left") {
            code = KEY_LEFT;
        } else if (name == "right") {
            code = KEY_RIGHT;
        } else if (name == "up") {
            code = KEY_UP;
        } else if (name == "down") {
            code = KEY_DOWN;
        } else if (name == "enter") {
            code = KEY_ACTION;
        } else {
            code = static_cast<int16_t>(KEY_DIGIT_0 + (name[0] - '0'));
        }
        editor_.KeyDown(code);
    }
    if (release) {
        editor_.KeyUp();
    }
}

// A folder answer names an existing folder by its absolute path, as the
// tree can only offer those; one trailing "/" is dropped.
bool ReplayRun::QueueFolder(const std::string& argument, int line, std::string* error) {
    if (argument == "cancel") {
        shell_.QueueFolder(true, std::string(), line);
        return true;
    }
    const std::string folder = WithoutTrailingSlash(argument);
    FileInfo info;
    if (folder[0] != '/' || !FileExists(folder, &info) || !info.isDirectory) {
        *error = "folder needs the absolute path of an existing folder, or cancel: " + argument;
        return false;
    }
    shell_.QueueFolder(false, folder, line);
    return true;
}

void ReplayRun::OpenPopup(MenuId id) {
    editor_.MenuPopup();
    out_ << FormatReplayMenu(editor_.GetMenu(id));
}

}  // namespace

bool ParseReplayLine(const std::string& line, ReplayAction* action, std::string* error) {
    std::string verb;
    std::string rest;
    SplitFirstWord(Trim(line), &verb, &rest);
    *action = ReplayAction();
    action->argument = rest;
    if (verb == "key" || verb == "press") {
        action->verb = verb == "key" ? REPLAY_KEY : REPLAY_PRESS;
        if (!IsKeyName(rest)) {
            *error = "unknown key \"" + rest + "\" (keys: " + kKeyNames + ")";
            return false;
        }
        return true;
    }
    if (verb == "type") {
        action->verb = REPLAY_TYPE;
        if (rest.empty()) {
            *error = "type needs a text";
            return false;
        }
        return true;
    }
    if (verb == "release") {
        action->verb = REPLAY_RELEASE;
        if (!rest.empty()) {
            *error = "release takes no argument";
            return false;
        }
        return true;
    }
    if (verb == "command") {
        action->verb = REPLAY_COMMAND;
        if (!ParseCommandId(rest, &action->command)) {
            *error = "command needs a number from 1 to 65535";
            return false;
        }
        return true;
    }
    if (verb == "menu") {
        action->verb = REPLAY_MENU;
        if (rest != "file" && rest != "object" && rest != "action") {
            *error = "menu needs file, object or action";
            return false;
        }
        return true;
    }
    if (verb == "answer" || verb == "answers") {
        action->verb = verb == "answer" ? REPLAY_ANSWER : REPLAY_ANSWERS;
        if (rest != "yes" && rest != "no") {
            *error = verb + " needs yes or no";
            return false;
        }
        return true;
    }
    if (verb == "saveas") {
        action->verb = REPLAY_SAVEAS;
        return ParseSaveAs(rest, action, error);
    }
    if (verb == "folder" || verb == "screen" || verb == "photo" || verb == "recipe") {
        action->verb = verb == "folder"   ? REPLAY_FOLDER
                       : verb == "screen" ? REPLAY_SCREEN
                       : verb == "photo"  ? REPLAY_PHOTO
                                          : REPLAY_RECIPE;
        if (rest.empty()) {
            *error = verb + (verb == "folder" ? " needs a path or cancel" : " needs a file name");
            return false;
        }
        return true;
    }
    if (verb == "print") {
        action->verb = REPLAY_PRINT;
        if (rest != "title" && rest != "bar" && rest != "state") {
            *error = "print needs title, bar or state";
            return false;
        }
        return true;
    }
    *error = "unknown action \"" + verb + "\"";
    return false;
}

int RunReplayScript(std::istream& script, std::ostream& out, std::ostream& err,
                    const ReplaySetup& setup) {
    ReplayRun run(out, err, setup);
    return run.Run(script);
}

int RunReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
                  const ReplaySetup& setup) {
    std::ifstream script(path);
    if (!script) {
        err << "fotakle --replay: cannot read " << path << '\n';
        return 1;
    }
    return RunReplayScript(script, out, err, setup);
}
