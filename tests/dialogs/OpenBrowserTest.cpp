// The Open browser's model: filling, the selection and its scrolling, the
// layout the painter draws, the info texts and the thumbnails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "dialogs/OpenBrowser.h"
#include "image/SavePicture.h"
#include "support/ExifTestSupport.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

using Ints = std::vector<int32_t>;

void Touch(const std::string& path) {
    ASSERT_TRUE(WriteWholeFile(path, {1}));
}

void WritePicture(const std::string& path, int32_t width, int32_t height) {
    const DibBlock image = MakePatternImage(width, height);
    ASSERT_TRUE(SavePicture(path, *image).Ok()) << path;
}

std::vector<std::string> Names(const OpenBrowser& browser) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < browser.Count(); ++i) {
        names.push_back(browser.Entry(i).name);
    }
    return names;
}

// Runs every job the browser hands out and puts the results, as a shell
// would; the entries the jobs were for.
Ints RunJobs(OpenBrowser& browser) {
    Ints indexes;
    for (const ThumbnailJob& job : browser.ThumbnailJobs()) {
        indexes.push_back(job.index);
        EXPECT_TRUE(browser.PutThumbnail(job, MakeThumbnail(job.path)));
    }
    return indexes;
}

// A folder of n one-byte files named 0.jpg, 1.jpg, ...
struct NumberedFolder {
    explicit NumberedFolder(int n) {
        for (int i = 0; i < n; ++i) {
            Touch(dir.File(std::to_string(i) + ".jpg"));
        }
    }
    TempDir dir;
};

}  // namespace

TEST(OpenBrowser, ListsPictureFilesOfAnyCaseSortedByName) {
    TempDir dir;
    for (const char* name :
         {"b.JPG", "a.jpeg", "C.Bmp", "d.gif", "e.ADM", "B.jpg", "notes.txt", "jpg", "x.jpg.txt"}) {
        Touch(dir.File(name));
    }
    fs::create_directory(dir.File("folder.jpg"));
    fs::create_symlink("C.Bmp", dir.File("link.bmp"));
    fs::create_symlink("missing.bmp", dir.File("dead.bmp"));
    const OpenBrowser browser(dir.Path() + "/", "No Files !");
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"a.jpeg", "B.jpg", "b.JPG", "C.Bmp",
                                                        "d.gif", "e.ADM", "link.bmp"}));
    EXPECT_EQ(browser.Selection(), 0);
    EXPECT_EQ(browser.Rows(), 3);
    EXPECT_TRUE(browser.Layout().noFilesText.empty());

    for (const std::string& folder : {dir.File("folder.jpg"), dir.File("missing")}) {
        OpenBrowser empty(folder, "No Files !");
        EXPECT_EQ(empty.Selection(), -1);
        EXPECT_FALSE(empty.Next() || empty.Previous() || empty.Accept());
        const BrowserLayout layout = empty.Layout();
        EXPECT_EQ(layout.noFilesText, "No Files !");
        EXPECT_TRUE(layout.rows.empty());
        EXPECT_FALSE(layout.upArrow || layout.downArrow);
    }
}

// The arrows show while there are entries beyond the screen and the
// selection can move towards them.
TEST(OpenBrowser, SelectionScrollsByOneRowAtBothEndsAndNeverWraps) {
    NumberedFolder folder(5);
    OpenBrowser browser(folder.dir.Path(), "");
    Ints steps;  // selection, top, up and down arrows after each move: 5 down, then 5 up
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(i < 5 ? browser.Next() : browser.Previous(), i % 5 != 4);
        const BrowserLayout layout = browser.Layout();
        steps.insert(steps.end(),
                     {browser.Selection(), browser.Top(), layout.upArrow, layout.downArrow});
    }
    EXPECT_EQ(steps, (Ints{1, 0, 1, 1, 2, 0, 1, 1, 3, 1, 1, 1, 4, 2, 1, 0, 4, 2, 1, 0,
                           3, 2, 1, 1, 2, 2, 1, 1, 1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_FALSE(browser.Previous());

    NumberedFolder three(3);
    OpenBrowser fits(three.dir.Path(), "");
    for (int i = 0; i < 3; ++i, fits.Next()) {
        EXPECT_FALSE(fits.Layout().upArrow || fits.Layout().downArrow) << i;
    }
}

// The info line: the whole size (a sparse file of 5 GB shows all of it, not
// its low 32 bits) and the time written, in local time.
TEST(OpenBrowser, InfoLineGivesTheWholeSizeAndTheLocalDate) {
    const std::pair<uint64_t, const char*> files[] = {
        {1023, "1023B"}, {1024, "1K"}, {2047, "1K"}, {2048, "2K"}, {uint64_t{5} << 30, "5242880K"}};
    TempDir dir;
    std::error_code sparse;
    const struct timespec times[2] = {{1089360359, 0}, {1089360359, 0}};  // 2004-07-09 08:05:59
    for (size_t i = 0; i < std::size(files); ++i) {
        const std::string path = dir.File(std::to_string(i) + ".jpg");
        Touch(path);
        fs::resize_file(path, files[i].first, sparse);
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    const char* zone = getenv("TZ");
    const std::string savedZone = zone != nullptr ? zone : "";
    setenv("TZ", "EST5", 1);  // five hours behind UTC
    tzset();
    OpenBrowser browser(dir.Path(), "");
    std::vector<std::string> infos;
    for (int32_t i = 0; i < browser.Count(); ++i, browser.Next()) {
        for (const BrowserRowLayout& row : browser.Layout().rows) {
            if (row.index == i) {
                infos.push_back(row.info);
            }
        }
    }
    if (zone != nullptr) {
        setenv("TZ", savedZone.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
    ASSERT_EQ(infos.size(), std::size(files));
    for (size_t i = 0; i < infos.size(); ++i) {
        const bool shortFile = i + 1 == infos.size() && sparse;
        EXPECT_EQ(infos[i], std::string(shortFile ? "1B" : files[i].second) + " 2004/07/09 03:05");
    }
    if (sparse) {
        GTEST_SKIP() << "no sparse 5 GB file here: " << sparse.message();
    }
}

TEST(OpenBrowser, ThumbnailsAreAskedForOnScreenThenAheadAndOnceEvenWhenTheyFail) {
    TempDir dir;
    WritePicture(dir.File("a.jpg"), 300, 200);
    ASSERT_TRUE(WriteWholeFile(dir.File("b.jpg"), {0xFF, 0xD8, 0xFF, 0x00}));  // undecodable
    WritePicture(dir.File("c.bmp"), 20, 10);
    WritePicture(dir.File("d.bmp"), 40, 60);
    for (const char* name : {"e.bmp", "f.bmp", "g.bmp", "h.bmp"}) {
        WritePicture(dir.File(name), 8, 8);
    }
    OpenBrowser browser(dir.Path(), "");
    EXPECT_TRUE(browser.ThumbnailsPending());
    BrowserLayout layout = browser.Layout();
    for (const BrowserRowLayout& row : layout.rows) {
        EXPECT_TRUE(row.thumbnailPending && row.thumbnail == nullptr);
    }
    // The placeholder takes a square thumbnail's place, centred in the
    // 44 x 40 box.
    const ThumbnailPlacement& waiting = layout.rows[0].placement;
    EXPECT_EQ((Ints{waiting.x, waiting.y, waiting.width, waiting.height}), (Ints{10, 8, 36, 36}));

    EXPECT_EQ(RunJobs(browser), (Ints{0, 1, 2, 3, 4, 5}));  // three on screen, three ahead
    EXPECT_FALSE(browser.ThumbnailsPending());
    layout = browser.Layout();
    ASSERT_NE(layout.rows[0].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[0].thumbnail->header.biWidth, 54);  // covers 36 x 36
    EXPECT_EQ(layout.rows[0].placement.sourceX, 5);
    EXPECT_EQ(layout.rows[1].thumbnail, nullptr);
    EXPECT_FALSE(layout.rows[1].thumbnailPending);
    ASSERT_NE(layout.rows[2].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[2].thumbnail->header.biWidth, 20);  // never enlarged

    // The failed file is not asked for again, even once it has become
    // readable.
    WritePicture(dir.File("b.jpg"), 50, 50);
    EXPECT_TRUE(browser.ThumbnailJobs().empty());

    // Three rows down, the rows ahead are 4 to 6, and only 6 is new.
    for (int i = 0; i < 3; ++i) {
        browser.Next();
    }
    EXPECT_FALSE(browser.ThumbnailsPending());
    EXPECT_EQ(RunJobs(browser), (Ints{6}));
    layout = browser.Layout();
    ASSERT_NE(layout.rows[2].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[2].placement.sourceY, 7);  // 36 x 54 shows its middle 40 rows
    EXPECT_EQ(
        Ints({browser.OnScreen(0), browser.OnScreen(1), browser.OnScreen(3), browser.OnScreen(4)}),
        (Ints{0, 1, 1, 0}));
}

TEST(OpenBrowser, AResultIsTakenOnlyByTheEntryItWasMadeFor) {
    TempDir first;
    TempDir second;
    for (const TempDir* dir : {&first, &second}) {
        WritePicture(dir->File("a.bmp"), 8, 8);
        WritePicture(dir->File("b.bmp"), 8, 8);
    }
    OpenBrowser browser(first.Path(), "");
    const std::vector<ThumbnailJob> jobs = browser.ThumbnailJobs();
    ASSERT_EQ(jobs.size(), 2u);
    const ThumbnailJob& job = jobs[0];
    EXPECT_EQ(job.path, first.File("a.bmp"));

    std::vector<ThumbnailJob> strangers(6, job);
    strangers[0].path = second.File("a.bmp");  // another folder's file
    strangers[1].size += 1;                    // the file changed since it was listed
    strangers[2].written += 1;
    strangers[3].index = 1;  // another entry's place
    strangers[4].index = 2;  // past the list
    strangers[5].index = -1;
    for (const ThumbnailJob& stranger : strangers) {
        EXPECT_FALSE(browser.PutThumbnail(stranger, MakePatternImage(36, 36)));
    }
    EXPECT_TRUE(browser.Layout().rows[0].thumbnailPending);

    EXPECT_TRUE(browser.PutThumbnail(job, MakePatternImage(36, 36)));
    EXPECT_FALSE(browser.PutThumbnail(job, MakePatternImage(20, 20)));  // tried already
    EXPECT_EQ(browser.Entry(0).thumbnail->header.biWidth, 36);
    // A thumbnail that is not 24-bit counts as a failure.
    EXPECT_TRUE(browser.PutThumbnail(jobs[1], DibCreate(36, 36, 8)));
    EXPECT_EQ(browser.Entry(1).thumbnail, nullptr);
    EXPECT_FALSE(browser.Layout().rows[1].thumbnailPending);
}

TEST(OpenBrowser, AReleasedListsThumbnailsServeTheNextListOfItsFolder) {
    TempDir dir;
    TempDir elsewhere;
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
        WritePicture(dir.File(name), 8, 8);
    }
    WritePicture(elsewhere.File("a.bmp"), 8, 8);
    OpenBrowser browser(dir.Path(), "");
    EXPECT_EQ(RunJobs(browser), (Ints{0, 1, 2, 3}));
    const DibImage* madeForA = browser.Entry(0).thumbnail.get();
    browser.Cancel();
    ThumbnailShelf shelf = browser.TakeThumbnails();
    EXPECT_EQ(shelf.folder, dir.Path());
    EXPECT_EQ(shelf.entries.size(), 4u);
    EXPECT_TRUE(browser.TakeThumbnails().entries.empty());  // taken once

    // b.bmp was written again since: only it is asked for.
    WritePicture(dir.File("b.bmp"), 9, 9);
    OpenBrowser again(dir.Path(), "");
    again.AdoptThumbnails(std::move(shelf));
    EXPECT_EQ(again.Entry(0).thumbnail.get(), madeForA);
    EXPECT_EQ(RunJobs(again), (Ints{1}));
    // Another folder's list takes none of them.
    OpenBrowser other(elsewhere.Path(), "");
    other.AdoptThumbnails(again.TakeThumbnails());
    EXPECT_EQ(other.ThumbnailJobs().size(), 1u);
}

// A main picture red on top and yellow below, and embedded thumbnails blue
// on top and cyan below: which one a thumbnail comes from, and which way up
// it stands, shows in its colours.
TEST(OpenBrowser, MakeThumbnailUsesAnEmbeddedThumbnailThatCoversTheBox) {
    TempDir dir;
    const auto jpeg = [&](int32_t width, int32_t height, uint32_t top, uint32_t bottom) {
        // Row 0 in memory is the bottom one on screen.
        const DibBlock picture = MakePicture(
            width, height, [&](int32_t, int32_t y) { return y >= height / 2 ? top : bottom; });
        const std::string path = dir.File("encoded.jpg");
        EXPECT_TRUE(SavePicture(path, *picture).Ok());
        return ReadWholeFile(path);
    };
    constexpr uint32_t kRed = 0xFF0000;
    constexpr uint32_t kYellow = 0xFFFF00;
    constexpr uint32_t kBlue = 0x0000FF;
    constexpr uint32_t kCyan = 0x00FFFF;
    const std::vector<uint8_t> photo = jpeg(320, 240, kRed, kYellow);
    const std::vector<uint8_t> large = jpeg(160, 120, kBlue, kCyan);
    const std::vector<uint8_t> small = jpeg(40, 30, kBlue, kCyan);
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        uint32_t first, second;  // the colours of the first and second half shown
        bool sideways;           // the halves lie left and right, not top and bottom
    };
    const auto exif = [&](const ExifBlockOptions& spec) {
        return WithExifSegment(photo, MakeExifBlock(spec));
    };
    const Case cases[] = {
        {"no EXIF", photo, kRed, kYellow, false},
        {"large", exif({1, false, large}), kBlue, kCyan, false},
        {"large, turned", exif({6, true, large}), kCyan, kBlue, true},
        {"too small", exif({1, false, small}), kRed, kYellow, false},
        {"undecodable", exif({1, false, {1, 2, 3}}), kRed, kYellow, false},
        {"none, turned", exif({8, false, {}}), kRed, kYellow, true},
    };
    const auto near = [](uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8) {
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                         static_cast<int>((b >> shift) & 0xFF)) > 24) {
                return false;
            }
        }
        return true;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.File("photo.jpg");
        ASSERT_TRUE(WriteWholeFile(path, c.file));
        const DibBlock thumbnail = MakeThumbnail(path);
        ASSERT_TRUE(thumbnail);
        const int32_t width = thumbnail->header.biWidth;
        const int32_t height = thumbnail->header.biHeight;
        EXPECT_EQ((Ints{width, height}), c.sideways ? (Ints{36, 48}) : (Ints{48, 36}));
        // Rows lie bottom-up: the first half shown is the top (last rows) or
        // the left.
        const uint32_t first = c.sideways ? PixelAt(thumbnail.get(), 2, height / 2)
                                          : PixelAt(thumbnail.get(), width / 2, height - 3);
        const uint32_t second = c.sideways ? PixelAt(thumbnail.get(), width - 3, height / 2)
                                           : PixelAt(thumbnail.get(), width / 2, 2);
        EXPECT_TRUE(near(first, c.first)) << std::hex << first;
        EXPECT_TRUE(near(second, c.second)) << std::hex << second;
    }
    EXPECT_FALSE(MakeThumbnail(dir.File("missing.jpg")));
}

TEST(OpenBrowser, AcceptJoinsTheSelectedNameAndChangeFolderRefills) {
    NumberedFolder first(4);
    NumberedFolder second(2);
    OpenBrowser browser(first.dir.Path() + "/", "");
    for (int i = 0; i < 3; ++i) {
        browser.Next();
    }
    std::string shouted = first.dir.Path();
    for (char& c : shouted) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_FALSE(browser.ChangeFolder(shouted + "/"));  // the same folder: nothing happens
    EXPECT_EQ(browser.Selection(), 3);

    EXPECT_TRUE(browser.ChangeFolder(second.dir.Path()));
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"0.jpg", "1.jpg"}));
    EXPECT_EQ(browser.Selection(), 0);
    EXPECT_EQ(browser.Top(), 0);
    browser.Next();
    EXPECT_TRUE(browser.Accept());
    EXPECT_EQ(browser.SelectedPath(), second.dir.File("1.jpg"));

    OpenBrowser trailing(first.dir.Path() + "/", "");
    EXPECT_TRUE(trailing.Accept());
    EXPECT_EQ(trailing.SelectedPath(), first.dir.File("0.jpg"));  // no doubled "/"
}
