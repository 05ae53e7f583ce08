#include "platform/ProgramIcon.h"

#include "resources/Resources.h"

QPixmap ProgramIconPixmap() {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(RESOURCE_ICON, &size);
    QPixmap icon;
    if (bytes == nullptr || size == 0 || size > 0x7fffffff ||
        !icon.loadFromData(bytes, static_cast<uint>(size), "PNG")) {
        return QPixmap();
    }
    return icon;
}
