// Looks the built-in resources up in the table the build embeds.
#include "resources/Resources.h"

#include "resources/EmbeddedResources.h"

const uint8_t* ResourceBytes(int16_t id, size_t* size) {
    for (size_t i = 0; i < kEmbeddedResourceCount; ++i) {
        if (kEmbeddedResources[i].id == id) {
            if (size != nullptr) {
                *size = kEmbeddedResources[i].size;
            }
            return kEmbeddedResources[i].bytes;
        }
    }
    if (size != nullptr) {
        *size = 0;
    }
    return nullptr;
}

DibBlock ResourceDib(int16_t id) {
    size_t size = 0;
    const uint8_t* bytes = ResourceBytes(id, &size);
    return bytes == nullptr ? nullptr : DibFromBmpFile(bytes, size);
}
