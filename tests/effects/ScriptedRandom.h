// A random source for the paint tests: hands out scripted values in order,
// then a fallback value, and counts every draw.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "effects/PaintRandom.h"

class ScriptedRandom final : public PaintRandom {
  public:
    explicit ScriptedRandom(std::vector<uint32_t> values = {}, uint32_t fallback = 0)
        : values_(std::move(values)), fallback_(fallback) {}

    uint32_t Next() override {
        const uint32_t value = draws_ < values_.size() ? values_[draws_] : fallback_;
        ++draws_;
        return value;
    }
    size_t Draws() const { return draws_; }

  private:
    std::vector<uint32_t> values_;
    uint32_t fallback_;
    size_t draws_ = 0;
};
