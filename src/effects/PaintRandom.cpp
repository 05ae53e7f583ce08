#include "effects/PaintRandom.h"

namespace {

// The multiplier and increment of the 64-bit linear congruential step.
// https://www.pcg-random.org/download.html
constexpr uint64_t kMultiplier = 6364136223846793005ull;
constexpr uint64_t kIncrement = 1442695040888963407ull;

}  // namespace

SeededPaintRandom::SeededPaintRandom(uint64_t seed) {
    Next();
    state_ += seed;
    Next();
}

uint32_t SeededPaintRandom::Next() {
    const uint64_t old = state_;
    state_ = old * kMultiplier + kIncrement;
    const uint32_t mixed = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const uint32_t rotation = static_cast<uint32_t>(old >> 59u);
    return (mixed >> rotation) | (mixed << ((32u - rotation) & 31u));
}

SeededPaintRandom SeededPaintRandom::FromState(uint64_t state) {
    SeededPaintRandom random;
    random.state_ = state;
    return random;
}
