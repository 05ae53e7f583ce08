#include "platform/LevelBar.h"

#include <QPainter>

#include <algorithm>

#include "adjust/AdjustKind.h"
#include "image/DibImage.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"

namespace {

// In phone pixels of the picture area.
constexpr int kLeft = 4;
constexpr int kWidth = 168;
constexpr int kHeight = 16;
constexpr int kBottomGap = 3;
constexpr int kTextWidth = 42;  // the number, left of the slider
constexpr int kSlideLeft = 50;  // from the bar's left
constexpr int kSlideRight = 8;  // from the bar's right
constexpr int kKnobWidth = 5;
constexpr int kFontPixels = 11;
constexpr int kAdjustLowest = -100;
constexpr int kAdjustHighest = 100;

const QColor kGround(255, 255, 255);
const QColor kTrack(160, 168, 184);
const QColor kTick(96, 96, 96);

std::string SignedText(int value) {
    return (value > 0 ? "+" : "") + std::to_string(value);
}

}  // namespace

LevelBarModel LevelBarFor(const EditorState& state) {
    LevelBarModel bar;
    if (state.mode == EditMode::Rescale) {
        bar.shown = true;
        bar.lowest = kScaleMinimum;
        bar.highest = kScaleMaximum;
        bar.neutral = 100;
        bar.value = state.scalePercent;
        bar.text = std::to_string(state.scalePercent) + " %";
    } else if (state.mode == EditMode::Adjust) {
        bar.shown = true;
        bar.value = state.adjustLevel;
        if (state.adjustKind == ADJUST_VIVIDNESS) {
            bar.lowest = kVividnessMinLevel;
            bar.highest = kVividnessMaxLevel;
            bar.neutral = kVividnessNeutralLevel;
            bar.text = std::to_string(state.adjustLevel);
        } else {
            bar.lowest = kAdjustLowest;
            bar.highest = kAdjustHighest;
            bar.neutral = 0;
            bar.text = SignedText(state.adjustLevel);
        }
    }
    return bar;
}

QRect LevelBarPhoneRect() {
    return QRect(kLeft, kCanvasHeight - kBottomGap - kHeight, kWidth, kHeight);
}

void DrawLevelBar(QPainter& painter, const QRect& pictureArea, const LevelBarModel& bar,
                  int factor) {
    if (!bar.shown || bar.highest <= bar.lowest) {
        return;
    }
    const int f = std::max(factor, 1);
    const QRect phone = LevelBarPhoneRect();
    const auto toWindow = [&](int x, int y, int width, int height) {
        return QRect(pictureArea.left() + (phone.left() + x) * f,
                     pictureArea.top() + (phone.top() + y) * f, width * f, height * f);
    };
    painter.fillRect(toWindow(0, 0, phone.width(), phone.height()), kPhoneBlue);
    painter.fillRect(toWindow(1, 1, phone.width() - 2, phone.height() - 2), kGround);

    PhoneTextStyle style;
    style.pixelSize = kFontPixels;
    style.weight = FONT_BOLD;
    style.align = Qt::AlignRight | Qt::AlignVCenter;
    DrawPhoneText(painter, toWindow(2, 1, kTextWidth, phone.height() - 2), bar.text, style, f);

    // The slider: a track between the limits, a tick at the start value and
    // a knob at the value.
    const int trackLeft = kSlideLeft;
    const int trackWidth = phone.width() - kSlideLeft - kSlideRight;
    const int middle = phone.height() / 2;
    const auto at = [&](int value) {
        const int clamped = std::clamp(value, bar.lowest, bar.highest);
        return trackLeft + (clamped - bar.lowest) * (trackWidth - 1) / (bar.highest - bar.lowest);
    };
    painter.fillRect(toWindow(trackLeft, middle - 1, trackWidth, 2), kTrack);
    painter.fillRect(toWindow(at(bar.neutral), middle - 4, 1, 8), kTick);
    painter.fillRect(toWindow(at(bar.value) - kKnobWidth / 2, 3, kKnobWidth, phone.height() - 6),
                     kPhoneBlue);
}
