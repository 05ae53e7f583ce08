#include "decor/Decorations.h"

bool MergeNextDecoration(Scene* scene) {
    // The frame first: it lies over the whole screen, so a second Merge
    // then burns the object into the framed photo.
    if (scene->frame.placed) {
        return MergeFrame(scene);
    }
    return MergeFloatingObject(scene);
}
