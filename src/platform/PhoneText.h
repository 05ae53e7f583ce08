// PhoneText: every text of the phone screen, drawn through the core's screen
// font (text/TextFonts.h, DejaVu Sans) at the window's scale factor, so that
// it is crisp at every factor and one font is used everywhere. Qt's own font
// machinery is not involved, which also keeps it out of the first paint.
// The Qt widgets inside the dialogs take the same font through PhoneQtFont.
//
// Contract: never fails. Without the font file nothing is drawn and every
// width is 0.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

#include <string_view>

#include "text/TextFonts.h"

class QPainter;

struct PhoneTextStyle {
    int pixelSize = 12;  // the em, in phone pixels
    FontWeight weight = FONT_REGULAR;
    QColor color = Qt::black;
    // Left, right or centred; at the top, in the middle or at the bottom.
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
};

// The width of the line in window pixels at factor.
int PhoneTextWidth(std::string_view text, int pixelSize, FontWeight weight, int factor);
// The same in phone pixels, rounded up.
int PhoneTextPhoneWidth(std::string_view text, int pixelSize, FontWeight weight, int factor);

// Draws one line (UTF-8) into box, in window pixels, at the style's size
// times factor: cut with an ellipsis when it is wider than the box, then
// aligned in it. "Top" puts the font's ascent at the box's top, "middle"
// centres the line's height.
void DrawPhoneText(QPainter& painter, const QRect& box, std::string_view text,
                   const PhoneTextStyle& style, int factor);

// The screen font for Qt widgets, pixelSize in window pixels. The font file
// is registered with Qt on the first call; without it, the default sans-serif
// font.
QFont PhoneQtFont(int pixelSize, bool bold = false);
