#include "decor/Decorations.h"

bool RemoveFrame(Scene* scene) {
    const bool placed = scene->frame.placed;
    scene->frame.placed = false;
    scene->frame.colour.reset();
    scene->frame.mask.reset();
    return placed;
}

bool RemoveFloatingObject(Scene* scene) {
    const bool present = scene->object.present;
    scene->object.present = false;
    scene->object.colour.reset();
    scene->object.mask.reset();
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
