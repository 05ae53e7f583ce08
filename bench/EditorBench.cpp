// Time from a key press to the composed screen, through the whole editor:
// a Brightness step, a Hue step and a move of the colour picker's cursor.
// The shell takes each composed screen and drops it, so the time is the
// editor's own work (the adjustment or the tone, and the composition).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "effects/PaintRandom.h"
#include "image/SavePicture.h"

#include "BenchSupport.h"

namespace {

// A program folder holding a photo-like start-up picture: gradients with
// grain, so that every hue sector occurs.
class ProgramFolder {
  public:
    ProgramFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fotakle-editor-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        folder_ = pattern + "/";
        std::filesystem::create_directories(folder_ + "FotakleFolder");
        DibBlock picture = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        uint8_t* pixels = DibPixels(picture.get());
        SeededPaintRandom grain(2024);
        for (int32_t y = 0; y < kCanvasHeight; ++y) {
            for (int32_t x = 0; x < kCanvasWidth; ++x) {
                uint8_t* p = pixels + y * kCanvasStride + x * 3;
                const int32_t noise = static_cast<int32_t>(grain.Next() % 9u);
                p[0] = static_cast<uint8_t>(x + noise);
                p[1] = static_cast<uint8_t>(y + noise);
                p[2] = static_cast<uint8_t>(255 - x - y / 2 + noise);
            }
        }
        SavePicture(folder_ + "FotakleFolder/BackPict.ADM", *picture);
    }
    ~ProgramFolder() {
        if (folder_.empty()) {
            return;
        }
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    const std::string& Path() const { return folder_; }

  private:
    std::string folder_;
};

// Presses the key and its opposite in turn, each press released, so that
// every press changes something and the held-key step stays at 1.
void PressToAndFro(benchmark::State& state, Editor& editor, DiscardingShell& shell, int16_t forward,
                   int16_t back) {
    bool forth = true;
    const int64_t before = shell.screens;
    for (auto _ : state) {
        editor.KeyDown(forth ? forward : back);
        editor.KeyUp();
        forth = !forth;
    }
    if (shell.screens - before != static_cast<int64_t>(state.iterations())) {
        state.SkipWithError("a key press did not compose the screen");
    }
}

void BM_BrightnessStep(benchmark::State& state) {
    ProgramFolder folder;
    DiscardingShell shell;
    Editor editor(shell, nullptr, folder.Path());
    editor.Start();
    editor.Command(CMD_BRIGHTNESS);
    PressToAndFro(state, editor, shell, KEY_RIGHT, KEY_LEFT);
}
BENCHMARK(BM_BrightnessStep)->Unit(benchmark::kMicrosecond);

void BM_HueStep(benchmark::State& state) {
    ProgramFolder folder;
    DiscardingShell shell;
    Editor editor(shell, nullptr, folder.Path());
    editor.Start();
    editor.Command(CMD_HUE);
    // Start away from 0, where a Hue step would be a plain copy.
    for (int i = 0; i < 10; ++i) {
        editor.KeyDown(KEY_UP);
        editor.KeyUp();
    }
    PressToAndFro(state, editor, shell, KEY_RIGHT, KEY_LEFT);
}
BENCHMARK(BM_HueStep)->Unit(benchmark::kMicrosecond);

// arg 0: the picker over the photo; arg 1: in Color Tones, where every move
// also re-tones the picture.
void BM_PickerMove(benchmark::State& state) {
    ProgramFolder folder;
    DiscardingShell shell;
    Editor editor(shell, nullptr, folder.Path());
    editor.Start();
    editor.Command(state.range(0) == 0 ? CMD_CHANGE_COLOR : CMD_COLOR_TONES);
    PressToAndFro(state, editor, shell, KEY_RIGHT, KEY_LEFT);
}
BENCHMARK(BM_PickerMove)->ArgName("tones")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
