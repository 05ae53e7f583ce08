// A decoration journey through `fotakle --replay` on the generated decoration
// library beside the built program: a frame and a word placed from the
// "Object" menu's choosers, the word moved, merged and saved, and the saved
// picture checked against the composition made here from the same asset
// files with the blend routines themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "decor/ComposeScreen.h"
#include "decor/DecorAssets.h"
#include "decor/Lettering.h"
#include "image/LoadPicture.h"
#include "platform/RunProgram.h"
#include "support/TestSupport.h"

namespace {

const std::string kAssets = std::string(FOTAKLE_PROGRAM_FOLDER) + "FotakleFolder/";
const char kBorderQuestion[] = "question: Border: Do you want to merge the frame object ?\n";

class DecorationJourney : public ::testing::Test {
  protected:
    // The work folder, where Save as writes, is a temporary one.
    DecorationJourney() {
        std::filesystem::create_directories(File("pictures"));
        std::filesystem::create_directories(File("config/Norvale Systems Inc."));
        const std::string ini = "[MainSection]\nWorkFolder=" + File("pictures") + "\n";
        EXPECT_TRUE(WriteWholeFile(File("config/Norvale Systems Inc./fotakle.ini"),
                                   std::vector<uint8_t>(ini.begin(), ini.end())));
    }

    ProgramResult Replay(const std::string& script) {
        const std::string path = File("script.txt");
        EXPECT_TRUE(WriteWholeFile(path, std::vector<uint8_t>(script.begin(), script.end())));
        ProgramResult result =
            RunProgram({FotaklePath(), "--replay", path},
                       {{"XDG_CONFIG_HOME", File("config")}, {"TMPDIR", dir_.Path()}}, dir_.Path());
        EXPECT_TRUE(result.ended) << "the replay did not end";
        return result;
    }
    std::string File(const std::string& name) const { return dir_.File(name); }

    TempDir dir_;
};

// Every value of the "name value" lines with this name, in order (a name
// alone is an empty value).
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

// The value of the i-th such line, "(missing)" when there are fewer.
std::string ValueAt(const std::string& out, const std::string& name, size_t i) {
    const std::vector<std::string> values = Values(out, name);
    return i < values.size() ? values[i] : "(missing)";
}

// The first theme of each kind in name order is theme 0 of the menu.
ThemeTable FirstThemes() {
    ThemeTable themes;
    for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
        themes.themeName[kind * kThemesPerKind] = ThemeName(CategoryFolderPath(kAssets, kind), 0);
        themes.themeCount[kind] = 1;
        themes.selectedTheme[kind] = 0;
    }
    return themes;
}

PixelColor ColorOf(const std::string& hex) {
    const auto rgb = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    return PixelColor{int16_t(rgb & 255), int16_t((rgb >> 8) & 255), int16_t(rgb >> 16)};
}

TEST_F(DecorationJourney, FrameAndMovedWordMergedAndSavedMatchTheBlendsExactly) {
    const ProgramResult run =
        Replay("photo " + File("start.bmp") +
               "\n"
               "menu object\n"
               "# the first Frame theme: page through it, place its second frame\n"
               "command 50001\n"
               "print state\n"
               "key down\n"
               "print state\n"
               "key up\n"
               "key 2\n"
               "print state\n"
               "# the first Word theme merges the frame first\n"
               "answer yes\n"
               "command 50041\n"
               "key 1\n"
               "press up\npress up\npress up\nrelease\n"
               "press right\npress right\nrelease\n"
               "print state\n"
               "screen " +
               File("screen.bmp") +
               "\n"
               "command 40018\n"
               "print state\n"
               "saveas framed bmp\n"
               "command 40029\n"
               "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;

    EXPECT_NE(run.out.find("Add Frame\n  50001\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Add Word\n  50041\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(kBorderQuestion), std::string::npos) << run.out;
    EXPECT_EQ(Values(run.out, "chooser"),
              (std::vector<std::string>{"frame", "frame", "none", "none", "none", "none"}));
    EXPECT_EQ(ValueAt(run.out, "page", 1), "1");
    EXPECT_EQ(ValueAt(run.out, "frame_placed", 2), "1");
    // The word starts at 0, 0: up by 1 + 2 + 3, right by 1 + 2.
    EXPECT_EQ(ValueAt(run.out, "object_x", 3), "3");
    EXPECT_EQ(ValueAt(run.out, "object_y", 3), "6");
    EXPECT_EQ(Values(run.out, "object_present"),
              (std::vector<std::string>{"0", "0", "0", "1", "0", "0"}));
    EXPECT_EQ(Values(run.out, "photo_changed"),
              (std::vector<std::string>{"0", "0", "0", "1", "1", "0"}));

    // The start-up photo under frame 2 (ComposeFrame), then word 1 in the
    // current colour at 3, 6 (BlendMaskColor).
    const ThemeTable themes = FirstThemes();
    Scene scene;
    scene.displayPhoto = LoadBmp(File("start.bmp"));
    scene.frame.colour = LoadAsset(kAssets, themes, ASSET_FRAME, 2);
    scene.frame.mask = LoadAsset(kAssets, themes, ASSET_FRAME_MASK, 2);
    scene.frame.placed = true;
    ASSERT_TRUE(scene.displayPhoto && scene.frame.colour && scene.frame.mask);
    DibBlock expected = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    ComposeFrame(scene, DibPixels(expected.get()));
    FloatingObject word;
    word.present = true;
    word.type = OBJECT_WORD;
    word.width = kCanvasWidth;
    word.height = 50;
    word.mask = LoadAsset(kAssets, themes, ASSET_WORD, 1);
    ASSERT_TRUE(word.mask);
    BlendMaskColor(word, 3, 6, ColorOf(ValueAt(run.out, "color", 3)), DibPixels(expected.get()));

    const DibBlock screen = LoadBmp(File("screen.bmp"));
    const DibBlock saved = LoadBmp(File("pictures/framed.bmp"));
    EXPECT_EQ(FirstDifference(expected.get(), screen.get()), "");
    EXPECT_EQ(FirstDifference(expected.get(), saved.get()), "");
    EXPECT_NE(FirstDifference(scene.displayPhoto.get(), saved.get()), "");
    EXPECT_EQ(ValueAt(run.out, "current_file", 5), File("pictures/framed.bmp"));
}

// Words of one's own: a Word typed, corrected with Back, placed with the
// action key, moved and merged, then a Colorful Word placed with OK and
// merged over it; the screen and the saved picture are the start-up photo
// with the lettering blended exactly where it was shown.
TEST_F(DecorationJourney, TypedWordsMovedAndMergedAreTheirLetteringExactly) {
    if (!ScreenFonts().HasFace(FONT_BOLD)) {
        GTEST_SKIP() << "the screen font is not installed";
    }
    const ProgramResult run = Replay("photo " + File("start.bmp") +
                                     "\n"
                                     "command 50104\n"
                                     "print title\n"
                                     "print bar\n"
                                     "type Happy Holidayz\n"
                                     "key back\n"
                                     "type s\n"
                                     "print state\n"
                                     "key enter\n"
                                     "press up\npress up\npress up\nrelease\n"
                                     "press right\npress right\nrelease\n"
                                     "print state\n"
                                     "screen " +
                                     File("screen.bmp") +
                                     "\n"
                                     "command 40018\n"
                                     "command 50105\n"
                                     "type   Merry  \n"
                                     "key soft1\n"
                                     "print state\n"
                                     "command 40018\n"
                                     "saveas typed bmp\n"
                                     "command 40029\n"
                                     "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_EQ(run.out.find("question:"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Type your own...\ndialog\n"), std::string::npos) << run.out;
    EXPECT_EQ(Values(run.out, "field"), (std::vector<std::string>{"word", "none", "none", "none"}));
    EXPECT_EQ(ValueAt(run.out, "field_text", 0), "Happy Holidays");
    EXPECT_EQ(Values(run.out, "object_text"),
              (std::vector<std::string>{"", "Happy Holidays", "Merry", ""}));
    EXPECT_EQ(Values(run.out, "object_type"), (std::vector<std::string>{"0", "5", "6", "6"}));
    EXPECT_EQ(ValueAt(run.out, "object_x", 1), "3");
    EXPECT_EQ(ValueAt(run.out, "object_y", 1), "6");

    // Start-up photo, the Word in the current colour at 3, 6, then the
    // Colorful Word through its mask at 0, 0.
    DibBlock expected = LoadBmp(File("start.bmp"));
    ASSERT_TRUE(expected);
    FloatingObject word;
    word.present = true;
    word.type = OBJECT_WORD;
    word.width = kLetteringWidth;
    word.height = kLetteringHeight;
    word.mask = RenderLettering("Happy Holidays", DECOR_WORD, 1).mask;
    ASSERT_TRUE(word.mask);
    BlendMaskColor(word, 3, 6, ColorOf(ValueAt(run.out, "color", 1)), DibPixels(expected.get()));
    const DibBlock screen = LoadBmp(File("screen.bmp"));
    EXPECT_EQ(FirstDifference(expected.get(), screen.get()), "");

    LetteringResult merry = RenderLettering("Merry", DECOR_COLORFUL_WORD, 1);
    ASSERT_TRUE(merry.Ok());
    FloatingObject colourful;
    colourful.present = true;
    colourful.type = OBJECT_COLORFUL_WORD;
    colourful.width = kLetteringWidth;
    colourful.height = kLetteringHeight;
    colourful.mask = std::move(merry.mask);
    colourful.colour = std::move(merry.colour);
    BlendMaskImage(colourful, 0, 0, DibPixels(expected.get()));
    const DibBlock saved = LoadBmp(File("pictures/typed.bmp"));
    EXPECT_EQ(FirstDifference(expected.get(), saved.get()), "");
}

}  // namespace
