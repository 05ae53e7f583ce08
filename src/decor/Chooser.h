// The decoration chooser: a page of numbered previews of one theme's items
// over the picture area. The d-pad pages through the theme, a digit places
// its item (0 meaning 10), the action key closes the chooser.
//
// The editor's flows (compose the screen after any call that returns true):
//  - Theme command id from the "Object" menu:
//      int16_t kind, theme;
//      if (!DecodeThemeCommand(id, scene.themes, &kind, &theme)) ignore it;
//      if (kind == DECOR_FRAME) {
//          if (frame.placed) ask the frame question ("Border"):
//              Yes: MergeFrame; No: leave it (the new frame replaces it);
//          else if (object.present) ask the object question ("Floating"):
//              Yes: MergeFloatingObject; No: RemoveFloatingObject, compose;
//          if (ChooserOpenOnTheme(scene, kind, theme)) stop;
//      } else {
//          if (frame.placed) ask the frame question:
//              Yes: MergeFrame; No: RemoveFrame;
//          if (ChooserOpenOnTheme(scene, kind, theme)) stop;
//          if (object.present) ask the object question:
//              Yes: MergeFloatingObject; No: RemoveFloatingObject, compose;
//      }
//      OpenChooser(&scene, kind, theme); compose.
//    The questions are "Do you want to merge the frame object ?" (10020) and
//    "Do you want to merge the moveable object ?" (10021); a merge that
//    returns true sets the photo-changed flag.
//  - Keys while a chooser is open and the picker closed: down
//    ChooserPageDown, up ChooserPageUp, action CloseChooser, digits
//    ChooserPickDigit; every other key is ignored.
//  - Back key: close the picker (picker.open = false) and CloseChooser.
//  - "Change Color": CloseChooser before opening the picker.
//  - Painting: ComposeScreen(scene, &painter) with one AssetChooserPainter
//    (below) kept for the run.
//
// Every call that changes what the chooser shows makes the composite cache
// invalid. Contract: nothing throws; calls that do not apply return false
// and change nothing.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "decor/ComposeScreen.h"
#include "decor/Scene.h"

// The chooser that shows a DecorationKind (both pattern kinds share the
// Pattern chooser); -1 for an unknown kind.
int16_t ChooserKindOf(int16_t decorationKind);

// The open chooser, taking the first open one in the order Pattern,
// Picture, Word, Colorful Word, Frame (at most one is open); -1 for none.
int16_t OpenChooserKind(const ChooserState& chooser);

// The DecorationKind whose selected theme the open chooser shows (the
// Pattern chooser: Pattern12 at pattern size 12, Pattern24 at 24); -1 when
// none is open or the pattern size is neither.
int16_t ChooserDecorationKind(const Scene& scene);

// True when the chooser of kind is open on theme; for the pattern kinds the
// Pattern chooser must also have the kind's pattern size.
bool ChooserOpenOnTheme(const Scene& scene, int16_t kind, int16_t theme);

// Opens the chooser of kind on theme at page 0: the theme becomes the
// kind's selected theme, the other choosers and the colour picker close,
// and items per page, page count and pattern size are set for the kind:
//   Frame 8 per page (pattern size unchanged), Pattern12 10 (size 12),
//   Pattern24 6 (24), Picture 6 (60), Word and Colorful Word 3 (50).
// False (nothing changed) unless the theme exists and has items.
bool OpenChooser(Scene* scene, int16_t kind, int16_t theme);

// Down and up: the next or the previous page, when there is one.
bool ChooserPageDown(Scene* scene);
bool ChooserPageUp(Scene* scene);

// Digit key 0 .. 9 (0 meaning 10): item index = items per page x page +
// digit - 1, which may lie on a later page. When the index is below the
// item count, item index + 1 is placed (PlaceChooserItem; a failed load
// leaves no object) and the chooser closes: true. Otherwise the key is
// ignored: false.
bool ChooserPickDigit(Scene* scene, const std::string& assetFolder, int16_t digit);

// Closes every chooser (the action key, the Back key, "Change Color").
// True when one was open.
bool CloseChooser(Scene* scene);

// Places item (1-based) of the open chooser's theme: the Frame chooser
// loads the frame, the Pattern chooser a stamp at its pattern size, the
// others their object. False when nothing was placed.
bool PlaceChooserItem(Scene* scene, const std::string& assetFolder, int16_t item);

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
