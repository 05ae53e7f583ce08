// ToneTable: the 256-entry curve behind Brightness, Contrast and Vividness.
//
// Entry i is the output of a channel whose input is i; one table serves blue,
// green and red alike. Tables are built afresh from (kind, level) and are
// exact: the Contrast and Vividness curves follow single-precision
// accumulators step by step, so every build on every compiler gives the same
// bytes (the library is compiled without floating-point contraction).
//
// Contract: never fails for the three table kinds and any 16-bit level.
// Level 0 gives the identity for every one of them (Vividness included, even
// though its neutral level is 10). Vividness levels are clamped into 1 .. 79;
// other kinds are not clamped, and levels beyond +-100 give the limiting
// curves (all white, all black, two-level or flat) rather than wrapped values.
#pragma once

#include <array>
#include <cstdint>

#include "adjust/AdjustKind.h"

using ToneTable = std::array<uint8_t, 256>;

// Fills table for Brightness, Contrast or Vividness at level and returns
// true. For Hue and for kinds outside 1 .. 4 there is no table: returns false
// and leaves table untouched.
bool BuildToneTable(AdjustKind kind, int16_t level, ToneTable& table);
