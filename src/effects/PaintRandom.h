// PaintRandom: the source of the 32-bit pseudo-random values the paint dabs
// draw, one per visited position. The effects use only the low two bits and
// the remainder modulo 3 of each value.
//
// The passes take the source by reference, so the editor can seed one from
// the clock, and tests can fix the seed or script the values outright.
// Contract: Next never fails.
#pragma once

#include <cstdint>

class PaintRandom {
  public:
    virtual ~PaintRandom() = default;
    virtual uint32_t Next() = 0;
};

// A small seedable generator (PCG32, XSH-RR output): the same seed always
// gives the same sequence, and its low bits are as well spread as its high
// ones, which matters since the dabs look at the low bits.
class SeededPaintRandom final : public PaintRandom {
  public:
    explicit SeededPaintRandom(uint64_t seed);
    uint32_t Next() override;

    // The whole state: a generator made FromState(State()) draws the same
    // values from here on as this one. An effect records it, so that it can
    // be painted again exactly without changing what the editor draws.
    uint64_t State() const { return state_; }
    static SeededPaintRandom FromState(uint64_t state);

  private:
    SeededPaintRandom() = default;
    uint64_t state_ = 0;
};
