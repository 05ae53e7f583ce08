// Whole journeys through `fotakle --replay`: the built program runs a script
// against the real editor, with its settings in a temporary config folder,
// and what it prints and saves is checked against the picture operations
// applied independently.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "decor/ColorPicker.h"
#include "image/LoadPicture.h"
#include "image/Resample.h"
#include "image/SavePicture.h"
#include "platform/RunProgram.h"
#include "resources/Resources.h"
#include "support/TestSupport.h"

namespace {

class ReplayJourney : public ::testing::Test {
  protected:
    // Runs the script in the temporary folder, settings kept there too.
    ProgramResult Replay(const std::string& script) {
        const std::string path = dir_.File("script.txt");
        const std::vector<uint8_t> bytes(script.begin(), script.end());
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        ProgramResult result = RunProgram({FotaklePath(), "--replay", path}, Env(), dir_.Path());
        EXPECT_TRUE(result.ended) << "the replay did not end";
        return result;
    }
    Environment Env() const {
        return {{"XDG_CONFIG_HOME", ConfigFolder()}, {"TMPDIR", dir_.Path()}};
    }
    std::string ConfigFolder() const { return dir_.File("config"); }
    std::string SettingsFile() const {
        return ConfigFolder() + "/Norvale Systems Inc./fotakle.ini";
    }
    std::string File(const std::string& name) const { return dir_.File(name); }

    TempDir dir_;
};

// The value of the last "name value" line of the output with this name.
std::string Value(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    std::string line;
    std::string value = "(missing)";
    while (std::getline(lines, line)) {
        if (line == name) {
            value.clear();
        } else if (line.compare(0, name.size() + 1, name + " ") == 0) {
            value = line.substr(name.size() + 1);
        }
    }
    return value;
}

int IntValue(const std::string& out, const std::string& name) {
    return std::stoi(Value(out, name));
}

bool IsFlat(const DibImage* picture) {
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            if (PixelAt(picture, x, y) != PixelAt(picture, 0, 0)) {
                return false;
            }
        }
    }
    return true;
}

uint32_t ColorOf(const std::string& hex) {
    return static_cast<uint32_t>(std::stoul(hex, nullptr, 16));
}

const char kStateNames[] =
    "mode adjust_kind level photo_x photo_y scale scaled_w scaled_h scaled_x scaled_y "
    "photo_changed key_step picker_open cursor_x cursor_y color object_present object_type "
    "object_x object_y frame_placed chooser page work_folder current_file field field_text "
    "object_text ";

// The values of every "name value" line with this name, in order.
std::vector<std::string> AllValues(const std::string& out, const std::string& name) {
    std::istringstream lines(out);
    std::string line;
    std::vector<std::string> values;
    while (std::getline(lines, line)) {
        if (line.compare(0, name.size() + 1, name + " ") == 0) {
            values.push_back(line.substr(name.size() + 1));
        }
    }
    return values;
}

// Brightness at level from the picture, placed at (x, y) over the colour:
// what "Done" makes of the display photo.
DibBlock BrightnessDone(const DibImage* from, int level, int x, int y, uint32_t color) {
    DibBlock adjusted = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    DibBlock placed = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    AdjustTone(DibPixels(from), DibPixels(adjusted.get()), ADJUST_BRIGHTNESS,
               static_cast<int16_t>(level), kCanvasWidth, kCanvasHeight);
    PlacePhotoOnCanvas(ViewOfPicture(placed.get()),
                       {ReadViewOfPicture(adjusted.get()), x, y, static_cast<uint8_t>(color),
                        static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color >> 16)});
    return placed;
}

// The mean absolute difference per channel of two 176 x 180 pictures.
double MeanDifference(const DibImage* a, const DibImage* b) {
    const uint8_t* pa = DibPixels(a);
    const uint8_t* pb = DibPixels(b);
    long total = 0;
    for (int32_t i = 0; i < kCanvasPixelBytes; ++i) {
        total += std::abs(pa[i] - pb[i]);
    }
    return static_cast<double>(total) / kCanvasPixelBytes;
}

TEST_F(ReplayJourney, MovesThePhotoAndShowsItShiftedOverTheCurrentColour) {
    const ProgramResult run = Replay(
        "# two single presses right, then up held for three presses\n"
        "print title\n"
        "print bar\n"
        "key right\n"
        "key right\n"
        "\n"
        "press up\n"
        "press up\n"
        "press up\n"
        "print state\n"
        "release\n"
        "print state\n"
        "photo " +
        File("photo.bmp") +
        "\n"
        "screen " +
        File("screen.bmp") + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;

    std::istringstream lines(run.out);
    std::string title;
    std::string bar;
    std::getline(lines, title);
    std::getline(lines, bar);
    EXPECT_EQ(title, "Fotakle");
    EXPECT_EQ(bar, "main");
    // The state block names every field once, in its fixed order.
    std::string names;
    std::string line;
    for (int i = 0; i < 28 && std::getline(lines, line); ++i) {
        names += line.substr(0, line.find(' ')) + " ";
    }
    EXPECT_EQ(names, kStateNames);
    EXPECT_EQ(Value(run.out, "mode"), "normal");
    EXPECT_EQ(IntValue(run.out, "photo_x"), 2);
    EXPECT_EQ(IntValue(run.out, "photo_y"), 1 + 2 + 3);
    EXPECT_EQ(IntValue(run.out, "key_step"), 1);  // after the release
    EXPECT_NE(run.out.find("key_step 3\n"), std::string::npos) << "held steps 1, 2, 3";

    // The screen is the photo moved 2 right and 6 up; what it leaves bare
    // is the current colour.
    const DibBlock photo = LoadBmp(File("photo.bmp"));
    const DibBlock screen = LoadBmp(File("screen.bmp"));
    ASSERT_TRUE(photo && screen);
    DibBlock expected = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    const uint32_t color = ColorOf(Value(run.out, "color"));
    PlacePhotoOnCanvas(ViewOfPicture(expected.get()),
                       {ReadViewOfPicture(photo.get()), 2, 6, static_cast<uint8_t>(color),
                        static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color >> 16)});
    EXPECT_EQ(FirstDifference(expected.get(), screen.get()), "");
    EXPECT_EQ(PixelAt(screen.get(), 0, 0), color);
}

TEST_F(ReplayJourney, BrightnessDoneFromAnOffsetEqualsAdjustToneThenPlacePhoto) {
    const ProgramResult run = Replay("photo " + File("start.bmp") +
                                     "\n"
                                     "key left\n"
                                     "key left\n"
                                     "key left\n"
                                     "command 40036\n"
                                     "print title\n"
                                     "print bar\n"
                                     "key right\n"
                                     "key right\n"
                                     "key right\n"
                                     "key right\n"
                                     "key right\n"
                                     "print state\n"
                                     "key soft1\n"
                                     "print bar\n"
                                     "print title\n"
                                     "print state\n"
                                     "photo " +
                                     File("after.bmp") + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Adjust Brightness\nadjust\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("main\nFotakle\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("mode adjust\nadjust_kind 1\n"), std::string::npos) << run.out;
    const std::string adjusting = run.out.substr(0, run.out.find("main\nFotakle\n"));
    const int level = IntValue(adjusting, "level");
    const int x = IntValue(adjusting, "scaled_x");
    const int y = IntValue(adjusting, "scaled_y");
    EXPECT_GT(level, 0);
    EXPECT_EQ(x, -3);
    EXPECT_EQ(Value(run.out, "mode"), "normal");
    EXPECT_EQ(Value(run.out, "photo_changed"), "1");
    EXPECT_EQ(IntValue(run.out, "photo_x"), 0);

    const DibBlock start = LoadBmp(File("start.bmp"));
    const DibBlock after = LoadBmp(File("after.bmp"));
    ASSERT_TRUE(start && after);
    EXPECT_FALSE(IsFlat(start.get())) << "the start-up picture is missing from the asset folder";
    DibBlock adjusted = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    DibBlock expected = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    AdjustTone(DibPixels(start.get()), DibPixels(adjusted.get()), ADJUST_BRIGHTNESS,
               static_cast<int16_t>(level), kCanvasWidth, kCanvasHeight);
    const uint32_t color = ColorOf(Value(run.out, "color"));
    PlacePhotoOnCanvas(ViewOfPicture(expected.get()),
                       {ReadViewOfPicture(adjusted.get()), x, y, static_cast<uint8_t>(color),
                        static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color >> 16)});
    EXPECT_EQ(FirstDifference(expected.get(), after.get()), "");
}

TEST_F(ReplayJourney, OilPaintCancelRestoresThePhotoAndKeepsEarlierChanges) {
    const std::string script =
        "command 40037\n"
        "key right\n"
        "command 40044\n"
        "photo " +
        File("before.bmp") +
        "\n"
        "command 40040\n"
        "print state\n"
        "print bar\n"
        "screen " +
        File("painted.bmp") +
        "\n"
        "key soft2\n"
        "print state\n"
        "photo " +
        File("after.bmp") + "\n";
    const ProgramResult run = Replay(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("mode effect\nadjust_kind 1\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("okcancel\n"), std::string::npos);
    EXPECT_EQ(Value(run.out, "mode"), "normal");
    EXPECT_EQ(Value(run.out, "photo_changed"), "1") << "Cancel keeps the contrast change";

    const DibBlock before = LoadBmp(File("before.bmp"));
    const DibBlock painted = LoadBmp(File("painted.bmp"));
    const DibBlock after = LoadBmp(File("after.bmp"));
    ASSERT_TRUE(before && painted && after);
    EXPECT_NE(FirstDifference(before.get(), painted.get()), "") << "the paint did not show";
    EXPECT_EQ(FirstDifference(before.get(), after.get()), "");

    // The fixed seed paints the same picture every run.
    std::filesystem::rename(File("painted.bmp"), File("first.bmp"));
    ASSERT_EQ(Replay(script).exitCode, 0);
    const DibBlock first = LoadBmp(File("first.bmp"));
    const DibBlock second = LoadBmp(File("painted.bmp"));
    EXPECT_EQ(FirstDifference(first.get(), second.get()), "");
}

TEST_F(ReplayJourney, ColorTonesFollowThePickerAndAcceptTones) {
    const ProgramResult run = Replay("photo " + File("start.bmp") +
                                     "\n"
                                     "command 40043\n"
                                     "print state\n"
                                     "key right\n"
                                     "key right\n"
                                     "key up\n"
                                     "print state\n"
                                     "key enter\n"
                                     "print state\n"
                                     "photo " +
                                     File("toned.bmp") + "\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("mode tones\n"), std::string::npos);
    EXPECT_NE(run.out.find("picker_open 1\ncursor_x 88\ncursor_y 25\ncolor FF0500\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("picker_open 1\ncursor_x 90\ncursor_y 26\n"), std::string::npos)
        << run.out;
    EXPECT_EQ(Value(run.out, "mode"), "normal");
    EXPECT_EQ(Value(run.out, "photo_changed"), "1");

    // The colour line is the field's pixel under the cursor, red first.
    const DibBlock spectrum = ResourceDib(RESOURCE_SPECTRUM);
    const DibBlock field = BuildColorField(spectrum.get());
    ASSERT_TRUE(field);
    const PixelColor picked = ColorFieldPixel(field.get(), 90, 26);
    const uint32_t color = ColorOf(Value(run.out, "color"));
    EXPECT_EQ(color, static_cast<uint32_t>(picked.red << 16 | picked.green << 8 | picked.blue));

    const DibBlock start = LoadBmp(File("start.bmp"));
    const DibBlock toned = LoadBmp(File("toned.bmp"));
    ASSERT_TRUE(start && toned);
    DibBlock expected = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    ApplyColorTone(DibPixels(start.get()), DibPixels(expected.get()), picked.blue, picked.green,
                   picked.red, kCanvasWidth, kCanvasHeight);
    EXPECT_EQ(FirstDifference(expected.get(), toned.get()), "");
}

TEST_F(ReplayJourney, MenusPrintTheirItemsWithGreying) {
    std::string script = "menu file\nkey right\nmenu file\ncommand 40035\nkey soft2\n";
    for (int i = 0; i < 30; ++i) {
        script += "key 1\n";
    }
    script += "print state\nmenu action\n";
    const ProgramResult run = Replay(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::string fileMenu =
        "40016\tOpen\tenabled\n"
        "40029\tSave as\tenabled\n"
        "40024\tRecover\tgrey\n"
        "40070\tUndo\tgrey\n"
        "40071\tRedo\tgrey\n"
        "-\n"
        "40035\tRescale\tenabled\n"
        "Move Photo\n"
        "  40048\tMove Left\\t[<]\tenabled\n"
        "  40049\tMove Right\\t[>]\tenabled\n"
        "  40050\tMove Up\\t[^]\tenabled\n"
        "  40051\tMove Down\\t[v]\tenabled\n"
        "  -\n"
        "  40026\tReset Position\tgrey\n"
        "-\n"
        "Image\n"
        "  40036\tBrightness\tenabled\n"
        "  40037\tContrast\tenabled\n"
        "  40038\tHue\tenabled\n"
        "  40039\tVividness\tenabled\n"
        "  -\n"
        "  40043\tColor Tones\tenabled\n"
        "Effect\n"
        "  40040\tOil Paint\tenabled\n"
        "  40041\tWater Paint\tenabled\n"
        "  40042\tWax Paint\tenabled\n"
        "-\n"
        "40072\tKeys\tenabled\n"
        "40054\tAbout\tenabled\n"
        "-\n"
        "40056\tClose\tenabled\n";
    std::string moved = fileMenu;
    moved.replace(moved.find("Reset Position\tgrey"), 19, "Reset Position\tenabled");
    // The move is a step that Undo takes back.
    moved.replace(moved.find("Undo\tgrey"), 9, "Undo\tenabled");
    const std::string rescaleAction =
        "40046\tScale Up\\t[1]\tenabled\n"
        "40047\tScale Down\\t[2]\tenabled\n"
        "-\n"
        "40048\tMove Left\\t[<]\tenabled\n"
        "40049\tMove Right\\t[>]\tenabled\n"
        "40050\tMove Up\\t[^]\tenabled\n"
        "40051\tMove Down\\t[v]\tenabled\n"
        "-\n"
        "40052\tReset\tenabled\n"
        "40028\tCancel\tenabled\n";
    std::string atMaximum = rescaleAction;
    atMaximum.replace(atMaximum.find("[1]\tenabled"), 11, "[1]\tgrey");

    ASSERT_EQ(run.out.compare(0, fileMenu.size(), fileMenu), 0) << run.out;
    std::string rest = run.out.substr(fileMenu.size());
    ASSERT_EQ(rest.compare(0, moved.size(), moved), 0) << rest;
    rest = rest.substr(moved.size());
    // The right soft key of the rescale bar opens its Action pop-up.
    ASSERT_EQ(rest.compare(0, rescaleAction.size(), rescaleAction), 0) << rest;
    EXPECT_EQ(Value(run.out, "scale"), "155");
    EXPECT_EQ(run.out.substr(run.out.size() - atMaximum.size()), atMaximum);
}

TEST_F(ReplayJourney, CloseAsksTheSaveQuestionAndKeepsTheWorkFolder) {
    // A work folder from the settings is read from the config folder given.
    const std::string pictures = File("pictures");
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(ConfigFolder() + "/Norvale Systems Inc.");
    const std::string ini = "[MainSection]\nWorkFolder=" + pictures + "\n";
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), std::vector<uint8_t>(ini.begin(), ini.end())));

    const ProgramResult unchanged = Replay("print state\ncommand 40056\n");
    ASSERT_EQ(unchanged.exitCode, 0) << unchanged.err;
    EXPECT_EQ(Value(unchanged.out, "work_folder"), pictures);
    EXPECT_EQ(unchanged.out.find("question:"), std::string::npos) << "nothing to save";
    EXPECT_NE(unchanged.out.find("\nquit\n"), std::string::npos);

    const ProgramResult changed = Replay(
        "command 40038\n"
        "key right\n"
        "key soft1\n"
        "answer no\n"
        "command 40056\n");
    ASSERT_EQ(changed.exitCode, 0) << changed.err;
    EXPECT_EQ(changed.out, "question: Save: Do you want to save this image ?\nquit\n");
    const std::vector<uint8_t> written = ReadWholeFile(SettingsFile());
    const std::string settings(written.begin(), written.end());
    EXPECT_NE(settings.find("[MainSection]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("WorkFolder=" + pictures), std::string::npos) << settings;
}

// A standing answer, as storms of random keys use it: every question takes
// it unless an `answer` line came first, every dialog without an answer is
// cancelled, and answers left over are no error.
TEST_F(ReplayJourney, StandingAnswerAnswersQuestionsAndCancelsDialogs) {
    const std::string change = "command 40036\nkey right\ncommand 40044\n";
    const ProgramResult no = Replay(
        "answers no\ncommand 40029\ncommand 40016\nkey soft1\n"
        "key soft2\n" +
        change + "command 40056\n");
    ASSERT_EQ(no.exitCode, 0) << no.err;
    EXPECT_NE(no.out.find("saveas: "), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("folder: "), std::string::npos) << no.out;
    EXPECT_NE(no.out.find("question: Save: Do you want to save this image ?\nquit\n"),
              std::string::npos)
        << no.out;

    // Yes to the question brings the Save-as dialog, which is cancelled; a
    // queued answer goes first, and the one left over is no error.
    const ProgramResult queued =
        Replay("answers yes\n" + change + "answer no\nanswer no\ncommand 40056\n");
    ASSERT_EQ(queued.exitCode, 0) << queued.err;
    EXPECT_EQ(queued.out.find("saveas: "), std::string::npos) << "the queued No went first";
    const ProgramResult standing = Replay("answers yes\n" + change + "command 40056\n");
    ASSERT_EQ(standing.exitCode, 0) << standing.err;
    EXPECT_NE(standing.out.find("question: Save: Do you want to save this image ?\nsaveas: "),
              std::string::npos)
        << standing.out;
    EXPECT_NE(standing.out.find("\nquit\n"), std::string::npos) << standing.out;
}

// The everyday journey by keys: Open, Change Folder to a folder of test
// pictures, the second picture, brightness, Save as BMP and as JPEG, a
// replace refused and one accepted.
TEST_F(ReplayJourney, OpensAPictureChangesItAndSavesItAsBmpAndJpeg) {
    const std::string pictures = File("Pictures");
    std::filesystem::create_directories(pictures);
    // Smooth gradients, so that a JPEG of them stays close to them.
    DibBlock gradient = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            uint8_t* pixel = DibPixels(gradient.get()) + y * kCanvasStride + x * 3;
            pixel[0] = static_cast<uint8_t>(x);
            pixel[1] = static_cast<uint8_t>(y);
            pixel[2] = static_cast<uint8_t>(40 + (x + y) / 3);
        }
    }
    ASSERT_TRUE(SavePicture(pictures + "/one.bmp", *gradient).Ok());
    ASSERT_TRUE(SavePicture(pictures + "/two.jpg", *gradient).Ok());
    ASSERT_TRUE(WriteWholeFile(pictures + "/notes.txt", {'x'}));
    auto photo = [&](const std::string& name) { return "photo " + File(name) + "\n"; };

    const ProgramResult run = Replay(
        "command 40016\n"
        "print bar\n"
        "folder " +
        pictures +
        "/\n"
        "key soft1\n"
        "screen " +
        File("browser.bmp") +
        "\n"
        "key down\n"
        "key enter\n"
        "print bar\n"
        "print state\n" +
        photo("opened.bmp") +
        "command 40036\n"
        "key right\nkey right\nkey right\n"
        "print state\n"
        "key soft1\n" +
        photo("step1.bmp") +
        "saveas result bmp\n"
        "command 40029\n"
        "saveas result jpg\n"
        "command 40029\n"
        "command 40036\n"
        "key right\nkey right\nkey right\nkey right\nkey right\n"
        "key right\nkey right\nkey right\nkey right\nkey right\n"
        "print state\n"
        "key soft1\n" +
        photo("step2.bmp") +
        "saveas cancel\n"
        "command 40029\n"
        "print state\n"
        "# result.bmp exists: No keeps the dialog open for the next name\n"
        "saveas result bmp\n"
        "answer no\n"
        "saveas other bmp\n"
        "command 40029\n"
        "saveas result jpg\n"
        "answer yes\n"
        "command 40029\n"
        "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;

    // The browser, its folder dialog and the opened picture.
    EXPECT_EQ(run.out.compare(0, 8, "browser\n"), 0) << run.out;
    EXPECT_NE(run.out.find("\nfolder: "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\nmain\nmode normal\n"), std::string::npos) << "the browser closed";
    const std::vector<std::string> currentFiles = AllValues(run.out, "current_file");
    ASSERT_EQ(currentFiles.size(), 5u);
    EXPECT_EQ(currentFiles[0], pictures + "/two.jpg");
    EXPECT_EQ(AllValues(run.out, "work_folder")[0], pictures);
    const DibBlock browser = LoadBmp(File("browser.bmp"));
    ASSERT_TRUE(browser);
    EXPECT_EQ(PixelAt(browser.get(), 0, kCanvasHeight - 1), 0xffffffu);
    EXPECT_EQ(PixelAt(browser.get(), 2, kCanvasHeight - 1 - 2), 0u) << "the list's frame";

    // The dialogs as they opened: the picture's title, then the saved one's;
    // JPEG every time.
    EXPECT_NE(run.out.find("saveas: " + pictures + ": two: jpg\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("saveas: " + pictures + ": result: jpg\n"), std::string::npos);
    const std::string replace =
        "question: Save File: File already exist !\\nDo you want to replace it ?\n";
    const size_t first = run.out.find(replace);
    ASSERT_NE(first, std::string::npos) << run.out;
    EXPECT_NE(run.out.find(replace, first + 1), std::string::npos) << "asked again for the JPEG";
    EXPECT_EQ(run.out.find("message:"), std::string::npos) << run.out;

    // photo_changed: cleared by the saves (the second adjusting starts
    // from 0), kept by the cancelled Save as, cleared by the last save.
    const std::vector<std::string> changed = AllValues(run.out, "photo_changed");
    EXPECT_EQ(changed, std::vector<std::string>({"0", "0", "0", "1", "0"}));
    EXPECT_EQ(currentFiles[4], pictures + "/result.jpg");

    // The BMP is exactly brightness + placement of the opened picture; the
    // refused replace left it so, and the second BMP went to other.bmp.
    const std::vector<std::string> levels = AllValues(run.out, "level");
    const int level1 = std::stoi(levels[1]);
    const int level2 = std::stoi(levels[2]);
    EXPECT_GT(level2, level1);
    const uint32_t color = ColorOf(Value(run.out, "color"));
    const DibBlock opened = LoadBmp(File("opened.bmp"));
    const DibBlock step1 = LoadBmp(File("step1.bmp"));
    const DibBlock step2 = LoadBmp(File("step2.bmp"));
    ASSERT_TRUE(opened && step1 && step2);
    const DibBlock expected1 = BrightnessDone(opened.get(), level1, 0, 0, color);
    const DibBlock expected2 = BrightnessDone(step1.get(), level2, 0, 0, color);
    EXPECT_EQ(FirstDifference(expected1.get(), step1.get()), "");
    EXPECT_EQ(FirstDifference(expected2.get(), step2.get()), "");
    EXPECT_EQ(FirstDifference(expected1.get(), LoadBmp(pictures + "/result.bmp").get()), "");
    EXPECT_EQ(FirstDifference(expected2.get(), LoadBmp(pictures + "/other.bmp").get()), "");

    // The JPEG, replaced after the Yes, decodes close to the second step.
    const DibBlock jpeg = LoadBmp(pictures + "/result.jpg");
    ASSERT_TRUE(jpeg);
    ASSERT_EQ(jpeg->header.biWidth, kCanvasWidth);
    ASSERT_EQ(jpeg->header.biHeight, kCanvasHeight);
    const double toStep2 = MeanDifference(jpeg.get(), step2.get());
    const double toStep1 = MeanDifference(jpeg.get(), step1.get());
    EXPECT_LT(toStep2, 2.0);
    EXPECT_LT(toStep2 * 2, toStep1) << "the JPEG was not replaced";
}

// Save as PNG (lossless: the very pixels of the photo) and as JPEG of each
// quality word (the same bytes as the photo saved at that quality; no word
// keeps the dialog's Good, even in a name holding "good"); a PNG opened from
// the browser; a PNG cut short opened and the user told.
TEST_F(ReplayJourney, SavesAsPngAndAsJpegOfEachQuality) {
    const std::string pictures = File("Pictures");
    std::filesystem::create_directories(pictures);
    DibBlock gradient = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            uint8_t* pixel = DibPixels(gradient.get()) + y * kCanvasStride + x * 3;
            pixel[0] = static_cast<uint8_t>(x + y);
            pixel[1] = static_cast<uint8_t>(3 * y);
            pixel[2] = static_cast<uint8_t>(x * x / 64);
        }
    }
    ASSERT_TRUE(SavePicture(pictures + "/one.png", *gradient).Ok());

    const ProgramResult run = Replay("command 40016\nfolder " + pictures +
                                     "\nkey soft1\nkey enter\nphoto " + File("opened.bmp") +
                                     "\n"
                                     "saveas result png\ncommand 40029\n"
                                     "saveas best jpg best\ncommand 40029\n"
                                     "saveas small jpg small\ncommand 40029\n"
                                     "saveas my good jpg\ncommand 40029\n"
                                     "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    EXPECT_NE(run.out.find("saveas: " + pictures + ": one: jpg\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("saveas: " + pictures + ": result: jpg\n"), std::string::npos);
    EXPECT_EQ(Value(run.out, "current_file"), pictures + "/my good.jpg");
    EXPECT_EQ(run.out.find("message:"), std::string::npos) << run.out;

    const DibBlock opened = LoadBmp(File("opened.bmp"));
    ASSERT_TRUE(opened);
    EXPECT_EQ(FirstDifference(gradient.get(), opened.get()), "") << "the PNG opened exactly";
    EXPECT_EQ(FirstDifference(opened.get(), LoadBmp(pictures + "/result.png").get()), "");
    const struct {
        const char* file;
        int quality;
    } jpegs[] = {{"best.jpg", 95}, {"small.jpg", 75}, {"my good.jpg", 90}};
    for (const auto& jpeg : jpegs) {
        SaveOptions options;
        options.jpegQuality = jpeg.quality;
        ASSERT_TRUE(SavePicture(File("expected.jpg"), *opened, options).Ok());
        EXPECT_EQ(ReadWholeFile(pictures + "/" + jpeg.file), ReadWholeFile(File("expected.jpg")))
            << jpeg.file;
    }

    // A PNG cut short opens with what it holds, and the user is told.
    const std::string damaged = File("Damaged");
    std::filesystem::create_directories(damaged);
    const std::vector<uint8_t> whole = ReadWholeFile(pictures + "/result.png");
    ASSERT_TRUE(
        WriteWholeFile(damaged + "/cut.png",
                       std::vector<uint8_t>(whole.begin(), whole.begin() + whole.size() / 2)));
    const ProgramResult cut =
        Replay("command 40016\nfolder " + damaged + "\nkey soft1\nkey enter\nprint state\n");
    ASSERT_EQ(cut.exitCode, 0) << cut.err << cut.out;
    EXPECT_NE(cut.out.find("message: Fotakle: This picture is damaged: only part of it could be "
                           "shown.\n"),
              std::string::npos)
        << cut.out;
    EXPECT_EQ(Value(cut.out, "current_file"), damaged + "/cut.png");
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
        {"command 4x\n", "line 1: command needs a number"},
        {"menu edit\n", "line 1: menu needs file, object or action"},
        {"answer maybe\n", "line 1: answer needs yes or no"},
        {"answers always\n", "line 1: answers needs yes or no"},
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
        {"folder relative/path\n", "line 1: folder needs the absolute path"},
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
        const ProgramResult run = Replay(c.script);
        EXPECT_EQ(run.exitCode, 1) << c.script;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.script << "\ngave: " << run.err;
        EXPECT_EQ(run.out.find("mode "), std::string::npos) << "the run went on: " << c.script;
    }
}

TEST_F(ReplayJourney, CommandLineOtherThanReplayIsAUsageError) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{FotaklePath(), "--replay"},
          std::vector<std::string>{FotaklePath(), "--replay", "a", "b", "c"}}) {
        const ProgramResult run = RunProgram(args, Env(), dir_.Path());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("Usage:"), std::string::npos);
    }
    const ProgramResult missing =
        RunProgram({FotaklePath(), "--replay", File("missing.txt")}, Env(), dir_.Path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
}

}  // namespace

// A journey saved with its recipe, and the recipe applied by fotakle-batch
// to the same start-up picture: the very picture the editor saved. Undo
// and Redo through the replay's commands, and the larger sizes.
TEST_F(ReplayJourney, TheSavedRecipeAppliedByTheBatchToolGivesTheSavedPicture) {
    const std::string pictures = File("pictures");
    std::filesystem::create_directories(pictures);
    std::filesystem::create_directories(ConfigFolder() + "/Norvale Systems Inc.");
    const std::string ini = "[MainSection]\nWorkFolder=" + pictures + "\n";
    ASSERT_TRUE(WriteWholeFile(SettingsFile(), std::vector<uint8_t>(ini.begin(), ini.end())));

    const ProgramResult run = Replay(
        "press right\npress right\nrelease\n"
        "command 40036\nkey right\nkey soft1\n"
        "command 40041\ncommand 40027\n"
        "command 50001\nkey 2\ncommand 40018\n"
        "command 50031\nkey 1\nkey left\nkey left\ncommand 40018\n"
        "command 40070\ncommand 40070\ncommand 40071\n"
        "print state\n"
        "recipe " +
        File("replayed.json") +
        "\n"
        "photo " +
        File("photo.bmp") +
        "\n"
        "saveas journey bmp keep\ncommand 40029\n"
        "saveas larger bmp 2\ncommand 40029\n"
        "print state\n");
    ASSERT_EQ(run.exitCode, 0) << run.err << run.out;
    const std::vector<std::string> undo = AllValues(run.out, "undo_steps");
    const std::vector<std::string> redo = AllValues(run.out, "redo_steps");
    ASSERT_EQ(undo.size(), 2u);
    EXPECT_EQ(undo[0], "4") << "move, brightness, water paint, frame; the picture undone";
    EXPECT_EQ(redo[0], "1");
    EXPECT_EQ(AllValues(run.out, "photo_changed"), (std::vector<std::string>{"1", "0"}));

    const std::string saved = pictures + "/journey.bmp";
    EXPECT_EQ(ReadWholeFile(saved), ReadWholeFile(File("photo.bmp"))) << "Screen is the photo";
    const std::vector<uint8_t> kept = ReadWholeFile(pictures + "/journey.fotakle.json");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept, ReadWholeFile(File("replayed.json")));
    const LoadResult larger = LoadPicture(pictures + "/larger.bmp", LoadRequest());
    EXPECT_EQ(larger.width, 352);
    EXPECT_EQ(larger.height, 360);

    const std::string batch = std::string(FOTAKLE_PROGRAM_FOLDER) + "fotakle-batch";
    const std::string startup = std::string(FOTAKLE_PROGRAM_FOLDER) + "FotakleFolder/BackPict.ADM";
    const ProgramResult applied = RunProgram({batch, "apply", pictures + "/journey.fotakle.json",
                                              startup, File("applied.bmp"), "--size", "screen"},
                                             Env(), dir_.Path());
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(ReadWholeFile(File("applied.bmp")), ReadWholeFile(saved));
}
