// Loading a large camera photo into the 176 x 180 canvas, beside
// libjpeg-turbo's own reduced decode of the same file (what djpeg -scale 1/8
// does, without writing an output file).
//
// The 6000 x 4000 test photos (baseline and progressive) are generated on
// first use into the folder given by --files DIR (default: a folder in
// /tmp) and kept there, so bench/large-jpeg.py can measure the same files in
// separate processes for peak memory.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image/DibImage.h"
#include "image/LoadPicture.h"

#include "BenchSupport.h"

namespace {

std::string g_folder = "/tmp/fotakle-bench";

constexpr int kPhotoWidth = 6000;
constexpr int kPhotoHeight = 4000;

std::string PhotoPath(bool progressive) {
    const std::string path =
        g_folder + (progressive ? "/photo-6000x4000-progressive.jpg" : "/photo-6000x4000.jpg");
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        mkdir(g_folder.c_str(), 0755);
        if (!WritePhotoJpeg(path, kPhotoWidth, kPhotoHeight, 0, progressive)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            std::exit(1);
        }
    }
    return path;
}

void BM_LoadIntoCanvas(benchmark::State& state) {
    const std::string path = PhotoPath(state.range(0) != 0);
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    for (auto _ : state) {
        LoadPictureInto(path, *canvas, LoadRequest());
        benchmark::DoNotOptimize(DibPixels(canvas.get())[0]);
    }
    state.SetLabel(state.range(0) != 0 ? "progressive" : "baseline");
}
BENCHMARK(BM_LoadIntoCanvas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// libjpeg-turbo decoding the same file at scale 1/8, rows read and dropped.
void BM_LibjpegScaleEighth(benchmark::State& state) {
    const std::string path = PhotoPath(state.range(0) != 0);
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr error;
        cinfo.err = jpeg_std_error(&error);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        cinfo.scale_num = 1;
        cinfo.scale_denom = 8;
        jpeg_start_decompress(&cinfo);
        std::vector<uint8_t> row(cinfo.output_width * cinfo.output_components);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW rows[1] = {row.data()};
            jpeg_read_scanlines(&cinfo, rows, 1);
        }
        benchmark::DoNotOptimize(row[0]);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
    }
    state.SetLabel(state.range(0) != 0 ? "progressive" : "baseline");
}
BENCHMARK(BM_LibjpegScaleEighth)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunBenchmarksWithFilesOption(argc, argv, &g_folder);
}
