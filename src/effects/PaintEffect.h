// PaintEffect: the three paint effects by kind, at the screen's size or at
// a whole multiple of it, as the editor paints the display photo and as a
// picture is rendered again larger.
//
// An effect is PreparePaint once, then PaintEffectPass for the passes 0 .. 7
// in order (threshold PaintPassThreshold(pass)), all with one random source.
// At scale 1 this is BuildEdgeMap and the kind's own pass; at scale s the
// edge map is measured on the source averaged over each s x s cell, so the
// dabs fall where they fall on the picture s times smaller, s times as large
// (PaintCanvas, PaintPass.h).
//
// Contract: nothing throws. PreparePaint returns false, having written
// nothing, for a canvas that is not Valid or when its work memory cannot be
// had; a pass writes nothing for an invalid canvas or an unknown kind.
#pragma once

#include <cstdint>

#include "effects/PaintPass.h"
#include "effects/PaintRandom.h"

// The paint effects of the "Effect" menu, in its order.
enum EffectKind : int16_t {
    EFFECT_NONE = 0,
    EFFECT_OIL = 1,
    EFFECT_WATER = 2,
    EFFECT_WAX = 3,
};

constexpr bool EffectKindValid(int16_t kind) {
    return kind >= EFFECT_OIL && kind <= EFFECT_WAX;
}

// The edge map of the cells and the destination made white (every byte of
// its rows, padding included).
bool PreparePaint(const PaintCanvas& canvas);

void PaintEffectPass(EffectKind kind, const PaintCanvas& canvas, int16_t threshold,
                     PaintRandom& random);
