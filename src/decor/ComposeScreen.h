// ComposeScreen: the only routine that draws the picture area. It composes a
// 176 x 180 24-bit image in memory (the same header and 528-byte rows as the
// display photo) from the scene: the base layer (photo at its offset, the
// rescaled or adjusted mode copy, or the photo combined with a placed frame),
// the floating object, the colour picker, and an open decoration chooser,
// whose page is kept in the composite cache while the chooser stays open.
//
// Contract: nothing throws; null when memory runs out. Integer arithmetic
// only. Every picture is read within its own size as its header states it
// (a size field of the scene that claims more is never trusted), and every
// position, however far off the screen, is clipped to the 176 x 180 area.
// Missing pictures are not drawn: without a display photo the screen is
// CurrentColor.
#pragma once

#include <cstdint>

#include "decor/Scene.h"
#include "image/CanvasView.h"

// Draws the page of the open chooser into the screen's pixel rows (528-byte
// stride): the first open kind in the order Pattern, Picture, Word, Colorful
// Word, Frame. Supplied by the decoration chooser; called only when the
// composite cache is not valid.
class ChooserPainter {
public:
    virtual ~ChooserPainter() = default;
    virtual void DrawPage(const Scene& scene, uint8_t* screenPixels) = 0;
};

// The composed picture area, ready to be shown in one transfer: with a Frame
// or Pattern chooser open it carries the "Please choose one :" banner at
// window row 72 (counted from the top). chooserPainter may be null: an open
// chooser then shows the layers below it.
//
// While a chooser is open the composed page is kept in scene.compositeCache
// (created the first time) and cacheValid is set; later calls return a copy
// of it, with the banner, until the caller clears cacheValid. A failed cache
// copy leaves it invalid. The banner is never part of the cache.
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
// modes the mode copy at the scaled offset. Without a frame colour image and
// mask of 176 x 180 it writes the photo with CurrentColor where it does not
// reach. The target must not be the photo's own pixels.
void ComposeFrame(const Scene& scene, uint8_t* target);

// Where a floating object is burnt onto a canvas, and the colour its shape
// types are drawn in.
struct ObjectStamp {
    int32_t x = 0;  // the object's lowest-left pixel on the canvas
    int32_t y = 0;
    PixelColor color;
};

// Draws the object onto a 24-bit canvas of any size, as the screen draws it:
// types 1 and 5 as BlendMaskColor, types 3 and 6 as BlendMaskImage, clipped
// to the canvas. The object's size may be any the canvas holds (a picture
// rendered again at k times the screen draws it k times as large). False,
// drawing nothing, for another type, an invalid canvas or missing pictures.
bool StampFloatingObject(const FloatingObject& object, const ObjectStamp& stamp,
                         const CanvasView& target);

// The photo combined with a frame, on a canvas of any size: ComposeFrame
// is this at the screen's size with the scene's photo, offset and frame.
struct FrameComposition {
    CanvasReadView photo;  // 24-bit
    int32_t offsetX = 0;   // where the photo's lowest-left pixel lies
    int32_t offsetY = 0;
    CanvasReadView frame;  // 24-bit, the target's size
    CanvasReadView mask;   // 8-bit mask form, the target's size
    PixelColor fill;       // where the photo does not reach and no usable frame is given
};

// Writes every pixel of the 24-bit target as ComposeFrame does. Without a
// frame and mask of the target's size it writes the photo placed at its
// offset over the fill colour. The target must not overlap the photo.
void ComposeFrameOn(const FrameComposition& composition, const CanvasView& target);
