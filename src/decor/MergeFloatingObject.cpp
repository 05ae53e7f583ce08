#include <algorithm>

#include "decor/ComposeScreen.h"
#include "decor/Decorations.h"
#include "decor/LayerGeometry.h"

namespace {

int16_t ToShort(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

}  // namespace

bool MergeFloatingObject(Scene* scene) {
    FloatingObject& object = scene->object;
    const PhotoView photo = ViewPhoto(scene->displayPhoto.get());
    if (!object.present || photo.pixels == nullptr || photo.width != kCanvasWidth ||
        photo.height != kCanvasHeight) {
        return false;
    }
    // The screen shows photo pixel (x - photoX, y - photoY) at screen pixel
    // (x, y); the object goes onto the photo pixel it covered on screen. A
    // position pushed past the 16-bit range lies far off the photo either
    // way, so clamping it changes nothing that is drawn.
    const int16_t x = ToShort(object.x - scene->photoX);
    const int16_t y = ToShort(object.y - scene->photoY);
    uint8_t* pixels = DibPixels(scene->displayPhoto.get());
    bool drawn = true;
    switch (object.type) {
        case OBJECT_PATTERN:
        case OBJECT_WORD:
            BlendMaskColor(object, x, y, scene->currentColor, pixels);
            break;
        case OBJECT_PICTURE:
        case OBJECT_COLORFUL_WORD:
            BlendMaskImage(object, x, y, pixels);
            break;
        default:
            drawn = false;  // a type the screen never shows either
            break;
    }
    RemoveFloatingObject(scene);
    return drawn;
}
