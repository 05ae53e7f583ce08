// Work memory and target-row bookkeeping shared by the resamplers. Internal to
// image/; nothing outside the resampler files includes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "image/DibImage.h"

// The widest target row the resamplers accept: a 32-bit row of the largest
// side. Anything wider is a caller's mistake, not a picture.
constexpr int32_t kMaxResampleStride = 4 * kMaxPictureSide;

struct ResampleFree {
    void operator()(void* memory) const noexcept { std::free(memory); }
};

// Zero-filled work memory, released when the owner goes.
template <typename T>
using ResampleWork = std::unique_ptr<T[], ResampleFree>;

// count zero-filled elements, or null when memory runs out.
template <typename T>
ResampleWork<T> AllocateResampleWork(size_t count) {
    return ResampleWork<T>(static_cast<T*>(std::calloc(count == 0 ? 1 : count, sizeof(T))));
}

// Hands out the rows of a target of rowCount rows of stride bytes one after
// the other: from the first row in memory upwards, or with flip from the
// last row downwards. Once every row is taken, further rows are dropped, so
// no caller can write past the target.
class ResampleTarget {
  public:
    ResampleTarget(uint8_t* target, int32_t stride, int32_t rowCount, bool flip)
        : target_(target), stride_(stride), rowCount_(rowCount), flip_(flip) {}

    bool Full() const { return written_ >= rowCount_; }

    // Passes over count rows and leaves them as they are.
    void Skip(int32_t count) {
        written_ = count >= rowCount_ - written_ ? rowCount_ : written_ + count;
    }

    // Writes count black rows (the whole stride).
    void WriteBlack(int32_t count) {
        for (int32_t i = 0; i < count && !Full(); ++i) {
            std::memset(NextRow(), 0, static_cast<size_t>(stride_));
        }
    }

    // Writes black rows until the target is full.
    void FillBlack() { WriteBlack(rowCount_); }

    // Copies the first bytes of row (at most one stride) into the next row;
    // the rest of that row keeps what it held.
    void Write(const uint8_t* row, int32_t bytes) {
        if (Full()) {
            return;
        }
        std::memcpy(NextRow(), row, static_cast<size_t>(bytes < stride_ ? bytes : stride_));
    }

  private:
    uint8_t* NextRow() {
        const int32_t index = flip_ ? rowCount_ - 1 - written_ : written_;
        ++written_;
        return target_ + static_cast<ptrdiff_t>(index) * stride_;
    }

    uint8_t* target_;
    int32_t stride_;
    int32_t rowCount_;
    bool flip_;
    int32_t written_ = 0;
};

// Box filter across rows: adds the bytes of a row into the running sums.
inline void AddRowToSums(const uint8_t* row, int32_t* sums, int32_t bytes) {
    for (int32_t i = 0; i < bytes; ++i) {
        sums[i] += row[i];
    }
}

// Box filter across rows: turns the last row of a group into the group's
// average, (sum + byte) / (count + 1) truncated, and clears the sums.
inline void AverageRowWithSums(uint8_t* row, int32_t* sums, int32_t bytes, int32_t count) {
    if (count == 0) {
        return;  // a group of one row is that row
    }
    const int32_t divisor = count + 1;
    for (int32_t i = 0; i < bytes; ++i) {
        row[i] = static_cast<uint8_t>((sums[i] + row[i]) / divisor);
        sums[i] = 0;
    }
}
