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
//    (decor/AssetChooserPainter.h) kept for the run.
//
// Every call that changes what the chooser shows makes the composite cache
// invalid. Contract: nothing throws; calls that do not apply return false
// and change nothing.
#pragma once

#include <cstdint>
#include <string>

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
