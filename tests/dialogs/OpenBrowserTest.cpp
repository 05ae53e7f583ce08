// The Open browser's model: filling, the selection and its scrolling, the
// layout the painter draws, the info texts and the thumbnails.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/OpenBrowser.h"
#include "image/SavePicture.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;

// Found by the assertions through BrowserRect's own namespace.
static bool operator==(const BrowserRect& a, const BrowserRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& out, const BrowserRect& r) {
    return out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

void Touch(const std::string& path) {
    ASSERT_TRUE(WriteWholeFile(path, {1}));
}

// A picture file of this size, in the format its name says.
void WritePicture(const std::string& path, int32_t width, int32_t height) {
    const DibBlock image = MakePatternImage(width, height);
    ASSERT_EQ(SavePicture(path, image.get(), nullptr), 1) << path;
}

std::vector<std::string> Names(const OpenBrowser& browser) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < browser.Count(); ++i) {
        names.push_back(browser.Entry(i).name);
    }
    return names;
}

std::vector<int32_t> Shown(const BrowserLayout& layout) {
    std::vector<int32_t> shown;
    for (const BrowserRowLayout& row : layout.rows) {
        shown.push_back(row.index);
    }
    return shown;
}

// A folder of n small files named 0.jpg, 1.jpg, ...
class BrowserFolder {
  public:
    explicit BrowserFolder(int n) {
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
         {"b.JPG", "a.jpeg", "C.Bmp", "d.gif", "e.ADM", "notes.txt", "jpg", "x.jpg.txt", "B.jpg"}) {
        Touch(dir.File(name));
    }
    fs::create_directory(dir.File("folder.jpg"));  // a folder is never listed
    fs::create_symlink("C.Bmp", dir.File("link.bmp"));
    fs::create_symlink("missing.bmp", dir.File("dead.bmp"));

    const OpenBrowser browser(dir.Path() + "/", "No Files !");
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"a.jpeg", "B.jpg", "b.JPG", "C.Bmp",
                                                        "d.gif", "e.ADM", "link.bmp"}));
    EXPECT_EQ(browser.Selection(), 0);
    EXPECT_EQ(browser.Top(), 0);
    EXPECT_EQ(browser.Rows(), 3);
    EXPECT_TRUE(browser.Layout().noFilesText.empty());
}

TEST(OpenBrowser, AnEmptyOrMissingFolderShowsNoFilesAndNoArrows) {
    TempDir dir;
    Touch(dir.File("readme.txt"));
    for (const std::string& folder : {dir.Path(), dir.File("missing"), std::string()}) {
        SCOPED_TRACE(folder);
        OpenBrowser browser(folder, "No Files !");
        EXPECT_EQ(browser.Count(), 0);
        EXPECT_EQ(browser.Selection(), -1);
        EXPECT_FALSE(browser.Next());
        EXPECT_FALSE(browser.Previous());
        EXPECT_FALSE(browser.Accept());
        EXPECT_EQ(browser.SelectedPath(), "");
        const BrowserLayout layout = browser.Layout();
        EXPECT_EQ(layout.noFilesText, "No Files !");
        EXPECT_EQ(layout.noFilesRect, (BrowserRect{2, 2, 174, 178}));
        EXPECT_TRUE(layout.rows.empty());
        EXPECT_FALSE(layout.upArrow || layout.downArrow);
    }
}

TEST(OpenBrowser, SelectionScrollsByOneRowAtBothEndsAndNeverWraps) {
    BrowserFolder folder(5);
    OpenBrowser browser(folder.dir.Path(), "");
    EXPECT_FALSE(browser.Previous());
    std::vector<std::pair<int, int>> steps;  // selection, top after each move
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(browser.Next(), i < 4);
        steps.push_back({browser.Selection(), browser.Top()});
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(browser.Previous(), i < 4);
        steps.push_back({browser.Selection(), browser.Top()});
    }
    EXPECT_EQ(steps,
              (std::vector<std::pair<int, int>>{
                  {1, 0}, {2, 0}, {3, 1}, {4, 2}, {4, 2}, {3, 2}, {2, 2}, {1, 1}, {0, 0}, {0, 0}}));
    browser.Next();
    browser.Next();
    browser.Next();
    EXPECT_EQ(Shown(browser.Layout()), (std::vector<int32_t>{1, 2, 3}));
}

TEST(OpenBrowser, ArrowsShowOnlyWhenEntriesLieBeyondTheScreen) {
    BrowserFolder three(3);
    OpenBrowser exact(three.dir.Path(), "");
    for (int i = 0; i < 3; ++i) {
        const BrowserLayout layout = exact.Layout();
        EXPECT_FALSE(layout.upArrow || layout.downArrow) << i;
        exact.Next();
    }

    BrowserFolder four(4);
    OpenBrowser browser(four.dir.Path(), "");
    std::vector<std::pair<bool, bool>> arrows;  // up, down at selections 0 .. 3
    for (int i = 0; i < 4; ++i) {
        const BrowserLayout layout = browser.Layout();
        arrows.push_back({layout.upArrow, layout.downArrow});
        browser.Next();
    }
    EXPECT_EQ(arrows, (std::vector<std::pair<bool, bool>>{
                          {false, true}, {true, true}, {true, true}, {true, false}}));
}

TEST(OpenBrowser, LayoutOfThePhonePictureArea) {
    BrowserFolder folder(4);
    OpenBrowser browser(folder.dir.Path(), "");
    browser.Next();
    const BrowserLayout layout = browser.Layout();
    EXPECT_EQ(layout.client, (BrowserRect{0, 0, 176, 180}));
    EXPECT_EQ(layout.listFrame, (BrowserRect{2, 2, 174, 158}));
    ASSERT_EQ(layout.rows.size(), 3u);
    const BrowserRowLayout& first = layout.rows[0];
    EXPECT_FALSE(first.selected);
    EXPECT_TRUE(layout.rows[1].selected);
    EXPECT_EQ(first.cell, (BrowserRect{4, 4, 172, 48}));
    EXPECT_EQ(first.thumbnailBox, (BrowserRect{6, 6, 50, 46}));
    EXPECT_EQ(first.nameRect, (BrowserRect{54, 4, 172, 26}));
    EXPECT_EQ(first.infoRect, (BrowserRect{54, 27, 172, 48}));
    EXPECT_EQ(layout.rows[2].cell, (BrowserRect{4, 100, 172, 144}));
    EXPECT_EQ(first.name, "0.jpg");
    EXPECT_EQ(first.info.substr(0, 3), "1B ");
    EXPECT_EQ(first.thumbnail, nullptr);  // nothing loaded yet

    // The arrows sit in the strip below the list, around its middle.
    EXPECT_EQ(layout.upTriangle[0].x, 88);
    EXPECT_EQ(layout.upTriangle[0].y, 163);
    EXPECT_EQ(layout.upTriangle[1].x, 84);
    EXPECT_EQ(layout.upTriangle[2].y, 167);
    EXPECT_EQ(layout.downTriangle[0].y, 175);
    EXPECT_EQ(layout.downTriangle[2].x, 92);
    EXPECT_EQ(layout.downTriangle[2].y, 171);
}

TEST(OpenBrowser, SizeTextAtItsBoundariesAndBeyondFourGigabytes) {
    EXPECT_EQ(BrowserSizeText(0), "0B");
    EXPECT_EQ(BrowserSizeText(1023), "1023B");
    EXPECT_EQ(BrowserSizeText(1024), "1K");
    EXPECT_EQ(BrowserSizeText(2047), "1K");
    EXPECT_EQ(BrowserSizeText(2048), "2K");

    // A sparse file of 5 GB: the whole size, not its low 32 bits (1 GB).
    TempDir dir;
    Touch(dir.File("huge.jpg"));
    std::error_code error;
    fs::resize_file(dir.File("huge.jpg"), uint64_t{5} << 30, error);
    if (error) {
        GTEST_SKIP() << "no sparse 5 GB file here: " << error.message();
    }
    const OpenBrowser browser(dir.Path(), "");
    ASSERT_EQ(browser.Count(), 1);
    EXPECT_EQ(browser.Entry(0).size, uint64_t{5} << 30);
    EXPECT_EQ(browser.Layout().rows.at(0).info.substr(0, 9), "5242880K ");
}

TEST(OpenBrowser, DateTextIsTheLastWriteInLocalTime) {
    const char* old = getenv("TZ");
    const std::string saved = old != nullptr ? old : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(BrowserDateText(1089360359), "2004/07/09 08:05");  // 08:05:59 UTC
    EXPECT_EQ(BrowserDateText(946684800), "2000/01/01 00:00");
    setenv("TZ", "EST5", 1);  // five hours behind: the previous day
    tzset();
    EXPECT_EQ(BrowserDateText(946684800), "1999/12/31 19:00");

    TempDir dir;
    Touch(dir.File("a.jpg"));
    const struct timespec times[2] = {{1089360359, 0}, {1089360359, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, dir.File("a.jpg").c_str(), times, 0), 0);
    const OpenBrowser browser(dir.Path(), "");
    EXPECT_EQ(browser.Layout().rows.at(0).info, "1B 2004/07/09 03:05");

    if (old != nullptr) {
        setenv("TZ", saved.c_str(), 1);
    } else {
        unsetenv("TZ");
    }
    tzset();
}

TEST(OpenBrowser, ThumbnailsAreCroppedToTheirCentreOrCentredInTheirFrame) {
    const BrowserRect box = {6, 6, 50, 46};  // 44 x 40
    const ThumbnailPlacement wide = PlaceThumbnail(box, 48, 36);
    EXPECT_EQ(wide.sourceX, 2);
    EXPECT_EQ(wide.sourceY, 0);
    EXPECT_EQ(wide.width, 44);
    EXPECT_EQ(wide.height, 36);
    EXPECT_EQ(wide.x, 6);
    EXPECT_EQ(wide.y, 8);
    EXPECT_EQ(wide.frame, (BrowserRect{4, 6, 52, 46}));

    const ThumbnailPlacement tall = PlaceThumbnail(box, 36, 55);
    EXPECT_EQ(tall.sourceX, 0);
    EXPECT_EQ(tall.sourceY, 7);  // (55 - 40) / 2, truncated
    EXPECT_EQ(tall.width, 36);
    EXPECT_EQ(tall.height, 40);
    EXPECT_EQ(tall.x, 10);
    EXPECT_EQ(tall.y, 6);

    const ThumbnailPlacement small = PlaceThumbnail(box, 21, 10);
    EXPECT_EQ(small.sourceX, 0);
    EXPECT_EQ(small.width, 21);
    EXPECT_EQ(small.x, 17);  // 6 + 23 / 2
    EXPECT_EQ(small.y, 21);
    EXPECT_EQ(small.frame, (BrowserRect{15, 19, 40, 33}));
}

TEST(OpenBrowser, ThumbnailsLoadForTheRowsOnScreenOnceEvenWhenTheyFail) {
    TempDir dir;
    WritePicture(dir.File("a.jpg"), 300, 200);
    ASSERT_TRUE(WriteWholeFile(dir.File("b.jpg"), {0xFF, 0xD8, 0xFF, 0x00}));  // undecodable
    WritePicture(dir.File("c.bmp"), 20, 10);
    WritePicture(dir.File("d.bmp"), 40, 60);

    OpenBrowser browser(dir.Path(), "");
    EXPECT_TRUE(browser.ThumbnailsPending());
    EXPECT_EQ(browser.LoadVisibleThumbnails(), 3);
    EXPECT_FALSE(browser.ThumbnailsPending());
    BrowserLayout layout = browser.Layout();
    ASSERT_NE(layout.rows[0].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[0].thumbnail->header.biWidth, 54);  // covers 36 x 36
    EXPECT_EQ(layout.rows[0].thumbnail->header.biHeight, 36);
    EXPECT_EQ(layout.rows[0].placement.sourceX, 5);
    EXPECT_EQ(layout.rows[0].placement.width, 44);
    EXPECT_EQ(layout.rows[1].thumbnail, nullptr);
    ASSERT_NE(layout.rows[2].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[2].thumbnail->header.biWidth, 20);  // never enlarged
    EXPECT_EQ(layout.rows[2].placement.x, 6 + 12);

    // The failed file is not decoded again, even once it has become readable.
    WritePicture(dir.File("b.jpg"), 50, 50);
    EXPECT_EQ(browser.LoadVisibleThumbnails(), 0);
    EXPECT_EQ(browser.Layout().rows[1].thumbnail, nullptr);

    // Scrolling brings the fourth row and its thumbnail only.
    browser.Next();
    browser.Next();
    EXPECT_FALSE(browser.ThumbnailsPending());
    browser.Next();
    EXPECT_TRUE(browser.ThumbnailsPending());
    EXPECT_EQ(browser.LoadVisibleThumbnails(), 1);
    layout = browser.Layout();
    ASSERT_NE(layout.rows[2].thumbnail, nullptr);
    EXPECT_EQ(layout.rows[2].placement.sourceY, 7);  // 36 x 54 shows its middle 40 rows
}

TEST(OpenBrowser, AcceptJoinsTheSelectedNameAndChangeFolderRefills) {
    BrowserFolder first(4);
    BrowserFolder second(2);
    Touch(second.dir.File("A.jpg"));

    OpenBrowser browser(first.dir.Path() + "/", "");
    browser.Next();
    browser.Next();
    browser.Next();
    // The same folder in other letters: nothing happens.
    std::string shouted = first.dir.Path() + "/";
    for (char& c : shouted) {
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_FALSE(browser.ChangeFolder(shouted));
    EXPECT_EQ(browser.Selection(), 3);

    EXPECT_TRUE(browser.ChangeFolder(second.dir.Path()));
    EXPECT_EQ(browser.Folder(), second.dir.Path());
    EXPECT_EQ(Names(browser), (std::vector<std::string>{"0.jpg", "1.jpg", "A.jpg"}));
    EXPECT_EQ(browser.Selection(), 0);
    EXPECT_EQ(browser.Top(), 0);

    browser.Next();
    EXPECT_TRUE(browser.Accept());
    EXPECT_EQ(browser.SelectedPath(), second.dir.File("1.jpg"));
    EXPECT_EQ(browser.Count(), 0);

    OpenBrowser trailing(first.dir.Path() + "/", "");
    EXPECT_TRUE(trailing.Accept());
    EXPECT_EQ(trailing.SelectedPath(), first.dir.File("0.jpg"));  // no doubled "/"
}
