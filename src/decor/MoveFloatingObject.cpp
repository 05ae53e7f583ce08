#include <algorithm>

#include "decor/Decorations.h"

namespace {

// The highest row and the rightmost column the object's lowest-left pixel
// may reach: it never leaves the screen upwards or to the right entirely.
constexpr int32_t kHighestY = kCanvasHeight - 1;
constexpr int32_t kRightmostX = kCanvasWidth - 1;

}  // namespace

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
    object.x = static_cast<int16_t>(newX);
    object.y = static_cast<int16_t>(newY);
    return true;
}
