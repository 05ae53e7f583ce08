#include <algorithm>
#include <cstring>

#include "image/Resample.h"
#include "image/ResampleWork.h"

namespace {

// The scaled rows in the order they are made. Each is built in a row buffer
// xBytes from its start (the part before stays black) and the target row is
// the first stride bytes of that buffer. The first `skip` rows are dropped,
// so that the middle of a picture taller than the target remains.
struct ImageRows {
    ResampleTarget& target;
    int32_t skip;
    int32_t stride;
    ptrdiff_t xBytes;
    int32_t produced = 0;

    // row points at the scaled pixels, xBytes into its buffer.
    void Emit(const uint8_t* row) {
        if (produced >= skip) {
            target.Write(row - xBytes, stride);
        }
        ++produced;
    }
};

// Source taller and wider than the target: each source row is scaled
// horizontally, then groups of rows chosen by an error counter (starting at
// half the source height) are averaged into one target row.
void ShrinkRows(const uint8_t* source, int32_t sourceStride, int32_t sourceWidth,
                int32_t sourceHeight, int32_t targetWidth, int32_t targetHeight, uint8_t* row,
                int32_t* sums, ImageRows& out) {
    const int32_t bytes = targetWidth * 3;
    int32_t counter = sourceHeight / 2;
    int32_t count = 0;
    for (int32_t y = 0; y < sourceHeight && out.produced < targetHeight && !out.target.Full();
         ++y) {
        counter += targetHeight;
        ResampleRow(source + static_cast<ptrdiff_t>(y) * sourceStride, row, sourceWidth,
                    targetWidth);
        if (counter < sourceHeight) {
            AddRowToSums(row, sums, bytes);
            ++count;
            continue;
        }
        counter -= sourceHeight;
        AverageRowWithSums(row, sums, bytes, count);
        count = 0;
        out.Emit(row);
    }
}

// Source not taller than the target, no interpolation: the rows are copied
// unscaled into the row buffer at the x offset.
void CopyRows(const uint8_t* source, int32_t sourceStride, int32_t sourceWidth,
              int32_t sourceHeight, int32_t targetHeight, uint8_t* row, ImageRows& out) {
    const size_t bytes = static_cast<size_t>(sourceWidth) * 3;
    for (int32_t y = out.skip; y < sourceHeight && y < targetHeight && !out.target.Full(); ++y) {
        std::memcpy(row, source + static_cast<ptrdiff_t>(y) * sourceStride, bytes);
        out.target.Write(row - out.xBytes, out.stride);
    }
}

// Source not taller than the target, interpolating: each source row is
// scaled horizontally; an error counter spreads the targetHeight -
// sourceHeight new rows over the gaps between source rows, and the k rows of
// one gap step byte by byte from one source row towards the next,
// current + (j * d) / (k + 1) truncated toward zero, made with a running
// remainder per byte. The last source row fills what is left.
void InterpolateRows(const uint8_t* source, int32_t sourceStride, int32_t sourceWidth,
                     int32_t sourceHeight, int32_t targetWidth, int32_t targetHeight,
                     uint8_t* current, uint8_t* next, int32_t* deltas, int32_t* remainders,
                     ImageRows& out) {
    const int32_t bytes = targetWidth * 3;
    const int32_t gaps = sourceHeight - 1;
    const int32_t added = targetHeight - sourceHeight;
    auto done = [&] { return out.produced >= targetHeight || out.target.Full(); };
    ResampleRow(source, current, sourceWidth, targetWidth);
    int32_t error = 0;
    for (int32_t y = 1; y < sourceHeight && !done(); ++y) {
        out.Emit(current);
        ResampleRow(source + static_cast<ptrdiff_t>(y) * sourceStride, next, sourceWidth,
                    targetWidth);
        error += added;
        int32_t k = 0;
        while (error >= gaps) {
            error -= gaps;
            ++k;
        }
        if (k > 0) {
            const int32_t span = k + 1;
            for (int32_t i = 0; i < bytes; ++i) {
                deltas[i] = next[i] - current[i];
                remainders[i] = 0;
            }
            for (int32_t j = 0; j < k && !done(); ++j) {
                for (int32_t i = 0; i < bytes; ++i) {
                    int32_t remainder = remainders[i] + deltas[i];
                    int32_t value = current[i];
                    while (remainder >= span) {
                        ++value;
                        remainder -= span;
                    }
                    while (remainder <= -span) {
                        --value;
                        remainder += span;
                    }
                    remainders[i] = remainder;
                    current[i] = static_cast<uint8_t>(value);
                }
                out.Emit(current);
            }
        }
        std::swap(current, next);
    }
    while (!done()) {
        out.Emit(current);
    }
}

}  // namespace

bool ResampleImage(const uint8_t* source, uint8_t* target, int32_t sourceWidth,
                   int32_t sourceHeight, int32_t targetWidth, int32_t targetHeight,
                   int32_t targetStride, int32_t targetRows, int32_t xOffset, int32_t yOffset,
                   bool fill, bool interpolate) {
    if (source == nullptr || target == nullptr || !DibSizeValid(sourceWidth, sourceHeight) ||
        !DibSizeValid(targetWidth, targetHeight) || targetStride < 0 ||
        targetStride > kMaxResampleStride || targetRows < 0 || targetRows > kMaxPictureSide ||
        xOffset < 0 || xOffset > kMaxPictureSide || yOffset < 0) {
        return false;
    }
    const int32_t sourceStride = DibRowStride(sourceWidth, 24);
    // A row buffer holds the x offset plus the wider of the source and the
    // scaled row, and at least one target stride.
    const size_t rowBytes =
        std::max(static_cast<size_t>(targetStride),
                 static_cast<size_t>(xOffset + std::max(sourceWidth, targetWidth)) * 3) +
        4;
    const size_t sumCount = static_cast<size_t>(targetWidth) * 3;
    ResampleWork<uint8_t> rowMemory = AllocateResampleWork<uint8_t>(rowBytes * 2);
    ResampleWork<int32_t> sumMemory = AllocateResampleWork<int32_t>(sumCount * 2);
    if (!rowMemory || !sumMemory) {
        return false;
    }
    uint8_t* const rows[2] = {rowMemory.get(), rowMemory.get() + rowBytes};
    const ptrdiff_t x = static_cast<ptrdiff_t>(xOffset) * 3;

    ResampleTarget out(target, targetStride, targetRows, false);
    int32_t skip = 0;
    if (yOffset > 0) {
        if (fill) {
            out.WriteBlack(yOffset);
        } else {
            out.Skip(yOffset);
        }
    } else if (targetHeight > targetRows) {
        skip = (targetHeight - targetRows) / 2;
    }
    ImageRows emitted{out, skip, targetStride, x};

    if (sourceHeight > targetHeight && sourceWidth > targetWidth) {
        ShrinkRows(source, sourceStride, sourceWidth, sourceHeight, targetWidth, targetHeight,
                   rows[0] + x, sumMemory.get(), emitted);
    } else {
        if (sourceHeight > targetHeight) {
            // Taller but not wider: keep the middle targetHeight rows and go
            // on as if the heights were equal.
            source += static_cast<ptrdiff_t>((sourceHeight - targetHeight) / 2) * sourceStride;
            sourceHeight = targetHeight;
        }
        if (interpolate) {
            InterpolateRows(source, sourceStride, sourceWidth, sourceHeight, targetWidth,
                            targetHeight, rows[0] + x, rows[1] + x, sumMemory.get(),
                            sumMemory.get() + sumCount, emitted);
        } else if (fill) {
            CopyRows(source, sourceStride, sourceWidth, sourceHeight, targetHeight, rows[0] + x,
                     emitted);
        } else {
            // Without fill the rows go unchanged to the start of the target
            // rows; what lies beyond them keeps its bytes.
            for (int32_t y = 0; y < sourceHeight && !out.Full(); ++y) {
                out.Write(source + static_cast<ptrdiff_t>(y) * sourceStride, sourceWidth * 3);
            }
        }
    }
    if (fill) {
        out.FillBlack();
    }
    return true;
}
