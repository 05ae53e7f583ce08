// A held arrow key in the real window under a real X server: Xvfb runs the
// editor's window (the probe prints the photo's place after each key event),
// xdotool holds Right through XTEST until the server has repeated it a dozen
// times, then lets go. The photo must move exactly as a replay of the same
// presses moves it: 1, 2, ... 8, 8 pixels per repeat, up to its limit, and
// only the real release ends the held key (the server's repeats arrive as
// release and press pairs, which Qt does not always mark as repeats). Which repeats arrive when is
// the server's business; nothing here depends on time except guards against a hang.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/RunProgram.h"
#include "platform/XvfbSupport.h"
#include "support/TestSupport.h"

namespace {

constexpr int kRepeatsWanted = 12;

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

    WindowProbe probe(display, dir);
    std::string problem;
    ASSERT_TRUE(probe.WaitReady(&problem)) << problem;
    const auto out = [&probe] { return probe.Output(); };

    ASSERT_TRUE(probe.XDoTool({"keydown", "Right"}));
    const bool repeated = WaitFor([&] { return Count(out(), "press") >= kRepeatsWanted; }, 30);
    ASSERT_TRUE(probe.XDoTool({"keyup", "Right"}));
    const bool released = WaitFor([&] { return Count(out(), "held 0") > 0; }, 30);
    probe.Stop();
    ASSERT_TRUE(repeated) << "the server did not repeat the held key:\n" << out();
    ASSERT_TRUE(released) << out();

    // The key was held from the first press to the release, never let go
    // in between, and the release ended it.
    const std::vector<KeyLine> lines = KeyLines(out());
    std::vector<int> photoX;
    std::vector<std::string> held;
    for (const KeyLine& line : lines) {
        if (line.what == "press") {
            photoX.push_back(line.photoX);
        } else {
            held.push_back(line.what);
        }
    }
    EXPECT_EQ(held, (std::vector<std::string>{"held 1", "held 0"})) << out();
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
