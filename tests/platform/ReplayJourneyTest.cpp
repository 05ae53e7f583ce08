// Whole journeys through `fotakle --replay`: the built program runs a script
// against the real editor, with its settings in a temporary config folder,
// and what it prints and saves is checked against the picture operations
// applied here: open, adjust and save; decorate, type a word, merge and
// save; undo and redo with the recipe replayed by fotakle-batch; standing
// answers; refused Save-as names; and scripts that are wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "adjust/AdjustTone.h"
#include "decor/ComposeScreen.h"
#include "decor/DecorAssets.h"
#include "decor/Lettering.h"
#include "image/LoadPicture.h"
#include "image/Resample.h"
#include "image/SavePicture.h"
#include "platform/PlatformTestSupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kAssets = std::string(FOTAKLE_PROGRAM_FOLDER) + "FotakleFolder/";

class ReplayJourney : public ::testing::Test {
  protected:
    ProgramResult Run(const std::string& script) { return Replay(dir_.Path(), script); }
    std::string File(const std::string& name) const { return dir_.File(name); }
    // A folder of the test's own that the settings name as the work folder.
    std::string WorkFolder() {
        fs::create_directories(File("pictures"));
        WriteWorkFolderSetting(dir_.Path(), File("pictures"));
        return File("pictures");
    }

    TempDir dir_;
};

// The i-th value of the "name value" lines with this name.
std::string ValueAt(const std::string& out, const std::string& name, size_t i) {
    const std::vector<std::string> values = Values(out, name);
    return i < values.size() ? values[i] : "(missing)";
}

PixelColor ColorOf(const std::string& hex) {
    const auto rgb = static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
    return PixelColor{int16_t(rgb & 255), int16_t((rgb >> 8) & 255), int16_t(rgb >> 16)};
}

// A floating object of this type and size, of these pictures.
FloatingObject Floating(int16_t type, int32_t width, int32_t height, DibBlock mask,
                        DibBlock colour = nullptr) {
    FloatingObject object;
    object.present = true;
    object.type = type;
    object.width = static_cast<int16_t>(width);
    object.height = static_cast<int16_t>(height);
    object.mask = std::move(mask);
    object.colour = std::move(colour);
    return object;
}

// Brightness at level from the picture, placed at 0, 0: what "Done" makes
// of the display photo.
DibBlock BrightnessDone(const DibImage* from, int level, PixelColor color) {
    DibBlock adjusted = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    DibBlock placed = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    AdjustTone(DibPixels(from), DibPixels(adjusted.get()), ADJUST_BRIGHTNESS,
               static_cast<int16_t>(level), kCanvasWidth, kCanvasHeight);
    PlacePhotoOnCanvas(ViewOfPicture(placed.get()),
                       {ReadViewOfPicture(adjusted.get()), 0, 0, uint8_t(color.blue),
                        uint8_t(color.green), uint8_t(color.red)});
    return placed;
}

// The everyday journey by keys: Open, Change Folder to a folder of test
// pictures, the second picture, brightness, Save as BMP and as JPEG, a
// replace refused and one accepted, and Close, which keeps the work folder.
TEST_F(ReplayJourney, OpensAPictureChangesItSavesItAndKeepsTheWorkFolder) {
    const std::string pictures = File("Pictures");
    fs::create_directories(pictures);
    const DibBlock gradient = MakePatternImage(kCanvasWidth, kCanvasHeight);
    ASSERT_TRUE(SavePicture(pictures + "/one.bmp", *gradient).Ok());
    ASSERT_TRUE(SavePicture(pictures + "/two.jpg", *gradient).Ok());
    ASSERT_TRUE(WriteWholeFile(pictures + "/notes.txt", {'x'}));
    const auto photo = [&](const std::string& name) { return "photo " + File(name) + "\n"; };
    const auto brighter = [](int steps) {
        std::string keys = "command 40036\n";
        for (int i = 0; i < steps; ++i) {
            keys += "key right\n";
        }
        return keys;
    };

    const ProgramResult run =
        Run("command 40016\nprint bar\nfolder " + pictures +
            "/\nkey soft1\nkey down\nkey enter\nprint bar\nprint state\n" + photo("opened.bmp") +
            brighter(3) + "print state\nkey soft1\n" + photo("step1.bmp") +
            "saveas result bmp\ncommand 40029\nsaveas result jpg\ncommand 40029\n" + brighter(10) +
            "print state\nkey soft1\n" + photo("step2.bmp") +
            "saveas cancel\ncommand 40029\nprint state\n"
            "# result.bmp exists: No keeps the dialog open for the next name\n"
            "saveas result bmp\nanswer no\nsaveas other bmp\ncommand 40029\n"
            "saveas result jpg small\nanswer yes\ncommand 40029\nprint state\ncommand 40056\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;

    // The browser, its folder dialog and the opened picture.
    EXPECT_EQ(run.out.compare(0, 8, "browser\n"), 0) << run.out;
    EXPECT_NE(run.out.find("\nfolder: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nmain\nmode normal\n"), std::string::npos) << "the browser closed";
    const std::vector<std::string> currentFiles = Values(run.out, "current_file");
    ASSERT_EQ(currentFiles.size(), 5u);
    EXPECT_EQ(currentFiles[0], pictures + "/two.jpg");
    EXPECT_EQ(currentFiles[4], pictures + "/result.jpg");
    EXPECT_EQ(Values(run.out, "work_folder")[0], pictures);

    // The dialogs as they opened: the picture's title, then the saved one's;
    // JPEG every time. The replace question came twice, and nothing else.
    EXPECT_NE(run.out.find("saveas: " + pictures + ": two: jpg\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("saveas: " + pictures + ": result: jpg\n"), std::string::npos);
    EXPECT_EQ(CountOf(run.out,
                      "question: Save File: File already exist !\\nDo you want to replace it ?\n"),
              2)
        << run.out;
    EXPECT_EQ(run.out.find("message:"), std::string::npos) << run.out;
    // Cleared by the saves, kept by the cancelled Save as; Close asked nothing.
    EXPECT_EQ(Values(run.out, "photo_changed"),
              (std::vector<std::string>{"0", "0", "0", "1", "0"}));
    EXPECT_EQ(run.out.substr(run.out.size() - 6), "\nquit\n");
    EXPECT_NE(ReadText(SettingsFile(dir_.Path())).find("WorkFolder=" + pictures),
              std::string::npos);

    // The BMPs are exactly brightness + placement of the photo before; the
    // refused replace left the first, the second went to other.bmp.
    const std::vector<std::string> levels = Values(run.out, "level");
    const PixelColor color = ColorOf(Value(run.out, "color"));
    const DibBlock opened = LoadBmp(File("opened.bmp"));
    const DibBlock step1 = LoadBmp(File("step1.bmp"));
    const DibBlock step2 = LoadBmp(File("step2.bmp"));
    ASSERT_TRUE(opened && step1 && step2);
    const DibBlock expected1 = BrightnessDone(opened.get(), std::stoi(levels[1]), color);
    const DibBlock expected2 = BrightnessDone(step1.get(), std::stoi(levels[2]), color);
    EXPECT_EQ(FirstDifference(expected1.get(), step1.get()), "");
    EXPECT_EQ(FirstDifference(expected2.get(), step2.get()), "");
    EXPECT_EQ(FirstDifference(expected1.get(), LoadBmp(pictures + "/result.bmp").get()), "");
    EXPECT_EQ(FirstDifference(expected2.get(), LoadBmp(pictures + "/other.bmp").get()), "");
    // The JPEG, replaced after the Yes, is the second step at Small quality.
    SaveOptions small;
    small.jpegQuality = kJpegQualitySmall;
    ASSERT_TRUE(SavePicture(File("expected.jpg"), *step2, small).Ok());
    EXPECT_EQ(ReadWholeFile(pictures + "/result.jpg"), ReadWholeFile(File("expected.jpg")));
}

// A frame placed from the "Object" menu's chooser, then a theme word moved
// and merged over it, and the whole saved: the screen and the picture are
// the composition made here from the same asset files with the blends.
TEST_F(ReplayJourney, FrameAndMovedWordMergedAndSavedMatchTheBlendsExactly) {
    WorkFolder();
    const ProgramResult run =
        Run("photo " + File("start.bmp") +
            "\nmenu object\n"
            "# the first Frame theme: page through it, place its second frame\n"
            "command 50001\nprint state\nkey down\nprint state\nkey up\nkey 2\nprint state\n"
            "# the first Word theme merges the frame first\n"
            "answer yes\ncommand 50041\nkey 1\n"
            "press up\npress up\npress up\nrelease\npress right\npress right\nrelease\n"
            "print state\nscreen " +
            File("screen.bmp") +
            "\ncommand 40018\nprint state\nsaveas framed bmp\ncommand 40029\nprint state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    // The printed menu: the generated themes, and Merge grey with nothing to merge.
    EXPECT_NE(run.out.find("Add Frame\n  50001\t"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("40018\tMerge\tgrey\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("40001\tChange Color\tenabled\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("question: Border: Do you want to merge the frame object ?\n"),
              std::string::npos)
        << run.out;
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
    EXPECT_EQ(ValueAt(run.out, "current_file", 5), File("pictures/framed.bmp"));

    // The first theme of each kind in name order is theme 0 of the menu.
    ThemeTable themes;
    for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
        themes.themeName[kind * kThemesPerKind] = ThemeName(CategoryFolderPath(kAssets, kind), 0);
        themes.themeCount[kind] = 1;
        themes.selectedTheme[kind] = 0;
    }
    Scene scene;
    scene.displayPhoto = LoadBmp(File("start.bmp"));
    scene.frame.colour = LoadAsset(kAssets, themes, ASSET_FRAME, 2);
    scene.frame.mask = LoadAsset(kAssets, themes, ASSET_FRAME_MASK, 2);
    scene.frame.placed = true;
    ASSERT_TRUE(scene.displayPhoto && scene.frame.colour && scene.frame.mask);
    DibBlock expected = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    ComposeFrame(scene, DibPixels(expected.get()));
    const FloatingObject word =
        Floating(OBJECT_WORD, kCanvasWidth, 50, LoadAsset(kAssets, themes, ASSET_WORD, 1));
    ASSERT_TRUE(word.mask);
    BlendMaskColor(word, 3, 6, ColorOf(ValueAt(run.out, "color", 3)), DibPixels(expected.get()));
    EXPECT_EQ(FirstDifference(expected.get(), LoadBmp(File("screen.bmp")).get()), "");
    const DibBlock saved = LoadBmp(File("pictures/framed.bmp"));
    EXPECT_EQ(FirstDifference(expected.get(), saved.get()), "");
    EXPECT_NE(FirstDifference(scene.displayPhoto.get(), saved.get()), "");
}

// Words of one's own: a Word typed, corrected with Back, placed with the
// action key, moved and merged, then a Colorful Word placed with OK and
// merged over it; the screen and the saved picture are the start-up photo
// with the lettering blended exactly where it was shown.
TEST_F(ReplayJourney, TypedWordsMovedAndMergedAreTheirLetteringExactly) {
    if (!ScreenFonts().HasFace(FONT_BOLD)) {
        GTEST_SKIP() << "the screen font is not installed";
    }
    WorkFolder();
    const ProgramResult run =
        Run("photo " + File("start.bmp") +
            "\ncommand 50104\nprint title\nprint bar\n"
            "type Happy Holidayz\nkey back\ntype s\nprint state\nkey enter\n"
            "press up\npress up\npress up\nrelease\npress right\npress right\nrelease\n"
            "print state\nscreen " +
            File("screen.bmp") +
            "\ncommand 40018\ncommand 50105\ntype   Merry  \nkey soft1\nprint state\n"
            "command 40018\nsaveas typed bmp\ncommand 40029\nprint state\n");
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

    // The Word in the current colour at 3, 6, then the Colorful Word
    // through its mask at 0, 0.
    DibBlock expected = LoadBmp(File("start.bmp"));
    ASSERT_TRUE(expected);
    const FloatingObject word = Floating(OBJECT_WORD, kLetteringWidth, kLetteringHeight,
                                         RenderLettering("Happy Holidays", DECOR_WORD, 1).mask);
    ASSERT_TRUE(word.mask);
    BlendMaskColor(word, 3, 6, ColorOf(ValueAt(run.out, "color", 1)), DibPixels(expected.get()));
    EXPECT_EQ(FirstDifference(expected.get(), LoadBmp(File("screen.bmp")).get()), "");
    LetteringResult merry = RenderLettering("Merry", DECOR_COLORFUL_WORD, 1);
    ASSERT_TRUE(merry.Ok());
    const FloatingObject colourful =
        Floating(OBJECT_COLORFUL_WORD, kLetteringWidth, kLetteringHeight, std::move(merry.mask),
                 std::move(merry.colour));
    BlendMaskImage(colourful, 0, 0, DibPixels(expected.get()));
    EXPECT_EQ(FirstDifference(expected.get(), LoadBmp(File("pictures/typed.bmp")).get()), "");
}

// A journey saved with its recipe, and the recipe applied by fotakle-batch
// to the same start-up picture: the very picture the editor saved. Undo
// and Redo through the replay's commands, and the larger sizes.
TEST_F(ReplayJourney, TheSavedRecipeAppliedByTheBatchToolGivesTheSavedPicture) {
    const std::string pictures = WorkFolder();
    const ProgramResult run =
        Run("press right\npress right\nrelease\n"
            "command 40036\nkey right\nkey soft1\n"
            "command 40041\ncommand 40027\n"
            "command 50001\nkey 2\ncommand 40018\n"
            "command 50031\nkey 1\nkey left\nkey left\ncommand 40018\n"
            "command 40070\ncommand 40070\ncommand 40071\n"
            "print state\nrecipe " +
            File("replayed.json") + "\nphoto " + File("photo.bmp") +
            "\nsaveas journey bmp keep\ncommand 40029\nsaveas larger bmp 2\ncommand 40029\n"
            "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const std::vector<std::string> undo = Values(run.out, "undo_steps");
    ASSERT_EQ(undo.size(), 2u);
    EXPECT_EQ(undo[0], "4") << "move, brightness, water paint, frame; the picture undone";
    EXPECT_EQ(Values(run.out, "redo_steps")[0], "1");
    EXPECT_EQ(Values(run.out, "photo_changed"), (std::vector<std::string>{"1", "0"}));

    const std::string saved = pictures + "/journey.bmp";
    EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(File("photo.bmp"))) << "Screen is the photo";
    const std::vector<uint8_t> kept = ReadWholeFile(pictures + "/journey.fotakle.json");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept, ReadWholeFile(File("replayed.json")));
    const LoadResult larger = LoadPicture(pictures + "/larger.bmp", LoadRequest());
    EXPECT_EQ(larger.width, 352);
    EXPECT_EQ(larger.height, 360);

    const ProgramResult applied =
        RunProgram({std::string(FOTAKLE_PROGRAM_FOLDER) + "fotakle-batch", "apply",
                    pictures + "/journey.fotakle.json", kAssets + "BackPict.ADM",
                    File("applied.bmp"), "--size", "screen"},
                   {}, dir_.Path());
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(ReadWholeFile(File("applied.bmp")), ReadWholeFile(saved));

    // The replay's fixed seed paints the same picture on every run.
    for (const char* name : {"paint1.bmp", "paint2.bmp"}) {
        ASSERT_EQ(Run("command 40040\ncommand 40027\nphoto " + File(name) + "\n").exitCode, 0);
    }
    EXPECT_EQ(ReadWholeFile(File("paint1.bmp")), ReadWholeFile(File("paint2.bmp")));
}

// A standing answer, as storms of random keys use it: every question takes
// it unless an `answer` line came first, every dialog without an answer is
// cancelled, and answers left over are no error.
TEST_F(ReplayJourney, StandingAnswerAnswersQuestionsAndCancelsDialogs) {
    const std::string change = "command 40036\nkey right\ncommand 40044\n";
    const ProgramResult no =
        Run("answers no\ncommand 40029\ncommand 40016\nkey soft1\nkey soft2\n" + change +
            "command 40056\n");
    ASSERT_EQ(no.exitCode, 0) << no.err;
    EXPECT_NE(no.out.find("saveas: "), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("folder: "), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("question: Save: Do you want to save this image ?\nquit\n"),
              std::string::npos)
        << no.out;

    // Yes to the question brings the Save-as dialog, which is cancelled; a
    // queued answer goes first, and the one left over is no error.
    const ProgramResult queued =
        Run("answers yes\n" + change + "answer no\nanswer no\ncommand 40056\n");
    ASSERT_EQ(queued.exitCode, 0) << queued.err;
    EXPECT_EQ(queued.out.find("saveas: "), std::string::npos) << "the queued No went first";
    const ProgramResult standing = Run("answers yes\n" + change + "command 40056\n");
    ASSERT_EQ(standing.exitCode, 0) << standing.err;
    EXPECT_NE(standing.out.find("question: Save: Do you want to save this image ?\nsaveas: "),
              std::string::npos)
        << standing.out;
    EXPECT_NE(standing.out.find("\nquit\n"), std::string::npos) << standing.out;
}

// A name that climbs out of the work folder is refused with its message at
// every OK, the dialog takes the next answer, and nothing is written
// outside the folder; the help page of the keys prints as its own line.
TEST_F(ReplayJourney, ClimbingSaveAsNamesAreRefusedEachTimeAndWriteNothing) {
    const std::string work = File("outer/work");
    fs::create_directories(work);
    WriteWorkFolderSetting(dir_.Path(), work);
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(File("outer"))) {
            names.push_back(entry.path().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    std::vector<std::string> expected = listing();
    expected.push_back(work + "/kept.bmp");
    std::sort(expected.begin(), expected.end());

    const ProgramResult run =
        Run("saveas ../x bmp\nsaveas .. bmp\nsaveas cancel\ncommand 40029\n"
            "command 40072\nsaveas kept bmp\ncommand 40029\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const std::string refused =
        "message: Fotakle: A file name cannot contain / or control characters.\n";
    const std::string dialog = "saveas: " + work + ": Sample: jpg\n";
    EXPECT_EQ(run.out, dialog + refused + refused + "keys\n" + dialog);
    EXPECT_EQ(listing(), expected);
    EXPECT_FALSE(fs::exists(File(".bmp")));
}

TEST_F(ReplayJourney, BadScriptsFailNamingTheLine) {
    struct Case {
        const char* script;
        const char* says;
    };
    const Case cases[] = {
        {"# comment\n\nkey sideways\n", "line 3: unknown key"},
        {"print bar\njump\n", "line 2: unknown action \"jump\""},
        {"command 0\n", "line 1: command needs a number"},
        {"menu edit\n", "line 1: menu needs file, object or action"},
        {"answer maybe\n", "line 1: answer needs yes or no"},
        {"release now\n", "line 1: release takes no argument"},
        {"saveas picture gif\n", "line 1: saveas needs the format"},
        {"saveas picture jpg tiny\n", "line 1: saveas takes screen, full"},
        {"saveas picture png small\n",
         "line 1: saveas takes a quality (best, good or small) after jpg only"},
        {"print everything\n", "line 1: print needs title, bar or state"},
        {"command 40040\nmenu action\n", "line 2: the okcancel bar has no Action pop-up"},
        {"screen /nonexistent-folder/screen.bmp\n", "line 1: cannot write"},
        {"answer yes\nprint title\n", "line 1: this answer was never used"},
        {"print title\nsaveas picture bmp\n",
         "line 2: this answer was never used: no Save-as dialog"},
        {"folder cancel\n", "line 1: this answer was never used: no Select Folder dialog"},
        {"folder /nonexistent-folder\n", "line 1: folder needs the absolute path of an existing"},
        {"command 40029\n", "line 1: a Save-as dialog had no answer waiting"},
        {"command 40016\nkey soft1\n", "line 2: a Select Folder dialog had no answer waiting"},
        {"command 40056\nprint title\n", "line 2: the editor quit on line 1"},
        {"type Hello\n", "line 1: no text field is open"},
        {"command 50104\ntype\n", "line 2: type needs a text"},
        {"command 50105\ntype abcdefghijklmnopqrstuvwxyzabcdefghijklmno\n",
         "line 2: the text field did not take all of"},
        {"command 40036\nkey right\ncommand 40044\ncommand 40056\nprint state\n",
         "line 4: a question had no answer waiting (put `answer yes` or `answer no` before this "
         "line): Save: Do you want to save this image ?"},
    };
    for (const Case& c : cases) {
        const ProgramResult run = Run(c.script);
        EXPECT_EQ(run.exitCode, 1) << c.script;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.script << "\ngave: " << run.err;
        EXPECT_EQ(run.out.find("mode "), std::string::npos) << "the run went on: " << c.script;
    }
}

}  // namespace
