// The text field in the real window under a real X server, typed into with
// xdotool through XTEST as a user types: the desktop keyboard's letters,
// space and punctuation, the numeric keypad's multi-tap (with Num Lock off,
// as the server starts), BackSpace, Escape on an empty field and Return.
// The probe prints the field's line and the floating word's after every
// key press; the keypad's time-out never runs out in the probe.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "platform/XvfbSupport.h"
#include "support/TestSupport.h"

namespace {

// The lines with this first word, without it, in order.
std::vector<std::string> Lines(const std::string& out, const std::string& what) {
    std::vector<std::string> found;
    std::istringstream text(out);
    std::string line;
    while (std::getline(text, line)) {
        if (line.compare(0, what.size() + 1, what + " ") == 0) {
            found.push_back(line.substr(what.size() + 1));
        }
    }
    return found;
}

TEST(TextFieldXvfb, TypedKeysAndKeypadTapsBecomeTheWord) {
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
    const auto key = [&](std::vector<std::string> keys) {
        keys.insert(keys.begin(), {"key", "--delay", "20"});
        ASSERT_TRUE(probe.XDoTool(keys));
    };

    // "Object", down to "Add Colorful Word", its last item: the field, which
    // Escape leaves once it is empty.
    key({"F2", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"});
    key({"a", "b", "BackSpace", "Escape", "Escape"});
    // "Add Word": typed letters, the keypad's 4 twice (an H, as the line
    // starts), 9 three times (y), BackSpace, Return.
    key({"F2", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"});
    key({"KP_4", "KP_4"});
    ASSERT_TRUE(probe.XDoTool({"type", "--delay", "20", "appy Holiday"}));
    key({"KP_9", "KP_9", "KP_9", "BackSpace", "s", "exclam", "Return"});
    const bool placed = WaitFor(
        [&] {
            const std::vector<std::string> words = Lines(probe.Output(), "word");
            return !words.empty() && words.back() != "0 ";
        },
        30);
    probe.Stop();
    const std::string out = probe.Output();
    ASSERT_TRUE(placed) << out;

    const std::vector<std::string> fields = Lines(out, "field");
    const auto saw = [&](const std::string& line) {
        return std::find(fields.begin(), fields.end(), line) != fields.end();
    };
    EXPECT_TRUE(saw("1 ab")) << out;
    EXPECT_TRUE(saw("1 a"));
    EXPECT_TRUE(saw("1 G")) << "the first tap of 4";
    EXPECT_TRUE(saw("1 H"));
    EXPECT_TRUE(saw("1 Happy Holidayw"));
    EXPECT_TRUE(saw("1 Happy Holidayy"));
    EXPECT_TRUE(saw("1 Happy Holiday"));
    EXPECT_TRUE(saw("1 Happy Holidays!"));
    EXPECT_EQ(Lines(out, "word").back(), "1 Happy Holidays!");
    EXPECT_EQ(fields.back(), "0 ");
}

}  // namespace
