// BrowserPainter: draws what the picture area shows while the Open browser
// is up, from the browser model's layout, at the phone screen's whole scale
// factor.
//
// The geometry (background, list frame, cells, thumbnail frames and pixels,
// arrows) is drawn at the phone's own size and then enlarged pixel by pixel,
// so it is exactly the phone's picture scaled up; the texts are drawn at the
// enlarged size in the screen font (platform/PhoneText.h), at the font's
// pixel height times the factor, so they stay sharp, and a text too wide for
// its rectangle ends with an ellipsis. Contract: never fails; a thumbnail that is not 24-bit or
// whose placement reaches outside it is left out (its frame stays empty).
#pragma once

#include <QImage>

struct BrowserLayout;

// The picture area (layout.client's size times factor, factor at least 1),
// its top-left pixel being the client's top-left corner.
QImage PaintBrowser(const BrowserLayout& layout, int factor);
