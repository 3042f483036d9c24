// Small drawing routines shared by the painted windows. Each draws at once into the DC it
// is given, creates the GDI objects it needs for that call only, and puts the previously
// selected objects back before deleting its own. Colours are COLORREF 0x00BBGGRR.
#pragma once

#include <windows.h>

#include <cstdint>

#include "pixels/digit_font.h"

namespace pictornx {

// The font record every label is drawn with: all zero when the library loads. DrawLabel
// writes only its height; the windows that draw labels set the character set, face name,
// weight, italic and width, which stay set for later labels.
LOGFONTW& LabelFont();

// Draws `text` with its horizontal centre at x and its top at y, in LabelFont at `height`
// (a LOGFONT height). When the low byte of `backing` is non-zero, a black box as tall as
// the font and as wide as two ideographic spaces and a NUL is drawn behind it first. Afterwards the
// DC keeps the text alignment TA_CENTER | TA_TOP, background mode TRANSPARENT, text colour
// `colour` and, after a backing, background colour black. Returns 0.
int DrawLabel(HDC dc, int x, int y, COLORREF colour, const wchar_t* text, int height, int backing);

// Fills `rect` (right and bottom edges excluded) in `colour`, outline included, with
// corners rounded by an ellipse `cornerDiameter` wide and tall. Returns 0.
int FillRoundRect(HDC dc, RECT rect, COLORREF colour, int cornerDiameter);

// Fills columns left to right - 1 and rows top to bottom - 1 in `colour` (no outline).
void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour);

// A one-pixel outline covering columns x to x + width and rows y to y + height, both ends
// included: a frame of (width + 1) x (height + 1) pixels. Returns 0.
int FrameBox(HDC dc, int x, int y, int width, int height, COLORREF colour);

// Copies width x height pixels from (sourceX, sourceY) of the module's bitmap resource
// `id` to (destX, destY). The bitmap is loaded for this call and deleted after it.
// Returns 0, or -1 with nothing drawn when the resource cannot be loaded.
int BlitResourceBitmap(HDC dc, uint16_t id, int destX, int destY, int width, int height, int sourceX, int sourceY);

// Draws `value` in decimal with thousands separators in the stroke digit font: the units
// digit's cell has its left column at x and its top row at y, each further digit is
// `pitch` to the left. A negative value draws nothing. Returns 0.
int DrawDigits(HDC dc, int value, int x, int y, int pitch, COLORREF colour, DigitSize size);

}  // namespace pictornx
