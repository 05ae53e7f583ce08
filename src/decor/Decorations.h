// The floating object and the frame: loading them from the asset folder,
// moving the object, burning either into the display photo, removing them.
//
// A frame (FrameLayer) lies over the whole picture area and blends with the
// photo through its mask; every other item becomes the FloatingObject (a
// pattern stamp, a picture, a word or a colourful word), which the d-pad
// moves. Both stay apart from the photo until merged or removed.
//
// The editor's flows, each a few calls (compose the screen after any call
// that returns true; a merge that returns true also means the photo changed,
// so set the photo-changed flag):
//  - "Merge" (40018): MergeNextDecoration; with both present the first Merge
//    burns in the frame, a second one the object.
//  - "Delete" (40019): DeleteDecorations.
//  - "Merge" and "Delete" are enabled exactly when DecorationPending.
//  - Settling before "Save as" and before the save offered on "Close": at
//    most one question. If frame.placed, ask "Do you want to merge the frame
//    object ?" (caption "Border"): Yes runs MergeFrame, No leaves the frame.
//    Otherwise, if object.present, ask "Do you want to merge the moveable
//    object ?" (caption "Floating"): Yes runs MergeFloatingObject. Then save.
//  - Object keys (object present, no chooser and no picker open): each
//    direction key calls MoveFloatingObject with the held-key step.
//  - The chooser places items through PlaceChooserItem (decor/Chooser.h),
//    which calls the loads below; the theme command's questions are
//    described in decor/Chooser.h.
//
// Contract: nothing throws and nothing is reported; a failed load or merge
// returns false and leaves the state described below. The merges work on
// the display photo as it is shown outside the rescale and adjust modes
// (the editor offers them only then).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "decor/Direction.h"
#include "decor/Scene.h"

// Loads item (1-based) of the selected Frame theme: colour and mask, both
// 176 x 180. The frame on screen, merged or not, is released first. True
// when both loaded; the frame is then placed. On failure it is not placed.
bool LoadFrame(Scene* scene, const std::string& assetFolder, int16_t item);

// The floating-object loads. Each first releases the object's images, then
// loads item (1-based) of the theme selected for its kind. On success the
// object is present with its type, size and start position; on any failure
// it is absent with x and y at -1 and no images.
//  - pattern stamp (size 12 or 24): grey shape; at ((176 - s) / 2,
//    (180 - s) / 2), so 82, 84 for 12 and 76, 78 for 24; type 1.
//  - picture: colour and mask, 60 x 60, at 58, 60; type 3.
//  - word: grey shape 176 x 50 at 0, 0; type 5.
//  - colourful word: colour and mask, 176 x 50, at 0, 0; type 6.
bool LoadPatternStamp(Scene* scene, const std::string& assetFolder, int16_t size, int16_t item);
bool LoadPictureObject(Scene* scene, const std::string& assetFolder, int16_t item);
bool LoadWordObject(Scene* scene, const std::string& assetFolder, int16_t item);
bool LoadColorfulWordObject(Scene* scene, const std::string& assetFolder, int16_t item);

// A word of the user's own: text drawn for kind by RenderLettering at factor
// 1 (DECOR_WORD: a grey shape, type 5; DECOR_COLORFUL_WORD: colour and mask,
// type 6), 176 x 50 at 0, 0 like the word items, with object.text holding
// the line without its leading and trailing blanks. The object's images are
// released first; on failure (blank text, another kind, no font, no memory)
// it is absent at -1, -1.
bool PlaceTypedWord(Scene* scene, std::string_view text, int16_t kind);

// One direction key on the object: by step when the same direction repeats
// (repeat), else by 1 (a step below 1 counts as 1). Only while the object
// is present and neither a chooser nor the picker is open. The object may
// leave the screen downwards and to the left until none of it shows
// (y >= -height, x >= -width), upwards and to the right until its
// lowest-left pixel is the last one on screen (y <= 179, x <= 175). True
// when it moved.
bool MoveFloatingObject(Scene* scene, Direction direction, int16_t step, bool repeat);

// Burns the placed frame into the display photo: the photo combined with
// the frame (ComposeFrame) becomes the display photo, so the picture keeps
// the position the screen showed and the area the photo did not cover
// takes the frame's pixels; the photo offset returns to 0, 0; the frame is
// no longer placed and its images are released. The floating object is not
// touched. False (nothing changed) without a placed frame or when memory
// runs out.
bool MergeFrame(Scene* scene);

// Burns the floating object into the display photo where the screen shows
// it: at the object's position minus the photo offset, so a moved photo
// gets the object exactly under where it was seen (parts that lie beyond
// the photo are lost). Types 1 and 5 are drawn in CurrentColor through the
// shape, types 3 and 6 through their masks. The object is then absent and
// its images released. False (nothing changed) without an object or
// without a 176 x 180 display photo.
bool MergeFloatingObject(Scene* scene);

// The "Merge" command: the frame when one is placed, otherwise the object.
bool MergeNextDecoration(Scene* scene);

// Removal without merging (the "No" answers of the theme command's
// questions): the frame is no longer placed / the object no longer present,
// and their images are released. True when there was one to remove.
bool RemoveFrame(Scene* scene);
bool RemoveFloatingObject(Scene* scene);

// The "Delete" command: removes the object and the frame at once. True when
// either was there.
bool DeleteDecorations(Scene* scene);

// A frame is placed or an object present: "Merge" and "Delete" apply, and a
// save has something to settle.
bool DecorationPending(const Scene& scene);
