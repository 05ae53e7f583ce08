// The memory of a 100-step history and the time to record a step: each step
// changes the display photo (as Done, OK or a merge does), with or without a
// frame and an object lying over it the whole time. The counters say how
// many bytes of pictures the snapshots hold once the history is full.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <utility>

#include "history/EditHistory.h"
#include "image/DibImage.h"

namespace {

void FillLevel(DibImage* picture, uint8_t level) {
    std::memset(DibPixels(picture), level, static_cast<size_t>(kCanvasPixelBytes));
}

// A full history of kUndoLimit + 1 steps, the load first.
void BM_HundredSteps(benchmark::State& state) {
    const bool decorated = state.range(0) != 0;
    size_t bytes = 0;
    int32_t undoable = 0;
    for (auto _ : state) {
        Scene scene;
        scene.displayPhoto = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        if (decorated) {
            scene.frame.placed = true;
            scene.frame.colour = DibCreate(kCanvasWidth, kCanvasHeight, 24);
            scene.frame.mask = DibCreate(kCanvasWidth, kCanvasHeight, 8);
            scene.object.present = true;
            scene.object.type = OBJECT_PICTURE;
            scene.object.colour = DibCreate(60, 60, 24);
            scene.object.mask = DibCreate(60, 60, 8);
        }
        EditHistory history;
        EditSnapshot first;
        CaptureSnapshot(scene, nullptr, &first);
        EditStep load;
        history.Start(load, first);
        for (size_t i = 1; i <= EditHistory::kUndoLimit + 20; ++i) {
            EditSnapshot before;
            CaptureSnapshot(scene, history.Current(), &before);
            FillLevel(scene.displayPhoto.get(), static_cast<uint8_t>(i));
            EditSnapshot after;
            CaptureSnapshot(scene, &before, &after);
            EditStep step;
            step.kind = STEP_TONES;
            history.Record(std::move(step), std::move(before), std::move(after));
        }
        bytes = history.SnapshotBytes();
        undoable = history.UndoSteps();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["snapshot_bytes"] = static_cast<double>(bytes);
    state.counters["undoable_steps"] = undoable;
    state.counters["steps_per_run"] = static_cast<double>(EditHistory::kUndoLimit + 20);
}
BENCHMARK(BM_HundredSteps)->Arg(0)->Arg(1)->ArgName("decorated")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
