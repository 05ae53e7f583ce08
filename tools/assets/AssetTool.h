// The asset tool's pieces: drawing the built-in resources and the asset
// folder by code, and turning the drawings into the files the program reads.
//
// Every writer returns true when all its files are complete and prints one
// line on stderr naming the file that failed otherwise.
#pragma once

#include <QImage>
#include <QRgb>
#include <QString>

#include <cstddef>

#include "image/DibImage.h"

// The built-in resources 300, 440, 441, 451, 460, 3001 and 3002 as files
// named after their ids (<id>.bmp, 300.png) in an existing folder.
bool WriteResources(const QString& folder);

// The program icon for the desktop at each side of kProgramIconSides, as
// <side>x<side>.png in an existing folder.
bool WriteProgramIcons(const QString& folder);
extern const int kProgramIconSides[6];

// The asset folder: the start-up picture BackPict.ADM and the decoration
// library. The folder is created when missing.
bool WriteAssetFolder(const QString& folder);

// The decoration library inside the asset folder: the six category folders,
// each replaced whole, with their themes and item files.
bool WriteDecorationLibrary(const QString& folder);

// Drawings, each at its final size.
QImage DrawFolderIcons();          // 80 x 15: open folder, closed folder, phone, network, document
QImage DrawProgramIcon(int side);  // side x side with transparency; 64 is the built-in one
QImage DrawStartupPicture();       // 176 x 180 landscape

// The 16 colours of the folder-icon strip; DrawFolderIcons draws with them.
extern const QRgb kFolderIconPalette[16];

// A 24-bit DibImage holding the picture (rows turned bottom-up), or null.
DibBlock ColorDibFromImage(const QImage& image);

// An 8-bit DibImage whose levels are the picture's grey values and whose
// palette holds the 256 grey levels, so that the block reads back as grey
// anywhere a palette is consulted. Null when memory runs out.
DibBlock GreyDibFromImage(const QImage& image);

// Saves a DibImage through the program's own writer (BMP for a .bmp name,
// JPEG otherwise).
bool SaveDib(const QString& path, const DibImage* image);

// Writes the bytes as the whole file, replacing it only once complete.
bool SaveBytes(const QString& path, const void* bytes, size_t size);

// Writes the picture as a 4-bit BMP with the given 16-colour palette, each
// pixel mapped to the nearest palette colour.
bool Save4BitBmp(const QString& path, const QImage& image, const QRgb palette[16]);
