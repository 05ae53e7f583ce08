// The integer resamplers: one row at a time (ResampleRow), a picture held in
// memory (ResampleImage), a picture whose rows arrive one by one from a
// decoder (ResampleStream), and the canvas rescaled for the rescale mode.
// The picture and stream resamplers share their target bookkeeping and their
// box filter, so a picture comes out the same whichever way it arrives.
#include "image/Resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>

namespace {

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

// The scaled rows in the order they are made. Each is built in a row buffer
// `shift` bytes after the point the target row is taken from (the part in
// between stays black), and the target row is the stride bytes from there.
// The first `skip` rows are dropped, so that the middle of a picture taller
// than the target remains.
struct ScaledRows {
    ResampleTarget& target;
    int32_t skip;
    int32_t stride;
    ptrdiff_t shift;
    int32_t produced = 0;

    // row points at the scaled pixels in their buffer.
    void Emit(const uint8_t* row) {
        if (produced >= skip) {
            target.Write(row - shift, stride);
        }
        ++produced;
    }
};

// The prologue both picture resamplers share: the rows above a picture placed
// yOffset rows into the target turn black (fill) or keep their bytes. A
// picture of scaledHeight rows taller than the target's rows loses equal
// parts at both ends: returns how many of its first rows to drop.
int32_t StartTarget(ResampleTarget& out, int32_t yOffset, int32_t scaledHeight, int32_t rows,
                    bool fill) {
    if (yOffset > 0) {
        if (fill) {
            out.WriteBlack(yOffset);
        } else {
            out.Skip(yOffset);
        }
        return 0;
    }
    return scaledHeight > rows ? (scaledHeight - rows) / 2 : 0;
}

// Shrinks (or copies) a row with a box filter: an error counter decides
// which source pixels close a group; each output pixel is the truncated
// average of its group.
void ShrinkRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth, int32_t targetWidth) {
    if (sourceWidth == targetWidth) {
        std::memcpy(target, source, static_cast<size_t>(sourceWidth) * 3);
        return;
    }
    int32_t counter = 0;
    int32_t count = 0;
    int32_t blue = 0;
    int32_t green = 0;
    int32_t red = 0;
    const uint8_t* const end = target + static_cast<ptrdiff_t>(targetWidth) * 3;
    for (int32_t i = 0; i < sourceWidth && target < end; ++i, source += 3) {
        counter += targetWidth;
        if (counter < sourceWidth) {
            blue += source[0];
            green += source[1];
            red += source[2];
            ++count;
            continue;
        }
        counter -= sourceWidth;
        const int32_t divisor = count + 1;
        target[0] = static_cast<uint8_t>((blue + source[0]) / divisor);
        target[1] = static_cast<uint8_t>((green + source[1]) / divisor);
        target[2] = static_cast<uint8_t>((red + source[2]) / divisor);
        target += 3;
        blue = green = red = 0;
        count = 0;
    }
}

// Enlarges a row: every source pixel is kept, and an error counter spreads
// the targetWidth - sourceWidth new pixels over the gaps between neighbours.
// The k pixels put into one gap step linearly from the left neighbour towards
// the right one, value + (j * d) / (k + 1) truncated toward zero, made with a
// running remainder per channel instead of a division.
void EnlargeRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth, int32_t targetWidth) {
    uint8_t* out = target;
    const uint8_t* const end = target + static_cast<ptrdiff_t>(targetWidth) * 3;
    const int32_t gaps = sourceWidth - 1;
    const int32_t added = targetWidth - sourceWidth;
    int32_t error = 0;
    for (int32_t i = 0; i < gaps && out < end; ++i) {
        const uint8_t* left = source + static_cast<ptrdiff_t>(i) * 3;
        std::memcpy(out, left, 3);
        out += 3;
        error += added;
        int32_t k = 0;
        while (error >= gaps) {
            error -= gaps;
            ++k;
        }
        if (k == 0) {
            continue;
        }
        const int32_t span = k + 1;
        int32_t value[3];
        int32_t delta[3];
        int32_t remainder[3] = {0, 0, 0};
        for (int32_t c = 0; c < 3; ++c) {
            value[c] = left[c];
            delta[c] = left[c + 3] - left[c];
        }
        for (int32_t j = 0; j < k && out < end; ++j, out += 3) {
            for (int32_t c = 0; c < 3; ++c) {
                remainder[c] += delta[c];
                while (remainder[c] >= span) {
                    ++value[c];
                    remainder[c] -= span;
                }
                while (remainder[c] <= -span) {
                    --value[c];
                    remainder[c] += span;
                }
                out[c] = static_cast<uint8_t>(value[c]);
            }
        }
    }
    // The walk ends one pixel short (and a one-pixel source at once): the
    // rest repeats the last source pixel.
    const uint8_t* last = source + static_cast<ptrdiff_t>(gaps) * 3;
    for (; out < end; out += 3) {
        std::memcpy(out, last, 3);
    }
}

// Where the resamplers take their source rows from: a picture in memory, or
// a RowSource read in order. Read(y) gives row y; Uniform(y, bgr) how many
// rows from y on are one colour throughout (0 when row y must be read), and
// rows asked for after such a run pass over it in one step. Rows are asked
// for with y rising.
class MemoryRows {
  public:
    MemoryRows(const uint8_t* first, int32_t stride) : first_(first), stride_(stride) {}
    const uint8_t* Read(int32_t y) const { return first_ + static_cast<ptrdiff_t>(y) * stride_; }
    int32_t Uniform(int32_t, uint8_t*) const { return 0; }
    // Makes row `rows` the new row 0.
    void Drop(int32_t rows) { first_ += static_cast<ptrdiff_t>(rows) * stride_; }

  private:
    const uint8_t* first_;
    int32_t stride_;
};

// Writes width pixels of one colour.
void FillUniformRow(uint8_t* row, int32_t width, const uint8_t* bgr) {
    for (int32_t x = 0; x < width; ++x, row += 3) {
        row[0] = bgr[0];
        row[1] = bgr[1];
        row[2] = bgr[2];
    }
}

class StreamRows {
  public:
    // buffer holds one source row of width pixels.
    StreamRows(RowSource& source, uint8_t* buffer, int32_t width)
        : source_(source), buffer_(buffer), width_(width) {}
    const uint8_t* Read(int32_t y) {
        PassTo(y);
        uint8_t bgr[3];
        if (source_.UniformRowsAhead(bgr) > 0) {
            FillUniformRow(buffer_, width_, bgr);
            source_.SkipRows(1);
        } else {
            // Failed reads are not checked: the row then holds what the
            // source left in it, at worst a wrong row, never a read outside it.
            source_.ReadRow(buffer_);
        }
        ++next_;
        return buffer_;
    }
    int32_t Uniform(int32_t y, uint8_t* bgr) {
        PassTo(y);
        return source_.UniformRowsAhead(bgr);
    }
    // Makes row `rows` the new row 0.
    void Drop(int32_t rows) {
        PassTo(rows);
        next_ -= rows;
    }

  private:
    // Reads or skips the rows before row y that were not asked for.
    void PassTo(int32_t y) {
        while (next_ < y) {
            uint8_t bgr[3];
            const int32_t run = source_.UniformRowsAhead(bgr);
            if (run > 0) {
                const int32_t count = std::min(run, y - next_);
                source_.SkipRows(count);
                next_ += count;
            } else {
                source_.ReadRow(buffer_);
                ++next_;
            }
        }
    }

    RowSource& source_;
    uint8_t* buffer_;
    int32_t width_;
    int32_t next_ = 0;  // the row the source stands at, counted from row 0
};

// The vertical box filter's state: the error counter (always below the
// source height) and the rows gathered into the group under way.
struct RowGroups {
    int32_t sourceHeight;
    int32_t targetHeight;
    int64_t counter;
    int32_t count;
};

// Adds count rows of one colour into the running sums of bytes bytes.
void AddUniformRows(int32_t* sums, int32_t bytes, const uint8_t* bgr, int64_t count) {
    for (int32_t i = 0; i < bytes; ++i) {
        sums[i] += static_cast<int32_t>(count * bgr[i % 3]);
    }
}

// Rows of the source, from the first counted by the groups on, that pass
// before the group under way closes (the closing row included).
int64_t RowsUntilGroupCloses(const RowGroups& groups) {
    return (groups.sourceHeight - groups.counter + groups.targetHeight - 1) / groups.targetHeight;
}

// `run` source rows of one colour, as ShrinkRows would take them one by one:
// the scaled row is that colour throughout, so the group under way closes
// with the average of its sums and that colour, every group wholly inside
// the run is the colour itself, and the rows after the last group that
// closes are added to the sums. Work follows the rows emitted, not the run.
void ShrinkUniformRun(const uint8_t* bgr, int64_t run, int32_t targetWidth, uint8_t* row,
                      int32_t* sums, RowGroups& groups, ScaledRows& out) {
    const int32_t bytes = targetWidth * 3;
    auto more = [&] { return out.produced < groups.targetHeight && !out.target.Full(); };
    int64_t first = RowsUntilGroupCloses(groups);
    if (first > run) {
        AddUniformRows(sums, bytes, bgr, run);
        groups.count += static_cast<int32_t>(run);
        groups.counter += run * groups.targetHeight;
        return;
    }
    AddUniformRows(sums, bytes, bgr, first - 1);
    FillUniformRow(row, targetWidth, bgr);
    AverageRowWithSums(row, sums, bytes, groups.count + static_cast<int32_t>(first - 1));
    groups.count = 0;
    groups.counter += first * groups.targetHeight - groups.sourceHeight;
    out.Emit(row);
    run -= first;
    FillUniformRow(row, targetWidth, bgr);
    for (int64_t next = RowsUntilGroupCloses(groups); next <= run && more();
         next = RowsUntilGroupCloses(groups)) {
        groups.counter += next * groups.targetHeight - groups.sourceHeight;
        run -= next;
        out.Emit(row);
    }
    AddUniformRows(sums, bytes, bgr, run);
    groups.count = static_cast<int32_t>(run);
    groups.counter += run * groups.targetHeight;
}

// Source taller than the target: each source row is scaled horizontally,
// then groups of rows chosen by an error counter (starting at half the
// source height) are averaged into one target row. Stops once the scaled
// picture or the target is complete, so the last source rows may never be
// asked for.
template <typename Rows>
void ShrinkRows(Rows& rows, int32_t sourceWidth, int32_t sourceHeight, int32_t targetWidth,
                int32_t targetHeight, uint8_t* row, int32_t* sums, ScaledRows& out) {
    const int32_t bytes = targetWidth * 3;
    RowGroups groups{sourceHeight, targetHeight, sourceHeight / 2, 0};
    for (int32_t y = 0; y < sourceHeight && out.produced < targetHeight && !out.target.Full();) {
        uint8_t bgr[3];
        const int32_t run = std::min(rows.Uniform(y, bgr), sourceHeight - y);
        if (run > 0) {
            ShrinkUniformRun(bgr, run, targetWidth, row, sums, groups, out);
            y += run;
            continue;
        }
        ResampleRow(rows.Read(y), row, sourceWidth, targetWidth);
        ++y;
        groups.counter += targetHeight;
        if (groups.counter < sourceHeight) {
            AddRowToSums(row, sums, bytes);
            ++groups.count;
            continue;
        }
        groups.counter -= sourceHeight;
        AverageRowWithSums(row, sums, bytes, groups.count);
        groups.count = 0;
        out.Emit(row);
    }
}

// Source not taller than the target, placed: the first `skip` source rows
// are passed over, the rest copied unscaled into the row buffer while both
// the picture and the target last.
template <typename Rows>
void CopyRows(Rows& rows, int32_t sourceWidth, int32_t sourceHeight, int32_t targetHeight,
              uint8_t* row, ScaledRows& out) {
    const size_t bytes = static_cast<size_t>(sourceWidth) * 3;
    for (int32_t y = out.skip; y < sourceHeight && y < targetHeight && !out.target.Full(); ++y) {
        std::memcpy(row, rows.Read(y), bytes);
        out.target.Write(row - out.shift, out.stride);
    }
}

// Source not taller than the target, not placed: the rows go unchanged to
// the start of the target rows; what lies beyond them keeps its bytes.
template <typename Rows>
void PassRows(Rows& rows, int32_t sourceWidth, int32_t sourceHeight, ResampleTarget& out) {
    for (int32_t y = 0; y < sourceHeight && !out.Full(); ++y) {
        out.Write(rows.Read(y), sourceWidth * 3);
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
                     ScaledRows& out) {
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

// The part of ResampleImage after its checks, over rows from memory or from
// a RowSource; source is the picture in memory when it lies there (only
// interpolation needs it).
template <typename Rows>
bool ResamplePlaced(Rows& rows, const uint8_t* source, uint8_t* target,
                    const ResampleImageRequest& request) {
    const int32_t sourceWidth = request.sourceWidth;
    int32_t sourceHeight = request.sourceHeight;
    const int32_t targetWidth = request.targetWidth;
    const int32_t targetHeight = request.targetHeight;
    const int32_t targetStride = request.targetStride;
    const int32_t targetRows = request.targetRows;
    const int32_t xOffset = request.xOffset;
    const bool fill = request.fill;
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
    // The scaled pixels go x bytes into each row buffer; the target row is
    // taken from the buffer's start.
    const ptrdiff_t x = static_cast<ptrdiff_t>(xOffset) * 3;
    uint8_t* const buffers[2] = {rowMemory.get() + x, rowMemory.get() + rowBytes + x};

    ResampleTarget out(target, targetStride, targetRows, false);
    const int32_t skip = StartTarget(out, request.yOffset, targetHeight, targetRows, fill);
    ScaledRows emitted{out, skip, targetStride, x};

    if (sourceHeight > targetHeight && sourceWidth > targetWidth) {
        ShrinkRows(rows, sourceWidth, sourceHeight, targetWidth, targetHeight, buffers[0],
                   sumMemory.get(), emitted);
    } else {
        if (sourceHeight > targetHeight) {
            // Taller but not wider: keep the middle targetHeight rows and go
            // on as if the heights were equal.
            const int32_t dropped = (sourceHeight - targetHeight) / 2;
            rows.Drop(dropped);
            if (source != nullptr) {
                source += static_cast<ptrdiff_t>(dropped) * sourceStride;
            }
            sourceHeight = targetHeight;
        }
        if (request.interpolate && source != nullptr) {
            InterpolateRows(source, sourceStride, sourceWidth, sourceHeight, targetWidth,
                            targetHeight, buffers[0], buffers[1], sumMemory.get(),
                            sumMemory.get() + sumCount, emitted);
        } else if (fill) {
            CopyRows(rows, sourceWidth, sourceHeight, targetHeight, buffers[0], emitted);
        } else {
            PassRows(rows, sourceWidth, sourceHeight, out);
        }
    }
    if (fill) {
        out.FillBlack();
    }
    return true;
}

// The size checks ResampleImage and ResampleImageRows share.
bool PlacedSizesValid(const uint8_t* target, const ResampleImageRequest& request) {
    return target != nullptr && DibSizeValid(request.sourceWidth, request.sourceHeight) &&
           DibSizeValid(request.targetWidth, request.targetHeight) && request.targetStride >= 0 &&
           request.targetStride <= kMaxResampleStride && request.targetRows >= 0 &&
           request.targetRows <= kMaxPictureSide && request.xOffset >= 0 &&
           request.xOffset <= kMaxPictureSide && request.yOffset >= 0;
}

}  // namespace

void ResampleRow(const uint8_t* source, uint8_t* target, int32_t sourceWidth, int32_t targetWidth) {
    if (source == nullptr || target == nullptr || !DibSizeValid(sourceWidth, targetWidth)) {
        return;
    }
    if (sourceWidth >= targetWidth) {
        ShrinkRow(source, target, sourceWidth, targetWidth);
    } else {
        EnlargeRow(source, target, sourceWidth, targetWidth);
    }
}

ResampleImageRequest NewPictureRequest(int32_t sourceWidth, int32_t sourceHeight,
                                       int32_t targetWidth, int32_t targetHeight) {
    ResampleImageRequest request;
    request.sourceWidth = sourceWidth;
    request.sourceHeight = sourceHeight;
    request.targetWidth = targetWidth;
    request.targetHeight = targetHeight;
    request.targetStride = DibRowStride(targetWidth, 24);
    request.targetRows = targetHeight;
    request.interpolate = true;
    return request;
}

bool ResampleImage(const uint8_t* source, uint8_t* target, const ResampleImageRequest& request) {
    if (source == nullptr || !PlacedSizesValid(target, request)) {
        return false;
    }
    MemoryRows rows(source, DibRowStride(request.sourceWidth, 24));
    return ResamplePlaced(rows, source, target, request);
}

bool ResampleImageRows(RowSource& rows, uint8_t* target, const ResampleImageRequest& request) {
    if (!PlacedSizesValid(target, request)) {
        return false;
    }
    ResampleWork<uint8_t> sourceRow = AllocateResampleWork<uint8_t>(
        static_cast<size_t>(DibRowStride(request.sourceWidth, 24)) + 4);
    if (!sourceRow) {
        return false;
    }
    StreamRows stream(rows, sourceRow.get(), request.sourceWidth);
    // Without the picture in memory there is nothing to interpolate from.
    return ResamplePlaced(stream, nullptr, target, request);
}

bool ResampleStream(RowSource& rows, uint8_t* target, const ResampleStreamRequest& request) {
    const int32_t sourceWidth = request.sourceWidth;
    const int32_t sourceHeight = request.sourceHeight;
    const int32_t targetWidth = request.targetWidth;
    const int32_t targetHeight = request.targetHeight;
    const int32_t targetStride = request.targetStride;
    const int32_t boxWidth = request.boxWidth;
    const int32_t boxHeight = request.boxHeight;
    const bool fill = request.fill;
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
    StreamRows stream(rows, sourceRow.get(), sourceWidth);
    uint8_t* const row = rowMemory.get() + xPut;  // where the scaled pixels go

    ResampleTarget out(target, targetStride, boxHeight, request.flip);
    const int32_t skip = StartTarget(out, yOffset, targetHeight, boxHeight, fill);
    ScaledRows emitted{out, skip, targetStride,
                       static_cast<ptrdiff_t>(xPut) - static_cast<ptrdiff_t>(xTake)};
    if (shrink) {
        ShrinkRows(stream, sourceWidth, sourceHeight, targetWidth, targetHeight, row, sums.get(),
                   emitted);
    } else if (fill) {
        CopyRows(stream, sourceWidth, sourceHeight, targetHeight, row, emitted);
    } else {
        PassRows(stream, sourceWidth, sourceHeight, out);
    }
    if (fill) {
        out.FillBlack();
    }
    return true;
}

DibBlock RescaleCanvas(const uint8_t* canvas, int32_t newWidth, int32_t newHeight) {
    if (canvas == nullptr) {
        return nullptr;
    }
    return RescalePicture({canvas, kCanvasWidth, kCanvasHeight, kCanvasStride}, newWidth,
                          newHeight);
}

DibBlock RescalePicture(const CanvasReadView& picture, int32_t newWidth, int32_t newHeight) {
    if (!picture.Valid() || picture.stride != DibRowStride(picture.width, 24)) {
        return nullptr;
    }
    DibBlock image = DibCreate(newWidth, newHeight, 24);
    if (!image) {
        return nullptr;
    }
    // Smaller in both directions goes through the box filter; a lower but
    // not narrower picture keeps the middle rows and scales only across; a
    // picture at least as high interpolates.
    if (!ResampleImage(picture.pixels, DibPixels(image.get()),
                       NewPictureRequest(picture.width, picture.height, newWidth, newHeight))) {
        return nullptr;
    }
    return image;
}
