// The Open browser without its window: the listing of a folder's picture
// files, the selection and its scrolling, Accept, Cancel, Change Folder, the
// thumbnail jobs and their results, the thumbnails kept between lists, the
// making of one thumbnail, and the layout of the picture area.
#include "dialogs/OpenBrowser.h"

#include <sys/stat.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "files/FilePaths.h"
#include "image/JpegCodec.h"
#include "image/LoadPicture.h"
#include "image/PictureType.h"

namespace fs = std::filesystem;

namespace {

constexpr LoadRequest kThumbnailLoad = {kThumbnailRequest, kThumbnailRequest, LOAD_THUMBNAIL};

// Only 24-bit thumbnails are kept: they are what the painter copies.
DibBlock Only24Bit(DibBlock thumbnail) {
    if (thumbnail && thumbnail->header.biBitCount != 24) {
        thumbnail.reset();
    }
    return thumbnail;
}

// Room left around the list inside the client area, and the strip below
// the list that holds the arrows.
constexpr int32_t kClientMargin = 2;
constexpr int32_t kArrowStrip = 20;
constexpr int32_t kCellMargin = 2;
constexpr int32_t kBoxMargin = 2;
constexpr int32_t kBoxWidth = 44;
constexpr int32_t kTextLeft = 50;
constexpr int32_t kThumbnailFrame = 2;

BrowserRect Shrink(const BrowserRect& r, int32_t by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

std::vector<BrowserEntry> ListPictureFiles(const std::string& folder) {
    std::vector<BrowserEntry> entries;
    if (folder.empty()) {
        return entries;
    }
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    // An error part-way through ends the listing with what was found.
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (!IsSupportedPicture(name)) {
            continue;
        }
        // Regular files only (links followed): a folder named like a
        // picture is not one.
        struct stat attributes {};
        if (::stat(JoinPath(folder, name).c_str(), &attributes) != 0 ||
            !S_ISREG(attributes.st_mode)) {
            continue;
        }
        BrowserEntry entry;
        entry.name = name;
        entry.size = static_cast<uint64_t>(attributes.st_size);
        entry.written = attributes.st_mtime;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(), [](const BrowserEntry& a, const BrowserEntry& b) {
        return NameOrderLess(a.name, b.name);
    });
    return entries;
}

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

// The list ends; its tried thumbnails wait for TakeThumbnails.
void OpenBrowser::Release() {
    released_.folder = folder_;
    released_.entries.clear();
    for (BrowserEntry& entry : entries_) {
        if (entry.thumbnailTried) {
            released_.entries.push_back(std::move(entry));
        }
    }
    entries_.clear();
    selection_ = -1;
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
    Release();
    return true;
}

void OpenBrowser::Cancel() {
    Release();
}

bool OpenBrowser::ChangeFolder(const std::string& folder) {
    if (EqualIgnoringCase(folder, folder_)) {
        return false;
    }
    folder_ = folder;
    released_ = ThumbnailShelf();
    Fill();
    return true;
}

std::vector<ThumbnailJob> OpenBrowser::ThumbnailJobs() const {
    std::vector<ThumbnailJob> jobs;
    const int32_t first = std::max(top_, 0);
    const int32_t end = std::min(Count(), first + rows_ + kThumbnailsAhead);
    for (int32_t i = first; i < end; ++i) {
        const BrowserEntry& entry = Entry(i);
        if (!entry.thumbnailTried) {
            jobs.push_back({JoinPath(folder_, entry.name), entry.size, entry.written, i});
        }
    }
    return jobs;
}

bool OpenBrowser::PutThumbnail(const ThumbnailJob& job, DibBlock thumbnail) {
    if (job.index < 0 || job.index >= Count()) {
        return false;
    }
    BrowserEntry& entry = entries_[static_cast<size_t>(job.index)];
    if (entry.thumbnailTried || entry.size != job.size || entry.written != job.written ||
        JoinPath(folder_, entry.name) != job.path) {
        return false;
    }
    // A failure is remembered too: an unreadable file is decoded once, not
    // at every scroll past it.
    entry.thumbnail = Only24Bit(std::move(thumbnail));
    entry.thumbnailTried = true;
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

bool OpenBrowser::OnScreen(int32_t index) const {
    return index >= 0 && index < Count() && index >= top_ && index < top_ + rows_;
}

ThumbnailShelf OpenBrowser::TakeThumbnails() {
    if (!entries_.empty()) {
        // Still listed: the entries give their thumbnails up and will be
        // asked for them again.
        ThumbnailShelf shelf;
        shelf.folder = folder_;
        for (BrowserEntry& entry : entries_) {
            if (entry.thumbnailTried) {
                shelf.entries.push_back(
                    {entry.name, entry.size, entry.written, std::move(entry.thumbnail), true});
                entry.thumbnailTried = false;
            }
        }
        return shelf;
    }
    ThumbnailShelf shelf = std::move(released_);
    released_ = ThumbnailShelf();
    return shelf;
}

void OpenBrowser::AdoptThumbnails(ThumbnailShelf shelf) {
    if (shelf.folder != folder_ || shelf.entries.empty()) {
        return;
    }
    std::unordered_map<std::string, BrowserEntry*> kept;
    for (BrowserEntry& entry : shelf.entries) {
        kept[entry.name] = &entry;
    }
    for (BrowserEntry& entry : entries_) {
        const auto found = kept.find(entry.name);
        if (found == kept.end() || entry.thumbnailTried) {
            continue;
        }
        BrowserEntry& old = *found->second;
        // A file written since its thumbnail was made gets a new one.
        if (old.thumbnailTried && old.size == entry.size && old.written == entry.written) {
            entry.thumbnail = std::move(old.thumbnail);
            entry.thumbnailTried = true;
        }
    }
}

DibBlock ThumbnailFromExif(const ExifInfo& exif) {
    if (exif.thumbnail.empty()) {
        return nullptr;
    }
    std::unique_ptr<JpegCodec> codec = OpenJpegMemory(exif.thumbnail.data(), exif.thumbnail.size());
    if (!codec) {
        return nullptr;
    }
    // Its full size, to see whether it covers the box once turned.
    int32_t width = kMaxPictureSide;
    int32_t height = kMaxPictureSide;
    const bool readable = codec->ReadHeader(&width, &height);
    if (OrientationSwapsSides(exif.orientation)) {
        std::swap(width, height);
    }
    if (!readable || width < kThumbnailRequest || height < kThumbnailRequest) {
        codec->Close();
        return nullptr;
    }
    return Only24Bit(DecodeJpegPicture(*codec, kThumbnailLoad, exif.orientation).picture);
}

DibBlock MakeThumbnail(const std::string& path) {
    // Most camera photos carry a thumbnail of their own, which costs a
    // fraction of decoding the photo even at its smallest scale.
    if (PictureTypeFromName(path) == PICTURE_JPEG) {
        DibBlock embedded = ThumbnailFromExif(ReadJpegExif(path, true));
        if (embedded) {
            return embedded;
        }
    }
    return Only24Bit(LoadPicture(path, kThumbnailLoad).picture);
}

namespace {

// The info line of a browser row: the size and the date of the file.
std::string BrowserSizeText(uint64_t size) {
    char text[32];
    // The whole 64-bit size: files of 4 GB and more show their true size.
    if (size >= 1024) {
        std::snprintf(text, sizeof text, "%" PRIu64 "K", size / 1024);
    } else {
        std::snprintf(text, sizeof text, "%" PRIu64 "B", size);
    }
    return text;
}

std::string BrowserDateText(std::time_t written) {
    struct tm local {};
    if (localtime_r(&written, &local) == nullptr) {
        return {};
    }
    char text[64];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return text;
}

}  // namespace

ThumbnailPlacement PlaceThumbnail(const BrowserRect& box, int32_t width, int32_t height) {
    ThumbnailPlacement place;
    const int32_t boxWidth = box.Width();
    const int32_t boxHeight = box.Height();
    if (width > boxWidth) {
        place.sourceX = (width - boxWidth) / 2;
        width = boxWidth;
    }
    if (height > boxHeight) {
        place.sourceY = (height - boxHeight) / 2;
        height = boxHeight;
    }
    place.width = width;
    place.height = height;
    place.x = box.left + (boxWidth - width) / 2;
    place.y = box.top + (boxHeight - height) / 2;
    place.frame = {place.x - kThumbnailFrame, place.y - kThumbnailFrame,
                   place.x + width + kThumbnailFrame, place.y + height + kThumbnailFrame};
    return place;
}

// The client area less its margin; the list ends above the arrow strip.
BrowserRect OpenBrowser::ListArea() const {
    const BrowserRect inner = Shrink(client_, kClientMargin);
    return {inner.left, inner.top, inner.right, inner.bottom - kArrowStrip};
}

BrowserLayout OpenBrowser::Layout() const {
    BrowserLayout layout;
    layout.client = client_;
    layout.listFrame = ListArea();
    if (entries_.empty()) {
        layout.noFilesText = noFilesText_;
        layout.noFilesRect = Shrink(client_, kClientMargin);
    }

    BrowserRect row = {layout.listFrame.left, layout.listFrame.top, layout.listFrame.right,
                       layout.listFrame.top + kBrowserRowHeight};
    for (int32_t i = top_; i >= 0 && i < Count() && i < top_ + rows_; ++i) {
        const BrowserEntry& entry = Entry(i);
        BrowserRowLayout out;
        out.index = i;
        out.selected = i == selection_;
        out.cell = Shrink(row, kCellMargin);
        const BrowserRect& cell = out.cell;
        out.thumbnailBox = {cell.left + kBoxMargin, cell.top + kBoxMargin,
                            cell.left + kBoxMargin + kBoxWidth, cell.bottom - kBoxMargin};
        const int32_t middle = cell.top + cell.Height() / 2;
        out.nameRect = {cell.left + kTextLeft, cell.top, cell.right, middle};
        out.infoRect = {cell.left + kTextLeft, middle + 1, cell.right, cell.bottom};
        out.name = entry.name;
        out.info = BrowserSizeText(entry.size) + " " + BrowserDateText(entry.written);
        out.thumbnail = entry.thumbnail.get();
        out.thumbnailPending = !entry.thumbnailTried;
        if (out.thumbnail != nullptr) {
            out.placement = PlaceThumbnail(out.thumbnailBox, out.thumbnail->header.biWidth,
                                           out.thumbnail->header.biHeight);
        } else if (out.thumbnailPending) {
            out.placement = PlaceThumbnail(out.thumbnailBox, kThumbnailRequest, kThumbnailRequest);
        }
        layout.rows.push_back(std::move(out));
        row.top += kBrowserRowHeight;
        row.bottom += kBrowserRowHeight;
    }

    // The arrows say that more entries lie above or below the selection.
    const int32_t count = Count();
    layout.upArrow = selection_ != 0 && count > rows_;
    layout.downArrow = selection_ < count - 1 && count > rows_;
    const int32_t cx = client_.left + client_.Width() / 2;
    const int32_t cy = layout.listFrame.bottom + (client_.bottom - layout.listFrame.bottom) / 2;
    layout.upTriangle[0] = {cx, cy - 6};
    layout.upTriangle[1] = {cx - 4, cy - 2};
    layout.upTriangle[2] = {cx + 4, cy - 2};
    layout.downTriangle[0] = {cx, cy + 6};
    layout.downTriangle[1] = {cx - 4, cy + 2};
    layout.downTriangle[2] = {cx + 4, cy + 2};
    return layout;
}
