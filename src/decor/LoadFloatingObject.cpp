// The four loads of the floating object share their start and their end:
// the old images go first, and a failure leaves the object absent at -1, -1.
#include "decor/DecorAssets.h"
#include "decor/Decorations.h"

namespace {

constexpr int16_t kPictureSize = 60;
constexpr int16_t kWordWidth = 176;
constexpr int16_t kWordHeight = 50;

// Places the loaded images, or marks the failure when either is missing
// (a colour image is wanted only for the coloured types). The object was
// released before the load, so a failure has nothing left to free.
bool Place(FloatingObject* object, int16_t type, DibBlock colour, DibBlock mask, bool wantsColour,
           int16_t x, int16_t y, int16_t width, int16_t height) {
    if (!mask || (wantsColour && !colour)) {
        object->x = -1;
        object->y = -1;
        return false;
    }
    object->colour = std::move(colour);
    object->mask = std::move(mask);
    object->type = type;
    object->x = x;
    object->y = y;
    object->width = width;
    object->height = height;
    object->present = true;
    return true;
}

}  // namespace

bool LoadPatternStamp(Scene* scene, const std::string& assetFolder, int16_t size, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock shape;
    if (size == 12 || size == 24) {
        shape = LoadGreyBySize(assetFolder, scene->themes, size, item);
    }
    return Place(&scene->object, OBJECT_PATTERN, nullptr, std::move(shape), false,
                 static_cast<int16_t>((kCanvasWidth - size) / 2),
                 static_cast<int16_t>((kCanvasHeight - size) / 2), size, size);
}

bool LoadPictureObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_PICTURE, item);
    DibBlock mask;
    if (colour) {
        mask = LoadGreyBySize(assetFolder, scene->themes, kPictureSize, item);
    }
    return Place(&scene->object, OBJECT_PICTURE, std::move(colour), std::move(mask), true, 58, 60,
                 kPictureSize, kPictureSize);
}

bool LoadWordObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock shape = LoadAsset(assetFolder, scene->themes, ASSET_WORD, item);
    return Place(&scene->object, OBJECT_WORD, nullptr, std::move(shape), false, 0, 0, kWordWidth,
                 kWordHeight);
}

bool LoadColorfulWordObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_COLORFUL_WORD, item);
    DibBlock mask;
    if (colour) {
        mask = LoadAsset(assetFolder, scene->themes, ASSET_COLORFUL_WORD_MASK, item);
    }
    return Place(&scene->object, OBJECT_COLORFUL_WORD, std::move(colour), std::move(mask), true, 0,
                 0, kWordWidth, kWordHeight);
}
