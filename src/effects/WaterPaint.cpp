#include "effects/WaterPaint.h"

#include "effects/PaintPass.h"

namespace {

// The four corners wash the lightest: at most half of the colour.
constexpr DabRule kCorner = {DAB_PICK_LOW_BITS,
                             {DAB_KEEP, DAB_MIX_HALF, DAB_MIX_QUARTER, DAB_MIX_EIGHTH}};
// The sides and the position below the centre may take the colour whole.
constexpr DabRule kSide = {DAB_PICK_LOW_BITS, {DAB_KEEP, DAB_COVER, DAB_MIX_HALF, DAB_MIX_QUARTER}};
constexpr DabRule kAbove = {DAB_PICK_MOD_3, {DAB_KEEP, DAB_COVER, DAB_MIX_HALF, DAB_KEEP}};
// The centre always gets at least half of its own colour.
constexpr DabRule kCentre = {DAB_PICK_MOD_3, {DAB_COVER, DAB_MIX_HALF, DAB_MIX_HALF, DAB_KEEP}};

constexpr DabStyle kWaterStyle = {
    {kCorner, kSide, kCorner, kAbove, kCentre, kSide, kCorner, kSide, kCorner},
    /*roundedMixes=*/true,
    /*darkerMixes=*/false,
    /*pushShift=*/0,
};

}  // namespace

void WaterPaint(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
                int32_t height, int16_t threshold, PaintRandom& random) {
    PaintPass(kWaterStyle, source, destination, edgeMap, width, height, threshold, random);
}

void WaterPaint(const PaintCanvas& canvas, int16_t threshold, PaintRandom& random) {
    PaintPass(kWaterStyle, canvas, threshold, random);
}
