// Time of one chooser page: drawn with its previews decoded from an asset
// folder (a full page of every kind), and a repaint of an unchanged page
// served from the composite cache; both also through the editor, from the
// page key to the presented screen. The asset folder is written into a
// temporary program folder first, with textured JPEG files at the asset
// sizes, enough of them for two full pages of every kind.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/Editor.h"
#include "app/Keys.h"
#include "decor/Chooser.h"
#include "decor/ComposeScreen.h"
#include "decor/DecorAssets.h"
#include "decor/DecorationMenu.h"
#include "image/SavePicture.h"

#include "BenchSupport.h"

namespace {

constexpr int32_t kItemsPerTheme = 16;

// Enough detail in every block that the decoder has real work to do.
DibBlock MakeTextured(int32_t width, int32_t height, int32_t seed) {
    DibBlock image = DibCreate(width, height, 24);
    const int32_t stride = DibRowStride(width, 24);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            uint8_t* p = DibPixels(image.get()) + y * stride + x * 3;
            p[0] = static_cast<uint8_t>((x * 7 + y * 3 + seed * 40) & 255);
            p[1] = static_cast<uint8_t>(((x ^ y) * 5 + seed) & 255);
            p[2] = static_cast<uint8_t>((x * y / 7 + seed * 13) & 255);
        }
    }
    return image;
}

class BenchAssets {
  public:
    BenchAssets() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fotakle-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            return;
        }
        programFolder_ = pattern + "/";
        root_ = programFolder_ + "FotakleFolder/";
        const int32_t sizes[kDecorationKinds][2] = {{176, 180}, {12, 12},  {24, 24},
                                                    {60, 60},   {176, 50}, {176, 50}};
        for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
            const std::string folder = CategoryFolderPath(root_, kind) + "Bench/";
            std::filesystem::create_directories(folder);
            for (int32_t n = 1; n <= kItemsPerTheme; ++n) {
                DibBlock picture = MakeTextured(sizes[kind][0], sizes[kind][1], n);
                SavePicture(folder + "Bench" + std::to_string(n) + ".adm", *picture);
                SavePicture(folder + "Benchmask" + std::to_string(n) + ".adm", *picture);
            }
        }
        BuildDecorationMenu(root_, &themes_);
    }
    ~BenchAssets() {
        std::error_code ignored;
        if (!programFolder_.empty()) {
            std::filesystem::remove_all(programFolder_, ignored);
        }
    }
    // The folder an editor is started in, with the assets as its own.
    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& Root() const { return root_; }
    const ThemeTable& Themes() const { return themes_; }

  private:
    std::string programFolder_;
    std::string root_;
    ThemeTable themes_;
};

const BenchAssets& Assets() {
    static const BenchAssets assets;
    return assets;
}

Scene MakeScene(int16_t kind) {
    Scene scene;
    scene.displayPhoto = MakeTextured(kCanvasWidth, kCanvasHeight, 3);
    scene.themes = Assets().Themes();
    OpenChooser(&scene, kind, 0);
    return scene;
}

// Every repaint composes the page afresh, decoding its previews.
void BM_ChooserPageDrawn(benchmark::State& state) {
    Scene scene = MakeScene(static_cast<int16_t>(state.range(0)));
    AssetChooserPainter painter(Assets().Root());
    for (auto _ : state) {
        scene.cacheValid = false;
        DibBlock screen = ComposeScreen(scene, &painter);
        benchmark::DoNotOptimize(screen.get());
    }
}
BENCHMARK(BM_ChooserPageDrawn)
    ->ArgName("kind")
    ->DenseRange(0, kDecorationKinds - 1)
    ->Unit(benchmark::kMicrosecond);

// A repaint of an unchanged page: a copy of the cache.
void BM_ChooserPageCached(benchmark::State& state) {
    Scene scene = MakeScene(DECOR_FRAME);
    AssetChooserPainter painter(Assets().Root());
    ComposeScreen(scene, &painter);
    for (auto _ : state) {
        DibBlock screen = ComposeScreen(scene, &painter);
        benchmark::DoNotOptimize(screen.get());
    }
}
BENCHMARK(BM_ChooserPageCached)->Unit(benchmark::kMicrosecond);

// An editor with the chooser of kind open on the bench theme.
void OpenInEditor(Editor& editor, int16_t kind) {
    editor.Start();
    editor.MenuPopup();
    editor.Command(static_cast<uint16_t>(50001 + 10 * kind));
}

// The page key through the editor: down and up in turn, every press a new
// full page whose previews are decoded, composed and presented.
void BM_EditorChooserPageKey(benchmark::State& state) {
    DiscardingShell shell;
    Editor editor(shell, nullptr, Assets().ProgramFolder());
    OpenInEditor(editor, static_cast<int16_t>(state.range(0)));
    bool down = true;
    const int64_t before = shell.screens;
    for (auto _ : state) {
        editor.KeyDown(down ? KEY_DOWN : KEY_UP);
        editor.KeyUp();
        down = !down;
    }
    if (shell.screens - before != static_cast<int64_t>(state.iterations())) {
        state.SkipWithError("a page key did not compose the screen");
    }
}
BENCHMARK(BM_EditorChooserPageKey)
    ->ArgName("kind")
    ->DenseRange(0, kDecorationKinds - 1)
    ->Unit(benchmark::kMicrosecond);

// A repaint of the window with the Frame chooser open: the page comes from
// the cache, with the banner drawn over it.
void BM_EditorChooserRepaint(benchmark::State& state) {
    DiscardingShell shell;
    Editor editor(shell, nullptr, Assets().ProgramFolder());
    OpenInEditor(editor, DECOR_FRAME);
    for (auto _ : state) {
        editor.Paint();
    }
}
BENCHMARK(BM_EditorChooserRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
