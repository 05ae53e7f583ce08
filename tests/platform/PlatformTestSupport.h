// Helpers shared by the platform tests: the test program's QApplication,
// keys and modal dialogs driven in this process, the phone window wired to
// an editor as the program wires them, the built program run as a replay or
// as window copies, and a real X server with the window probe on it.
// Nothing here depends on time except guards against a hang.
#pragma once

#include <QApplication>
#include <QImage>
#include <QString>
#include <QTimer>

#include <gtest/gtest.h>
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/Editor.h"
#include "app/Settings.h"
#include "platform/PhoneWindow.h"
#include "platform/QtShell.h"
#include "support/TestSupport.h"

// ---- The window in this process.

// The one QApplication of the test program, made on first use under the
// offscreen platform and kept for the whole run.
QApplication& TestApplication();

// One key event sent straight to target; autoRepeat marks the desktop's
// repeats of a held key.
void SendKey(QWidget* target, QEvent::Type type, int key, const QString& text = QString(),
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false);
// A press and a release of key, with the text it types (if any).
void ClickKey(QWidget* target, int key, const QString& text = QString(),
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Runs action on the first active modal widget that matches (any, when
// matches is empty), from inside its event loop. The polling timer belongs
// to owner and goes with it.
void WhenModal(QObject* owner, std::function<bool(QWidget*)> matches,
               std::function<void(QWidget*)> action);

// Settings that hold one work folder; everything written is dropped.
class WorkFolderSettings : public SettingsStore {
  public:
    explicit WorkFolderSettings(std::string folder) : folder_(std::move(folder)) {}
    bool Read(const std::string& section, const std::string& name, std::string* value) override;
    void Write(const std::string&, const std::string&, const std::string&) override {}

  private:
    std::string folder_;
};

// The Qt shell, keeping a copy of the last picture area presented.
class RecordingShell : public QtShell {
  public:
    using QtShell::QtShell;
    void PresentScreen(const DibImage& screen) override;
    DibBlock lastScreen;
};

// The phone window with its editor, wired and started as the program does
// it, shown at factor times the phone's size.
class EditorWindow {
  public:
    explicit EditorWindow(SettingsStore* settings = nullptr, int factor = 3,
                          ThumbnailWorker::MakeFunction makeThumbnail = MakeThumbnail);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    const EditorState& State() const { return editor.State(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ClickKey(&window, key, QString(), modifiers);
    }
    void Keys(std::initializer_list<int> keys) {
        for (const int key : keys) {
            Key(key);
        }
    }
    QImage Grab();
    // The window pixel of phone pixel (x, y) of the picture area.
    QPoint At(int x, int y) const;
    // The phone screen in global coordinates: where a dialog covering it stands.
    QRect PhoneGlobalRect() const;
    // Opens the pop-up with a soft key and picks the item with this id by
    // keys, as a user does: Down until the row on the way is highlighted,
    // Right into each sub-menu, Return on the item.
    void PickFromMenu(int softKey, MenuId menu, uint16_t id);

    QApplication& application = TestApplication();  // before any widget
    PhoneWindow window;
    RecordingShell shell;
    Editor editor;
};

// Lets a single-shot timer run out now, through the event loop.
void RunOut(QTimer* timer);
// The pixels of shot inside area (inclusive) for which matches holds.
int CountPixels(const QImage& shot, const QRect& area, const std::function<bool(QRgb)>& matches);

// A picture file of MakePatternImage(width, 30), for the editor to open.
std::string WritePatternPicture(const std::string& path, int32_t width = 40);
// A 36 x 36 picture file, 0xRRGGBB top in its top half and bottom below.
void WriteTwoColourPicture(const std::string& path, uint32_t top, uint32_t bottom);

// ---- The built program.

using Environment = std::vector<std::pair<std::string, std::string>>;

// The whole file as text; empty when it cannot be read.
std::string ReadText(const std::string& path);
// How often text occurs in haystack.
int CountOf(const std::string& haystack, const std::string& text);

// Polls until condition() holds, at most maxSeconds (a guard, not a
// measurement). True when it held.
template <typename Condition>
bool WaitFor(Condition condition, int maxSeconds = 60) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

struct ProgramResult {
    bool ended = false;
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end in folder, with the current environment and
// these variables replaced, within a generous bound.
ProgramResult RunProgram(const std::vector<std::string>& args, const Environment& environment,
                         const std::string& folder);

// The values of the "name value" lines of a printed state with this name,
// in order (a name alone is an empty value), and the last of them
// ("(missing)" when there is none).
std::vector<std::string> Values(const std::string& out, const std::string& name);
std::string Value(const std::string& out, const std::string& name);

// The settings file of a program run with XDG_CONFIG_HOME=folder/config,
// written to hold this work folder.
std::string SettingsFile(const std::string& folder);
void WriteWorkFolderSetting(const std::string& folder, const std::string& workFolder);

// Writes script to folder/script.txt and runs `fotakle --replay` on it with
// the arguments after it, in folder, with XDG_CONFIG_HOME=folder/config and
// TMPDIR=folder unless environment says otherwise.
ProgramResult Replay(const std::string& folder, const std::string& script,
                     const Environment& environment = {},
                     const std::vector<std::string>& after = {});

// Window copies of the built program, for the one-copy rule and pictures
// handed to a running copy. Every copy runs under the offscreen platform
// with the settings, home, socket folder and temporary folder of the test,
// and prints its state each time it has dealt with a picture handed to it.
// Copies still running when the object goes are killed.
class WindowCopies {
  public:
    // folder: the test's own; "run" (mode 0700), "home" and "config" are
    // made in it.
    explicit WindowCopies(const std::string& folder);
    ~WindowCopies();
    WindowCopies(const WindowCopies&) = delete;
    WindowCopies& operator=(const WindowCopies&) = delete;

    void Set(const std::string& name, const std::string& value);
    const Environment& Env() const { return environment_; }
    std::string RuntimeFolder() const { return folder_ + "/run"; }
    std::string Home() const { return folder_ + "/home"; }

    // Starts `fotakle arguments...` as the copy called name; its stdout and
    // stderr go to folder/name.out and .err.
    bool Start(const std::string& name, const std::vector<std::string>& arguments);
    std::string Out(const std::string& name) const;
    std::string Err(const std::string& name) const;
    // Waits until the copy's stdout holds text count times; false when the
    // copy ends first or the guard runs out.
    bool WaitForOutput(const std::string& name, const std::string& text, int count = 1);
    // True, with the exit code, once the copy has ended; never waits.
    bool Ended(const std::string& name, int* exitCode);
    // Waits for the copy to end; false when the guard runs out first.
    bool WaitForEnd(const std::string& name, int* exitCode);
    // Starts the copy and expects it to hand over to a running one: it ends
    // with 0 and says nothing on stderr.
    ::testing::AssertionResult HandsOver(const std::string& name,
                                         const std::vector<std::string>& arguments);
    // Ends a running copy (SIGTERM) and waits for it.
    void Stop(const std::string& name);

  private:
    struct Copy {
        pid_t pid = -1;
        bool ended = false;
        int exitCode = -1;
    };

    std::string folder_;
    Environment environment_;
    std::map<std::string, Copy> copies_;
};

// ---- A real X server.

// An X server of its own on a free display, with the window probe
// (tests/platform/probe) on it, typed into with xdotool through XTEST.
class XvfbProbe {
  public:
    explicit XvfbProbe(const TempDir& dir);
    ~XvfbProbe();
    XvfbProbe(const XvfbProbe&) = delete;
    XvfbProbe& operator=(const XvfbProbe&) = delete;

    // False, with the reason, when the server could not start: the test is
    // skipped then.
    bool HasDisplay(std::string* problem) const;
    // Starts the probe and waits until its window is up and focused;
    // false with a reason.
    bool StartProbe(std::string* problem);
    std::string Output() const { return ReadText(out_); }
    // Runs xdotool on the display; true when it ended with 0.
    bool XDoTool(const std::vector<std::string>& args) const;
    // Stops the probe (also done when the object goes).
    void StopProbe();

  private:
    const TempDir& dir_;
    pid_t server_ = -1;
    pid_t probe_ = -1;
    std::string display_;
    std::string problem_;
    std::string out_;
};
