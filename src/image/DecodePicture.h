// DecodePictureFile: decodes a JPEG or BMP file row by row straight into its
// final size, fitted to a box with the cover rule, into a new DibImage or
// centred into the caller's canvas. Called by LoadPicture; the two halves are
// open to tests and fuzz targets.
//
// Contract: as LoadPicture (image/LoadPicture.h) for the JPEG and BMP path.
// succeeded, when given, tells whether the picture was decoded, also in
// into-destination mode where the result is null either way.
#pragma once

#include <cstdint>
#include <string>

#include "image/BmpReader.h"
#include "image/DibImage.h"
#include "image/JpegCodec.h"
#include "image/PictureType.h"

DibBlock DecodePictureFile(const std::string& path, PictureType type, uint8_t* destination,
                           bool asMask, int32_t* width, int32_t* height, bool thumbnail,
                           bool smallSize, bool intoDestination, bool* succeeded = nullptr);

// The JPEG half over any codec. Calls codec.Close() exactly once.
DibBlock DecodeJpegPicture(JpegCodec& codec, uint8_t* destination, bool asMask, int32_t* width,
                           int32_t* height, bool thumbnail, bool smallSize, bool intoDestination,
                           bool* succeeded = nullptr);

// The BMP half over a reader that Open or OpenMemory has opened with the
// given source size. BMP files always come out 24-bit (no mask form).
// Closes the reader.
DibBlock DecodeBmpPicture(BmpReader& reader, int32_t sourceWidth, int32_t sourceHeight,
                          uint8_t* destination, int32_t* width, int32_t* height,
                          bool intoDestination, bool* succeeded = nullptr);
