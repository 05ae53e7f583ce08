// The editor's real window under a real X server (Xvfb), typed into with
// xdotool through XTEST as a user types; the probe prints the photo's place
// and the text field after every key press. A held arrow must move the
// photo exactly as a replay of the same presses does, and only the real
// release ends it (the server's repeats arrive as release and press pairs,
// which Qt does not always mark as repeats). Which repeats arrive when is
// the server's business: nothing here depends on time except guards.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/PlatformTestSupport.h"

namespace {

class XvfbWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        xvfb_ = std::make_unique<XvfbProbe>(dir_);
        std::string problem;
        if (!xvfb_->HasDisplay(&problem)) {
            GTEST_SKIP() << "no X server for this test: " << problem;
        }
        ASSERT_TRUE(xvfb_->StartProbe(&problem)) << problem;
    }
    void Keys(std::vector<std::string> keys) {
        keys.insert(keys.begin(), {"key", "--delay", "20"});
        ASSERT_TRUE(xvfb_->XDoTool(keys));
    }

    TempDir dir_;
    std::unique_ptr<XvfbProbe> xvfb_;
};

TEST_F(XvfbWindow, HeldArrowSpeedsUpAsInTheReplayAndStopsAtTheRealRelease) {
    constexpr size_t kRepeatsWanted = 12;
    const auto out = [&] { return xvfb_->Output(); };
    ASSERT_TRUE(xvfb_->XDoTool({"keydown", "Right"}));
    const bool repeated = WaitFor([&] { return Values(out(), "press").size() >= kRepeatsWanted; });
    ASSERT_TRUE(xvfb_->XDoTool({"keyup", "Right"}));
    const bool released = WaitFor([&] { return CountOf(out(), "held 0") > 0; });
    xvfb_->StopProbe();
    ASSERT_TRUE(repeated) << "the server did not repeat the held key:\n" << out();
    ASSERT_TRUE(released) << out();

    // Held from the first press to the release, never let go in between,
    // and no press after the release, which starts the steps again.
    const std::vector<std::string> held = Values(out(), "held");
    ASSERT_EQ(held.size(), 2u) << out();
    EXPECT_EQ(held[0].substr(0, 2), "1 ");
    EXPECT_EQ(held[1].substr(0, 2), "0 ");
    EXPECT_EQ(held[1].substr(held[1].size() - 2), " 1") << "the key step after the release";
    EXPECT_LT(out().rfind("\npress "), out().rfind("\nheld 0 "));

    // The photo's x after each press, here and in a replay of as many presses.
    std::vector<std::string> pressed;
    std::string script;
    for (const std::string& press : Values(out(), "press")) {
        pressed.push_back(press.substr(0, press.find(' ')));
        script += "press right\nprint state\n";
    }
    const ProgramResult replay = Replay(dir_.Path(), script);
    EXPECT_EQ(pressed, Values(replay.out, "photo_x"));
    // The steps themselves: 1, 2, ... 8, 8, ... up to the photo's limit.
    int x = 0;
    for (size_t i = 0; i < pressed.size(); ++i) {
        x = std::min(x + std::min(int(i) + 1, 8), 126);
        EXPECT_EQ(pressed[i], std::to_string(x)) << "press " << i;
    }
}

TEST_F(XvfbWindow, TypedKeysAndKeypadTapsBecomeTheWord) {
    // "Object", down to "Add Colorful Word", its last item: the field, which
    // Escape leaves once it is empty.
    Keys({"F2", "Down", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"});
    Keys({"a", "b", "BackSpace", "Escape", "Escape"});
    // "Add Word": the keypad's 4 twice (with Num Lock off, as the server
    // starts: an H, as the line starts), typed letters, 9 three times (y),
    // BackSpace, Return. The probe's multi-tap never times out.
    Keys({"F2", "Down", "Down", "Down", "Down", "Down", "Right", "Up", "Return"});
    Keys({"KP_4", "KP_4"});
    ASSERT_TRUE(xvfb_->XDoTool({"type", "--delay", "20", "appy Holiday"}));
    Keys({"KP_9", "KP_9", "KP_9", "BackSpace", "s", "exclam", "Return"});
    const bool placed = WaitFor([&] {
        const std::vector<std::string> words = Values(xvfb_->Output(), "word");
        return !words.empty() && words.back() != "0 ";
    });
    xvfb_->StopProbe();
    const std::string out = xvfb_->Output();
    ASSERT_TRUE(placed) << out;

    const std::vector<std::string> fields = Values(out, "field");
    for (const char* line : {"1 ab", "1 a", "1 G", "1 H", "1 Happy Holidayw", "1 Happy Holidayy",
                             "1 Happy Holiday", "1 Happy Holidays!"}) {
        EXPECT_NE(std::find(fields.begin(), fields.end(), line), fields.end()) << line << "\n"
                                                                               << out;
    }
    EXPECT_EQ(Values(out, "word").back(), "1 Happy Holidays!");
    EXPECT_EQ(fields.back(), "0 ");
}

}  // namespace
