// RenderHistory: the editor's steps done again from the source picture, at
// the screen's size or at a whole factor k of it.
//
// At factor k the canvas is 176k x 180k: the source is decoded and fitted
// into it as the editor fits it into 176 x 180 (LoadPictureInto), offsets
// and moves are k times as far, a rescale keeps its percentage, tone curves
// and colour tones act on every pixel alike, the paint effects lay their
// dabs k times as large with the same generator state (PaintEffect.h), and
// decorations are placed at k times their position and drawn k times as
// large (LoadAssetScaled). Factor 1 goes through the very calls the editor
// makes, so its picture is the editor's display photo byte for byte.
//
// Memory: besides the picture being made, a render holds at most two more
// pictures of its size and a frame's mask (one third of one) at once, and
// the source is decoded row by row at reduced size where that gives enough
// pixels. kMaxRenderPixels bounds the picture.
//
// Contract: nothing throws and nothing is reported; a failure gives no
// picture, the reason and the index of the step that failed (-1 when none
// did, as for a bad factor).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "history/EditStep.h"
#include "image/DibImage.h"

constexpr int64_t kMaxRenderPixels = 40000000;

enum RenderError : int16_t {
    RENDER_OK = 0,
    RENDER_BAD_STEPS,      // not a load step first, or a step out of range (StepValid)
    RENDER_BAD_FACTOR,     // outside 1 .. MaxRenderFactor()
    RENDER_CANNOT_LOAD,    // the source picture could not be read
    RENDER_NO_DECORATION,  // a decoration's file is missing or unreadable
    RENDER_OUT_OF_MEMORY,
};

struct RenderOptions {
    // The picture the load step reads; empty: the load step's own source.
    std::string source;
    // The asset folder the decorations are read from.
    std::string assetFolder;
    int32_t factor = 1;
};

struct RenderResult {
    DibBlock picture;  // 24-bit, 176k x 180k
    RenderError error = RENDER_BAD_STEPS;
    int32_t step = -1;

    bool Ok() const { return error == RENDER_OK; }
};

RenderResult RenderHistory(const std::vector<EditStep>& steps, const RenderOptions& options);

// The largest factor whose picture stays within kMaxRenderPixels: 35.
int32_t MaxRenderFactor();

// The factor of a "Full" save from a width x height source: the largest
// whole k that does not enlarge the source's pixels, floor(min(width / 176,
// height / 180)), at least 1 and at most MaxRenderFactor().
int32_t FullSizeFactor(int32_t width, int32_t height);
