// The Open browser over two folders of 500 camera photos (3000 x 2000 JPEGs,
// quality 90): one as cameras write them, with an EXIF block holding a
// 160 x 120 thumbnail (every fourth photo a portrait stored on its side),
// and one without. Through the whole editor, with the thumbnails made on
// the worker threads the window uses:
//  - the listing alone;
//  - the first paint: "Open" up to the browser painted at the window's
//    factor 3, its rows still waiting for their thumbnails (placeholders);
//  - the first paint with the thumbnails of the rows on screen;
//  - one thumbnail made, from the EXIF block, from the photo, and from an
//    18-megapixel progressive photo without one;
//  - a scroll through the whole folder at the keyboard's repeat rate (one
//    press every 40 ms) while the worker makes the thumbnails: how long
//    each key press waited, counting the thumbnails delivered and painted
//    ahead of it on the window's thread.
//
// The photos are generated on first use into the folder given by --files
// DIR (default: folders in /tmp) and kept there for later runs. Timings
// are with the files in the page cache.
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <sys/stat.h>

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "dialogs/OpenBrowser.h"
#include "platform/BrowserPainter.h"
#include "platform/ThumbnailWorker.h"

#include "BenchSupport.h"

namespace {

std::string g_folder = "/tmp/fotakle-browser-bench";

constexpr int kPhotos = 500;
constexpr int kPhotoWidth = 3000;
constexpr int kPhotoHeight = 2000;
constexpr int kThumbnailWidth = 160;
constexpr int kThumbnailHeight = 120;
constexpr int kWindowFactor = 3;
constexpr int kKeyRepeatMs = 40;

// A camera's EXIF block: the orientation and a thumbnail of the photo.
std::vector<uint8_t> CameraExifBlock(uint32_t seed, int orientation) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    unsigned char* thumbnail = nullptr;
    unsigned long thumbnailSize = 0;
    jpeg_mem_dest(&cinfo, &thumbnail, &thumbnailSize);
    cinfo.image_width = kThumbnailWidth;
    cinfo.image_height = kThumbnailHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 80, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(kThumbnailWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        MakePhotoRow(kThumbnailWidth, kThumbnailHeight, static_cast<int>(cinfo.next_scanline), seed,
                     &row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    ExifEntry* entry = exif_entry_new();
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    exif_entry_initialize(entry, EXIF_TAG_ORIENTATION);
    exif_set_short(entry->data, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(orientation));
    exif_entry_unref(entry);
    data->data = thumbnail;  // libexif frees it with the block
    data->size = static_cast<unsigned int>(thumbnailSize);
    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    exif_data_save_data(data, &saved, &savedSize);
    std::vector<uint8_t> block(saved, saved + savedSize);
    std::free(saved);
    exif_data_unref(data);
    return block;
}

// A folder of photos, made once: with EXIF blocks or without.
std::string PhotoFolder(bool exif) {
    const std::string folder = g_folder + (exif ? "-exif" : "");
    mkdir(folder.c_str(), 0755);
    for (int i = 0; i < kPhotos; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i);
        const std::string path = folder + name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0) {
            continue;
        }
        const uint32_t seed = static_cast<uint32_t>(i);
        const std::vector<uint8_t> block =
            exif ? CameraExifBlock(seed, i % 4 == 3 ? 6 : 1) : std::vector<uint8_t>();
        if (!WritePhotoJpeg(path, kPhotoWidth, kPhotoHeight, seed, false, block)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    return folder;
}

const std::string& ExifFolder() {
    static const std::string folder = PhotoFolder(true);
    return folder;
}

const std::string& PlainFolder() {
    static const std::string folder = PhotoFolder(false);
    return folder;
}

const std::string& FolderFor(const benchmark::State& state) {
    return state.range(0) != 0 ? ExifFolder() : PlainFolder();
}

// An 18-megapixel progressive photo without an EXIF block.
const std::string& LargeProgressivePhoto() {
    static const std::string path = [] {
        const std::string made = g_folder + "-large.jpg";
        struct stat info;
        if (stat(made.c_str(), &info) != 0 && !WritePhotoJpeg(made, 4896, 3672, 7, true)) {
            std::fprintf(stderr, "cannot write %s\n", made.c_str());
            std::exit(1);
        }
        return made;
    }();
    return path;
}

// Settings naming the work folder.
class FolderSettings : public SettingsStore {
  public:
    explicit FolderSettings(std::string folder) : folder_(std::move(folder)) {}
    bool Read(const std::string&, const std::string& name, std::string* value) override {
        if (name != "WorkFolder") {
            return false;
        }
        *value = folder_;
        return true;
    }
    void Write(const std::string&, const std::string&, const std::string&) override {}

  private:
    std::string folder_;
};

// The window's part of the browser without a window: every repaint paints
// the browser at the window's factor, at once, and the thumbnails are made
// by a ThumbnailWorker and delivered when the bench says, as the window's
// event loop delivers them.
class BenchShell : public DiscardingShell {
  public:
    void ShowBrowser(const OpenBrowser* browser) override {
        browser_ = browser;
        if (browser_ != nullptr) {
            RepaintBrowser();
        }
    }
    void RepaintBrowser() override {
        if (browser_ != nullptr) {
            const QImage painted = PaintBrowser(browser_->Layout(), kWindowFactor);
            benchmark::DoNotOptimize(painted.constBits());
        }
    }
    void RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) override {
        worker_.Request(std::move(jobs), done);
    }
    // Blocks until the worker has made something since the last call.
    void WaitForWake() {
        std::unique_lock<std::mutex> lock(mutex_);
        woken_.wait(lock, [this] { return wakes_ > 0; });
        wakes_ = 0;
    }
    int Deliver() { return worker_.Deliver(); }
    void Settle() {
        worker_.WaitUntilIdle();
        worker_.Deliver();
    }

  private:
    void Wake() {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++wakes_;
        woken_.notify_all();
    }

    const OpenBrowser* browser_ = nullptr;
    std::mutex mutex_;
    std::condition_variable woken_;
    int wakes_ = 0;
    ThumbnailWorker worker_{ThumbnailWorker::DefaultThreads(), MakeThumbnail, [this] { Wake(); }};
};

// An editor started on a folder, with its shell.
struct BrowserRig {
    explicit BrowserRig(const std::string& folder)
        : settings(folder), editor(shell, &settings, g_folder + "-program/") {
        editor.Start();
    }

    BenchShell shell;
    FolderSettings settings;
    Editor editor;
};

// Listing the folder alone: 500 names filtered, stat'ed and sorted.
void BM_BrowserFill(benchmark::State& state) {
    const std::string& folder = FolderFor(state);
    for (auto _ : state) {
        const std::vector<BrowserEntry> entries = ListPictureFiles(folder);
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_BrowserFill)->ArgName("exif")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// "Open" up to the browser painted, its rows waiting for their thumbnails.
void BM_BrowserFirstPaint(benchmark::State& state) {
    const std::string& folder = FolderFor(state);
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<BrowserRig>(folder);
        state.ResumeTiming();
        rig->editor.Command(CMD_OPEN);  // lists, asks for thumbnails, paints
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BrowserFirstPaint)
    ->ArgName("exif")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// "Open" up to the browser painted with the thumbnails of its rows on
// screen, each delivered and painted as it comes.
void BM_BrowserFirstPaintWithThumbnails(benchmark::State& state) {
    const std::string& folder = FolderFor(state);
    for (auto _ : state) {
        state.PauseTiming();
        auto rig = std::make_unique<BrowserRig>(folder);
        state.ResumeTiming();
        rig->editor.Command(CMD_OPEN);
        while (rig->editor.Browser()->ThumbnailsPending()) {
            rig->shell.WaitForWake();
            rig->shell.Deliver();
        }
        state.PauseTiming();
        rig.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BrowserFirstPaintWithThumbnails)
    ->ArgName("exif")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One thumbnail, as a worker thread makes it.
void BM_MakeThumbnail(benchmark::State& state) {
    const std::string path = state.range(0) == 2   ? LargeProgressivePhoto()
                             : state.range(0) == 1 ? ExifFolder() + "/IMG_0000.jpg"
                                                   : PlainFolder() + "/IMG_0000.jpg";
    for (auto _ : state) {
        const DibBlock thumbnail = MakeThumbnail(path);
        if (!thumbnail) {
            state.SkipWithError("no thumbnail");
            break;
        }
        benchmark::DoNotOptimize(thumbnail.get());
    }
}
BENCHMARK(BM_MakeThumbnail)
    ->ArgName("plain_exif_large")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond);

// CPU time of the calling thread, in milliseconds.
double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Down through all 500 rows, one press every 40 ms, from a browser whose
// first rows have their thumbnails. Before each key the thumbnails made
// meanwhile are delivered (each one on screen is painted), as a key that
// arrives behind them in the window's event queue waits for them; then the
// key is handled and the browser painted. Counters: the longest and the
// mean wait of a key, in milliseconds; the longest CPU time the window's
// thread spent on one key (on a busy machine the wait also holds the time
// the thread waited for a core); and the thumbnails still missing on screen
// at the end.
void BM_BrowserScroll(benchmark::State& state) {
    const std::string& folder = FolderFor(state);
    using Clock = std::chrono::steady_clock;
    double longest = 0;
    double longestCpu = 0;
    double total = 0;
    int presses = 0;
    int missing = 0;
    for (auto _ : state) {
        BrowserRig rig(folder);
        rig.editor.Command(CMD_OPEN);
        rig.shell.Settle();
        Clock::time_point next = Clock::now();
        for (int i = 1; i < rig.editor.Browser()->Count(); ++i) {
            next += std::chrono::milliseconds(kKeyRepeatMs);
            std::this_thread::sleep_until(next);
            const Clock::time_point pressed = Clock::now();
            const double cpuBefore = ThreadCpuMs();
            rig.shell.Deliver();
            rig.editor.KeyDown(KEY_DOWN);
            rig.editor.KeyUp();
            const double waited =
                std::chrono::duration<double, std::milli>(Clock::now() - pressed).count();
            longest = std::max(longest, waited);
            longestCpu = std::max(longestCpu, ThreadCpuMs() - cpuBefore);
            total += waited;
            ++presses;
        }
        missing = 0;
        const BrowserLayout layout = rig.editor.Browser()->Layout();
        for (const BrowserRowLayout& row : layout.rows) {
            missing += row.thumbnailPending ? 1 : 0;
        }
    }
    state.counters["key_wait_max_ms"] = longest;
    state.counters["key_wait_mean_ms"] = presses > 0 ? total / presses : 0;
    state.counters["key_cpu_max_ms"] = longestCpu;
    state.counters["missing_at_end"] = missing;
}
BENCHMARK(BM_BrowserScroll)
    ->ArgName("exif")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // The browser is painted as the window paints it, which takes Qt's
    // fonts, without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    return RunBenchmarksWithFilesOption(argc, argv, &g_folder);
}
