#include "effects/WaxPaint.h"

#include "effects/PaintPass.h"

namespace {

constexpr DabRule kCommon = {DAB_PICK_LOW_BITS,
                             {DAB_KEEP, DAB_COVER, DAB_MIX_HALF, DAB_MIX_QUARTER}};
// Above right only ever mixes a quarter in.
constexpr DabRule kRightAbove = {DAB_PICK_LOW_BITS,
                                 {DAB_KEEP, DAB_COVER, DAB_MIX_QUARTER, DAB_MIX_QUARTER}};
// Above the centre and the centre itself pick by thirds and may stay as
// they are.
constexpr DabRule kByThirds = {DAB_PICK_MOD_3, {DAB_KEEP, DAB_COVER, DAB_MIX_HALF, DAB_KEEP}};

constexpr DabStyle kWaxStyle = {
    {kCommon, kCommon, kCommon, kByThirds, kByThirds, kCommon, kRightAbove, kCommon, kCommon},
    /*roundedMixes=*/false,
    /*darkerMixes=*/true,
    /*pushShift=*/4,
};

}  // namespace

void WaxPaint(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
              int32_t height, int16_t threshold, PaintRandom& random) {
    PaintPass(kWaxStyle, source, destination, edgeMap, width, height, threshold, random);
}

void WaxPaint(const PaintCanvas& canvas, int16_t threshold, PaintRandom& random) {
    PaintPass(kWaxStyle, canvas, threshold, random);
}
