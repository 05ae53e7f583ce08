#include "platform/XvfbSupport.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

#include "platform/RunProgram.h"

extern char** environ;

std::string FindOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const std::string candidate = folder + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

void StopProgram(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        int code = 0;
        WaitProgram(pid, 10, &code);
    }
}

VirtualDisplay::VirtualDisplay(const std::string& displayFile) {
    const std::string xvfb = FindOnPath("Xvfb");
    if (xvfb.empty()) {
        problem_ = "Xvfb is not installed (scripts/install-deps.sh installs xvfb)";
        return;
    }
    std::vector<std::string> args = {xvfb, "-displayfd",   "3",         "-screen",
                                     "0",  "1280x1024x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 3, displayFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        pid_ = -1;
        problem_ = "Xvfb could not be started";
        return;
    }
    const bool ready = WaitFor(
        [&] {
            const std::string text = ReadText(displayFile);
            return !text.empty() && text.back() == '\n';
        },
        30);
    if (!ready) {
        problem_ = "Xvfb did not start a display";
        return;
    }
    std::string number = ReadText(displayFile);
    number.pop_back();
    display_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    StopProgram(pid_);
}

WindowProbe::WindowProbe(const VirtualDisplay& display, const TempDir& dir)
    : display_(display), dir_(dir), out_(dir.File("probe.out")), err_(dir.File("probe.err")) {
    pid_ = StartProgram({FOTAKLE_WINDOW_PROBE},
                        {{"DISPLAY", display.Display()},
                         {"QT_QPA_PLATFORM", "xcb"},
                         {"XDG_CONFIG_HOME", dir.File("config")},
                         {"TMPDIR", dir.Path()}},
                        out_, err_);
}

WindowProbe::~WindowProbe() {
    Stop();
}

bool WindowProbe::WaitReady(std::string* problem) {
    if (pid_ <= 0) {
        *problem = "the probe could not be started";
        return false;
    }
    if (!WaitFor([&] { return Output().find('\n') != std::string::npos; }, 30)) {
        *problem = "the window did not come up: " + ReadText(err_);
        return false;
    }
    std::istringstream first(Output());
    std::string word;
    std::string window;
    first >> word >> window;
    if (word != "ready") {
        *problem = "the probe said: " + Output();
        return false;
    }
    if (!XDoTool({"windowfocus", "--sync", window})) {
        *problem = "xdotool could not focus the window";
        return false;
    }
    return true;
}

bool WindowProbe::XDoTool(const std::vector<std::string>& args) const {
    std::vector<std::string> all = {FindOnPath("xdotool")};
    all.insert(all.end(), args.begin(), args.end());
    const ProgramResult result = RunProgram(all, {{"DISPLAY", display_.Display()}}, dir_.Path());
    return result.ended && result.exitCode == 0;
}

void WindowProbe::Stop() {
    StopProgram(pid_);
    pid_ = -1;
}
