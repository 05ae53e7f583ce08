// fotakle-batch run as a user runs it: command lines, exit codes, printed
// sizes and the pictures it writes.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "image/DibImage.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

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

std::string TextOf(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

// Runs the tool with the arguments; `shell` comes first on the shell's
// command line (limits to set for the run).
RunResult RunBatch(const std::vector<std::string>& args, const TempDir& dir,
                   const std::string& shell = "") {
    std::string command = shell + Quote(FOTAKLE_BATCH_PATH);
    for (const std::string& arg : args) {
        command += " " + Quote(arg);
    }
    command += " >" + Quote(dir.File("stdout.txt")) + " 2>" + Quote(dir.File("stderr.txt"));
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, TextOf(dir.File("stdout.txt")),
            TextOf(dir.File("stderr.txt"))};
}

class BatchTool : public ::testing::Test {
  protected:
    void SetUp() override {
        pattern_ = MakePatternImage(100, 100);
        ASSERT_TRUE(SavePicture(In(), *pattern_).Ok());
    }
    std::string In() const { return dir_.File("in.bmp"); }
    std::string Out() const { return dir_.File("out.bmp"); }
    // Runs the tool, which must succeed without a word on stderr, and gives
    // what it printed.
    std::string Succeeds(const std::vector<std::string>& args) {
        std::filesystem::remove(Out());
        const RunResult result = RunBatch(args, dir_);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_EQ(result.errors, "");
        return result.output;
    }
    // The picture a successful run wrote to Out(), or null.
    DibBlock Made(const std::vector<std::string>& args) {
        Succeeds(args);
        return LoadBmp(Out());
    }
    // A new file holding text.
    std::string Written(const std::string& text) {
        const std::string path = dir_.File("file" + std::to_string(files_++) + ".json");
        EXPECT_TRUE(WriteWholeFile(path, std::vector<uint8_t>(text.begin(), text.end())));
        return path;
    }
    // A recipe file: a load step, then these.
    std::string Recipe(const std::string& steps) {
        return Written(
            R"({"fotakle_recipe": 1, "steps": [{"op": "load", "file": "/nowhere/x.jpg"})" + steps +
            "]}");
    }

    TempDir dir_;
    DibBlock pattern_;
    int files_ = 0;
};

}  // namespace

// A command line not understood: status 2 and the usage. A picture or
// recipe that cannot be read or written: status 1 and one line that says
// what went wrong (the system's reason for a file that cannot be written,
// the limit for a picture too large to load at its own size). Nothing is
// written either way. (--help and a missing command: Install.CommandLine.)
TEST_F(BatchTool, RefusalsExitWithTheirStatusAndReasonWritingNothing) {
    // 10001 x 10000 pixels declared by a 54-byte header.
    std::vector<uint8_t> huge = {'B', 'M', 0, 0,    0,    0, 0, 0,    0,    0, 54, 0, 0, 0,  40,
                                 0,   0,   0, 0x11, 0x27, 0, 0, 0x10, 0x27, 0, 0,  1, 0, 24, 0};
    huge.resize(54, 0);
    ASSERT_TRUE(WriteWholeFile(dir_.File("huge.bmp"), huge));
    ASSERT_TRUE(WriteWholeFile(dir_.File("junk.jpg"), {0xFF, 0xD8, 0x00, 0x01, 0x02}));
    const std::string usage = "Usage:";
    const std::string gone = dir_.File("missing.gif");
    const std::string junk = dir_.File("junk.jpg");
    const std::string noFolder = dir_.File("missing/out.bmp");
    const std::string noRecipe = dir_.File("none.json");
    const std::string noPicture = dir_.File("none.bmp");
    const std::string frame = R"(, {"op": "frame", "file": "Frame/None/None1.adm"})";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string says;
        std::string shell = "";
    } cases[] = {
        {{"frobnicate", In(), Out()}, 2, usage},
        {{"load", In()}, 2, usage},
        {{"load", "--box", "10", In(), Out()}, 2, usage},
        {{"load", "--sideways", In(), Out()}, 2, usage},
        {{"load", "--mask", "--into", In(), Out()}, 2, "--mask and --into cannot go together"},
        {{"resample", "0", "10", In(), Out()}, 2, usage},
        {{"place", "1", "2", "zz0000", In(), Out()}, 2, usage},
        {{"adjust", "sharpness", "10", In(), Out()}, 2, usage},
        {{"adjust", "brightness", "101", In(), Out()}, 2, usage},
        {{"adjust", "hue", "ten", In(), Out()}, 2, usage},
        {{"tones", "#ff0000", In(), Out()}, 2, usage},
        {{"paint", "acrylic", In(), Out()}, 2, usage},
        {{"paint", "oil", "--seed", "-3", In(), Out()}, 2, usage},
        {{"save", In()}, 2, usage},
        {{"apply", Recipe(""), In(), Out(), "--size", "0"}, 2, "--size needs"},
        {{"apply", Recipe(""), In(), Out(), "--size", "36"}, 2, "--size needs"},
        {{"apply", Recipe(""), In(), Out(), "--size", "99999999999999999999"}, 2, "--size needs"},
        {{"apply", Recipe(""), In(), Out(), "--sise", "2"}, 2, "unknown option --sise"},

        {{"save", In(), noFolder}, 1, "cannot write " + noFolder + ": No such file or directory\n"},
        // A file size limit makes writes fail as a full disk does.
        {{"save", In(), Out()},
         1,
         "cannot write " + Out() + ": File too large\n",
         "trap '' XFSZ; ulimit -f 1; "},
        {{"load", dir_.File("huge.bmp"), Out()}, 1, "more than 100 megapixels"},
        {{"adjust", "hue", "5", dir_.File("huge.bmp"), Out()}, 1, "more than 100 megapixels"},
        {{"load", gone, Out()}, 1, "cannot open " + gone},
        {{"load", dir_.File("notes.txt"), Out()}, 1, "not a picture name"},
        {{"load", "--into", junk, Out()}, 1, "cannot decode " + junk},
        {{"load", "--into", gone, Out()}, 1, "cannot open " + gone},
        {{"load", "--box", "176", "180", junk, Out()}, 1, "cannot decode " + junk},
        {{"save", junk, Out()}, 1, "cannot decode " + junk},
        {{"paint", "wax", "--seed", "1", gone, Out()}, 1, "cannot open " + gone},
        {{"apply", Written(R"({"fotakle_recipe": 1, "steps": [)"), In(), Out()}, 1, "not JSON"},
        {{"apply", Written("[]"), In(), Out()}, 1, "not a recipe"},
        {{"apply", Recipe(R"(, {"op": "sepia"})"), In(), Out()},
         1,
         R"(step 1: unknown step "sepia")"},
        {{"apply", Recipe(R"(, {"op": "move", "x": "left", "y": 0})"), In(), Out()},
         1,
         R"(step 1: "x" is missing)"},
        {{"apply", Recipe(frame), In(), Out(), "--assets", "/nowhere"},
         1,
         "step 1: the decoration Frame/None/None1.adm is not in /nowhere"},
        {{"apply", noRecipe, In(), Out()}, 1, "cannot read " + noRecipe},
        {{"apply", Recipe(""), noPicture, Out()}, 1, "cannot decode " + noPicture},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.says);
        const RunResult result = RunBatch(c.args, dir_, c.shell);
        EXPECT_EQ(result.exitCode, c.status);
        EXPECT_NE(result.errors.find(c.says), std::string::npos) << result.errors;
        if (c.status == 1) {
            EXPECT_EQ(std::count(result.errors.begin(), result.errors.end(), '\n'), 1)
                << result.errors;
        }
        EXPECT_FALSE(std::filesystem::exists(Out()));
    }
    // The picture too large at its own size loads into a box, reduced (and
    // damaged: its rows are missing).
    const RunResult boxed =
        RunBatch({"load", "--box", "176", "180", dir_.File("huge.bmp"), Out()}, dir_);
    EXPECT_EQ(boxed.exitCode, 0) << boxed.errors;
    EXPECT_EQ(boxed.output, "200 180\n");
}

TEST_F(BatchTool, LoadPrintsTheLoaderSizesAndWritesThePicture) {
    EXPECT_EQ(Succeeds({"load", In(), Out()}), "100 100\n");
    EXPECT_EQ(ReadWholeFile(Out()), ReadWholeFile(In()));
    // Into the canvas as the loader places it; the outputs keep the box.
    EXPECT_EQ(Succeeds({"load", "--into", In(), Out()}), "176 180\n");
    DibBlock canvas = FilledCanvas(0x55);
    ASSERT_TRUE(LoadPictureInto(In(), *canvas, LoadRequest()).Ok());
    EXPECT_EQ(FirstDifference(canvas.get(), LoadBmp(Out()).get()), "");
    EXPECT_EQ(PixelAt(canvas.get(), 37, 40), 0u) << "the border is black";
    EXPECT_EQ(Succeeds({"load", "--box", "50", "50", In(), Out()}), "50 50\n");
}

TEST_F(BatchTool, MasksAreWrittenAsGreyEightBitPictures) {
    // A JPEG mask: the blue channel of a flat picture as 8-bit levels.
    const DibBlock flat = MakePicture(12, 12, [](int32_t, int32_t) { return 0x5A0AC8u; });
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

    // The fill is red, green, blue: 0000FF is blue.
    DibBlock placed = Made({"place", "38", "40", "0000FF", In(), Out()});
    ASSERT_TRUE(placed);
    EXPECT_EQ(PixelAt(placed.get(), 0, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(placed.get(), 37, 40), 0x0000FFu);
    EXPECT_EQ(PixelAt(placed.get(), 38, 40), PixelAt(pattern_.get(), 0, 0));
    EXPECT_EQ(PixelAt(placed.get(), 175, 179), 0x0000FFu);

    // save writes what SavePicture makes of the name (PictureType and the
    // writers' tests check each format): a PNG here, with the very pixels.
    Succeeds({"save", In(), dir_.File("copy.PNG")});
    const std::vector<uint8_t> png = ReadWholeFile(dir_.File("copy.PNG"));
    ASSERT_GT(png.size(), 4u);
    EXPECT_EQ(std::vector<uint8_t>(png.begin(), png.begin() + 4),
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
    const DibBlock grey = MakePicture(4, 4, [](int32_t, int32_t) { return 0x7F7F7Fu; });
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

// A damaged picture: one warning line naming it, status 0, the part that
// was read written out; the source stays as it was. Whole, the same file
// loads without a word. The tool warns on the loader's damaged flag alone,
// which DamagedPicture checks for every format.
TEST_F(BatchTool, DamagedPicturesWarnOnceAndGoOn) {
    for (const char* name : {"cut.jpg", "cut.png"}) {
        SCOPED_TRACE(name);
        const std::string path = dir_.File(name);
        ASSERT_TRUE(SavePicture(path, *pattern_).Ok());
        EXPECT_EQ(Succeeds({"load", path, Out()}), "100 100\n");
        std::vector<uint8_t> bytes = ReadWholeFile(path);
        bytes.resize(bytes.size() * 6 / 10);
        ASSERT_TRUE(WriteWholeFile(path, bytes));
        std::filesystem::remove(Out());

        const std::string warning =
            "fotakle-batch: warning: " + path + " is damaged: only part of it could be read\n";
        RunResult result = RunBatch({"load", "--into", path, Out()}, dir_);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.output, "176 180\n");
        EXPECT_EQ(result.errors, warning);
        EXPECT_TRUE(LoadBmp(Out()));

        result = RunBatch({"save", path, dir_.File("copy.png")}, dir_);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.errors, warning);
        EXPECT_TRUE(LoadBmp(dir_.File("copy.png")));
        EXPECT_EQ(ReadWholeFile(path), bytes) << "the source was written";
    }
}

// apply does a recipe's steps to another picture: here Brightness at 40,
// which is what load --into and adjust make of it.
TEST_F(BatchTool, ApplyDoesARecipesStepsToAnotherPicture) {
    const std::string recipe = Recipe(R"(, {"op": "adjust", "kind": "brightness", "level": 40, )"
                                      R"("x": 0, "y": 0, "fill": "000000"})");
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
        int32_t width, height;
    } sizes[] = {{"2", 352, 360}, {"full", 528, 540}};
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
