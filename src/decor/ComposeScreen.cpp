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
        PlacePhoto(copy.pixels, screen, scene.scaledX, scene.scaledY, copy.width, copy.height, blue,
                   green, red);
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
    PlacePhoto(source.pixels, screen, scene.photoX, scene.photoY, source.width, source.height, blue,
               green, red);
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
