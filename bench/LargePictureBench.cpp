// Loading a 20-megapixel PNG or WebP (5472 x 3648, a phone camera's frame)
// into the 176 x 180 canvas: a PNG streamed row by row, the same PNG
// interlaced (held whole), a lossy WebP (scaled while it is decoded) and a
// lossless one (which libwebp holds whole).
//
// The photos are generated on first use into the folder given by --files DIR
// (default: a folder in /tmp) and kept there, so bench/large-png-webp.py can
// measure the same files in separate processes for peak memory.
#include <benchmark/benchmark.h>
#include <png.h>
#include <webp/encode.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/DibImage.h"
#include "image/LoadPicture.h"

#include "BenchSupport.h"

namespace {

std::string g_folder = "/tmp/fotakle-bench";

constexpr int kWidth = 5472;
constexpr int kHeight = 3648;

enum Kind { PNG_ROWS, PNG_INTERLACED, WEBP_LOSSY, WEBP_LOSSLESS, KIND_COUNT };
const char* const kNames[KIND_COUNT] = {"photo-5472x3648.png", "photo-5472x3648-interlaced.png",
                                        "photo-5472x3648.webp", "photo-5472x3648-lossless.webp"};

bool WritePhotoPng(const std::string& path, bool interlaced) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int passes = interlaced ? png_set_interlace_handling(png) : 1;
    std::vector<uint8_t> row(static_cast<size_t>(kWidth) * 3);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < kHeight; ++y) {
            MakePhotoRow(kWidth, kHeight, y, 1, &row);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

bool WritePhotoWebp(const std::string& path, bool lossless) {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth) * kHeight * 3);
    std::vector<uint8_t> row(static_cast<size_t>(kWidth) * 3);
    for (int y = 0; y < kHeight; ++y) {
        MakePhotoRow(kWidth, kHeight, y, 1, &row);
        std::copy(row.begin(), row.end(), rgb.begin() + static_cast<long>(y) * kWidth * 3);
    }
    uint8_t* output = nullptr;
    const size_t size =
        lossless ? WebPEncodeLosslessRGB(rgb.data(), kWidth, kHeight, kWidth * 3, &output)
                 : WebPEncodeRGB(rgb.data(), kWidth, kHeight, kWidth * 3, 85, &output);
    FILE* file = size > 0 ? std::fopen(path.c_str(), "wb") : nullptr;
    const bool written = file != nullptr && std::fwrite(output, 1, size, file) == size;
    WebPFree(output);
    return file != nullptr && std::fclose(file) == 0 && written;
}

std::string PhotoPath(Kind kind) {
    const std::string path = g_folder + "/" + kNames[kind];
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        mkdir(g_folder.c_str(), 0755);
        const std::string partial = path + ".part" + (kind <= PNG_INTERLACED ? ".png" : ".webp");
        const bool written = kind <= PNG_INTERLACED
                                 ? WritePhotoPng(partial, kind == PNG_INTERLACED)
                                 : WritePhotoWebp(partial, kind == WEBP_LOSSLESS);
        if (!written || std::rename(partial.c_str(), path.c_str()) != 0) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    return path;
}

void BM_LoadIntoCanvas(benchmark::State& state) {
    const Kind kind = static_cast<Kind>(state.range(0));
    const std::string path = PhotoPath(kind);
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (auto _ : state) {
        const LoadResult loaded = LoadPictureInto(path, *canvas, LoadRequest());
        if (!loaded.Ok() || loaded.damaged) {
            state.SkipWithError("the photo did not load whole");
        }
        benchmark::DoNotOptimize(DibPixels(canvas.get())[0]);
    }
    state.SetLabel(kNames[kind]);
}
BENCHMARK(BM_LoadIntoCanvas)->DenseRange(0, KIND_COUNT - 1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithFilesOption(argc, argv, &g_folder);
}
