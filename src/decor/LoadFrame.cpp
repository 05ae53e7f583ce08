#include "decor/DecorAssets.h"
#include "decor/Decorations.h"

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
    frame.placed = true;
    return true;
}
