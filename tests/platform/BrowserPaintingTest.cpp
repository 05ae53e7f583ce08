// The Open browser painted in the phone window's picture area, grabbed from
// the window under the offscreen platform and checked against the model's
// layout: the white list in its frame, the selection's colour, thumbnails
// in their frames the right way up, the scroll arrows, "No Files !" in red,
// every shape crisp at the window's factor.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/BrowserPainter.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PlatformTestSupport.h"
#include "text/TextFonts.h"

namespace {

constexpr int kFactor = 3;
constexpr uint32_t kWhite = 0xffffff;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kSelection = 0x8080ff;
constexpr uint16_t kOpenCommand = 40016;

class BrowserPaintingTest : public ::testing::Test {
  protected:
    // The browser on the work folder, the test's own, with the thumbnails
    // of its rows made and delivered.
    void OpenWorkFolder() {
        editor_.Command(kOpenCommand);
        ASSERT_NE(window_.Browser(), nullptr);
        ASSERT_EQ(window_.Browser(), editor_.Browser());
        shell_.Thumbnails().WaitUntilIdle();
        QApplication::processEvents();
    }
    QImage Grab() {
        return window_.grab(PictureAreaRect(window_.PhoneRect(), window_.ScaleFactor()))
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // The colour of phone pixel (x, y) of the picture area; every window
    // pixel it covers must have it.
    static uint32_t Pixel(const QImage& shot, int x, int y) {
        const uint32_t colour = shot.pixel(x * kFactor, y * kFactor) & 0xffffff;
        for (int dy = 0; dy < kFactor; ++dy) {
            for (int dx = 0; dx < kFactor; ++dx) {
                if ((shot.pixel(x * kFactor + dx, y * kFactor + dy) & 0xffffff) != colour) {
                    ADD_FAILURE() << "phone pixel (" << x << ", " << y << ") is not crisp";
                    return 0xdeadbeef;
                }
            }
        }
        return colour;
    }
    // Window pixels inside a layout rectangle darker than mid-grey.
    static int DarkPixels(const QImage& shot, const BrowserRect& rect) {
        const QRect area(QPoint(rect.left, rect.top) * kFactor,
                         QPoint(rect.right, rect.bottom) * kFactor - QPoint(1, 1));
        return CountPixels(shot, area, [](QRgb c) { return qGray(c) < 96; });
    }
    static BrowserPoint Centre(const BrowserPoint (&triangle)[3]) {
        return {triangle[0].x, (triangle[0].y + triangle[1].y) / 2};
    }

    TempDir dir_;
    WorkFolderSettings settings_{dir_.Path()};
    EditorWindow w_{&settings_, kFactor};
    PhoneWindow& window_ = w_.window;
    QtShell& shell_ = w_.shell;
    Editor& editor_ = w_.editor;
};

TEST_F(BrowserPaintingTest, RowsThumbnailsSelectionAndArrows) {
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
        WriteTwoColourPicture(dir_.File(name), 0xff0000, 0x0000ff);
    }
    OpenWorkFolder();
    EXPECT_EQ(window_.Bar(), BAR_BROWSER);
    BrowserLayout layout = editor_.Browser()->Layout();
    ASSERT_EQ(layout.rows.size(), 3u);
    QImage shot = Grab();
    ASSERT_EQ(shot.size(), QSize(kCanvasWidth * kFactor, kCanvasHeight * kFactor));

    // White ground, the list's one-pixel black frame, white inside it.
    const BrowserRect& frame = layout.listFrame;
    EXPECT_EQ(Pixel(shot, 0, 0), kWhite);
    EXPECT_EQ(Pixel(shot, frame.left, frame.top), kBlack);
    EXPECT_EQ(Pixel(shot, frame.right - 1, frame.bottom - 1), kBlack);
    EXPECT_EQ(Pixel(shot, frame.left + 1, frame.top + 1), kWhite);
    EXPECT_EQ(Pixel(shot, frame.right, frame.bottom), kWhite);

    // The first row is selected; a corner of each cell away from the texts.
    const BrowserRowLayout& first = layout.rows[0];
    const BrowserRect firstCell = first.cell;  // kept past the next layout
    EXPECT_EQ(Pixel(shot, first.cell.right - 2, first.cell.bottom - 2), kSelection);
    EXPECT_EQ(Pixel(shot, layout.rows[1].cell.right - 2, layout.rows[1].cell.bottom - 2), kWhite);
    EXPECT_GT(DarkPixels(shot, first.nameRect), 20) << "no name drawn";
    EXPECT_GT(DarkPixels(shot, first.infoRect), 20) << "no info line drawn";

    // The thumbnail in its frame, its top row at the top.
    ASSERT_NE(first.thumbnail, nullptr);
    const ThumbnailPlacement& place = first.placement;
    EXPECT_EQ(Pixel(shot, place.frame.left, place.frame.top), kBlack);
    EXPECT_EQ(Pixel(shot, place.frame.right - 1, place.frame.bottom - 1), kBlack);
    EXPECT_EQ(Pixel(shot, place.frame.left + 1, place.frame.top + 1), kWhite);
    EXPECT_EQ(Pixel(shot, place.x + 4, place.y + 2), 0xff0000u) << "upside down";
    EXPECT_EQ(Pixel(shot, place.x + 4, place.y + place.height - 3), 0x0000ffu);

    // Four entries, the first selected: only the down arrow.
    const BrowserPoint down = Centre(layout.downTriangle);
    const BrowserPoint up = Centre(layout.upTriangle);
    EXPECT_EQ(Pixel(shot, down.x, down.y), kBlack);
    EXPECT_EQ(Pixel(shot, up.x, up.y), kWhite);

    // Down to the last entry: the rows scroll by one, only the up arrow.
    for (int i = 0; i < 3; ++i) {
        ClickKey(&window_, Qt::Key_Down);
    }
    QApplication::processEvents();
    layout = editor_.Browser()->Layout();
    ASSERT_EQ(editor_.Browser()->Selection(), 3);
    shot = Grab();
    const BrowserRowLayout& last = layout.rows[2];
    EXPECT_TRUE(last.selected);
    EXPECT_EQ(Pixel(shot, last.cell.right - 2, last.cell.bottom - 2), kSelection);
    EXPECT_EQ(Pixel(shot, firstCell.right - 2, firstCell.bottom - 2), kWhite);
    EXPECT_EQ(Pixel(shot, down.x, down.y), kWhite);
    EXPECT_EQ(Pixel(shot, up.x, up.y), kBlack);
}

TEST_F(BrowserPaintingTest, EmptyFolderShowsNoFilesInRedAndEnterClosesIt) {
    ASSERT_TRUE(WriteWholeFile(dir_.File("notes.txt"), {'x'}));
    OpenWorkFolder();
    const BrowserLayout layout = editor_.Browser()->Layout();
    ASSERT_EQ(layout.noFilesText, "No Files !");
    const QImage shot = Grab();

    // Inside the frame only the red text over white: no rows, no arrows.
    const BrowserRect& frame = layout.listFrame;
    int red = 0;
    int other = 0;
    int left = shot.width();
    int right = 0;
    for (int y = (frame.top + 1) * kFactor; y < (frame.bottom - 1) * kFactor; ++y) {
        for (int x = (frame.left + 1) * kFactor; x < (frame.right - 1) * kFactor; ++x) {
            const QRgb c = shot.pixel(x, y);
            if ((c & 0xffffff) == kWhite) {
                continue;
            }
            // Anti-aliased red over white keeps red high and green = blue.
            if (qRed(c) >= 200 && std::abs(qGreen(c) - qBlue(c)) <= 12) {
                red += qGreen(c) < 64 ? 1 : 0;
                left = std::min(left, x);
                right = std::max(right, x);
            } else {
                ++other;
            }
        }
    }
    EXPECT_GT(red, 30);
    EXPECT_EQ(other, 0);
    // Centred across the picture area.
    EXPECT_NEAR((left + right) / 2, shot.width() / 2, 3 * kFactor);
    EXPECT_EQ(Pixel(shot, Centre(layout.upTriangle).x, Centre(layout.upTriangle).y), kWhite);
    EXPECT_EQ(Pixel(shot, Centre(layout.downTriangle).x, Centre(layout.downTriangle).y), kWhite);

    // Closed, the browser gives the picture area back to the photo.
    ClickKey(&window_, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(window_.Browser(), nullptr);
    EXPECT_EQ(Grab().pixel(100 * kFactor, 90 * kFactor) & 0xffffff,
              PixelAt(editor_.State().displayPhoto.get(), 100, kCanvasHeight - 1 - 90));
}

// Texts too wide for their rectangles end with an ellipsis in the one screen
// font: a row with a long name or info line paints exactly as the row with
// the fitted text does (no narrowing, no cut through a character).
TEST_F(BrowserPaintingTest, LongNamesAndInfoLinesEndWithAnEllipsis) {
    const std::string longName =
        "DSC_20040709_holiday_at_the_lake_with_the_whole_family_\xC3\xA4\xC3\xB6\xC3\xBC.bmp";
    WriteTwoColourPicture(dir_.File(longName), 0, 0);
    WriteTwoColourPicture(dir_.File("zz.bmp"), 0, 0);
    OpenWorkFolder();
    BrowserLayout layout = editor_.Browser()->Layout();
    ASSERT_EQ(layout.rows.size(), 2u);
    ASSERT_EQ(layout.rows[0].name, longName);
    layout.rows[1].info = "123456789K 2004/07/09 08:05 and a great deal more besides";

    BrowserLayout fitted = layout;
    const TextStyle bold{FONT_BOLD, kBrowserFontPixelHeight * kFactor, {}};
    const TextStyle regular{FONT_REGULAR, kBrowserFontPixelHeight * kFactor, {}};
    fitted.rows[0].name =
        ScreenFonts().Fit(layout.rows[0].name, bold, layout.rows[0].nameRect.Width() * kFactor);
    fitted.rows[1].info =
        ScreenFonts().Fit(layout.rows[1].info, regular, layout.rows[1].infoRect.Width() * kFactor);
    for (const std::string& text : {fitted.rows[0].name, fitted.rows[1].info}) {
        ASSERT_GE(text.size(), kEllipsis.size());
        EXPECT_EQ(text.substr(text.size() - kEllipsis.size()), kEllipsis) << text;
    }
    EXPECT_TRUE(PaintBrowser(layout, kFactor) == PaintBrowser(fitted, kFactor));
    // The short texts are drawn whole.
    EXPECT_EQ(
        ScreenFonts().Fit(layout.rows[1].name, bold, layout.rows[1].nameRect.Width() * kFactor),
        "zz.bmp");
    // What the window shows is that painting.
    const QImage shot = Grab();
    EXPECT_TRUE(
        shot ==
        PaintBrowser(editor_.Browser()->Layout(), kFactor).convertToFormat(QImage::Format_RGB32));
}

}  // namespace
