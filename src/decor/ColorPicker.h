// The colour picker: a 176 x 50 field running from black at the bottom
// through the pure hues to white at the top, with a cursor whose colour is
// CurrentColor.
//
// Contract: nothing throws; null pointers and a missing or misshapen field
// are accepted and change nothing. Cursor coordinates stay within 0 .. 175
// and 0 .. 49 (the bottom row is 0).
#pragma once

#include <cstdint>

#include "decor/Direction.h"
#include "decor/Scene.h"

// Builds the colour field from the 176 x 50 hue spectrum (24-bit, every row
// the same). Null when the spectrum is absent or of another size, or memory
// runs out.
DibBlock BuildColorField(const DibImage* spectrum);

// Puts the cursor at its start (88, 25) with its box, and sets the colour to
// the field's pixel there. Without a field nothing changes: the picker keeps
// its zero start values and the colour stays as it is.
void ResetColorPicker(ColorPicker* picker, PixelColor* color);

// Moves the cursor one key press: up and down by 2 when the same direction
// repeats, else 1; left and right by step when the same direction repeats,
// else 1; held within the field. After a move the colour becomes the field's
// pixel under the cursor and the box follows. Returns true when the cursor
// moved; false without a field, for DIRECTION_NONE, or at the limit. A
// cursor found outside the field is brought back into it.
bool MoveColorPicker(ColorPicker* picker, PixelColor* color, Direction direction, int16_t step,
                     bool repeat);

// The field's colour at x, y (bottom row 0); black outside the field or
// without one.
PixelColor ColorFieldPixel(const DibImage* field, int16_t x, int16_t y);
