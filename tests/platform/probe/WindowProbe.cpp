// The editor's real window for tests under a real X server: PhoneWindow,
// QtShell and Editor exactly as the program wires them, started on the
// program's asset folder, printing on stdout one line when it is on screen,
// three after each key press it handled (the photo's place, the text
// field, the floating object's typed line), and one whenever the editor
// starts or stops holding a key:
//
//   ready WINDOW_ID
//   press PHOTO_X PHOTO_Y KEY_STEP
//   field 0|1 TEXT
//   word 0|1 TEXT
//   held 0|1 PHOTO_X PHOTO_Y KEY_STEP
//
// The keypad's multi-tap time-out is set beyond any test's length, so that
// which presses continue a letter never depends on how fast the machine
// is; the time-out itself is tested without a server. It runs until it is
// ended by a signal.
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <cstdio>

#include "app/Editor.h"
#include "platform/PhoneWindow.h"
#include "platform/QtShell.h"

namespace {

class ProbeWindow : public PhoneWindow {
  public:
    const Editor* editor = nullptr;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        PhoneWindow::keyPressEvent(event);
        Print("press");
        const EditorState& state = editor->State();
        std::printf("field %d %s\nword %d %s\n", state.textField.open ? 1 : 0,
                    state.textField.text.c_str(), state.object.present ? 1 : 0,
                    state.object.text.c_str());
        std::fflush(stdout);
        WatchHeld();
    }

  public:
    // Prints a held line when the editor's held state changed.
    void WatchHeld() {
        if (editor->State().keyHeld != held_) {
            held_ = editor->State().keyHeld;
            Print(held_ ? "held 1" : "held 0");
        }
    }

  private:
    void Print(const char* what) const {
        const EditorState& state = editor->State();
        std::printf("%s %d %d %d\n", what, state.photoX, state.photoY, state.keyStep);
        std::fflush(stdout);
    }

    bool held_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    ProbeWindow window;
    QtShell shell(window);
    Editor editor(shell, nullptr, FOTAKLE_PROGRAM_FOLDER);
    window.editor = &editor;
    window.AttachEditor(&editor);
    editor.Start();
    if (auto* multiTap = window.findChild<QTimer*>("multiTap")) {
        multiTap->setInterval(24 * 60 * 60 * 1000);
    }
    window.show();
    // Once the first paint has reached the server, the window takes keys.
    QTimer::singleShot(200, &window, [&window] {
        window.activateWindow();
        std::printf("ready %llu\n", static_cast<unsigned long long>(window.winId()));
        std::fflush(stdout);
    });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &window, [&window] { window.WatchHeld(); });
    watch.start(5);
    const int result = QApplication::exec();
    window.AttachEditor(nullptr);
    return result;
}
