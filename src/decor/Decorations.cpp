// The floating object and the frame: loading them from the asset folder,
// moving the object, burning either into the display photo, removing them.
#include "decor/Decorations.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "decor/ComposeScreen.h"
#include "decor/DecorAssets.h"
#include "decor/LayerGeometry.h"
#include "decor/Lettering.h"

namespace {

constexpr int16_t kPictureSize = 60;
constexpr int16_t kWordWidth = 176;
constexpr int16_t kWordHeight = 50;

// The highest row and the rightmost column the object's lowest-left pixel
// may reach: it never leaves the screen upwards or to the right entirely.
constexpr int32_t kHighestY = kCanvasHeight - 1;
constexpr int32_t kRightmostX = kCanvasWidth - 1;

// A position or size computed in 32 bits, brought into the 16-bit range of
// the scene's fields.
int16_t ToShort(int32_t value) {
    return static_cast<int16_t>(std::clamp<int32_t>(value, INT16_MIN, INT16_MAX));
}

// The end the four loads of the floating object share: places the loaded
// images, or marks the failure (absent at -1, -1) when either is missing (a
// colour image is wanted only for the coloured types). Each load releases
// the old images first, so a failure has nothing left to free.
bool Place(FloatingObject* object, int16_t type, DibBlock colour, DibBlock mask, bool wantsColour,
           int16_t x, int16_t y, int16_t width, int16_t height) {
    object->item = DecorationItem();
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

// The item of the theme selected for kind: what a load records of where its
// pictures came from.
DecorationItem SelectedItem(const ThemeTable& themes, int16_t kind, int16_t number) {
    DecorationItem item;
    const int16_t theme = themes.selectedTheme[kind];
    if (theme >= 0 && theme < kThemesPerKind) {
        item.kind = kind;
        item.theme = themes.themeName[kind * kThemesPerKind + theme];
        item.number = number;
    }
    return item;
}

// A load that succeeded records its item.
bool Placed(bool loaded, FloatingObject* object, DecorationItem item) {
    if (loaded) {
        object->item = std::move(item);
    }
    return loaded;
}

}  // namespace

bool LoadFrame(Scene* scene, const std::string& assetFolder, int16_t item) {
    // The frame it replaces goes first, merged or not: two full frames are
    // never held at once.
    RemoveFrame(scene);
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_FRAME, item);
    if (!colour) {
        return false;
    }
    DibBlock mask = LoadAsset(assetFolder, scene->themes, ASSET_FRAME_MASK, item);
    if (!mask) {
        return false;
    }
    FrameLayer& frame = scene->frame;
    frame.colour = std::move(colour);
    frame.mask = std::move(mask);
    frame.item = SelectedItem(scene->themes, DECOR_FRAME, item);
    frame.placed = true;
    return true;
}

bool LoadPatternStamp(Scene* scene, const std::string& assetFolder, int16_t size, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock shape;
    if (size == 12 || size == 24) {
        shape = LoadGreyBySize(assetFolder, scene->themes, size, item);
    }
    const int16_t kind = size == 12 ? DECOR_PATTERN12 : DECOR_PATTERN24;
    return Placed(
        Place(&scene->object, OBJECT_PATTERN, nullptr, std::move(shape), false,
              ToShort((kCanvasWidth - size) / 2), ToShort((kCanvasHeight - size) / 2), size, size),
        &scene->object, SelectedItem(scene->themes, kind, item));
}

bool LoadPictureObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_PICTURE, item);
    DibBlock mask;
    if (colour) {
        mask = LoadGreyBySize(assetFolder, scene->themes, kPictureSize, item);
    }
    return Placed(Place(&scene->object, OBJECT_PICTURE, std::move(colour), std::move(mask), true,
                        58, 60, kPictureSize, kPictureSize),
                  &scene->object, SelectedItem(scene->themes, DECOR_PICTURE, item));
}

bool LoadWordObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock shape = LoadAsset(assetFolder, scene->themes, ASSET_WORD, item);
    return Placed(Place(&scene->object, OBJECT_WORD, nullptr, std::move(shape), false, 0, 0,
                        kWordWidth, kWordHeight),
                  &scene->object, SelectedItem(scene->themes, DECOR_WORD, item));
}

bool LoadColorfulWordObject(Scene* scene, const std::string& assetFolder, int16_t item) {
    RemoveFloatingObject(scene);
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_COLORFUL_WORD, item);
    DibBlock mask;
    if (colour) {
        mask = LoadAsset(assetFolder, scene->themes, ASSET_COLORFUL_WORD_MASK, item);
    }
    return Placed(Place(&scene->object, OBJECT_COLORFUL_WORD, std::move(colour), std::move(mask),
                        true, 0, 0, kWordWidth, kWordHeight),
                  &scene->object, SelectedItem(scene->themes, DECOR_COLORFUL_WORD, item));
}

bool MoveFloatingObject(Scene* scene, Direction direction, int16_t step, bool repeat) {
    FloatingObject& object = scene->object;
    if (!object.present || scene->chooser.AnyOpen() || scene->picker.open) {
        return false;
    }
    const int32_t by = repeat ? std::max<int32_t>(step, 1) : 1;
    const int32_t x = object.x;
    const int32_t y = object.y;
    int32_t newX = x;
    int32_t newY = y;
    switch (direction) {
        case DIRECTION_DOWN:
            if (y + object.height >= 1) {
                newY = std::max(y - by, -static_cast<int32_t>(object.height));
            }
            break;
        case DIRECTION_UP:
            if (y < kHighestY) {
                newY = std::min(y + by, kHighestY);
            }
            break;
        case DIRECTION_LEFT:
            if (x + object.width >= 1) {
                newX = std::max(x - by, -static_cast<int32_t>(object.width));
            }
            break;
        case DIRECTION_RIGHT:
            if (x < kRightmostX) {
                newX = std::min(x + by, kRightmostX);
            }
            break;
        default:
            break;
    }
    if (newX == x && newY == y) {
        return false;
    }
    object.x = ToShort(newX);
    object.y = ToShort(newY);
    return true;
}

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

bool MergeNextDecoration(Scene* scene) {
    // The frame first: it lies over the whole screen, so a second Merge
    // then burns the object into the framed photo.
    if (scene->frame.placed) {
        return MergeFrame(scene);
    }
    return MergeFloatingObject(scene);
}

bool RemoveFrame(Scene* scene) {
    const bool placed = scene->frame.placed;
    scene->frame.placed = false;
    scene->frame.colour.reset();
    scene->frame.mask.reset();
    scene->frame.item = DecorationItem();
    return placed;
}

bool RemoveFloatingObject(Scene* scene) {
    const bool present = scene->object.present;
    scene->object.text.clear();
    scene->object.present = false;
    scene->object.colour.reset();
    scene->object.mask.reset();
    scene->object.item = DecorationItem();
    return present;
}

bool DeleteDecorations(Scene* scene) {
    const bool frame = RemoveFrame(scene);
    const bool object = RemoveFloatingObject(scene);
    return frame || object;
}

bool DecorationPending(const Scene& scene) {
    return scene.frame.placed || scene.object.present;
}

bool PlaceTypedWord(Scene* scene, std::string_view text, int16_t kind) {
    RemoveFloatingObject(scene);
    LetteringResult lettering = RenderLettering(text, kind, 1);
    const bool colourful = kind == DECOR_COLORFUL_WORD;
    if (!Place(&scene->object, colourful ? OBJECT_COLORFUL_WORD : OBJECT_WORD,
               std::move(lettering.colour), std::move(lettering.mask), colourful, 0, 0, kWordWidth,
               kWordHeight)) {
        return false;
    }
    // Blanks are not part of a line: the lettering dropped them too.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    scene->object.text = std::string(text);
    return true;
}
