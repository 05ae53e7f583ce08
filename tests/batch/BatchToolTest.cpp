// fotakle-batch run as a user runs it: command lines, exit codes, printed
// sizes and the pictures it writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "image/DibImage.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ExifTestSupport.h"
#include "support/TestSupport.h"
#include "support/WebpTestFiles.h"

namespace {

struct RunResult {
    int exitCode = -1;
    std::string output;
    std::string errors;
};

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the tool with the arguments; `shell` comes first on the shell's
// command line (limits to set for the run).
RunResult RunBatch(const std::vector<std::string>& args, const TempDir& dir,
                   const std::string& shell = "") {
    std::string command = shell + Quote(FOTAKLE_BATCH_PATH);
    for (const std::string& arg : args) {
        command += " " + Quote(arg);
    }
    const std::string errorFile = dir.File("stderr.txt");
    command += " 2>" + Quote(errorFile);
    RunResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[256];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        result.output.append(buffer, got);
    }
    const int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const std::vector<uint8_t> errors = ReadWholeFile(errorFile);
    result.errors.assign(errors.begin(), errors.end());
    return result;
}

class BatchTool : public ::testing::Test {
  protected:
    void SetUp() override {
        pattern_ = MakePatternImage(100, 100);
        ASSERT_TRUE(SavePicture(In(), *pattern_).Ok());
    }
    std::string In() const { return dir_.File("in.bmp"); }
    std::string Out() const { return dir_.File("out.bmp"); }
    // Runs the tool, which must succeed, and gives what it printed.
    std::string Succeeds(const std::vector<std::string>& args) {
        std::filesystem::remove(Out());
        const RunResult result = RunBatch(args, dir_);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        return result.output;
    }
    // The picture a successful run wrote to Out(), or null.
    DibBlock Made(const std::vector<std::string>& args) {
        Succeeds(args);
        return LoadBmp(Out());
    }

    TempDir dir_;
    DibBlock pattern_;
};

}  // namespace

TEST_F(BatchTool, HelpAndBadCommandLines) {
    const RunResult help = RunBatch({"--help"}, dir_);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Usage: fotakle-batch"), std::string::npos);

    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate", In(), Out()},
        {"load", In()},
        {"load", "--box", "10", In(), Out()},
        {"load", "--sideways", In(), Out()},
        {"resample", "0", "10", In(), Out()},
        {"resample", "10x", "10", In(), Out()},
        {"place", "1", "2", "12345", In(), Out()},
        {"place", "1", "2", "zz0000", In(), Out()},
        {"adjust", "sharpness", "10", In(), Out()},
        {"adjust", "brightness", "101", In(), Out()},
        {"adjust", "hue", "ten", In(), Out()},
        {"tones", "#ff0000", In(), Out()},
        {"paint", "acrylic", In(), Out()},
        {"paint", "oil", "--seed", "-3", In(), Out()},
        {"save", In()},
    };
    for (const auto& args : bad) {
        const RunResult result = RunBatch(args, dir_);
        EXPECT_EQ(result.exitCode, 2) << (args.empty() ? "(none)" : args[0]);
        EXPECT_NE(result.errors.find("Usage:"), std::string::npos);
    }
}

// A picture that cannot be read or written: exit status 1 and one line that
// says what went wrong (the system's reason for a file that cannot be
// written, the limit for a picture too large to load at its own size), and
// nothing written. A mask cannot be loaded into the colour canvas.
TEST_F(BatchTool, FailuresExitWithOneLineGivingTheReason) {
    // 10001 x 10000 pixels declared by a 54-byte header.
    std::vector<uint8_t> huge = {'B', 'M', 0, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                                 0,   0,   0, 0x11, 0x27, 0, 0, 0x10, 0x27, 0, 0,  1, 0, 24, 0};
    huge.resize(54, 0);
    ASSERT_TRUE(WriteWholeFile(dir_.File("huge.bmp"), huge));
    ASSERT_TRUE(WriteWholeFile(dir_.File("junk.jpg"), {0xFF, 0xD8, 0x00, 0x01, 0x02}));
    struct Case {
        std::vector<std::string> args;
        std::string shell;
        std::string says;
    } cases[] = {
        {{"save", In(), dir_.File("missing/out.bmp")},
         "",
         "cannot write " + dir_.File("missing/out.bmp") + ": No such file or directory\n"},
        // A file size limit makes writes fail as a full disk does.
        {{"save", In(), Out()},
         "trap '' XFSZ; ulimit -f 1; ",
         "cannot write " + Out() + ": File too large\n"},
        {{"load", dir_.File("huge.bmp"), Out()}, "", "more than 100 megapixels"},
        {{"adjust", "hue", "5", dir_.File("huge.bmp"), Out()}, "", "more than 100 megapixels"},
        {{"load", dir_.File("missing.gif"), Out()}, "", "cannot open " + dir_.File("missing.gif")},
        {{"load", dir_.File("notes.txt"), Out()}, "", "not a picture name"},
        {{"load", dir_.File("missing.bmp"), Out()}, "", "cannot open"},
        {{"load", "--into", dir_.File("junk.jpg"), Out()}, "", "junk.jpg"},
        {{"load", "--into", dir_.File("missing.gif"), Out()}, "", "cannot open"},
        {{"load", "--box", "176", "180", dir_.File("junk.jpg"), Out()}, "", "junk.jpg"},
        {{"save", dir_.File("junk.jpg"), dir_.File("x.jpg")}, "", "junk.jpg"},
        {{"paint", "wax", "--seed", "1", dir_.File("missing.bmp"), Out()}, "", "cannot open"},
    };
    for (const Case& c : cases) {
        const RunResult result = RunBatch(c.args, dir_, c.shell);
        EXPECT_EQ(result.exitCode, 1) << c.says;
        EXPECT_NE(result.errors.find(c.says), std::string::npos) << result.errors;
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
        EXPECT_FALSE(std::filesystem::exists(Out())) << c.says;
    }
    // The same picture with a box loads, reduced.
    const RunResult boxed =
        RunBatch({"load", "--box", "176", "180", dir_.File("huge.bmp"), Out()}, dir_);
    EXPECT_EQ(boxed.exitCode, 0) << boxed.errors;
    EXPECT_EQ(boxed.output, "200 180\n");

    const std::string mask = dir_.File("mask.bmp");
    const RunResult maskInto = RunBatch({"load", "--mask", "--into", In(), mask}, dir_);
    EXPECT_EQ(maskInto.exitCode, 2);
    EXPECT_NE(maskInto.errors.find("--mask and --into cannot go together"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(mask));
}

TEST_F(BatchTool, LoadPrintsTheLoaderSizesAndWritesThePicture) {
    EXPECT_EQ(Succeeds({"load", In(), Out()}), "100 100\n");
    EXPECT_EQ(ReadWholeFile(Out()), ReadWholeFile(In()));
    // Into the canvas: centred, black borders, the outputs keep the box.
    EXPECT_EQ(Succeeds({"load", "--into", In(), Out()}), "176 180\n");
    DibBlock canvas = LoadBmp(Out());
    ASSERT_TRUE(canvas);
    EXPECT_EQ(canvas->header.biWidth, 176);
    EXPECT_EQ(PixelAt(canvas.get(), 37, 40), 0u);
    EXPECT_EQ(PixelAt(canvas.get(), 38, 40), PixelAt(pattern_.get(), 0, 0));
    EXPECT_EQ(PixelAt(canvas.get(), 137, 139), PixelAt(pattern_.get(), 99, 99));
    // A box smaller than the picture fits it down.
    EXPECT_EQ(Succeeds({"load", "--box", "50", "50", In(), Out()}), "50 50\n");
}

// A photo stored on its side comes out turned, as its EXIF block says.
TEST_F(BatchTool, LoadTurnsAJpegAsItsExifOrientationSays) {
    const std::string plain = dir_.File("plain.jpg");
    ASSERT_TRUE(SavePicture(plain, *MakePatternImage(120, 80)).Ok());
    const std::string tagged = dir_.File("tagged.jpg");
    ASSERT_TRUE(WriteWholeFile(
        tagged, WithExifSegment(ReadWholeFile(plain), MakeExifBlock({6, false, {}}))));
    EXPECT_EQ(Succeeds({"load", tagged, Out()}), "80 120\n");
    const DibBlock turned =
        OrientPicture(*LoadPicture(plain, LoadRequest()).picture, ORIENTATION_TURNED_90);
    EXPECT_EQ(FirstDifference(turned.get(), LoadBmp(Out()).get()), "");
    EXPECT_EQ(Succeeds({"load", "--box", "40", "40", tagged, Out()}), "40 60\n");
}

TEST_F(BatchTool, MasksAreWrittenAsGreyEightBitPictures) {
    // A JPEG mask: the blue channel of a flat picture as 8-bit levels.
    DibBlock flat = DibCreate(12, 12, 24);
    uint8_t* pixels = DibPixels(flat.get());
    for (int i = 0; i < 12 * 36; i += 3) {
        pixels[i] = 200;  // blue
        pixels[i + 1] = 10;
        pixels[i + 2] = 90;
    }
    ASSERT_TRUE(SavePicture(dir_.File("shape.adm"), *flat).Ok());
    EXPECT_EQ(Succeeds({"load", "--mask", "--box", "12", "12", dir_.File("shape.adm"), Out()}),
              "12 12\n");
    const std::vector<uint8_t> file = ReadWholeFile(Out());
    ASSERT_EQ(file.size(), 14u + 40u + 1024u + 144u);
    EXPECT_EQ(file[28], 8);  // biBitCount
    // Grey palette: entry i is (i, i, i).
    EXPECT_EQ(file[54 + 4 * 77], 77);
    EXPECT_EQ(file[54 + 4 * 77 + 2], 77);
    for (size_t i = 54 + 1024; i < file.size(); ++i) {
        EXPECT_NEAR(file[i], 200, 3) << i;
    }
}

TEST_F(BatchTool, ResamplePlaceAndSave) {
    DibBlock scaled = Made({"resample", "150", "40", In(), Out()});
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->header.biWidth, 150);
    EXPECT_EQ(scaled->header.biHeight, 40);

    DibBlock placed = Made({"place", "38", "40", "0000FF", In(), Out()});
    ASSERT_TRUE(placed);
    EXPECT_EQ(PixelAt(placed.get(), 0, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(placed.get(), 37, 40), 0x0000FFu);
    EXPECT_EQ(PixelAt(placed.get(), 38, 40), PixelAt(pattern_.get(), 0, 0));
    EXPECT_EQ(PixelAt(placed.get(), 175, 179), 0x0000FFu);

    // BMP, JPEG, and PNG for a .png name in any case, with the very pixels.
    for (const char* name : {"copy.bmp", "copy.jpg", "copy.PNG"}) {
        Succeeds({"save", In(), dir_.File(name)});
    }
    EXPECT_EQ(ReadWholeFile(dir_.File("copy.bmp")), ReadWholeFile(In()));
    const std::vector<uint8_t> jpeg = ReadWholeFile(dir_.File("copy.jpg"));
    EXPECT_EQ(std::vector<uint8_t>(jpeg.begin(), jpeg.begin() + std::min<size_t>(jpeg.size(), 2)),
              (std::vector<uint8_t>{0xFF, 0xD8}));
    const std::vector<uint8_t> png = ReadWholeFile(dir_.File("copy.PNG"));
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + std::min<size_t>(png.size(), 4)),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(FirstDifference(pattern_.get(), LoadBmp(dir_.File("copy.PNG")).get()), "");
}

TEST_F(BatchTool, AdjustTonesAndPaint) {
    DibBlock white = Made({"adjust", "brightness", "100", In(), Out()});
    ASSERT_TRUE(white);
    EXPECT_EQ(PixelAt(white.get(), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(white.get(), 99, 99), 0xFFFFFFu);
    Succeeds({"adjust", "vividness", "10", In(), Out()});
    EXPECT_EQ(ReadWholeFile(Out()), ReadWholeFile(In()));

    // A grey of brightness 127 takes the tone colour exactly.
    DibBlock grey = DibCreate(4, 4, 24);
    std::memset(DibPixels(grey.get()), 127, grey->header.biSizeImage);
    ASSERT_TRUE(SavePicture(dir_.File("grey.bmp"), *grey).Ok());
    DibBlock toned = Made({"tones", "c86432", dir_.File("grey.bmp"), Out()});
    ASSERT_TRUE(toned);
    EXPECT_EQ(PixelAt(toned.get(), 3, 3), 0xC86432u);

    // The seed alone decides the painting.
    std::vector<uint8_t> paintings[4];
    const char* const runs[][2] = {{"oil", "7"}, {"oil", "7"}, {"oil", "8"}, {"water", "7"}};
    for (int i = 0; i < 4; ++i) {
        Succeeds({"paint", runs[i][0], "--seed", runs[i][1], In(), Out()});
        paintings[i] = ReadWholeFile(Out());
    }
    EXPECT_EQ(paintings[0], paintings[1]);
    EXPECT_NE(paintings[0], paintings[2]);
    EXPECT_NE(paintings[0], paintings[3]);
}

// A damaged picture of any format: one warning line naming it, status 0, the
// part that was read written out; the source stays as it was. A PNG or WebP
// that is whole loads without a word.
TEST_F(BatchTool, DamagedPicturesWarnOnceAndGoOn) {
    ASSERT_TRUE(SavePicture(dir_.File("cut.jpg"), *pattern_).Ok());
    ASSERT_TRUE(SavePicture(dir_.File("cut.png"), *pattern_).Ok());
    ASSERT_TRUE(WriteWholeFile(dir_.File("cut.webp"), EncodeTestWebp(*pattern_, 90)));
    std::filesystem::copy_file(TestDataPath("gif/giflib-porsche.gif"), dir_.File("cut.gif"));
    ASSERT_TRUE(std::filesystem::copy_file(In(), dir_.File("cut.bmp")));
    for (const char* name : {"cut.png", "cut.webp"}) {
        const RunResult whole = RunBatch({"load", dir_.File(name), Out()}, dir_);
        EXPECT_EQ(whole.exitCode, 0) << name;
        EXPECT_EQ(whole.errors, "") << name;
        EXPECT_EQ(whole.output, "100 100\n") << name;
    }
    for (const char* name : {"cut.jpg", "cut.png", "cut.webp", "cut.gif", "cut.bmp"}) {
        SCOPED_TRACE(name);
        const std::string path = dir_.File(name);
        std::vector<uint8_t> bytes = ReadWholeFile(path);
        bytes.resize(bytes.size() * 6 / 10);
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        std::filesystem::remove(Out());

        RunResult result = RunBatch({"load", "--into", path, Out()}, dir_);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.output, "176 180\n");
        EXPECT_EQ(result.errors, "fotakle-batch: warning: " + path +
                                     " is damaged: only part of it could be read\n");
        EXPECT_TRUE(LoadBmp(Out()));

        result = RunBatch({"save", path, dir_.File("copy.png")}, dir_);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1) << result.errors;
        EXPECT_EQ(ReadWholeFile(path), bytes) << "the source was written";
    }
}

namespace {

std::string Recipe(const std::string& steps) {
    return R"({"fotakle_recipe": 1, "steps": [{"op": "load", "file": "/nowhere/x.jpg"})" + steps +
           "]}";
}

}  // namespace

// apply does a recipe's steps to another picture: here Brightness at 40,
// which is what load --into and adjust make of it.
TEST_F(BatchTool, ApplyDoesARecipesStepsToAnotherPicture) {
    const std::string recipe = dir_.File("look.json");
    const std::string text = Recipe(R"(, {"op": "adjust", "kind": "brightness", "level": 40, )"
                                    R"("x": 0, "y": 0, "fill": "000000"})");
    ASSERT_TRUE(WriteWholeFile(recipe, std::vector<uint8_t>(text.begin(), text.end())));
    const std::string loaded = dir_.File("loaded.bmp");
    const std::string expected = dir_.File("expected.bmp");
    Succeeds({"load", "--into", In(), loaded});
    Succeeds({"adjust", "brightness", "40", loaded, expected});
    Succeeds({"apply", recipe, In(), Out()});
    EXPECT_EQ(ReadWholeFile(Out()), ReadWholeFile(expected));
    Succeeds({"apply", recipe, In(), Out(), "--size", "screen"});
    EXPECT_EQ(ReadWholeFile(Out()), ReadWholeFile(expected));

    // Larger: a factor, and full for a picture that holds three times the screen.
    const DibBlock large = MakePatternImage(600, 560);
    ASSERT_TRUE(SavePicture(dir_.File("large.bmp"), *large).Ok());
    const struct {
        const char* size;
        int32_t width;
        int32_t height;
    } sizes[] = {{"2", 352, 360}, {"full", 528, 540}, {"screen", 176, 180}};
    for (const auto& size : sizes) {
        Succeeds({"apply", "--size", size.size, recipe, dir_.File("large.bmp"), Out()});
        const LoadResult made = LoadPicture(Out(), LoadRequest());
        EXPECT_EQ(made.width, size.width) << size.size;
        EXPECT_EQ(made.height, size.height) << size.size;
    }

    // Runs side by side share nothing: four at once write four equal pictures.
    std::string command;
    for (int i = 0; i < 4; ++i) {
        command += Quote(FOTAKLE_BATCH_PATH) + " apply " + Quote(recipe) + " " + Quote(In()) + " " +
                   Quote(dir_.File("par" + std::to_string(i) + ".bmp")) + " & ";
    }
    ASSERT_EQ(std::system((command + "wait").c_str()), 0);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ReadWholeFile(dir_.File("par" + std::to_string(i) + ".bmp")),
                  ReadWholeFile(expected))
            << i;
    }
}

// A recipe that cannot be used is one line on stderr and exit status 1, a
// bad command line 2; either way nothing is written.
TEST_F(BatchTool, ApplyRefusesBadRecipesAndCommandLinesWritingNothing) {
    const struct {
        std::string recipe;
        std::vector<std::string> extra;
        int exitCode;
        std::string says;
    } cases[] = {
        {R"({"fotakle_recipe": 1, "steps": [)", {}, 1, "not JSON"},
        {Recipe(R"(, {"op": "sepia"})"), {}, 1, R"(step 1: unknown step "sepia")"},
        {Recipe(R"(, {"op": "move", "x": "left", "y": 0})"), {}, 1, R"("x" is missing)"},
        {Recipe(R"(, {"op": "move", "x": 1, "y": 1e999})"), {}, 1, "not JSON"},
        {Recipe(R"(, {"op": "frame", "file": "Frame/None/None1.adm"})"),
         {"--assets", "/nowhere"},
         1,
         "step 1: the decoration Frame/None/None1.adm is not in /nowhere"},
        {"[]", {}, 1, "not a recipe"},
        {Recipe(""), {"--size", "0"}, 2, "--size needs"},
        {Recipe(""), {"--size", "36"}, 2, "--size needs"},
        {Recipe(""), {"--size", "99999999999999999999"}, 2, "--size needs"},
        {Recipe(""), {"--sise", "2"}, 2, "unknown option --sise"},
    };
    const std::string recipe = dir_.File("bad.json");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recipe);
        ASSERT_TRUE(WriteWholeFile(recipe, std::vector<uint8_t>(c.recipe.begin(), c.recipe.end())));
        std::vector<std::string> args = {"apply", recipe, In(), Out()};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        const RunResult result = RunBatch(args, dir_);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_NE(result.errors.find(c.says), std::string::npos) << result.errors;
        if (c.exitCode == 1) {
            EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1);
        }
        EXPECT_FALSE(std::filesystem::exists(Out()));
    }
    const RunResult missing = RunBatch({"apply", dir_.File("none.json"), In(), Out()}, dir_);
    EXPECT_EQ(missing.exitCode, 1);
    ASSERT_TRUE(WriteWholeFile(recipe, {'[', ']'}));
    EXPECT_EQ(RunBatch({"apply", recipe, dir_.File("none.bmp"), Out()}, dir_).exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(Out()));
}
