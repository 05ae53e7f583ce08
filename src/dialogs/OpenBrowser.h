// OpenBrowser: the Open picture browser without its window. It lists the
// picture files of one folder (regular files whose names IsSupportedPicture
// accepts, in any letter case, in the NameOrderLess order of
// files/FilePaths.h), keeps the selection and the first row shown, loads the
// thumbnails of the rows on screen, and lays out everything the picture area
// shows while the browser is up, so that a painter only draws.
//
// Contract: nothing throws. A folder that cannot be listed gives an empty
// list. A file whose thumbnail cannot be loaded is listed without one and is
// not tried again while the list lasts. Coordinates are those of the
// picture area: x from the left, y from the TOP, in pixels; rectangles are
// left, top, right, bottom with right and bottom excluded.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "image/DibImage.h"

struct BrowserRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

struct BrowserPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct BrowserColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// The browser's look. Both fonts are the sans-serif font at this pixel
// height (character height, without internal leading), the name in bold
// (weight 700), the info line normal (400), "No Files !" in bold.
constexpr int32_t kBrowserFontPixelHeight = 13;
constexpr BrowserColor kBrowserBackground = {255, 255, 255};
constexpr BrowserColor kBrowserSelection = {128, 128, 255};
constexpr BrowserColor kBrowserText = {0, 0, 0};
constexpr BrowserColor kBrowserNoFilesText = {255, 0, 0};
constexpr int32_t kBrowserRowHeight = 48;
// The box LoadPicture fits a thumbnail to (LOAD_THUMBNAIL): one side 36, the
// other at least 36, or smaller for a smaller picture.
constexpr int32_t kThumbnailRequest = 36;

// One listed file.
struct BrowserEntry {
    std::string name;
    uint64_t size = 0;
    std::time_t written = 0;      // last modification
    DibBlock thumbnail;           // 24-bit, made when the row is first on screen
    bool thumbnailTried = false;  // loaded or failed: never loaded again
};

// Where a thumbnail of width x height goes in its box: a frame (a 1-pixel
// black outline on its outermost columns and rows, white inside), then the width x height
// pixels of the thumbnail that start sourceX columns from its left and
// sourceY rows from its TOP, copied with their top-left corner at (x, y).
// The thumbnail's rows are bottom-up in memory: the row sourceY from the top
// is memory row (thumbnail height - 1 - sourceY).
struct ThumbnailPlacement {
    BrowserRect frame;
    int32_t x = 0;
    int32_t y = 0;
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// A thumbnail wider or taller than the box is cut to the box's size around
// its centre; what is left is centred in the box, the frame 2 pixels around
// it. Halves are truncated.
ThumbnailPlacement PlaceThumbnail(const BrowserRect& box, int32_t width, int32_t height);

// One row on screen.
struct BrowserRowLayout {
    int32_t index = 0;  // the entry shown
    bool selected = false;
    // Filled with kBrowserSelection when selected, else kBrowserBackground.
    BrowserRect cell;
    // 44 x 40; the thumbnail's frame and pixels lie inside it.
    BrowserRect thumbnailBox;
    // Texts in kBrowserText, one line each from the top-left corner of
    // their rectangle and clipped to it: the name in bold, the info line
    // ("1234K 2004/07/09 08:05") in the normal font. Over the cell's colour.
    BrowserRect nameRect;
    BrowserRect infoRect;
    std::string name;
    std::string info;
    // Null when the thumbnail is missing (not loaded yet, or unreadable):
    // the box then stays the cell's colour. Valid until the list changes.
    const DibImage* thumbnail = nullptr;
    ThumbnailPlacement placement;  // meaningful with a thumbnail only
};

// The whole picture area, drawn in this order.
struct BrowserLayout {
    BrowserRect client;  // filled with kBrowserBackground
    // A 1-pixel black outline on its outermost columns and rows, white inside.
    BrowserRect listFrame;
    // With no entries: this text in bold kBrowserNoFilesText, centred
    // horizontally and vertically in noFilesRect. Empty otherwise.
    std::string noFilesText;
    BrowserRect noFilesRect;
    std::vector<BrowserRowLayout> rows;
    // Triangles filled and outlined in black, when shown.
    bool upArrow = false;
    bool downArrow = false;
    BrowserPoint upTriangle[3];
    BrowserPoint downTriangle[3];
};

class OpenBrowser {
  public:
    // Lists folder at once. client is the picture area (176 x 180 on the
    // phone); noFilesText is what an empty list shows ("No Files !").
    OpenBrowser(std::string folder, std::string noFilesText,
                BrowserRect client = {0, 0, kCanvasWidth, kCanvasHeight});

    const std::string& Folder() const { return folder_; }
    int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
    // -1 with an empty list.
    int32_t Selection() const { return selection_; }
    int32_t Top() const { return top_; }
    // Rows that fit on one screen: (list bottom - 1 - list top) / 48, 3 for
    // the phone's picture area.
    int32_t Rows() const { return rows_; }
    const BrowserEntry& Entry(int32_t index) const { return entries_[static_cast<size_t>(index)]; }
    // The file accepted by Accept, folder and name joined; empty before.
    const std::string& SelectedPath() const { return selectedPath_; }

    // The selection moves by one entry, scrolling the rows by one when it
    // leaves the screen; it stops at both ends. True when it moved.
    bool Next();
    bool Previous();

    // OK: with an entry selected, SelectedPath becomes its full path, the
    // list is released and true returned. Otherwise false, nothing changes.
    bool Accept();
    // Cancel: the list is released.
    void Cancel();
    // Lists folder instead, the first entry selected. False, and nothing
    // changes, when it is the folder shown already (compared without regard
    // to letter case).
    bool ChangeFolder(const std::string& folder);

    // True while a row on screen has a thumbnail not yet tried.
    bool ThumbnailsPending() const;
    // Loads the thumbnails of the rows on screen not yet tried (a slow call:
    // every one decodes its file). Returns the number of files tried.
    int32_t LoadVisibleThumbnails();

    BrowserLayout Layout() const;

  private:
    void Fill();
    BrowserRect ListArea() const;

    std::string folder_;
    std::string noFilesText_;
    BrowserRect client_;
    std::vector<BrowserEntry> entries_;
    int32_t selection_ = -1;
    int32_t top_ = 0;
    int32_t rows_ = 0;
    std::string selectedPath_;
};

// The info line's two parts: "%luK" with the size / 1024 (fraction dropped)
// from 1024 bytes on, else "%luB" with the size; the date as
// "%d/%02d/%02d %02d:%02d" (year, month, day, hour, minute) in local time,
// empty when the time cannot be converted. The info line is both, joined by
// one space.
std::string BrowserSizeText(uint64_t size);
std::string BrowserDateText(std::time_t written);

// The picture files of folder, in NameOrderLess order, without thumbnails.
std::vector<BrowserEntry> ListPictureFiles(const std::string& folder);
