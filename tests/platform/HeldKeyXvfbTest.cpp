// A held arrow key in the real window under a real X server: Xvfb runs the
// editor's window (the probe prints the photo's place after each key event),
// xdotool holds Right through XTEST until the server has repeated it a dozen
// times, then lets go. The photo must move exactly as a replay of the same
// presses moves it: 1, 2, ... 8, 8 pixels per repeat, up to its limit, and
// only the real release ends the held key (the server's repeats arrive as
// release and press pairs, which Qt does not always mark as repeats). Which repeats arrive when is
// the server's business; nothing here depends on time except guards against a hang.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/RunProgram.h"
#include "support/TestSupport.h"

extern char** environ;

namespace {

constexpr int kRepeatsWanted = 12;

// The program's full path from PATH, or empty.
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

// Polls until condition() holds, at most maxSeconds (a guard, not a
// measurement). True when it held.
template <typename Condition>
bool WaitFor(Condition condition, int maxSeconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(maxSeconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

void Stop(pid_t pid) {
    if (pid > 0) {
        kill(pid, SIGTERM);
        int code = 0;
        WaitProgram(pid, 10, &code);
    }
}

// An X server of its own on a free display: Xvfb picks the number and
// writes it to fd 3, which is the file displayFile.
class VirtualDisplay {
  public:
    explicit VirtualDisplay(const std::string& displayFile) {
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
        posix_spawn_file_actions_addopen(&actions, 3, displayFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
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
    ~VirtualDisplay() { Stop(pid_); }

    const std::string& Display() const { return display_; }
    const std::string& Problem() const { return problem_; }

  private:
    pid_t pid_ = -1;
    std::string display_;
    std::string problem_;
};

struct KeyLine {
    std::string what;  // press, held 0 or held 1
    int photoX = 0;
    int keyStep = 0;
};

std::vector<KeyLine> KeyLines(const std::string& out) {
    std::vector<KeyLine> lines;
    std::istringstream text(out);
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream words(line);
        KeyLine key;
        int photoY = 0;
        words >> key.what;
        if (key.what == "held") {
            std::string held;
            words >> held;
            key.what += " " + held;
        } else if (key.what != "press") {
            continue;
        }
        words >> key.photoX >> photoY >> key.keyStep;
        lines.push_back(key);
    }
    return lines;
}

int Count(const std::string& out, const std::string& what) {
    int count = 0;
    for (const KeyLine& line : KeyLines(out)) {
        count += line.what == what ? 1 : 0;
    }
    return count;
}

// Runs xdotool on the display; true when it ended with 0.
bool XDoTool(const std::string& display, const std::vector<std::string>& args,
             const std::string& folder) {
    std::vector<std::string> all = {FindOnPath("xdotool")};
    all.insert(all.end(), args.begin(), args.end());
    const ProgramResult result = RunProgram(all, {{"DISPLAY", display}}, folder);
    return result.ended && result.exitCode == 0;
}

// The photo's x after each of presses presses of Right in a replay.
std::vector<int> ReplayedPhotoX(int presses, const TempDir& dir) {
    std::string script;
    for (int i = 0; i < presses; ++i) {
        script += "press right\nprint state\n";
    }
    const std::string path = dir.File("held.txt");
    EXPECT_TRUE(WriteWholeFile(path, std::vector<uint8_t>(script.begin(), script.end())));
    const ProgramResult run =
        RunProgram({FotaklePath(), "--replay", path},
                   {{"XDG_CONFIG_HOME", dir.File("config")}, {"TMPDIR", dir.Path()}}, dir.Path());
    std::vector<int> xs;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("photo_x ", 0) == 0) {
            xs.push_back(std::stoi(line.substr(8)));
        }
    }
    return xs;
}

TEST(HeldKeyXvfb, HeldArrowSpeedsUpAsInTheReplayAndStopsAtTheRealRelease) {
    TempDir dir;
    const VirtualDisplay display(dir.File("display"));
    if (display.Display().empty()) {
        GTEST_SKIP() << "no X server for this test: " << display.Problem();
    }
    ASSERT_FALSE(FindOnPath("xdotool").empty())
        << "xdotool is not installed (scripts/install-deps.sh installs it)";

    const std::string out = dir.File("probe.out");
    const pid_t probe = StartProgram({FOTAKLE_WINDOW_PROBE},
                                     {{"DISPLAY", display.Display()},
                                      {"QT_QPA_PLATFORM", "xcb"},
                                      {"XDG_CONFIG_HOME", dir.File("config")},
                                      {"TMPDIR", dir.Path()}},
                                     out, dir.File("probe.err"));
    ASSERT_GT(probe, 0);
    const bool ready = WaitFor([&] { return ReadText(out).find('\n') != std::string::npos; }, 30);
    if (!ready) {
        Stop(probe);
        FAIL() << "the window did not come up: " << ReadText(dir.File("probe.err"));
    }
    std::istringstream first(ReadText(out));
    std::string word;
    std::string window;
    first >> word >> window;
    ASSERT_EQ(word, "ready");

    ASSERT_TRUE(XDoTool(display.Display(), {"windowfocus", "--sync", window}, dir.Path()));
    ASSERT_TRUE(XDoTool(display.Display(), {"keydown", "Right"}, dir.Path()));
    const bool repeated =
        WaitFor([&] { return Count(ReadText(out), "press") >= kRepeatsWanted; }, 30);
    ASSERT_TRUE(XDoTool(display.Display(), {"keyup", "Right"}, dir.Path()));
    const bool released = WaitFor([&] { return Count(ReadText(out), "held 0") > 0; }, 30);
    Stop(probe);
    ASSERT_TRUE(repeated) << "the server did not repeat the held key:\n" << ReadText(out);
    ASSERT_TRUE(released) << ReadText(out);

    // The key was held from the first press to the release, never let go
    // in between, and the release ended it.
    const std::vector<KeyLine> lines = KeyLines(ReadText(out));
    std::vector<int> photoX;
    std::vector<std::string> held;
    for (const KeyLine& line : lines) {
        if (line.what == "press") {
            photoX.push_back(line.photoX);
        } else {
            held.push_back(line.what);
        }
    }
    EXPECT_EQ(held, (std::vector<std::string>{"held 1", "held 0"})) << ReadText(out);
    EXPECT_EQ(lines.back().what, "held 0");
    EXPECT_EQ(lines.back().keyStep, 1);
    EXPECT_EQ(photoX, ReplayedPhotoX(static_cast<int>(photoX.size()), dir));
    // The replay's steps themselves: 1, 2, ... 8, 8, ...
    ASSERT_GE(photoX.size(), static_cast<size_t>(kRepeatsWanted));
    int step = 0;
    for (size_t i = 0; i < photoX.size(); ++i) {
        step = std::min(step + 1, 8);
        const int before = i == 0 ? 0 : photoX[i - 1];
        EXPECT_EQ(photoX[i], std::min(before + step, 126)) << "press " << i;
    }
}

}  // namespace
