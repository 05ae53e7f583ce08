// The browser's list: filling, the selection and its scrolling, Accept,
// Cancel, Change Folder and the thumbnails of the rows on screen.
#include "dialogs/OpenBrowser.h"

#include <algorithm>
#include <utility>

#include "dialogs/FileNames.h"
#include "image/LoadPicture.h"

namespace {

// A thumbnail covering the 36 x 36 request, or null. Only 24-bit results
// are kept: they are what the painter copies.
DibBlock LoadThumbnail(const std::string& path) {
    DibBlock thumbnail =
        LoadPicture(path, {kThumbnailRequest, kThumbnailRequest, LOAD_THUMBNAIL}).picture;
    if (thumbnail && thumbnail->header.biBitCount != 24) {
        thumbnail.reset();
    }
    return thumbnail;
}

}  // namespace

OpenBrowser::OpenBrowser(std::string folder, std::string noFilesText, BrowserRect client)
    : folder_(std::move(folder)), noFilesText_(std::move(noFilesText)), client_(client) {
    const BrowserRect list = ListArea();
    // A client too small for one row still shows one, so that the selection
    // never leaves the screen.
    rows_ = std::max((list.bottom - 1 - list.top) / kBrowserRowHeight, 1);
    Fill();
}

void OpenBrowser::Fill() {
    entries_ = ListPictureFiles(folder_);
    selection_ = entries_.empty() ? -1 : 0;
    top_ = 0;
}

bool OpenBrowser::Next() {
    const int32_t count = Count();
    if (selection_ == count - 1) {
        return false;
    }
    const int32_t last = top_ + rows_ - 1;
    if (selection_ != last) {
        ++selection_;
        return true;
    }
    // The selection leaves the screen at the bottom: the rows follow it.
    ++selection_;
    ++top_;
    return true;
}

bool OpenBrowser::Previous() {
    if (entries_.empty()) {
        return false;
    }
    if (selection_ == top_) {
        if (top_ == 0) {
            return false;
        }
        --selection_;
        --top_;
        return true;
    }
    --selection_;
    return true;
}

bool OpenBrowser::Accept() {
    if (selection_ < 0 || entries_.empty()) {
        return false;
    }
    selectedPath_ = JoinPath(folder_, Entry(selection_).name);
    Cancel();
    return true;
}

void OpenBrowser::Cancel() {
    entries_.clear();
    selection_ = -1;
    top_ = 0;
}

bool OpenBrowser::ChangeFolder(const std::string& folder) {
    if (EqualIgnoringCase(folder, folder_)) {
        return false;
    }
    folder_ = folder;
    Fill();
    return true;
}

bool OpenBrowser::ThumbnailsPending() const {
    const int32_t end = std::min(Count(), top_ + rows_);
    for (int32_t i = std::max(top_, 0); i < end; ++i) {
        if (!Entry(i).thumbnailTried) {
            return true;
        }
    }
    return false;
}

int32_t OpenBrowser::LoadVisibleThumbnails() {
    int32_t tried = 0;
    const int32_t end = std::min(Count(), top_ + rows_);
    for (int32_t i = std::max(top_, 0); i < end; ++i) {
        BrowserEntry& entry = entries_[static_cast<size_t>(i)];
        if (entry.thumbnailTried) {
            continue;
        }
        // A failure is remembered too: an unreadable file is decoded once,
        // not at every repaint.
        entry.thumbnail = LoadThumbnail(JoinPath(folder_, entry.name));
        entry.thumbnailTried = true;
        ++tried;
    }
    return tried;
}
