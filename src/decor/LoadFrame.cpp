#include "decor/DecorAssets.h"
#include "decor/Decorations.h"

bool LoadFrame(Scene* scene, const std::string& assetFolder, int16_t item) {
    FrameLayer& frame = scene->frame;
    // The frame it replaces goes first, merged or not: two full frames are
    // never held at once.
    frame.placed = false;
    frame.colour.reset();
    frame.mask.reset();
    DibBlock colour = LoadAsset(assetFolder, scene->themes, ASSET_FRAME, item);
    if (!colour) {
        return false;
    }
    DibBlock mask = LoadAsset(assetFolder, scene->themes, ASSET_FRAME_MASK, item);
    if (!mask) {
        return false;
    }
    frame.colour = std::move(colour);
    frame.mask = std::move(mask);
    frame.placed = true;
    return true;
}
