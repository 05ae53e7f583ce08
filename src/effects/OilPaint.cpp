#include "effects/OilPaint.h"

#include "effects/PaintPass.h"

namespace {

// Odd values cover, even ones mix a quarter of the colour in.
constexpr DabRule kOuter = {DAB_PICK_LOW_BITS,
                            {DAB_MIX_QUARTER, DAB_COVER, DAB_MIX_QUARTER, DAB_COVER}};
// The centre draws a value like every position but always covers.
constexpr DabRule kCentre = {DAB_PICK_LOW_BITS, {DAB_COVER, DAB_COVER, DAB_COVER, DAB_COVER}};

constexpr DabStyle kOilStyle = {
    {kOuter, kOuter, kOuter, kOuter, kCentre, kOuter, kOuter, kOuter, kOuter},
    /*roundedMixes=*/false,
    /*darkerMixes=*/false,
    /*pushShift=*/5,
};

}  // namespace

void OilPaint(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
              int32_t height, int16_t threshold, PaintRandom& random) {
    PaintPass(kOilStyle, source, destination, edgeMap, width, height, threshold, random);
}

void OilPaint(const PaintCanvas& canvas, int16_t threshold, PaintRandom& random) {
    PaintPass(kOilStyle, canvas, threshold, random);
}
