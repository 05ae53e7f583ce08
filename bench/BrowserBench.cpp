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

namespace {

std::string g_folder = "/tmp/fotakle-browser-bench";

constexpr int kPhotos = 500;
constexpr int kPhotoWidth = 3000;
constexpr int kPhotoHeight = 2000;

// A photo-like row: gradients, a checker of soft blocks and fine grain, so
// the file holds a realistic amount of entropy-coded data. seed makes every
// photo different.
void MakePhotoRow(int y, uint32_t seed, std::vector<uint8_t>* row) {
    uint32_t noise = 2166136261u ^ static_cast<uint32_t>(y) ^ (seed * 16777619u);
    const int shift = static_cast<int>(seed % 97);
    for (int x = 0; x < kPhotoWidth; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int grain = static_cast<int>(noise >> 28) - 8;
        const int block = (((x + shift) / 61 + (y + shift) / 53) % 2) * 24;
        const int r = (x * 255 / kPhotoWidth + grain + block) & 255;
        const int g = (y * 255 / kPhotoHeight + grain + shift) & 255;
        const int b = ((x + y) * 255 / (kPhotoWidth + kPhotoHeight) - grain) & 255;
        (*row)[3 * x] = static_cast<uint8_t>(r);
        (*row)[3 * x + 1] = static_cast<uint8_t>(g);
        (*row)[3 * x + 2] = static_cast<uint8_t>(b);
    }
}

bool WritePhoto(const std::string& path, uint32_t seed) {
    const std::string partial = path + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct cinfo;
    jpeg_error_mgr error;
    cinfo.err = jpeg_std_error(&error);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = kPhotoWidth;
    cinfo.image_height = kPhotoHeight;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(kPhotoWidth * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        MakePhotoRow(static_cast<int>(cinfo.next_scanline), seed, &row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    // Only a complete photo gets its name, so an interrupted run is redone.
    return std::fclose(file) == 0 && std::rename(partial.c_str(), path.c_str()) == 0;
}

// The folder of photos, made once.
const std::string& PhotoFolder() {
    static const bool made = [] {
        mkdir(g_folder.c_str(), 0755);
        for (int i = 0; i < kPhotos; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/IMG_%04d.jpg", i);
            const std::string path = g_folder + name;
            struct stat info;
            if (stat(path.c_str(), &info) != 0 && !WritePhoto(path, static_cast<uint32_t>(i))) {
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
    // Our own option comes first: --files DIR.
    if (argc >= 3 && std::strcmp(argv[1], "--files") == 0) {
        g_folder = argv[2];
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
