#include "platform/RunFotakle.h"

#include <QApplication>

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

// The build passes the project's version and the desktop entry's id in.
#if !defined(FOTAKLE_VERSION) || !defined(FOTAKLE_APP_ID)
#error "FOTAKLE_VERSION and FOTAKLE_APP_ID must be defined by the build"
#endif

namespace {

const char kUsage[] =
    "Usage: fotakle [--replay SCRIPT | --help | --version]\n"
    "\n"
    "Without options, starts the editor in a window showing the phone screen.\n"
    "\n"
    "  --replay SCRIPT  run the editor on a script, without a window\n"
    "  --help           print this text\n"
    "  --version        print the version\n";

int Usage(const char* problem) {
    if (problem != nullptr) {
        std::cerr << "fotakle: " << problem << "\n\n";
    }
    std::cerr << kUsage;
    return 2;
}

int RunWindow(int& argc, char** argv) {
    QApplication application(argc, argv);
    // Names the installed desktop entry, so that docks and task bars show
    // the window with its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(FOTAKLE_APP_ID));
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
    // The options are read before Qt is started, so that they answer at
    // once and without a display.
    const std::string option = argv[1];
    if (option == "--replay") {
        if (argc != 3) {
            return Usage("--replay needs one SCRIPT");
        }
        const std::string script = argv[2];
        return RunReplay(argc, argv, script);
    }
    if (option == "--help" || option == "-h" || option == "--version") {
        if (argc != 2) {
            return Usage((option + " takes no argument").c_str());
        }
        std::cout << (option == "--version" ? "fotakle " FOTAKLE_VERSION "\n" : kUsage);
        return 0;
    }
    return Usage(
        ((option[0] == '-' ? "unknown option " : "unexpected argument ") + option).c_str());
}
