// Built-in resources: small bitmaps and the program icon, made by the
// project's asset tool at build time and embedded in the executable as BMP
// files (and a PNG for the icon). Read without any GUI toolkit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/DibImage.h"

enum ResourceId : int16_t {
    RESOURCE_ICON = 300,          // program icon, PNG, 64 x 64
    RESOURCE_ARROW_UP = 440,      // 12 x 12, 8-bit grey: white upward arrow on black
    RESOURCE_ARROW_DOWN = 441,    // 12 x 12, 8-bit grey: white downward arrow on black
    RESOURCE_DIGITS = 451,        // 120 x 12, 24-bit: digits 0 .. 9, white on blue, 12 x 12 each
    RESOURCE_SPECTRUM = 460,      // 176 x 50, 24-bit: one hue per column, red at column 88
    RESOURCE_FOLDER_ICONS = 3001, // 80 x 15, 4-bit: open folder, closed folder, device,
                                  // network, document, 16 x 15 each, white background
    RESOURCE_BANNER = 3002,       // 176 x 16, 8-bit grey: "Please choose one :"
};

// The resource's bytes as embedded (a whole BMP file, or the PNG icon), or
// null with size 0 when there is no such resource.
const uint8_t* ResourceBytes(int16_t id, size_t* size);

// A new DibImage holding the BMP resource: everything after its 14-byte file
// header. 8-bit and 4-bit resources carry their full palette, so DibPixels
// finds their rows. Null when the resource is missing, is not a BMP, or
// memory runs out.
DibBlock ResourceDib(int16_t id);
