#include "platform/PlatformTestSupport.h"

#include <QKeyEvent>
#include <QTimer>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "image/SavePicture.h"
#include "platform/PhoneScreenPainter.h"
#include "support/ImageTestSupport.h"

extern char** environ;

// Fontconfig, which Qt uses for the window's text, keeps caches it never
// frees; the sanitizer build's leak check is not about them.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace {

constexpr int kBoundSeconds = 120;

void Replace(Environment* environment, const std::string& name, const std::string& value) {
    for (auto& [known, old] : *environment) {
        if (known == name) {
            old = value;
            return;
        }
    }
    environment->emplace_back(name, value);
}

// The current environment with the given variables replaced.
std::vector<std::string> EnvironmentWith(const Environment& replaced) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        bool replace = false;
        for (const auto& [name, value] : replaced) {
            replace = replace || text.compare(0, name.size() + 1, name + "=") == 0;
        }
        if (!replace) {
            merged.push_back(text);
        }
    }
    for (const auto& [name, value] : replaced) {
        merged.push_back(name + "=" + value);
    }
    return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Starts a program, found on the PATH unless its name has a slash, with
// the current environment and the given variables replaced; stdout and
// stderr go to the two files. -1 when it cannot start.
pid_t StartProgram(const std::vector<std::string>& args, const Environment& environment,
                   const std::string& outFile, const std::string& errFile) {
    std::vector<std::string> argTexts = args;
    std::vector<std::string> envTexts = EnvironmentWith(environment);
    std::vector<char*> argv = Pointers(argTexts);
    std::vector<char*> envp = Pointers(envTexts);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return failed == 0 ? pid : -1;
}

// True, with its exit code (or 128 + signal), once the program has ended;
// never waits.
bool Reaped(pid_t pid, int* exitCode) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) != pid) {
        return false;
    }
    *exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

// Waits for the program to end, at most maxSeconds; false, after killing
// it, when it did not.
bool WaitProgram(pid_t pid, int maxSeconds, int* exitCode) {
    if (WaitFor([&] { return Reaped(pid, exitCode); }, maxSeconds)) {
        return true;
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

void StopProgram(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        int code = 0;
        WaitProgram(pid, 10, &code);
    }
}

}  // namespace

QApplication& TestApplication() {
    static int argc = 1;
    static char name[] = "fotakle_platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return new QApplication(argc, argv);
    }();
    return *application;
}

void SendKey(QWidget* target, QEvent::Type type, int key, const QString& text,
             Qt::KeyboardModifiers modifiers, bool autoRepeat) {
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(target, &event);
}

void ClickKey(QWidget* target, int key, const QString& text, Qt::KeyboardModifiers modifiers) {
    SendKey(target, QEvent::KeyPress, key, text, modifiers);
    SendKey(target, QEvent::KeyRelease, key, text, modifiers);
}

void WhenModal(QObject* owner, std::function<bool(QWidget*)> matches,
               std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, matches, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && (!matches || matches(modal))) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

bool WorkFolderSettings::Read(const std::string& /*section*/, const std::string& name,
                              std::string* value) {
    if (name != "WorkFolder") {
        return false;
    }
    *value = folder_;
    return true;
}

void RecordingShell::PresentScreen(const DibImage& screen) {
    lastScreen = CanvasDuplicate(DibPixels(&screen));
    QtShell::PresentScreen(screen);
}

EditorWindow::EditorWindow(SettingsStore* settings, int factor,
                           ThumbnailWorker::MakeFunction makeThumbnail)
    : shell(window, std::move(makeThumbnail)), editor(shell, settings, FOTAKLE_PROGRAM_FOLDER) {
    window.AttachEditor(&editor);
    editor.Start();
    window.resize(kPhoneWidth * factor, kPhoneHeight * factor);
    window.show();
    QApplication::processEvents();
}

EditorWindow::~EditorWindow() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        popup->close();
    }
    window.AttachEditor(nullptr);
}

void RunOut(QTimer* timer) {
    timer->setInterval(0);
    timer->start();
    for (int i = 0; i < 100 && timer->isActive(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

int CountPixels(const QImage& shot, const QRect& area, const std::function<bool(QRgb)>& matches) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += matches(shot.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

QImage EditorWindow::Grab() {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QPoint EditorWindow::At(int x, int y) const {
    const int f = window.ScaleFactor();
    return PictureAreaRect(window.PhoneRect(), f).topLeft() + QPoint(x * f, y * f);
}

QRect EditorWindow::PhoneGlobalRect() const {
    const QRect phone = window.PhoneRect();
    return QRect(window.mapToGlobal(phone.topLeft()), phone.size());
}

namespace {

// The rows leading to the item with this id, top level first.
std::vector<int> PathTo(const Menu& items, uint16_t id) {
    for (size_t row = 0; row < items.size(); ++row) {
        const MenuItem& item = items[row];
        if (!item.popup && item.id == id) {
            return {int(row)};
        }
        std::vector<int> below = item.popup ? PathTo(item.items, id) : std::vector<int>();
        if (!below.empty()) {
            below.insert(below.begin(), int(row));
            return below;
        }
    }
    return {};
}

}  // namespace

void EditorWindow::PickFromMenu(int softKey, MenuId menu, uint16_t id) {
    Key(softKey);
    ASSERT_TRUE(window.OpenMenu().IsOpen());
    ASSERT_EQ(window.OpenMenu().Id(), menu);
    const std::vector<int> path = PathTo(editor.GetMenu(menu), id);
    ASSERT_FALSE(path.empty()) << "no item " << id;
    for (size_t level = 0; level < path.size(); ++level) {
        for (int guard = 0; guard < 20 && window.OpenMenu().Highlight(int(level)) != path[level];
             ++guard) {
            Key(Qt::Key_Down);
        }
        ASSERT_EQ(window.OpenMenu().Highlight(int(level)), path[level]);
        Key(level + 1 < path.size() ? Qt::Key_Right : Qt::Key_Return);
    }
}

std::string WritePatternPicture(const std::string& path, int32_t width) {
    const DibBlock picture = MakePatternImage(width, 30);
    EXPECT_TRUE(SavePicture(path, *picture).Ok());
    return path;
}

void WriteTwoColourPicture(const std::string& path, uint32_t top, uint32_t bottom) {
    // Row 0 in memory is the bottom one on screen.
    const DibBlock picture =
        MakePicture(36, 36, [&](int32_t, int32_t y) { return y < 18 ? bottom : top; });
    EXPECT_TRUE(SavePicture(path, *picture).Ok());
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

int CountOf(const std::string& haystack, const std::string& text) {
    int count = 0;
    for (size_t at = haystack.find(text); at != std::string::npos;
         at = haystack.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

ProgramResult RunProgram(const std::vector<std::string>& args, const Environment& environment,
                         const std::string& folder) {
    ProgramResult result;
    const pid_t pid =
        StartProgram(args, environment, folder + "/stdout.txt", folder + "/stderr.txt");
    if (pid < 0) {
        return result;
    }
    result.ended = WaitProgram(pid, kBoundSeconds, &result.exitCode);
    result.out = ReadText(folder + "/stdout.txt");
    result.err = ReadText(folder + "/stderr.txt");
    return result;
}

std::vector<std::string> Values(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    std::string line;
    std::vector<std::string> values;
    while (std::getline(lines, line)) {
        if (line == name) {
            values.emplace_back();
        } else if (line.compare(0, name.size() + 1, name + " ") == 0) {
            values.push_back(line.substr(name.size() + 1));
        }
    }
    return values;
}

std::string Value(const std::string& out, const std::string& name) {
    const std::vector<std::string> values = Values(out, name);
    return values.empty() ? "(missing)" : values.back();
}

std::string SettingsFile(const std::string& folder) {
    return folder + "/config/Norvale Systems Inc./fotakle.ini";
}

void WriteWorkFolderSetting(const std::string& folder, const std::string& workFolder) {
    std::filesystem::create_directories(folder + "/config/Norvale Systems Inc.");
    const std::string ini = "[MainSection]\nWorkFolder=" + workFolder + "\n";
    EXPECT_TRUE(WriteWholeFile(SettingsFile(folder), std::vector<uint8_t>(ini.begin(), ini.end())));
}

ProgramResult Replay(const std::string& folder, const std::string& script,
                     const Environment& environment, const std::vector<std::string>& after) {
    const std::string path = folder + "/script.txt";
    EXPECT_TRUE(WriteWholeFile(path, std::vector<uint8_t>(script.begin(), script.end())));
    Environment merged = {{"XDG_CONFIG_HOME", folder + "/config"}, {"TMPDIR", folder}};
    for (const auto& [name, value] : environment) {
        Replace(&merged, name, value);
    }
    std::vector<std::string> args = {FOTAKLE_PATH, "--replay", path};
    args.insert(args.end(), after.begin(), after.end());
    ProgramResult result = RunProgram(args, merged, folder);
    EXPECT_TRUE(result.ended) << "the replay did not end";
    return result;
}

WindowCopies::WindowCopies(const std::string& folder) : folder_(folder) {
    mkdir(RuntimeFolder().c_str(), 0700);
    std::filesystem::create_directories(Home());
    std::filesystem::create_directories(folder_ + "/config");
    environment_ = {{"QT_QPA_PLATFORM", "offscreen"},
                    {"XDG_RUNTIME_DIR", RuntimeFolder()},
                    {"TMPDIR", folder_},
                    {"HOME", Home()},
                    {"XDG_CONFIG_HOME", folder_ + "/config"},
                    {"FOTAKLE_PRINT_STATE", "1"}};
}

WindowCopies::~WindowCopies() {
    for (auto& [name, copy] : copies_) {
        if (!copy.ended) {
            kill(copy.pid, SIGKILL);
            waitpid(copy.pid, nullptr, 0);
        }
    }
}

void WindowCopies::Set(const std::string& name, const std::string& value) {
    Replace(&environment_, name, value);
}

bool WindowCopies::Start(const std::string& name, const std::vector<std::string>& arguments) {
    std::vector<std::string> args = {FOTAKLE_PATH};
    args.insert(args.end(), arguments.begin(), arguments.end());
    Copy copy;
    copy.pid = StartProgram(args, environment_, folder_ + "/" + name + ".out",
                            folder_ + "/" + name + ".err");
    copies_[name] = copy;
    return copy.pid > 0;
}

std::string WindowCopies::Out(const std::string& name) const {
    return ReadText(folder_ + "/" + name + ".out");
}

std::string WindowCopies::Err(const std::string& name) const {
    return ReadText(folder_ + "/" + name + ".err");
}

bool WindowCopies::WaitForOutput(const std::string& name, const std::string& text, int count) {
    int exitCode = 0;
    WaitFor([&] { return CountOf(Out(name), text) >= count || Ended(name, &exitCode); });
    return CountOf(Out(name), text) >= count;
}

bool WindowCopies::Ended(const std::string& name, int* exitCode) {
    Copy& copy = copies_[name];
    copy.ended = copy.ended || (copy.pid > 0 && Reaped(copy.pid, &copy.exitCode));
    *exitCode = copy.exitCode;
    return copy.ended;
}

bool WindowCopies::WaitForEnd(const std::string& name, int* exitCode) {
    return WaitFor([&] { return Ended(name, exitCode); }, kBoundSeconds) && *exitCode >= 0;
}

::testing::AssertionResult WindowCopies::HandsOver(const std::string& name,
                                                   const std::vector<std::string>& arguments) {
    int exitCode = -1;
    if (!Start(name, arguments) || !WaitForEnd(name, &exitCode)) {
        return ::testing::AssertionFailure() << name << " did not start or end";
    }
    if (exitCode != 0 || !Err(name).empty()) {
        return ::testing::AssertionFailure()
               << name << " ended with " << exitCode << ": " << Err(name);
    }
    return ::testing::AssertionSuccess();
}

void WindowCopies::Stop(const std::string& name) {
    int exitCode = 0;
    if (copies_[name].pid > 0 && !Ended(name, &exitCode)) {
        kill(copies_[name].pid, SIGTERM);
        WaitForEnd(name, &exitCode);
    }
}

XvfbProbe::XvfbProbe(const TempDir& dir) : dir_(dir), out_(dir.File("probe.out")) {
    const std::string displayFile = dir.File("display");
    // Xvfb picks a free display and writes its number to stdout.
    server_ = StartProgram(
        {"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {},
        displayFile, "/dev/null");
    const auto written = [&] {
        const std::string text = ReadText(displayFile);
        return !text.empty() && text.back() == '\n';
    };
    if (server_ <= 0 || !WaitFor(written, 30)) {
        problem_ = "Xvfb did not start a display (scripts/install-deps.sh installs xvfb)";
        return;
    }
    const std::string number = ReadText(displayFile);
    display_ = ":" + number.substr(0, number.size() - 1);
}

XvfbProbe::~XvfbProbe() {
    StopProbe();
    StopProgram(server_);
}

bool XvfbProbe::HasDisplay(std::string* problem) const {
    *problem = problem_;
    return !display_.empty();
}

bool XvfbProbe::StartProbe(std::string* problem) {
    probe_ = StartProgram({FOTAKLE_WINDOW_PROBE},
                          {{"DISPLAY", display_},
                           {"QT_QPA_PLATFORM", "xcb"},
                           {"XDG_CONFIG_HOME", dir_.File("config")},
                           {"TMPDIR", dir_.Path()}},
                          out_, dir_.File("probe.err"));
    if (probe_ <= 0 || !WaitFor([&] { return Output().find('\n') != std::string::npos; }, 30)) {
        *problem = "the window did not come up: " + ReadText(dir_.File("probe.err"));
        return false;
    }
    std::istringstream first(Output());
    std::string word;
    std::string window;
    first >> word >> window;
    if (word != "ready" || !XDoTool({"windowfocus", "--sync", window})) {
        *problem =
            "the window could not be focused (is xdotool installed?); the probe said: " + Output();
        return false;
    }
    return true;
}

bool XvfbProbe::XDoTool(const std::vector<std::string>& args) const {
    std::vector<std::string> all = {"xdotool"};
    all.insert(all.end(), args.begin(), args.end());
    const ProgramResult result = RunProgram(all, {{"DISPLAY", display_}}, dir_.Path());
    return result.ended && result.exitCode == 0;
}

void XvfbProbe::StopProbe() {
    StopProgram(probe_);
    probe_ = -1;
}
