#include "platform/RunFotakle.h"

#include <QApplication>

#include <cstring>
#include <iostream>
#include <string>

#include "app/Editor.h"
#include "app/Paths.h"
#include "files/FilePaths.h"
#include "platform/PhoneWindow.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/ReplayRunner.h"
#include "platform/SingleInstance.h"

namespace {

int Usage() {
    std::cerr << "usage: fotakle               start the editor\n"
                 "       fotakle --replay SCRIPT  run the editor on a script, without a window\n";
    return 2;
}

int RunWindow(int& argc, char** argv) {
    QApplication application(argc, argv);
    SingleInstance instance(SingleInstanceName());
    if (instance.AskRunningCopyToRaise()) {
        return 0;
    }
    // Without the socket the editor still runs; a later start then simply
    // starts a second copy.
    instance.Listen();

    const std::string executable = ExecutablePath();
    PhoneWindow window;
    QtShell shell(window);
    QtSettingsStore settings(ProgramBaseNameOf(executable));
    Editor editor(shell, &settings, FolderOf(executable));
    window.AttachEditor(&editor);
    QObject::connect(&instance, &SingleInstance::RaiseRequested, &window,
                     &PhoneWindow::RaiseAndActivate);
    editor.Start();
    window.show();
    const int result = QApplication::exec();
    window.AttachEditor(nullptr);
    return result;
}

int RunReplay(int& argc, char** argv, const std::string& script) {
    // The editor is real but nothing is shown, even without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string executable = ExecutablePath();
    QtSettingsStore settings(ProgramBaseNameOf(executable));
    return RunReplayFile(script, std::cout, std::cerr, FolderOf(executable), &settings);
}

}  // namespace

int RunFotakle(int& argc, char** argv) {
    if (argc == 1) {
        return RunWindow(argc, argv);
    }
    if (argc == 3 && std::strcmp(argv[1], "--replay") == 0) {
        const std::string script = argv[2];
        return RunReplay(argc, argv, script);
    }
    return Usage();
}
