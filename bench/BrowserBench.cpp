// The Open browser over a folder of 500 camera photos (3000 x 2000 JPEGs,
// quality 90): its first paint (listing the folder and loading the
// thumbnails of the rows on screen) and one step of the selection that
// scrolls a new row, with its thumbnail, onto the screen.
//
// The photos are generated on first use into the folder given by
// --files DIR (default: a folder in /tmp) and kept there for later runs.
// Timings are with the files in the page cache.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/OpenBrowser.h"

#include "BenchSupport.h"

namespace {

std::string g_folder = "/tmp/fotakle-browser-bench";

constexpr int kPhotos = 500;
constexpr int kPhotoWidth = 3000;
constexpr int kPhotoHeight = 2000;

// The folder of photos, made once.
const std::string& PhotoFolder() {
    static const bool made = [] {
        mkdir(g_folder.c_str(), 0755);
        for (int i = 0; i < kPhotos; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i);
            const std::string path = g_folder + name;
            struct stat info;
            if (stat(path.c_str(), &info) != 0 &&
                !WritePhotoJpeg(path, kPhotoWidth, kPhotoHeight, static_cast<uint32_t>(i), false)) {
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
                std::exit(1);
            }
        }
        return true;
    }();
    (void)made;
    return g_folder;
}

// Listing the folder alone: 500 names filtered, stat'ed and sorted.
void BM_BrowserFill(benchmark::State& state) {
    const std::string& folder = PhotoFolder();
    for (auto _ : state) {
        const std::vector<BrowserEntry> entries = ListPictureFiles(folder);
        benchmark::DoNotOptimize(entries.data());
    }
}
BENCHMARK(BM_BrowserFill)->Unit(benchmark::kMillisecond);

// "Open" up to a paintable browser: the listing, the three thumbnails on
// screen and the layout.
void BM_BrowserFirstPaint(benchmark::State& state) {
    const std::string& folder = PhotoFolder();
    for (auto _ : state) {
        OpenBrowser browser(folder, "No Files !");
        browser.LoadVisibleThumbnails();
        const BrowserLayout layout = browser.Layout();
        benchmark::DoNotOptimize(layout.rows.data());
    }
}
BENCHMARK(BM_BrowserFirstPaint)->Unit(benchmark::kMillisecond);

// One step down from the last row on screen: the rows scroll and the new
// row's thumbnail is loaded before the layout.
void BM_BrowserStepToNewRow(benchmark::State& state) {
    const std::string& folder = PhotoFolder();
    std::unique_ptr<OpenBrowser> browser;
    const auto reset = [&] {
        browser = std::make_unique<OpenBrowser>(folder, "No Files !");
        browser->LoadVisibleThumbnails();
        while (browser->Selection() < browser->Top() + browser->Rows() - 1) {
            browser->Next();
        }
    };
    reset();
    for (auto _ : state) {
        if (browser->Selection() == browser->Count() - 1) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
        }
        browser->Next();
        if (browser->LoadVisibleThumbnails() != 1) {
            state.SkipWithError("the step did not need exactly one thumbnail");
            break;
        }
        const BrowserLayout layout = browser->Layout();
        benchmark::DoNotOptimize(layout.rows.data());
    }
}
BENCHMARK(BM_BrowserStepToNewRow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithFilesOption(argc, argv, &g_folder);
}
