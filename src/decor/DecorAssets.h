// The decoration assets: the asset folder's layout, how its themes and items
// are found and counted, where each file lies and how it is loaded.
//
// Layout (assetFolder is the folder beside the executable, with or without
// its trailing "/"):
//   assetFolder/Category/Theme/Theme<n>.adm       colour picture or grey shape
//   assetFolder/Category/Theme/Thememask<n>.adm   grey mask (Frame, Picture,
//                                                 Colorful Word only)
// Category is one of "Frame", "Pattern12", "Pattern24", "Picture", "Word",
// "Colorful Word" (DecorationKind 0 .. 5); n is 1 .. 99 written without
// leading zeros. An ".adm" file is JPEG data.
//
// Contract: nothing throws (the file system is asked through its error-code
// calls) and nothing is reported to the user. An unreadable folder lists no
// themes and counts no items; a path that cannot be made is empty; a load
// that fails for any reason (no such kind, theme or file, undecodable data,
// a picture of another size or form than its row of the table below, out of
// memory) returns null.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decor/Scene.h"

// Theme names longer than this many characters are skipped.
constexpr int32_t kMaxThemeNameLength = 31;

// "Frame", "Pattern12", ... for kinds 0 .. 5; null for any other number.
// These are both the folder names and the category texts of the menu.
const char* DecorationKindName(int16_t kind);

// assetFolder + category name + "/" (a "/" is put between the two only when
// assetFolder does not end with one). Empty for an unknown kind.
std::string CategoryFolderPath(const std::string& assetFolder, int16_t kind);

// The themes of a category folder: its sub-folders (links to folders count)
// whose names do not begin with "." and have at most 31 characters, sorted
// by name (byte order), the first kThemesPerKind of them. The file system's
// own order is arbitrary, so the menu and every path built later rely on
// this one order. False, with names emptied, when the folder cannot be read.
bool ListThemes(const std::string& categoryFolder, std::vector<std::string>* names);

// Theme index (from 0) in ListThemes' order; empty when there are fewer.
std::string ThemeName(const std::string& categoryFolder, int16_t index);

// The items of theme folder themeFolder whose theme is named themeName: the
// regular files (links to files count) named exactly themeName, then 1 to 99
// in decimal without a leading zero, then ".adm" in lower case. Mask files,
// other extensions or letter cases, three digits, and files of other names
// that merely have the right length are not items. 0 when the folder cannot
// be read.
int16_t CountItems(const std::string& themeFolder, const std::string& themeName);

// The file of item (1-based) of the theme selected for kind in themes
// (ThemeTable slot kind x 10 + selectedTheme[kind]): its colour or shape
// file, or with mask set its mask file. Empty when the kind is unknown, no
// theme of the table is selected for it, or item is below 1.
std::string AssetPath(const std::string& assetFolder, const ThemeTable& themes, int16_t kind,
                      int16_t item, bool mask);

// One row per way an asset is loaded: the file, its pixel form (colour:
// 24-bit; grey: 8-bit mask form) and its size.
enum AssetUse : int16_t {
    ASSET_FRAME = 0,           // Frame colour, 176 x 180 (thumbnail decode)
    ASSET_FRAME_PREVIEW,       // Frame colour, 44 x 45 (thumbnail, small)
    ASSET_FRAME_MASK,          // Frame mask, grey 176 x 180
    ASSET_PATTERN12,           // Pattern12 shape, grey 12 x 12
    ASSET_PATTERN24,           // Pattern24 shape, grey 24 x 24
    ASSET_PICTURE,             // Picture colour, 60 x 60
    ASSET_PICTURE_MASK,        // Picture mask, grey 60 x 60
    ASSET_WORD,                // Word shape, grey 176 x 50
    ASSET_COLORFUL_WORD,       // Colorful Word colour, 176 x 50
    ASSET_COLORFUL_WORD_MASK,  // Colorful Word mask, grey 176 x 50
};

// Loads item (1-based) of the theme selected for the use's kind with
// LoadPicture, in the use's form, fitted to its size. The program draws
// every asset as if it had exactly that size, so a file that decodes to any
// other size is refused (null) rather than drawn cut or shifted. The caller
// owns the result.
DibBlock LoadAsset(const std::string& assetFolder, const ThemeTable& themes, AssetUse use,
                   int16_t item);

// Grey by size: 12 loads the Pattern12 shape, 24 the Pattern24 shape, 60 the
// Picture mask, each size x size. Null for any other size.
DibBlock LoadGreyBySize(const std::string& assetFolder, const ThemeTable& themes, int16_t size,
                        int16_t item);

// The file of an item named by kind, theme and number (its mask file with
// mask): the path AssetPath gives when that theme is the selected one.
// Empty for an unknown kind, an empty theme or a number below 1.
std::string AssetItemPath(const std::string& assetFolder, const DecorationItem& item, bool mask);

// The use of an item's colour or shape file (mask false) or mask file
// (mask true) as a placed decoration draws it; -1 for a kind without one
// (the Pattern kinds have no mask file).
int16_t PlacedAssetUse(int16_t kind, bool mask);

// Loads one file as the use's row of the table says: what LoadAsset does
// with the path it finds.
DibBlock LoadAssetFile(const std::string& path, AssetUse use);

// The item drawn at factor times the use's size, in the use's form. Factor
// 1 is LoadAssetFile of the item's file. A larger factor takes the large
// copy beside the file, "<Theme><n>@4x.adm" (or "<Theme>mask<n>@4x.adm"),
// drawn at four times the size where the asset tool made one, and scales it
// to the factor; without one the file itself is enlarged smoothly. Null
// when a file is missing or unreadable, a factor is out of 1 ..
// kMaxPictureSide / the use's side, or memory runs out.
DibBlock LoadAssetScaled(const std::string& assetFolder, const DecorationItem& item, AssetUse use,
                         int32_t factor);

// The name of an item's large copy: ".adm" at the end of path becomes
// "@4x.adm"; the item counter never counts such a name.
std::string LargeAssetPath(const std::string& path);
constexpr int32_t kLargeAssetFactor = 4;
