#include <algorithm>
#include <cstring>

#include "image/Resample.h"
#include "image/ResampleWork.h"

bool ResampleStream(RowSource& rows, uint8_t* target, int32_t sourceWidth, int32_t sourceHeight,
                    int32_t targetWidth, int32_t targetHeight, int32_t targetStride,
                    int32_t boxWidth, int32_t boxHeight, bool flip, bool fill) {
    if (target == nullptr || !DibSizeValid(sourceWidth, sourceHeight) ||
        !DibSizeValid(targetWidth, targetHeight) || !DibSizeValid(boxWidth, boxHeight) ||
        targetStride < 0 || targetStride > kMaxResampleStride) {
        return false;
    }
    // Centre the scaled picture in the box. A picture wider than the box is
    // built at the start of the row buffer and the target row taken from
    // inside it, so equal parts are cut on both sides.
    const int32_t xOffset = (boxWidth - targetWidth) / 2;
    const int32_t yOffset = (boxHeight - targetHeight) / 2;
    const size_t xPut = static_cast<size_t>(std::max(xOffset, 0)) * 3;
    const size_t xTake = static_cast<size_t>(std::max(-xOffset, 0)) * 3;

    const size_t sourceBytes = static_cast<size_t>(DibRowStride(sourceWidth, 24)) + 4;
    const size_t rowBytes =
        std::max(xPut + static_cast<size_t>(std::max(sourceWidth, targetWidth)) * 3,
                 xTake + static_cast<size_t>(targetStride)) +
        4;
    const bool shrink = sourceHeight > targetHeight;
    ResampleWork<uint8_t> sourceRow = AllocateResampleWork<uint8_t>(sourceBytes);
    ResampleWork<uint8_t> rowMemory = AllocateResampleWork<uint8_t>(rowBytes);
    ResampleWork<int32_t> sums =
        AllocateResampleWork<int32_t>(shrink ? static_cast<size_t>(targetWidth) * 3 : 0);
    if (!sourceRow || !rowMemory || !sums) {
        return false;
    }
    // Row reads are not checked: a source that fails keeps what it left in
    // the row, which is at worst a wrong row, never a read outside it.
    uint8_t* const in = sourceRow.get();
    uint8_t* const row = rowMemory.get() + xPut;           // where the scaled pixels go
    const uint8_t* const taken = rowMemory.get() + xTake;  // what a target row shows

    ResampleTarget out(target, targetStride, boxHeight, flip);
    int32_t skip = 0;
    if (yOffset > 0) {
        if (fill) {
            out.WriteBlack(yOffset);
        } else {
            out.Skip(yOffset);
        }
    } else if (targetHeight > boxHeight) {
        skip = (targetHeight - boxHeight) / 2;
    }

    if (shrink) {
        // Box filter: every source row is scaled horizontally, then groups
        // of rows chosen by an error counter are averaged into one row; the
        // first `skip` averaged rows are dropped. Reading stops once the
        // scaled picture or the box is complete.
        const int32_t bytes = targetWidth * 3;
        int32_t counter = sourceHeight / 2;
        int32_t count = 0;
        int32_t produced = 0;
        for (int32_t y = 0; y < sourceHeight && produced < targetHeight && !out.Full(); ++y) {
            rows.ReadRow(in);
            counter += targetHeight;
            ResampleRow(in, row, sourceWidth, targetWidth);
            if (counter < sourceHeight) {
                AddRowToSums(row, sums.get(), bytes);
                ++count;
                continue;
            }
            counter -= sourceHeight;
            AverageRowWithSums(row, sums.get(), bytes, count);
            count = 0;
            if (produced >= skip) {
                out.Write(taken, targetStride);
            }
            ++produced;
        }
    } else if (fill) {
        // Unscaled rows, centred: the first `skip` rows are read and
        // dropped, the rest copied while both the box and the picture last.
        const size_t bytes = static_cast<size_t>(sourceWidth) * 3;
        for (int32_t y = 0; y < sourceHeight && y < skip; ++y) {
            rows.ReadRow(in);
        }
        for (int32_t y = skip; y < sourceHeight && y < targetHeight && !out.Full(); ++y) {
            rows.ReadRow(in);
            std::memcpy(row, in, bytes);
            out.Write(taken, targetStride);
        }
    } else {
        // Unscaled rows as they come, each to the start of its target row.
        for (int32_t y = 0; y < sourceHeight && !out.Full(); ++y) {
            rows.ReadRow(in);
            out.Write(in, sourceWidth * 3);
        }
    }
    if (fill) {
        out.FillBlack();
    }
    return true;
}
