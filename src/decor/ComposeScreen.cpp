#include "decor/ComposeScreen.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "decor/LayerGeometry.h"
#include "image/Resample.h"

namespace {

// The "Please choose one :" banner lies centred between window rows 70 and
// 90 (counted from the top), so its top row is window row 72.
constexpr int32_t kBannerTopWindowRow = 72;

// The colour picker sits where it hides the least of a floating object.
constexpr int32_t kPickerRowsTones = 0;         // colour tones: the whole photo is the preview
constexpr int32_t kPickerRowsObjectBelow = 90;  // above an object lying wholly below row 90
constexpr int32_t kPickerRowsObjectAbove = 5;   // any other object
constexpr int32_t kPickerRowsPlain = 65;
constexpr int32_t kCursorBoxSide = 11;

void FillBytes(const PixelColor& color, uint8_t* blue, uint8_t* green, uint8_t* red) {
    *blue = ChannelByte(color.blue);
    *green = ChannelByte(color.green);
    *red = ChannelByte(color.red);
}

// A photo's rows as the placement takes them.
CanvasReadView ReadViewOfPhoto(const PhotoView& view) {
    return {view.pixels, view.width, view.height, DibRowStride(view.width, 24)};
}

bool HoldsScreen(const DibImage* image) {
    const PhotoView view = ViewPhoto(image);
    return view.pixels != nullptr && view.width == kCanvasWidth && view.height == kCanvasHeight;
}

// The first of the layers: a placed frame over the photo, the rescaled copy,
// or the photo at its offset, with CurrentColor wherever nothing reaches.
void DrawBaseLayer(const Scene& scene, uint8_t* screen) {
    uint8_t blue, green, red;
    FillBytes(scene.currentColor, &blue, &green, &red);
    if (scene.frame.placed) {
        ComposeFrame(scene, screen);
        return;
    }
    if (scene.mode == EditMode::Rescale) {
        // The copy's own size is what its rows hold.
        const PhotoView copy = ViewPhoto(scene.modeCopy.get());
        PlacePhotoOnCanvas(ScreenCanvasView(screen),
                           {ReadViewOfPhoto(copy), scene.scaledX, scene.scaledY, blue, green, red});
        return;
    }
    const PhotoView source =
        ViewPhoto(scene.mode == EditMode::Adjust ? scene.modeCopy.get() : scene.displayPhoto.get());
    if (scene.photoX == 0 && scene.photoY == 0 && source.width == kCanvasWidth &&
        source.height == kCanvasHeight) {
        std::memcpy(screen, source.pixels, kCanvasPixelBytes);
        return;
    }
    // Also without a photo (before the first picture): all fill.
    PlacePhotoOnCanvas(ScreenCanvasView(screen),
                       {ReadViewOfPhoto(source), scene.photoX, scene.photoY, blue, green, red});
}

void DrawFloatingObject(const Scene& scene, uint8_t* screen) {
    const FloatingObject& object = scene.object;
    if (!object.present) {
        return;
    }
    switch (object.type) {
        case OBJECT_PATTERN:
        case OBJECT_WORD:
            BlendMaskColor(object, object.x, object.y, scene.currentColor, screen);
            break;
        case OBJECT_PICTURE:
        case OBJECT_COLORFUL_WORD:
            BlendMaskImage(object, object.x, object.y, screen);
            break;
        default:
            break;
    }
}

int32_t PickerBottomRow(const Scene& scene) {
    if (scene.mode == EditMode::Tones) {
        return kPickerRowsTones;
    }
    if (scene.object.present) {
        const bool objectWhollyBelow =
            scene.object.y < kPickerRowsObjectBelow - scene.object.height;
        return objectWhollyBelow ? kPickerRowsObjectBelow : kPickerRowsObjectAbove;
    }
    return kPickerRowsPlain;
}

// The colour field and the cursor box: a black outline around CurrentColor.
// The box is 11 pixels square from its left column, cut at the right edge of
// the screen and at the top and bottom.
void DrawColorPicker(const Scene& scene, uint8_t* screen) {
    const ColorPicker& picker = scene.picker;
    const PhotoView field = ViewPhoto(picker.field.get());
    if (field.pixels == nullptr || field.width != kColorFieldWidth ||
        field.height != kColorFieldHeight) {
        return;
    }
    const int32_t bottom = PickerBottomRow(scene);
    std::memcpy(screen + bottom * kCanvasStride, field.pixels,
                static_cast<size_t>(kCanvasStride) * kColorFieldHeight);

    uint8_t inside[3];
    FillBytes(scene.currentColor, &inside[0], &inside[1], &inside[2]);
    const int32_t left = std::clamp<int32_t>(picker.boxLeft, 0, kCanvasWidth - 1);
    const int32_t outlineRight = left + kCursorBoxSide - 1;
    const int32_t right = std::min(outlineRight, kCanvasWidth - 1);
    const int32_t firstRow = bottom + picker.cursorY - kCursorBoxSide / 2;
    for (int32_t i = 0; i < kCursorBoxSide; ++i) {
        const int32_t row = firstRow + i;
        if (row < 0 || row >= kCanvasHeight) {
            continue;
        }
        const bool outlineRow = i == 0 || i == kCursorBoxSide - 1;
        uint8_t* p = screen + row * kCanvasStride + left * 3;
        for (int32_t x = left; x <= right; ++x, p += 3) {
            const bool outline = outlineRow || x == left || x == outlineRight;
            p[0] = outline ? 0 : inside[0];
            p[1] = outline ? 0 : inside[1];
            p[2] = outline ? 0 : inside[2];
        }
    }
}

// Keeps the composed chooser page so that repaints of an unchanged page need
// not draw it again. When no copy can be made the cache stays invalid.
void StoreInCache(Scene& scene, const uint8_t* screen) {
    if (HoldsScreen(scene.compositeCache.get())) {
        CanvasCopy(screen, DibPixels(scene.compositeCache.get()));
    } else {
        scene.compositeCache = CanvasDuplicate(screen);
    }
    scene.cacheValid = scene.compositeCache != nullptr;
}

// The banner's grey levels, opaque, with its top row at window row 72.
void DrawBanner(const DibImage* banner, uint8_t* screen) {
    const PhotoView view = ViewMask(banner);
    if (view.pixels == nullptr) {
        return;
    }
    const int32_t left = (kCanvasWidth - view.width) / 2;
    const int32_t bottom = kCanvasHeight - 1 - kBannerTopWindowRow - (view.height - 1);
    DrawGreyLevels(banner, left, bottom, view.width, view.height, screen);
}

}  // namespace

void ComposeFrame(const Scene& scene, uint8_t* target) {
    if (target == nullptr) {
        return;
    }
    // The photo under the frame: the mode copy wherever a mode shows it,
    // else the display photo at its offset. The size comes from the image
    // itself, so a stale size field can never make a row read run past it.
    const bool modeShown = scene.mode == EditMode::Rescale || scene.mode == EditMode::Adjust;
    const PhotoView photo = ViewPhoto(modeShown ? scene.modeCopy.get() : scene.displayPhoto.get());
    FrameComposition composition;
    if (photo.pixels != nullptr) {
        composition.photo = {photo.pixels, photo.width, photo.height,
                             DibRowStride(photo.width, 24)};
    }
    composition.offsetX = modeShown ? scene.scaledX : scene.photoX;
    composition.offsetY = modeShown ? scene.scaledY : scene.photoY;
    const PhotoView frame = ViewPhoto(scene.frame.colour.get());
    const PhotoView mask = ViewMask(scene.frame.mask.get());
    if (frame.pixels != nullptr && mask.pixels != nullptr) {
        composition.frame = {frame.pixels, frame.width, frame.height,
                             DibRowStride(frame.width, 24)};
        composition.mask = {mask.pixels, mask.width, mask.height, DibRowStride(mask.width, 8)};
    }
    composition.fill = scene.currentColor;
    ComposeFrameOn(composition, ScreenCanvasView(target));
}

void ComposeFrameOn(const FrameComposition& composition, const CanvasView& target) {
    if (!target.Valid()) {
        return;
    }
    const CanvasReadView& photo = composition.photo;
    const CanvasReadView& frame = composition.frame;
    const CanvasReadView& mask = composition.mask;
    const int32_t width = target.width;
    const int32_t height = target.height;
    const int32_t offsetX = composition.offsetX;
    const int32_t offsetY = composition.offsetY;
    if (!frame.Valid() || !mask.Valid() || frame.width != width || frame.height != height ||
        mask.width != width || mask.height != height) {
        // No usable frame: the photo alone, as the screen shows it without
        // one.
        const PixelColor& fill = composition.fill;
        PhotoPlacement placement;
        placement.photo = photo;
        placement.x = offsetX;
        placement.y = offsetY;
        placement.fillBlue = ChannelByte(fill.blue);
        placement.fillGreen = ChannelByte(fill.green);
        placement.fillRed = ChannelByte(fill.red);
        PlacePhotoOnCanvas(target, placement);
        return;
    }

    const LayerClip covered =
        photo.Valid() ? ClipLayerIn(offsetX, offsetY, photo.width, photo.height, width, height)
                      : LayerClip();
    const int32_t coveredTop = offsetY + covered.firstRow + covered.rows;  // first row above
    const int32_t coveredLeft = offsetX + covered.firstColumn;
    const int32_t coveredRight = coveredLeft + covered.columns;
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = target.pixels + static_cast<ptrdiff_t>(y) * target.stride;
        const uint8_t* f = frame.pixels + static_cast<ptrdiff_t>(y) * frame.stride;
        const uint8_t* levels = mask.pixels + static_cast<ptrdiff_t>(y) * mask.stride;
        const bool rowCovered =
            covered.rows > 0 && y >= offsetY + covered.firstRow && y < coveredTop;
        const uint8_t* q = nullptr;
        if (rowCovered) {
            q = photo.pixels + static_cast<ptrdiff_t>(y - offsetY) * photo.stride +
                static_cast<ptrdiff_t>(coveredLeft - offsetX) * 3;
        }
        for (int32_t x = 0; x < width; ++x, p += 3, f += 3) {
            if (!rowCovered || x < coveredLeft || x >= coveredRight) {
                p[0] = f[0];
                p[1] = f[1];
                p[2] = f[2];
                continue;
            }
            const int32_t m = levels[x];
            for (int c = 0; c < 3; ++c) {
                if (m <= 24) {
                    p[c] = q[c];
                } else if (m >= 240) {
                    p[c] = f[c];
                } else {
                    p[c] = static_cast<uint8_t>((f[c] * m + q[c] * (255 - m) + 127) / 255);
                }
            }
            q += 3;
        }
    }
}

namespace {

void BlendMaskColorOn(const FloatingObject& object, const ObjectStamp& stamp,
                      const CanvasView& target) {
    const PhotoView mask = ViewMask(object.mask.get());
    if (!target.Valid() || mask.pixels == nullptr) {
        return;
    }
    // The object's own size, never more than its mask holds.
    const LayerClip clip =
        ClipLayerIn(stamp.x, stamp.y, std::min<int32_t>(object.width, mask.width),
                    std::min<int32_t>(object.height, mask.height), target.width, target.height);
    const int32_t maskStride = DibRowStride(mask.width, 8);
    const int32_t colour[3] = {ChannelByte(stamp.color.blue), ChannelByte(stamp.color.green),
                               ChannelByte(stamp.color.red)};
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels = mask.pixels +
                                static_cast<ptrdiff_t>(clip.firstRow + row) * maskStride +
                                clip.firstColumn;
        uint8_t* p = target.pixels +
                     static_cast<ptrdiff_t>(stamp.y + clip.firstRow + row) * target.stride +
                     static_cast<ptrdiff_t>(stamp.x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3) {
            const int32_t m = levels[column];
            if (m <= 16) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                p[c] = m >= 240
                           ? static_cast<uint8_t>(colour[c])
                           : static_cast<uint8_t>((p[c] * (255 - m) + colour[c] * m + 127) / 255);
            }
        }
    }
}

void BlendMaskImageOn(const FloatingObject& object, const ObjectStamp& stamp,
                      const CanvasView& target) {
    const PhotoView mask = ViewMask(object.mask.get());
    const PhotoView image = ViewPhoto(object.colour.get());
    if (!target.Valid() || mask.pixels == nullptr || image.pixels == nullptr) {
        return;
    }
    // The object's own size, never more than its mask or its image holds;
    // each is walked with its own row stride.
    const int32_t width = std::min({static_cast<int32_t>(object.width), mask.width, image.width});
    const int32_t height =
        std::min({static_cast<int32_t>(object.height), mask.height, image.height});
    const LayerClip clip =
        ClipLayerIn(stamp.x, stamp.y, width, height, target.width, target.height);
    const int32_t maskStride = DibRowStride(mask.width, 8);
    const int32_t imageStride = DibRowStride(image.width, 24);
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels = mask.pixels +
                                static_cast<ptrdiff_t>(clip.firstRow + row) * maskStride +
                                clip.firstColumn;
        const uint8_t* s = image.pixels +
                           static_cast<ptrdiff_t>(clip.firstRow + row) * imageStride +
                           clip.firstColumn * 3;
        uint8_t* p = target.pixels +
                     static_cast<ptrdiff_t>(stamp.y + clip.firstRow + row) * target.stride +
                     static_cast<ptrdiff_t>(stamp.x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3, s += 3) {
            const int32_t m = levels[column];
            if (m <= 23) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                p[c] = m >= 240 ? s[c]
                                : static_cast<uint8_t>(
                                      std::min(255, (p[c] * (255 - m) + s[c] * m + 127) / 255));
            }
        }
    }
}

}  // namespace

void BlendMaskColor(const FloatingObject& object, int16_t x, int16_t y, PixelColor color,
                    uint8_t* target) {
    if (target == nullptr) {
        return;
    }
    BlendMaskColorOn(object, {x, y, color}, ScreenCanvasView(target));
}

void BlendMaskImage(const FloatingObject& object, int16_t x, int16_t y, uint8_t* target) {
    if (target == nullptr) {
        return;
    }
    BlendMaskImageOn(object, {x, y, PixelColor()}, ScreenCanvasView(target));
}

bool StampFloatingObject(const FloatingObject& object, const ObjectStamp& stamp,
                         const CanvasView& target) {
    if (!target.Valid() || !object.mask) {
        return false;
    }
    switch (object.type) {
        case OBJECT_PATTERN:
        case OBJECT_WORD:
            BlendMaskColorOn(object, stamp, target);
            return true;
        case OBJECT_PICTURE:
        case OBJECT_COLORFUL_WORD:
            if (!object.colour) {
                return false;
            }
            BlendMaskImageOn(object, stamp, target);
            return true;
        default:
            return false;
    }
}

void DrawTintedLevels(const DibImage* grey, int32_t x, int32_t y, int32_t maxWidth,
                      int32_t maxHeight, const uint8_t (&tint)[3], uint8_t* screen) {
    const PhotoView view = ViewMask(grey);
    if (view.pixels == nullptr) {
        return;
    }
    const LayerClip clip =
        ClipLayer(x, y, std::min(view.width, maxWidth), std::min(view.height, maxHeight));
    const int32_t stride = DibRowStride(view.width, 8);
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels =
            view.pixels + static_cast<ptrdiff_t>(clip.firstRow + row) * stride + clip.firstColumn;
        uint8_t* p =
            screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3) {
            const int32_t m = levels[column];
            for (int i = 0; i < 3; ++i) {
                p[i] = static_cast<uint8_t>((tint[i] * m + 127) / 255);
            }
        }
    }
}

DibBlock ComposeScreen(Scene& scene, ChooserPainter* chooserPainter) {
    DibBlock screenImage = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (!screenImage) {
        return nullptr;
    }
    uint8_t* screen = DibPixels(screenImage.get());
    const bool chooserOpen = scene.chooser.AnyOpen();
    const bool cacheValid = scene.cacheValid && HoldsScreen(scene.compositeCache.get());

    if (cacheValid && chooserOpen) {
        CanvasCopy(DibPixels(scene.compositeCache.get()), screen);
    } else {
        DrawBaseLayer(scene, screen);
        DrawFloatingObject(scene, screen);
        if (scene.picker.open) {
            // No chooser is drawn while the picker is open.
            DrawColorPicker(scene, screen);
        } else if (chooserOpen) {
            if (chooserPainter != nullptr) {
                chooserPainter->DrawPage(scene, screen);
            }
            StoreInCache(scene, screen);
        }
    }

    // The banner goes on the shown screen only, never into the cache.
    if (scene.chooser.open[CHOOSER_FRAME] || scene.chooser.open[CHOOSER_PATTERN]) {
        DrawBanner(scene.banner.get(), screen);
    }
    return screenImage;
}
