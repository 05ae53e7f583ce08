#include "platform/RunFotakle.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "app/Editor.h"
#include "app/Paths.h"
#include "files/FilePaths.h"
#include "platform/PhoneWindow.h"
#include "platform/PictureRequests.h"
#include "platform/QtSettingsStore.h"
#include "platform/QtShell.h"
#include "platform/ReplayFormat.h"
#include "platform/ReplayRunner.h"
#include "platform/SingleInstance.h"

// The build passes the project's version and the desktop entry's id in.
#if !defined(FOTAKLE_VERSION) || !defined(FOTAKLE_APP_ID)
#error "FOTAKLE_VERSION and FOTAKLE_APP_ID must be defined by the build"
#endif

namespace {

const char kUsage[] =
    "Usage: fotakle [FILE]\n"
    "       fotakle --replay SCRIPT [FILE]\n"
    "       fotakle --help | --version\n"
    "\n"
    "Starts the editor in a window showing the phone screen, with the picture\n"
    "FILE open when one is given. One copy runs per user: a later start hands\n"
    "its FILE to the running window, brings that window to the front and ends.\n"
    "\n"
    "  --replay SCRIPT  run the editor on a script, without a window; FILE is\n"
    "                   opened before the script's first line\n"
    "  --help           print this text\n"
    "  --version        print the version\n"
    "  --               ends the options: a FILE beginning with \"-\" follows it\n";

int Usage(const std::string& problem) {
    if (!problem.empty()) {
        std::cerr << "fotakle: " << problem << "\n\n";
    }
    std::cerr << kUsage;
    return 2;
}

// The file as an absolute path, so that the running copy (in another
// folder) and the work folder get a name that stands on its own.
std::string AbsolutePath(const std::string& file) {
    if (file.empty()) {
        return file;
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    return error ? file : absolute.lexically_normal().string();
}

// Where the Open browser starts without a saved work folder: the user's
// pictures folder, else the home folder.
std::string DefaultPictureFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString folder =
        !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
    return QFile::encodeName(folder).toStdString();
}

int RunEditorWindow(int& argc, char** argv, SingleInstance& instance, bool first,
                    const std::string& file) {
    QApplication application(argc, argv);
    // Names the installed desktop entry, so that docks and task bars show
    // the window with its icon and name.
    QGuiApplication::setDesktopFileName(QStringLiteral(FOTAKLE_APP_ID));

    const std::string executable = ExecutablePath();
    PhoneWindow window;
    QtShell shell(window);
    QtSettingsStore settings(ProgramBaseNameOf(executable));
    Editor editor(shell, &settings, FolderOf(executable));
    window.AttachEditor(&editor);
    PictureRequests pictures(editor);
    QObject::connect(&instance, &SingleInstance::RaiseRequested, &window,
                     &PhoneWindow::RaiseAndActivate);
    QObject::connect(&instance, &SingleInstance::OpenRequested, &pictures, &PictureRequests::Open);
    QObject::connect(&window, &PhoneWindow::PictureDropped, &pictures, &PictureRequests::Open);
    // For scripts and tests that drive the window from outside: what became
    // of each picture handed in, as a replay's "print state" shows it.
    if (qEnvironmentVariableIsSet("FOTAKLE_PRINT_STATE")) {
        QObject::connect(&pictures, &PictureRequests::Handled, &window, [&editor] {
            std::cout << FormatReplayState(editor.State()) << std::flush;
        });
    }
    editor.Start(DefaultPictureFolder());
    window.show();
    // Later starts are answered from here on, also while the file below
    // brings up a message.
    if (first) {
        instance.Serve();
    }
    pictures.Open(file);
    const int result = QApplication::exec();
    instance.StopServing();
    window.AttachEditor(nullptr);
    return result;
}

int RunWindow(int& argc, char** argv, const std::string& file) {
    // The one copy is decided before Qt starts, so that a later start hands
    // over at once and needs no display.
    SingleInstance instance(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"));
    InstanceRequest request;
    request.open = !file.empty();
    request.path = file;
    std::string problem;
    const InstanceClaim claim = instance.Claim(request, &problem);
    if (claim == INSTANCE_HANDED_OVER) {
        return 0;
    }
    if (claim == INSTANCE_ALONE) {
        std::cerr << "fotakle: " << problem << "; starting without the one-copy rule\n";
    }
    return RunEditorWindow(argc, argv, instance, claim == INSTANCE_FIRST, file);
}

int RunReplay(int& argc, char** argv, const std::string& script, const std::string& file) {
    // The editor is real but nothing is shown, even without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::string executable = ExecutablePath();
    QtSettingsStore settings(ProgramBaseNameOf(executable));
    ReplaySetup setup;
    setup.programFolder = FolderOf(executable);
    setup.defaultFolder = DefaultPictureFolder();
    setup.file = file;
    setup.settings = &settings;
    return RunReplayFile(script, std::cout, std::cerr, setup);
}

}  // namespace

int RunFotakle(int& argc, char** argv) {
    // The options are read before Qt is started, so that they answer at
    // once and without a display.
    if (argc == 1) {
        return RunWindow(argc, argv, "");
    }
    const std::string option = argv[1];
    if (option.empty()) {
        return Usage("unexpected empty argument");
    }
    if (option == "--replay") {
        if (argc != 3 && argc != 4) {
            return Usage("--replay needs one SCRIPT and at most one FILE");
        }
        const std::string script = argv[2];
        return RunReplay(argc, argv, script, argc == 4 ? AbsolutePath(argv[3]) : "");
    }
    if (option == "--help" || option == "-h" || option == "--version") {
        if (argc != 2) {
            return Usage(option + " takes no argument");
        }
        std::cout << (option == "--version" ? "fotakle " FOTAKLE_VERSION "\n" : kUsage);
        return 0;
    }
    // What is left: nothing, FILE, or "--" FILE.
    const int fileIndex = option == "--" ? 2 : 1;
    if (option != "--" && option[0] == '-') {
        return Usage("unknown option " + option);
    }
    if (argc > fileIndex + 1) {
        return Usage(std::string("unexpected argument ") + argv[fileIndex + 1]);
    }
    if (option == "--" && argc != 3) {
        return Usage("-- needs a FILE after it");
    }
    return RunWindow(argc, argv, argc > fileIndex ? AbsolutePath(argv[fileIndex]) : "");
}
