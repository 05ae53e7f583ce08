// ComposeScreen: the only routine that draws the picture area. It composes a
// 176 x 180 24-bit image in memory (the same header and 528-byte rows as the
// display photo) from the scene: the base layer (photo at its offset, the
// rescaled or adjusted mode copy, or the photo combined with a placed frame),
// the floating object, the colour picker, and an open decoration chooser,
// whose page is kept in the composite cache while the chooser stays open.
//
// Contract: nothing throws; null when memory runs out. Integer arithmetic
// only.
#pragma once

#include <cstdint>

#include "decor/Scene.h"

// Draws the page of the open chooser into the screen's pixel rows (528-byte
// stride). Supplied by the decoration chooser.
class ChooserPainter {
public:
    virtual ~ChooserPainter() = default;
    virtual void DrawPage(const Scene& scene, uint8_t* screenPixels) = 0;
};

// The composed picture area, ready to be shown in one transfer: with a Frame
// or Pattern chooser open it carries the "Please choose one :" banner at
// window row 72 (counted from the top). chooserPainter may be null: an open
// chooser then shows the layers below it.
DibBlock ComposeScreen(Scene& scene, ChooserPainter* chooserPainter);

// Draws the floating object's mask in the colour into a 176 x 180 target
// (object types 1 and 5), with the object's lowest-left pixel at x, y.
// Mask 16 or less leaves the target, 240 or more gives the colour, levels
// between blend. Clipped to the target.
void BlendMaskColor(const FloatingObject& object, int16_t x, int16_t y, PixelColor color,
                    uint8_t* target);

// Draws the floating object's colour image through its mask (types 3 and 6):
// mask 23 or less leaves the target, 240 or more gives the image, levels
// between blend. Clipped to the target.
void BlendMaskImage(const FloatingObject& object, int16_t x, int16_t y, uint8_t* target);

// Writes the photo combined with the placed frame into every pixel of a
// 176 x 180 target: where the photo does not reach, the frame's colour; else
// mask 24 or less the photo, 240 or more the frame, levels between blend. The
// photo is the display photo at the photo offset, or in rescale and adjust
// modes the mode copy at the scaled offset and size.
void ComposeFrame(const Scene& scene, uint8_t* target);
