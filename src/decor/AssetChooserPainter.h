// AssetChooserPainter: draws the open chooser's page for ComposeScreen, with
// the previews read from the asset folder.
//
// Each preview is loaded when the page is drawn and released right after it
// is copied; ComposeScreen keeps the finished page in the composite cache,
// so repaints of an unchanged page read no file. Every page carries keypad
// labels (the 12 x 12 cells of the scene's digit strip; the tenth item
// shows 0) and, when the theme has more pages, the scene's up and down
// arrows (12 x 12 grey levels written as grey).
//
// Page layouts (rows count from the bottom of the 176 x 180 picture area):
//  - Frame, 8 per page: 44 x 45 previews at columns 0, 44, 88, 132; items
//    1 .. 4 in the upper row when there are 5 or more. The rows start at
//    B = 12 when the theme has more pages (down arrow at columns 76 .. 87,
//    up arrow at 88 .. 99, rows 0 .. 11), else at 0. Labels 16 right of and
//    16 above each preview's lower-left corner.
//  - Pattern (12 x 12 ten per page, 24 x 24 six per page): a strip of
//    s + 1 wide cells whose left column is (180 - strip width) / 2, shapes
//    in CurrentColor at rows 0 .. s - 1, a white column after every item
//    but the last, labels just above. With more pages the arrows take the
//    first cell (down at rows 0 .. 11, up at 12 .. 23); for 24 x 24 that
//    cell would begin left of the screen, so its arrows stand at columns
//    0 .. 11, left of the items, which start at column 15.
//  - Picture, 6 per page: 60 x 60 previews in two columns (19 and 95) from
//    the top (rows 120, 60, 0), labels 12 columns left of each preview in
//    its lowest 12 rows; arrows at columns 164 .. 175 (down at rows 0 .. 11,
//    up above it or in its place).
//  - Word and Colorful Word, 3 per page: 176 x 50 previews stacked from row
//    12 + 50 x (3 - n) upwards, the page's last item lowest, with two white
//    rows below, between and above them; labels at columns 0 .. 11 in each
//    item's lowest rows; arrows in rows 0 .. 11 (both: down 76 .. 87, up
//    88 .. 99; one alone: 82 .. 93). Words are drawn in CurrentColor on
//    black, colourful words as they are.
// A preview that cannot be loaded leaves its cell as the layers below drew
// it; its label is still drawn. Everything is clipped to the picture area.
#pragma once

#include <string>
#include <utility>

#include "decor/ComposeScreen.h"

class AssetChooserPainter : public ChooserPainter {
  public:
    explicit AssetChooserPainter(std::string assetFolder) : assetFolder_(std::move(assetFolder)) {}

    // Draws the page of the open chooser (the first open in the order
    // Pattern, Picture, Word, Colorful Word, Frame) for the theme selected
    // for its kind. Draws nothing when no chooser is open or its state holds
    // no item on the current page.
    void DrawPage(const Scene& scene, uint8_t* screenPixels) override;

  private:
    std::string assetFolder_;
};
