// Shared by the benchmark programs: a shell that throws the screens away, and
// a writer of photo-like JPEG files.
#pragma once

#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Shell.h"

// Counts the screens the editor presents and answers every question No.
class DiscardingShell : public Shell {
  public:
    bool AskQuestion(const std::string&, const std::string&) override { return false; }
    void ShowMessage(const std::string&, const std::string&) override {}
    void ShowAbout() override {}
    void SetTitle(const std::string&) override {}
    void ShowBar(BarId) override {}
    void PresentScreen(const DibImage& screen) override {
        benchmark::DoNotOptimize(screen.header.biWidth);
        ++screens;
    }
    void SetWaitCursor(bool) override {}
    void PauseBetweenPasses() override {}
    void Quit() override {}

    int64_t screens = 0;
};

// A photo-like row: gradients, a checker of soft blocks and fine grain, so
// the file holds a realistic amount of entropy-coded data (a flat picture
// decodes unfairly fast). seed makes every photo different.
inline void MakePhotoRow(int width, int height, int y, uint32_t seed, std::vector<uint8_t>* row) {
    uint32_t noise = 2166136261u ^ static_cast<uint32_t>(y) ^ (seed * 16777619u);
    const int shift = static_cast<int>(seed % 97);
    for (int x = 0; x < width; ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int grain = static_cast<int>(noise >> 28) - 8;
        const int block = (((x + shift) / 61 + (y + shift) / 53) % 2) * 24;
        (*row)[3 * x] = static_cast<uint8_t>((x * 255 / width + grain + block) & 255);
        (*row)[3 * x + 1] = static_cast<uint8_t>((y * 255 / height + grain + shift) & 255);
        (*row)[3 * x + 2] = static_cast<uint8_t>(((x + y) * 255 / (width + height) - grain) & 255);
    }
}

// Writes a width x height photo at quality 90 (progressive when asked),
// with an APP1 segment holding app1 when it is not empty. Only a complete
// file gets its name, so an interrupted run is redone.
inline bool WritePhotoJpeg(const std::string& path, int width, int height, uint32_t seed,
                           bool progressive, const std::vector<uint8_t>& app1 = {}) {
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
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    if (progressive) {
        jpeg_simple_progression(&cinfo);
    }
    jpeg_start_compress(&cinfo, TRUE);
    if (!app1.empty()) {
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, app1.data(),
                          static_cast<unsigned int>(app1.size()));
    }
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        MakePhotoRow(width, height, static_cast<int>(cinfo.next_scanline), seed, &row);
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return std::fclose(file) == 0 && std::rename(partial.c_str(), path.c_str()) == 0;
}

// main() of a benchmark that keeps generated files in a folder: an optional
// first option --files DIR replaces *folder, the rest goes to Google
// Benchmark.
inline int RunBenchmarksWithFilesOption(int argc, char** argv, std::string* folder) {
    if (argc >= 3 && std::strcmp(argv[1], "--files") == 0) {
        *folder = argv[2];
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
