// SavePicture: writes a picture as a BMP, PNG or JPEG file without ever
// risking the file it replaces, or any other file.
//
// The picture is written to a temporary file in the target's folder that
// cannot collide with anything of the user's: an unnamed file (O_TMPFILE),
// given a hidden name only when it is complete, or, where the file system
// has no unnamed files, a hidden file created afresh under a random name
// (never through a symbolic link). The hidden name is "." + the target's
// name (shortened when needed, so that a name of 255 bytes still saves) +
// ".fotakle-" + six random letters or digits. The file is flushed to disk
// and then renamed over the target in one step; a replaced file keeps its
// permission bits. A target that is a symbolic link (or a chain of them, up
// to 40) is followed: the file it points to is replaced, in its own folder,
// and a dangling link's target is created.
//
// A save killed midway leaves at most one such hidden file. Each save first
// removes the hidden files of its target's pattern that a killed save left:
// regular files of this user with no other link that no running save holds
// locked (a save locks its temporary file until the rename).
//
// Contract: nothing throws and nothing is printed. On any failure no file is
// left behind and an existing target is untouched; the result says why:
//  - SAVE_UNSUPPORTED_PICTURE: the writers take only 24-bit pictures and
//    8-bit mask-form pictures with a 40-byte uncompressed bottom-up header
//    and sides of 1 .. kMaxPictureSide;
//  - SAVE_BAD_OPTIONS: a JPEG quality outside 1 .. 100 (refused whatever the
//    format, so that a wrong request shows at once);
//  - SAVE_CANNOT_WRITE: the links could not be followed, the folder opened,
//    the temporary file made, written, flushed or closed, the encoder gave
//    up, or the rename failed (also for an empty name). systemError then
//    holds the errno of the failing system call (ENOSPC for a full disk),
//    0 when none failed (an empty name, an encoder out of memory).
#pragma once

#include <cstdint>
#include <string>

#include "image/DibImage.h"

enum SaveError : int16_t {
    SAVE_OK = 0,
    SAVE_UNSUPPORTED_PICTURE,
    SAVE_BAD_OPTIONS,
    SAVE_CANNOT_WRITE,
};

struct SaveResult {
    SaveError error = SAVE_CANNOT_WRITE;
    int systemError = 0;

    bool Ok() const { return error == SAVE_OK; }
};

struct SaveOptions {
    // JPEG only: 1 .. 100.
    int jpegQuality = 90;
    // JPEG only: a colour picture keeps its colour at every pixel (4:4:4)
    // instead of one colour per 2 x 2 pixels (4:2:0), which keeps small
    // coloured art and thin edges true. 8-bit mask-form pictures are
    // greyscale either way.
    bool fullChroma = false;
};

// The format follows the name: .bmp (any case) gives BMP, .png PNG, every
// other name JPEG. A BMP is the 14-byte file header followed by the block
// byte for byte (header, palette for depths of 8 or fewer, rows), so BMP save
// and load are exact. A PNG is lossless too: 8-bit RGB, or 8-bit grey of a
// mask's levels, with the picture's density (PngFile.h). A JPEG is baseline
// JFIF carrying the picture's density; 24-bit pictures are encoded in
// colour, 8-bit masks in greyscale from their levels (the palette is not
// consulted).
SaveResult SavePicture(const std::string& targetPath, const DibImage& image,
                       const SaveOptions& options = SaveOptions());
