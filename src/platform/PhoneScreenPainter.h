// The phone screen's geometry and its two text strips, shared by the main
// window and the full-screen dialogs that cover it.
//
// The phone screen is 176 x 220 phone pixels: a 20-pixel title strip, the
// 176 x 180 picture area and a 20-pixel soft-key strip. On the desktop it is
// drawn at a whole scale factor, centred in the widget.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

constexpr int kPhoneWidth = 176;
constexpr int kPhoneHeight = 220;
constexpr int kStripHeight = 20;
constexpr int kPictureTop = kStripHeight;  // the picture area's first row on the phone
constexpr int kPictureHeight = 180;

// The phone's own dark blue: the soft-key strip, outlines, highlights and
// the question icon.
inline const QColor kPhoneBlue(16, 48, 112);

// The largest whole factor at which the phone screen fits into size; at
// least 1.
int PhoneScaleFactor(const QSize& size);

// Where the phone screen lies in a widget of this size at this factor:
// centred, or at the top left when the widget is smaller.
QRect PhoneScreenRect(const QSize& size, int factor);

// The strips and the picture area inside a phone screen rectangle.
QRect TitleStripRect(const QRect& phone, int factor);
QRect PictureAreaRect(const QRect& phone, int factor);
QRect SoftKeyStripRect(const QRect& phone, int factor);

// Draws the title strip: the title on a white strip with a rule below it.
void DrawTitleStrip(QPainter& painter, const QRect& strip, const QString& title, int factor);

// Draws the soft-key strip with the left label at the left and the right
// label at the right; an empty label leaves its half blank.
void DrawSoftKeyStrip(QPainter& painter, const QRect& strip, const QString& left,
                      const QString& right, int factor);
