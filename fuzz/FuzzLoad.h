// The whole load every fuzz target runs its input through: the reader, the
// conversion and the fitting, over the loader's entry for bytes in memory
// (which the file entry shares). The mode comes from the input's size, since
// the first bytes of a picture file are much the same every time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/DibImage.h"
#include "image/LoadPicture.h"
#include "image/PictureType.h"

constexpr size_t kFuzzLoadModes = 5;

// Mode 0: a plain load without a box; 1: the display photo in the canvas
// box; 2: a browser thumbnail; 3: a decoration mask; 4: into a canvas.
inline void FuzzLoadInMode(const uint8_t* data, size_t size, PictureType type, size_t mode) {
    switch (mode % kFuzzLoadModes) {
        case 0:
            LoadPictureFromMemory(data, size, type, LoadRequest());
            break;
        case 1:
            LoadPictureFromMemory(data, size, type, {kCanvasWidth, kCanvasHeight, LOAD_PHOTO});
            break;
        case 2:
            LoadPictureFromMemory(data, size, type, {36, 36, LOAD_THUMBNAIL});
            break;
        case 3:
            LoadPictureFromMemory(data, size, type, {60, 45, LOAD_MASK});
            break;
        default: {
            DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
            if (canvas) {
                LoadPictureFromMemoryInto(data, size, type, *canvas, LoadRequest());
            }
            break;
        }
    }
}
