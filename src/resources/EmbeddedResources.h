// EmbeddedResources: the table of resource files compiled into the program
// (generated at build time by cmake/EmbedResources.cmake from the asset
// tool's output), and the step that turns one embedded BMP file into a
// DibImage. Internal to the resources folder; callers use Resources.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/DibImage.h"

struct EmbeddedResource {
    int16_t id;
    const uint8_t* bytes;
    size_t size;
};

extern const EmbeddedResource kEmbeddedResources[];
extern const size_t kEmbeddedResourceCount;

// A new DibImage holding the packed bitmap of a whole BMP file (everything
// after its 14-byte file header, up to the length the header gives). Only
// the layout DibPixels reads is accepted: a 40-byte header, uncompressed,
// bottom-up rows, 1 to 8 bits with a full palette or 24 or 32 bits with
// none, the rows right behind the palette and complete. Null for anything
// else, for bytes shorter than the file header says, or when memory runs out.
DibBlock DibFromBmpFile(const uint8_t* bytes, size_t size);
