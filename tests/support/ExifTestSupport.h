// EXIF blocks made with libexif's own writer, and JPEG streams carrying
// them, for the tests of orientation and embedded thumbnails.
#pragma once

#include <cstdint>
#include <vector>

struct ExifBlockOptions {
    int orientation = 0;             // the orientation tag's value; 0: no tag
    bool motorola = false;           // big-endian (Motorola) byte order, else Intel
    std::vector<uint8_t> thumbnail;  // an embedded JPEG thumbnail, or none
};

// An APP1 payload as libexif's exif_data_save_data writes it: the
// "Exif\0\0" header, then the TIFF structure.
std::vector<uint8_t> MakeExifBlock(const ExifBlockOptions& options);

// The JPEG with an APP1 segment holding block (which must fit in one
// segment) right behind its SOI marker.
std::vector<uint8_t> WithExifSegment(const std::vector<uint8_t>& jpeg,
                                     const std::vector<uint8_t>& block);
