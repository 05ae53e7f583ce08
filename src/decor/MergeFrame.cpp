#include <cstring>

#include "decor/ComposeScreen.h"
#include "decor/Decorations.h"
#include "decor/LayerGeometry.h"

bool MergeFrame(Scene* scene) {
    if (!scene->frame.placed) {
        return false;
    }
    // ComposeFrame reads the photo, so it writes into a picture of its own.
    DibBlock composed = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (!composed) {
        return false;
    }
    ComposeFrame(*scene, DibPixels(composed.get()));
    const PhotoView photo = ViewPhoto(scene->displayPhoto.get());
    if (photo.pixels != nullptr && photo.width == kCanvasWidth && photo.height == kCanvasHeight) {
        std::memcpy(DibPixels(scene->displayPhoto.get()), DibPixels(composed.get()),
                    kCanvasPixelBytes);
    } else {
        // No canvas yet (or a misshapen one): the composed picture becomes it.
        scene->displayPhoto = std::move(composed);
    }
    // The photo now fills the screen exactly as it was shown.
    scene->photoX = 0;
    scene->photoY = 0;
    RemoveFrame(scene);
    return true;
}
