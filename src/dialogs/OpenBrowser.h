// OpenBrowser: the Open picture browser without its window. It lists the
// picture files of one folder (regular files whose names IsSupportedPicture
// accepts, in any letter case, in the NameOrderLess order of
// files/FilePaths.h), keeps the selection and the first row shown, says
// which thumbnails are wanted and takes them when they are made, and lays
// out everything the picture area shows while the browser is up, so that a
// painter only draws.
//
// Thumbnails are made away from the browser: ThumbnailJobs names the files
// whose thumbnails the rows on screen and the rows just below them still
// lack, whoever runs the jobs (a worker thread, or the caller at once) calls
// MakeThumbnail for each, and PutThumbnail hands each result back. A row
// shows a placeholder until then. Results are matched to their entry by
// path, size and time, so a result for a folder no longer shown, or for a
// file changed since it was listed, is dropped.
//
// Contract: nothing throws. A folder that cannot be listed gives an empty
// list. A file whose thumbnail cannot be made is listed without one and is
// not tried again while the list lasts. Coordinates are those of the
// picture area: x from the left, y from the TOP, in pixels; rectangles are
// left, top, right, bottom with right and bottom excluded.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "image/DibImage.h"
#include "image/Exif.h"

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
// Fills the place of a thumbnail that is still being made.
constexpr BrowserColor kBrowserPlaceholder = {192, 192, 192};
constexpr int32_t kBrowserRowHeight = 48;
// The box LoadPicture fits a thumbnail to (LOAD_THUMBNAIL): one side 36, the
// other at least 36, or smaller for a smaller picture.
constexpr int32_t kThumbnailRequest = 36;
// Rows below the screen whose thumbnails are wanted too, so that scrolling
// finds them made.
constexpr int32_t kThumbnailsAhead = 3;

// One listed file.
struct BrowserEntry {
    std::string name;
    uint64_t size = 0;
    std::time_t written = 0;      // last modification
    DibBlock thumbnail;           // 24-bit, once made
    bool thumbnailTried = false;  // made or failed: never asked for again
};

// One thumbnail to make: the file, and the entry it is for as it was
// listed.
struct ThumbnailJob {
    std::string path;  // the folder and the name joined
    uint64_t size = 0;
    std::time_t written = 0;
    int32_t index = 0;  // where the entry stood in the list
};

// The thumbnails of a list that has ended, kept so that a browser opened
// again on the same folder shows them at once: the entries whose thumbnail
// was tried, with their names, sizes and times.
struct ThumbnailShelf {
    std::string folder;
    std::vector<BrowserEntry> entries;
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
    // The info line is the whole size ("%luK" with the size / 1024, fraction
    // dropped, from 1024 bytes on, else "%luB"), one space and the date
    // written in local time ("%d/%02d/%02d %02d:%02d"; the date is empty when
    // the time cannot be converted).
    BrowserRect nameRect;
    BrowserRect infoRect;
    std::string name;
    std::string info;
    // Null when the thumbnail is missing (not made yet, or unreadable):
    // the box then stays the cell's colour. Valid until the list changes.
    const DibImage* thumbnail = nullptr;
    // The thumbnail is still being made: the placeholder fills the place a
    // kThumbnailRequest square thumbnail would take (placement.x, y, width,
    // height) in kBrowserPlaceholder, without a frame.
    bool thumbnailPending = false;
    // With a thumbnail, or the placeholder's place while it is pending.
    ThumbnailPlacement placement;
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
    // list is released (its thumbnails kept for TakeThumbnails) and true
    // returned. Otherwise false, nothing changes.
    bool Accept();
    // Cancel: the list is released, its thumbnails kept for TakeThumbnails.
    void Cancel();
    // Lists folder instead, the first entry selected; the thumbnails made
    // for the folder shown before are dropped. False, and nothing changes,
    // when it is the folder shown already (compared without regard to
    // letter case).
    bool ChangeFolder(const std::string& folder);

    // The thumbnails still to make: first for the rows on screen, then for
    // the kThumbnailsAhead rows below them, each in list order. The same
    // jobs come again until their results are put.
    std::vector<ThumbnailJob> ThumbnailJobs() const;
    // A made thumbnail for a job (null: the file could not be made one).
    // True when the job is for an entry of this list, same path, size and
    // time, whose thumbnail was not tried yet: the entry keeps it (a
    // thumbnail that is not 24-bit counts as none). Anything else is dropped
    // and false returned.
    bool PutThumbnail(const ThumbnailJob& job, DibBlock thumbnail);
    // True while a row on screen waits for its thumbnail.
    bool ThumbnailsPending() const;
    // True when the entry is shown in one of the rows on screen.
    bool OnScreen(int32_t index) const;

    // The tried thumbnails of the list shown last, also after Accept or
    // Cancel released it; the list keeps none of them.
    ThumbnailShelf TakeThumbnails();
    // Thumbnails kept from an earlier list: when the shelf is of the folder
    // shown, each entry whose name, size and time match one on the shelf
    // takes its thumbnail and is not asked for again. Other shelves are
    // dropped.
    void AdoptThumbnails(ThumbnailShelf shelf);

    BrowserLayout Layout() const;

  private:
    void Fill();
    void Release();
    BrowserRect ListArea() const;

    std::string folder_;
    std::string noFilesText_;
    BrowserRect client_;
    std::vector<BrowserEntry> entries_;
    int32_t selection_ = -1;
    int32_t top_ = 0;
    int32_t rows_ = 0;
    std::string selectedPath_;
    ThumbnailShelf released_;  // the thumbnails of a released list
};

// The picture files of folder, in NameOrderLess order, without thumbnails.
std::vector<BrowserEntry> ListPictureFiles(const std::string& folder);

// The browser's thumbnail of a picture file, fitted to kThumbnailRequest
// square as LOAD_THUMBNAIL fits it (turned as its EXIF block says): a JPEG's
// embedded thumbnail when it is at least that large, else the picture itself
// decoded. Null when the file cannot be read or the result is not 24-bit.
// Safe to call on any thread: it touches nothing but the file.
DibBlock MakeThumbnail(const std::string& path);
// The embedded thumbnail of an EXIF block, turned and fitted as above, or
// null when there is none, it cannot be decoded, or it is smaller than
// kThumbnailRequest square once turned.
DibBlock ThumbnailFromExif(const ExifInfo& exif);
